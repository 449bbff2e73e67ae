#include "effect/blockimage.h"

#include "helpers.h"
#include "platform/picture.h"
#include "render/layer.h"

namespace effect {

BlockImage::BlockImage() {
  display_list = render::layer().CreateCube(0.5f);
  Clear();
}

BlockImage::~BlockImage() {
  render::layer().DeleteCube(display_list);
}

// Columns from the left, each from the top row down; the scroller relies on this order. The
// coordinates accumulate by repeated addition of the spacing.
bool BlockImage::LoadImage(const platform::Picture& image, float duration) {
  const unsigned int width = image.Width();
  const unsigned int height = image.Height();

  BlockSet set;
  set.duration = duration;

  float x = 0.0f, y = 0.0f, z = 0.0f;
  int n = 0;
  for (unsigned int i = 0; i < width; ++i) {
    for (unsigned int j = 0; j < height; ++j) {
      const platform::Rgba pixel = image.Pixel(i, j);
      const int r = pixel.r, g = pixel.g, b = pixel.b;
      const int luma = RGB_luma(r, g, b);
      if (luma > 0) {
        if (display_type == DISPLAY_RELIEF) z = (luma - 1) * spacing;
        Block block;
        block.position = omni::Vector3<float>(x, y, z);
        block.color[0] = static_cast<float>(r / 255.0);
        block.color[1] = static_cast<float>(g / 255.0);
        block.color[2] = static_cast<float>(b / 255.0);
        block.grow_rate = factor;
        block.scale = 0.0f;
        block.expose_start = -1.0f;
        block.column = static_cast<int>(i);
        block.index = n++;
        block.state_start = 0.0f;
        block.state = BLOCK_WAITING;
        set.blocks.push_back(block);
      }
      y -= spacing;
    }
    x += spacing;
    y = 0.0f;
  }
  images.push_back(std::move(set));
  return true;
}

void BlockImage::SetShowPosition(const omni::Vector3<float>& p) {
  BlockSet* set = ActiveSet();
  if (set == nullptr) return;
  set->show_position = p;
  UpdateIncrement();
}

void BlockImage::SetHidePosition(const omni::Vector3<float>& p) {
  BlockSet* set = ActiveSet();
  if (set == nullptr) return;
  set->hide_position = p;
  UpdateIncrement();
}

void BlockImage::SetSpeed(const float& s) {
  BlockSet* set = ActiveSet();
  if (set == nullptr) return;
  set->speed = s;
  UpdateIncrement();
}

void BlockImage::SetRotation(const omni::Vector3<float>& r) {
  BlockSet* set = ActiveSet();
  if (set == nullptr) return;
  set->rotation = r;
}

// The travel a scrolling block makes past the start line before it shrinks.
void BlockImage::UpdateIncrement() {
  BlockSet* set = ActiveSet();
  if (set == nullptr) return;
  set->distance = (set->show_position - set->hide_position).length();
}

void BlockImage::SetType(scroller_type_t t) {
  type = t;
  if (t != SCROLLER_STATIC) return;
  for (BlockSet& set : images) {
    for (Block& block : set.blocks) {
      block.scale = 1.0f;
      block.state = BLOCK_SHOWN;
    }
  }
}

void BlockImage::SetActiveImage(unsigned int i) {
  if (i < images.size()) active = i;
}

// Records the time, steps the image cycle at most once, and runs the scroller. Without an
// active set there is nothing to time or move.
void BlockImage::UpdateLogic(const float& time, const int&, const bool&) {
  if (ActiveSet() == nullptr) return;
  current_time = time;
  if (switch_time < 0) switch_time = current_time;
  const float elapsed = current_time - switch_time;
  if (elapsed > images[active].duration) {
    switch_time += images[active].duration;
    if (active >= images.size() - 1) {
      active = 0;
    } else {
      active += 1;
    }
  }
  if (type == SCROLLER_SCROLL || type == SCROLLER_SCROLL_ALT) UpdateScroller();
}

// Moves the active set by speed x time and steps each block's life at most once. The scan
// starts at first_live and ends at the first waiting block of the second waiting column, so
// its cost follows the columns on screen, not the picture's size.
void BlockImage::UpdateScroller() {
  BlockSet* set = ActiveSet();
  if (set == nullptr) return;
  set->offset.x = set->speed * current_time;

  int first_column = -1;
  for (size_t i = static_cast<size_t>(set->first_live); i < set->blocks.size(); ++i) {
    Block& block = set->blocks[i];
    switch (block.state) {
      case BLOCK_WAITING: {
        const float p = block.position.x + set->offset.x;
        if (p <= 0) {
          block.scale = 0.0f;
          block.state = BLOCK_GROWING;
          block.state_start = current_time;
        } else {
          if (first_column == -1) first_column = block.column;
          if (block.column != first_column) return;
        }
        break;
      }
      case BLOCK_GROWING:
        block.scale = block.grow_rate * (current_time - block.state_start);
        if (block.scale >= 1) {
          block.scale = 1.0f;
          block.state = BLOCK_SHOWN;
          block.state_start = current_time;
        }
        break;
      case BLOCK_SHOWN: {
        const float travelled = -(block.position.x + set->offset.x);
        if (travelled >= set->distance) {
          block.state = BLOCK_SHRINKING;
          block.state_start = current_time;
        }
        break;
      }
      case BLOCK_SHRINKING:
        block.scale = 1 - block.grow_rate * (current_time - block.state_start);
        if (block.scale <= 0) {
          block.scale = 0.0f;
          block.state = BLOCK_GONE;
          block.state_start = current_time;
          set->first_live = block.index;
        }
        break;
      default:
        break;
    }
  }
}

int BlockImage::Draw() {
  if (type == SCROLLER_EXPOSE) {
    DrawExpose();
  } else {
    DrawStatic();
  }
  return 0;
}

// Places the active set (translate, then rotate about x, y, z; left for the caller's matrix
// save to undo) and draws its growing, shown and shrinking blocks, scaled below max_size.
void BlockImage::DrawStatic() {
  const BlockSet* set = ActiveSet();
  if (set == nullptr) return;
  render::Layer& gfx = render::layer();
  gfx.Translate(set->show_position.x, set->show_position.y, set->show_position.z);
  gfx.Rotate(set->rotation.x, 1, 0, 0);
  gfx.Rotate(set->rotation.y, 0, 1, 0);
  gfx.Rotate(set->rotation.z, 0, 0, 1);
  for (const Block& block : set->blocks) {
    if (block.state == BLOCK_WAITING || block.state == BLOCK_GONE) continue;
    gfx.PushMatrix();
    gfx.Translate(block.position.x + set->offset.x, block.position.y + set->offset.y,
                  block.position.z + set->offset.z);
    if (color_enabled) gfx.Color(block.color[0], block.color[1], block.color[2]);
    if (block.scale < max_size) gfx.Scale(block.scale, block.scale, block.scale);
    gfx.DrawCube(display_list);
    gfx.PopMatrix();
  }
}

// Draws every block of the active set at show_position + position, whatever its state, grown
// from its expose start and capped at max_size. The first expose draw of the program (in any
// block image) stamps the start of every block it draws; later ones find the flag cleared.
void BlockImage::DrawExpose() {
  static int start = 1;
  BlockSet* set = ActiveSet();
  if (set == nullptr) return;
  render::Layer& gfx = render::layer();
  for (Block& block : set->blocks) {
    if (start != 0) block.expose_start = current_time - 0.0001f;
    block.scale = block.grow_rate * (current_time - block.expose_start);
    if (block.scale > max_size) block.scale = max_size;
    gfx.PushMatrix();
    gfx.Translate(set->show_position.x + block.position.x, set->show_position.y + block.position.y,
                  set->show_position.z + block.position.z);
    if (color_enabled) gfx.Color(block.color[0], block.color[1], block.color[2]);
    gfx.Scale(block.scale, block.scale, block.scale);
    gfx.DrawCube(display_list);
    gfx.PopMatrix();
  }
  start = 0;
}

void BlockImage::DrawBlock() {
  render::layer().DrawCubeOnce(0.5f);
}

}  // namespace effect
