#ifndef TESSARY_EFFECT_BLOCKIMAGE_H
#define TESSARY_EFFECT_BLOCKIMAGE_H

#include <vector>

#include "omni/effect.h"
#include "omni/vector3.h"

namespace platform {
class Picture;
}

namespace effect {

// A picture as a field of cubes: one cube for every pixel that is not (nearly) black. The cubes
// stand still, grow in (expose) or scroll through space column by column, each popping up at the
// start line and shrinking away after the set's travel distance. Several pictures (sets) may be
// loaded; one is active at a time and the image cycle steps to the next after its duration.
//
// Configure in this order: SetMaxSize / EnableColor / SetDisplayType / SetFactor / SetSpacing
// (the last three shape only later loads), LoadImage for each picture, the set setters on the
// active set (SetActiveImage), and SetType last.
class BlockImage : public omni::Effect {
 public:
  enum scroller_type_t {
    SCROLLER_STATIC = 0,
    SCROLLER_EXPOSE = 1,
    SCROLLER_SCROLL = 2,
    SCROLLER_SCROLL_ALT = 3,
  };
  enum display_type_t {
    DISPLAY_FLAT = 0,
    DISPLAY_RELIEF = 1,
  };
  // Scroller states of a block. Waiting and gone blocks are not drawn by DrawStatic.
  enum {
    BLOCK_WAITING = 0,
    BLOCK_GROWING = 1,
    BLOCK_SHOWN = 2,
    BLOCK_SHRINKING = 3,
    BLOCK_GONE = 4,
  };

  // One pixel of a picture.
  struct Block {
    omni::Vector3<float> position;  // centre in the picture's local frame
    float color[3] = {0.0f, 0.0f, 0.0f};
    float grow_rate = 0.0f;  // scale units per second while growing or shrinking
    float scale = 0.0f;
    float expose_start = -1.0f;
    int column = 0;  // pixel column it came from
    int index = 0;   // its own position in the set's blocks
    float state_start = 0.0f;
    int state = BLOCK_WAITING;
  };

  // One loaded picture with its placement and scroll.
  struct BlockSet {
    omni::Vector3<float> show_position;
    omni::Vector3<float> hide_position;
    float distance = 0.0f;  // |show_position - hide_position|: travel before shrinking
    omni::Vector3<float> offset;
    omni::Vector3<float> rotation;  // degrees about x, y, z
    std::vector<Block> blocks;      // column by column from the left, each column top down
    int first_live = 0;             // where the scroller's scan begins
    float speed = 0.0f;             // scene units per second along local x
    float duration = 0.0f;          // seconds active before the image cycle moves on
  };

  float current_time = 0.0f;
  unsigned int display_list = 0;  // the unit cube
  scroller_type_t type = SCROLLER_STATIC;
  display_type_t display_type = DISPLAY_FLAT;
  bool color_enabled = false;
  std::vector<BlockSet> images;
  unsigned int active = 0;
  float spacing = 1.5f;
  float max_size = 1.25f;
  static constexpr float default_factor = 5.0f;
  float factor = default_factor;
  float switch_time = -1.0f;

  // Needs a current renderer (render/layer.h): makes the unit cube shape, display_list.
  BlockImage();
  // Releases the shape: destroy it while the renderer is current. The show is rebuilt on
  // every seek back and loop, so a list left to the context would pile up.
  ~BlockImage() override;
  BlockImage(const BlockImage&) = delete;
  BlockImage& operator=(const BlockImage&) = delete;

  const char* Name() override { return "BlockImage"; }
  int Draw() override;
  void UpdateLogic(const float& time, const int& beat, const bool& beat_changed) override;

  // Appends one set built from the picture (read during the call only). Does not change the
  // active set. Always succeeds: an empty picture gives a set without blocks.
  bool LoadImage(const platform::Picture& image, float duration);

  // Operations on the active set; they do nothing when there is no set at index `active`.
  void SetShowPosition(const omni::Vector3<float>& p);
  void SetHidePosition(const omni::Vector3<float>& p);
  void SetSpeed(const float& s);
  void SetRotation(const omni::Vector3<float>& r);
  void UpdateIncrement();

  // SCROLLER_STATIC shows every block loaded so far at scale 1; other types leave blocks as
  // they are.
  void SetType(scroller_type_t t);
  void SetDisplayType(display_type_t d) { display_type = d; }
  void EnableColor(bool on) { color_enabled = on; }
  void SetSpacing(float s) { spacing = s; }
  void SetMaxSize(float m) { max_size = m; }
  void SetFactor(float f) { factor = f; }
  // Ignored when i is not less than the number of sets.
  void SetActiveImage(unsigned int i);
  // Removes every set; active and switch_time keep their values.
  void Clear() { images.clear(); }

  void UpdateScroller();
  void DrawStatic();
  void DrawExpose();
  // Draws the unit cube (edge 1, centred on the origin) without its shape.
  void DrawBlock();

 private:
  // The set at index `active`, or null when there is none.
  BlockSet* ActiveSet() { return active < images.size() ? &images[active] : nullptr; }
};

}  // namespace effect

#endif
