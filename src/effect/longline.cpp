#include "effect/longline.h"

#include "render/layer.h"

namespace effect {

void LongLine::Setup() {
  const float spacing = size + gap;
  const int n = static_cast<int>(length / spacing);
  for (int i = 0; i < n; ++i) {
    positions.push_back(omni::Vector3<float>(static_cast<float>(i) * spacing, 0.0f, 0.0f));
    sizes.push_back(size);
  }
  cube_count = static_cast<unsigned int>(positions.size());
  current_cube = 0;
}

void LongLine::UpdateLogic(const float& time_, const int&, const bool&) {
  time = time_;
  if (time - last_step_time >= step_interval) {
    // The step takes the current time: one step per call, and a late frame delays the rest.
    last_step_time = time;
    if (cube_count > 0) {
      const int count = static_cast<int>(cube_count);
      if (direction) {
        current_cube += 1;
        if (current_cube >= count) current_cube = 0;
      } else {
        current_cube -= 1;
        if (current_cube < 0) current_cube = count - 1;
      }
      sizes[current_cube] = large_size;
    }
  }
  // Not clamped: the last subtraction may leave a cube a hair below rest until the pulse returns.
  for (unsigned int i = 0; i < cube_count; ++i) {
    if (sizes[i] > size) sizes[i] -= 0.01f;
  }
}

int LongLine::Draw() {
  Place(rotation);
  render::Layer& gfx = render::layer();
  for (unsigned int i = 0; i < cube_count; ++i) {
    const float s = sizes[i];
    float rgb[3] = {color[0], color[1], color[2]};
    if (s > size) {
      // A lit channel brightens with the pulse (unclamped; GL clamps); a dark one keeps its value.
      for (float& c : rgb) {
        if (c > 0.1f) c += (s - size) * 0.5f;
      }
    }
    gfx.PushMatrix();
    gfx.Translate(positions[i].x, positions[i].y, positions[i].z);
    gfx.Color(rgb[0], rgb[1], rgb[2], 0.5f);
    gfx.Scale(s, s, s);
    gfx.DrawCube(display_list);
    gfx.PopMatrix();
  }
  return 0;
}

}  // namespace effect
