#include "effect/cubecube.h"

#include "render/layer.h"

namespace effect {

void CubeCube::Setup() {
  const float g = spacing;
  const float c[6] = {-2.5f * g, -1.5f * g, -0.5f * g, 0.5f * g, 1.5f * g, 2.5f * g};
  const float lo = c[0];
  const float hi = c[5];
  // The four edges of the face at height y: two along z (corners included), two along x.
  auto face = [&](float y) {
    for (int k = 0; k < 6; ++k) rest_positions.push_back(omni::Vector3<float>(lo, y, c[k]));
    for (int k = 0; k < 6; ++k) rest_positions.push_back(omni::Vector3<float>(hi, y, c[k]));
    for (int k = 1; k < 5; ++k) rest_positions.push_back(omni::Vector3<float>(c[k], y, lo));
    for (int k = 1; k < 5; ++k) rest_positions.push_back(omni::Vector3<float>(c[k], y, hi));
  };
  face(hi);
  face(lo);
  const float corners[4][2] = {{lo, lo}, {hi, lo}, {hi, hi}, {lo, hi}};
  for (const auto& xz : corners) {
    for (int k = 4; k >= 1; --k) rest_positions.push_back(omni::Vector3<float>(xz[0], c[k], xz[1]));
  }
  for (size_t i = burst_positions.size(); i < rest_positions.size(); ++i) {
    burst_positions.push_back(rest_positions[i] * 2.0f);
  }
  cube_count = static_cast<unsigned int>(rest_positions.size());
  for (size_t i = positions.size(); i < rest_positions.size(); ++i) {
    positions.push_back(rest_positions[i]);
  }
}

void CubeCube::UpdateLogic(const float& time_, const int& beat, const bool& beat_changed) {
  time = time_;
  if (!bursting && beat_changed && beat % 2 == 0) {
    bursting = true;
    burst_factor = 1.0f;
  }
  if (!bursting) return;
  burst_factor -= 0.01f;
  if (burst_factor <= 0.5f) {
    bursting = false;
    for (unsigned int i = 0; i < cube_count; ++i) positions[i] = rest_positions[i];
  } else {
    // From the stored burst positions each frame, so no error builds up.
    for (unsigned int i = 0; i < cube_count; ++i) positions[i] = burst_positions[i] * burst_factor;
  }
}

int CubeCube::Draw() {
  Place(rotation * time);
  render::Layer& gfx = render::layer();
  for (unsigned int i = 0; i < cube_count; ++i) {
    gfx.PushMatrix();
    gfx.Translate(positions[i].x, positions[i].y, positions[i].z);
    gfx.Color(color[0], color[1], color[2]);
    gfx.DrawCube(display_list);
    gfx.PopMatrix();
  }
  return 0;
}

}  // namespace effect
