#include "effect/humppa.h"

#include "render/layer.h"

namespace effect {

Humppa::Humppa() {
  DrawHumppa();
  int j = 0;
  for (int i = -32; i < 32; ++i) {
    for (int k = -32; k < 32; ++k) {
      positions[j] = omni::Vector3<float>(3.0f * i, 3.0f * k, 0.0f);
      j += 1;
    }
  }
  for (float& h : heights) h = 1.0f;
  plasma.Init(64, 64);
}

Humppa::~Humppa() {
  render::layer().DeleteCube(display_list);
}

void Humppa::DrawHumppa() {
  display_list = render::layer().CreateCube(1.0f);
}

void Humppa::EnablePillarsAt(int beat) {
  pillar_beat = beat;
}

void Humppa::UpdateLogic(const float& time_, const int& beat, const bool& beat_changed) {
  time = time_;
  plasma.RenderTexture(texture_ms(time));
  if (beat_changed && beat == pillar_beat) pillars_enabled = true;
  if (!pillars_enabled) return;

  if (time - last_step_time >= step_interval) {
    last_step_time = time;
    switch (walk_random.Next() % 5) {
      case 0:
        walker += 64;
        break;
      case 1:
        walker -= 64;
        break;
      case 2:
        walker += 1;
        break;
      default:  // 3 and 4: a step back is twice as likely as each other step
        walker -= 1;
        break;
    }
    // Off either end the walk jumps to the other end of the index range.
    if (walker < 0) walker = pillar_count - 1;
    if (walker > pillar_count - 1) walker = 0;
    heights[walker] += 7.0;
  }

  // Per frame, not per second: the frame limit sets how fast the pillars sink.
  for (float& h : heights) {
    if (h > 1.0f) h = static_cast<float>(static_cast<double>(h) - 0.1);
  }
}

int Humppa::Draw() {
  render::Layer& gfx = render::layer();
  gfx.Rotate(time * 50, 1, 0, 0);
  gfx.Rotate(time * 30, 0, 1, 0);
  gfx.Rotate(time * 90, 0, 0, 1);
  const unsigned char* texel = plasma.pixels;
  for (int j = 0; j < pillar_count; ++j, texel += 3) {
    gfx.PushMatrix();
    gfx.Translate(positions[j].x, positions[j].y, positions[j].z);
    gfx.Color(texel[0] / 255.0f, texel[1] / 255.0f, texel[2] / 255.0f);
    gfx.Scale(1.0f, 1.0f, heights[j]);
    gfx.DrawCube(display_list);
    gfx.PopMatrix();
  }
  return 0;
}

}  // namespace effect
