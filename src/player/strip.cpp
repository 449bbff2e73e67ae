#include "player/strip.h"

#include <algorithm>
#include <cstdint>

#include "demo/demo.h"

namespace {

// The strip's height: a tenth of the viewport's, within these bounds (pixels).
constexpr float min_strip_height = 48.0f;
constexpr float max_strip_height = 96.0f;
// Padding around a part's name, pixels.
constexpr float label_padding = 4.0f;

// The rows, as shares of the strip's height from its top: the parts with their names and bars,
// the flash beats, the place keys, the turn keys, the loop range.
constexpr float parts_row[2] = {0.0f, 0.42f};
constexpr float flash_row[2] = {0.44f, 0.12f};
constexpr float place_row[2] = {0.58f, 0.14f};
constexpr float turn_row[2] = {0.73f, 0.14f};
constexpr float loop_row[2] = {0.88f, 0.12f};

// One muted colour a part, in show order, dark enough for the names to stand out.
constexpr float part_colors[][3] = {
    {0.20f, 0.30f, 0.55f}, {0.45f, 0.25f, 0.50f}, {0.20f, 0.45f, 0.30f}, {0.55f, 0.30f, 0.20f},
    {0.20f, 0.42f, 0.50f}, {0.50f, 0.45f, 0.15f}, {0.40f, 0.20f, 0.28f}};
static_assert(sizeof part_colors / sizeof part_colors[0] >= show_part_count,
              "a colour for every part");
constexpr float background[3] = {0.06f, 0.06f, 0.08f};
constexpr float bar_color[3] = {0.0f, 0.0f, 0.0f};
constexpr float flash_color[3] = {1.0f, 1.0f, 1.0f};
constexpr float place_color[3] = {0.35f, 0.85f, 1.0f};
constexpr float turn_color[3] = {1.0f, 0.45f, 0.85f};
constexpr float loop_color[3] = {0.25f, 0.55f, 0.25f};
constexpr float looping_color[3] = {0.35f, 1.0f, 0.35f};
constexpr float now_color[3] = {1.0f, 0.2f, 0.2f};

OverlayRect rect(float x, float y, float w, float h, const float color[3]) {
  return OverlayRect{x, y, w, h, color[0], color[1], color[2]};
}

}  // namespace

void TimelineStrip::SetShow(const ShowSteps& steps, const CameraFile& file) {
  end_step_ = std::max(steps.end_step, 1);
  part_first_ = steps.part_first_step;
  part_first_.push_back(steps.parts_end_step);
  bars_.clear();
  for (size_t beat = 0; beat < steps.first_step_of_beat.size(); beat += 4) {
    bars_.push_back(steps.first_step_of_beat[beat]);
  }
  flashes_.clear();
  for (int beat = next_flash_beat(-1); beat >= 0; beat = next_flash_beat(beat)) {
    if (static_cast<size_t>(beat) < steps.first_step_of_beat.size()) {
      flashes_.push_back(steps.first_step_of_beat[static_cast<size_t>(beat)]);
    }
  }
  keys_.clear();
  for (const CameraFileKey& key : file.keys) {
    const int first = steps.Clamp(step_at(camera_key_start(key)) + 1);
    const int last = steps.Clamp(step_at(camera_key_end(key)) + 1);
    keys_.push_back(Key{first, last, key.key.track == script::TURN});
  }
}

int TimelineStrip::ColumnOf(int step) const {
  return static_cast<int>(static_cast<std::int64_t>(step) * width_ / end_step_);
}

int TimelineStrip::StepAt(int x) const {
  if (width_ <= 0) return 0;
  const std::int64_t step = static_cast<std::int64_t>(std::max(x, 0)) * end_step_ / width_ +
                            (static_cast<std::int64_t>(std::max(x, 0)) * end_step_ % width_ != 0);
  return static_cast<int>(std::min<std::int64_t>(step, end_step_ - 1));
}

bool TimelineStrip::Contains(int x, int y) const {
  return x >= 0 && x < width_ && y >= top_ && y < top_ + height_;
}

void TimelineStrip::Tick(int step, const Row& row, const float color[3]) {
  const float wide = width_ >= 1600 ? 2.0f : 1.0f;
  shapes_.push_back(
      rect(static_cast<float>(ColumnOf(step)), RowTop(row), wide, RowHeight(row), color));
}

void TimelineStrip::Layout(int width, int height, TextWidth text_width) {
  width_ = std::max(width, 1);
  height_ = std::clamp(height / 10.0f, min_strip_height, max_strip_height);
  top_ = static_cast<float>(height) - height_;
  shapes_.clear();
  labels_.clear();
  const Row parts{parts_row[0], parts_row[1]}, flash{flash_row[0], flash_row[1]};
  const Row place{place_row[0], place_row[1]}, turn{turn_row[0], turn_row[1]};

  shapes_.push_back(rect(0, top_, static_cast<float>(width_), height_, background));
  for (int part = 0; part < show_part_count; ++part) {
    const float x0 = static_cast<float>(ColumnOf(part_first_[static_cast<size_t>(part)]));
    const float x1 = static_cast<float>(ColumnOf(part_first_[static_cast<size_t>(part) + 1]));
    shapes_.push_back(rect(x0, RowTop(parts), x1 - x0, RowHeight(parts), part_colors[part]));
    const char* name = show_parts[part].name;
    if (text_width(name) + 2 * label_padding <= x1 - x0) {
      labels_.push_back(OverlayLabel{x0 + label_padding, RowTop(parts) + label_padding, name});
    }
  }
  for (int bar : bars_) Tick(bar, parts, bar_color);
  for (int beat : flashes_) Tick(beat, flash, flash_color);
  for (const Key& key : keys_) {
    const Row& row = key.turn ? turn : place;
    const float* color = key.turn ? turn_color : place_color;
    Tick(key.step, row, color);
    if (key.end_step > key.step) {  // a move: a thin line on to its end
      const float x0 = static_cast<float>(ColumnOf(key.step));
      const float line = std::max(1.0f, RowHeight(row) / 5);
      shapes_.push_back(rect(x0, RowTop(row) + (RowHeight(row) - line) / 2,
                             static_cast<float>(ColumnOf(key.end_step)) - x0, line, color));
    }
  }
  laid_out_ = shapes_.size();
}

const std::vector<OverlayRect>& TimelineStrip::Shapes(int current, int loop_first, int loop_last,
                                                      bool looping) {
  shapes_.resize(laid_out_);
  const Row loop{loop_row[0], loop_row[1]};
  const float* color = looping ? looping_color : loop_color;
  if (loop_first >= 0 && loop_last >= 0) {
    const float x0 = static_cast<float>(ColumnOf(loop_first));
    shapes_.push_back(rect(x0, RowTop(loop), ColumnOf(loop_last) + 1 - x0, RowHeight(loop), color));
  } else {
    for (int mark : {loop_first, loop_last}) {
      if (mark >= 0) Tick(mark, loop, color);
    }
  }
  const float x = static_cast<float>(ColumnOf(current));
  shapes_.push_back(rect(x - 1, top_, 3, height_, now_color));
  return shapes_;
}
