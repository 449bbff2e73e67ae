#include "effect/humppa.h"

#include <cstdlib>

#include "effect/cube.h"
#include "gl/glcheck.h"

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
  // The walk's only source of randomness; nothing else draws from rand().
  std::srand(715517);
}

Humppa::~Humppa() {
  delete_cube_list(display_list);
}

void Humppa::DrawHumppa() {
  display_list = compile_cube_list(1.0f);
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
    switch (std::rand() % 5) {
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
  glCheck(glRotatef(time * 50, 1, 0, 0));
  glCheck(glRotatef(time * 30, 0, 1, 0));
  glCheck(glRotatef(time * 90, 0, 0, 1));
  const unsigned char* texel = plasma.pixels;
  for (int j = 0; j < pillar_count; ++j, texel += 3) {
    const GLfloat color[3] = {texel[0] / 255.0f, texel[1] / 255.0f, texel[2] / 255.0f};
    glCheck(glPushMatrix());
    glCheck(glTranslatef(positions[j].x, positions[j].y, positions[j].z));
    glCheck(glColor3fv(color));
    glCheck(glScalef(1.0f, 1.0f, heights[j]));
    glCheck(glCallList(display_list));
    glCheck(glPopMatrix());
  }
  return 0;
}

}  // namespace effect
