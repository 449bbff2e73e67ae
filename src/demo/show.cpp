#include "demo/show.h"

#include "gl/glcheck.h"
#include "shadermanager.h"

void BeatClock::Advance(float demo_time) {
  if (demo_time >= beat_time + seconds_per_beat) {
    beat += 1;
    beat_time += seconds_per_beat;
    beat_changed = true;
  }
}

bool PauseClock::Toggle(float elapsed) {
  paused = !paused;
  if (paused) {
    pause_start = elapsed;
  } else {
    paused_total += pause_length;
    pause_length = 0;
  }
  return paused;
}

float PauseClock::DemoTime(float elapsed) {
  if (paused) pause_length = elapsed - pause_start;
  return elapsed - (paused_total + pause_length);
}

void Show::Frame(float demo_time, const FreeView& view, bool draw) {
  clock.Advance(demo_time);
  const int beat = clock.beat;
  const bool beat_changed = clock.beat_changed;

  if (draw) {
    glCheck(glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT));
    glCheck(glLoadIdentity());
    glCheck(glPushMatrix());
    if (view.apply) {
      glCheck(glTranslatef(-view.position.x, -view.position.y, -view.position.z));
      glCheck(glRotatef(view.rotation.x, 1, 0, 0));
      glCheck(glRotatef(view.rotation.y, 0, 1, 0));
    }
  }
  camera->UpdateLogic(demo_time, beat, beat_changed);
  if (draw && !view.free_camera) camera->UpdateLocation();

  // NOTE: every active effect costs an update and a draw per frame; inactive ones only the test.
  for (Enabler* node = timeline; node != nullptr; node = node->next) {
    if (beat < node->start || beat >= node->end) continue;
    const float local_time = demo_time - node->start_time;
    const int local_beat = beat - node->start;
    if (draw) {
      glCheck(glPushMatrix());
      if (program != nullptr) program->Begin();
    }
    node->effect->UpdateLogic(local_time, local_beat, beat_changed);
    if (draw) {
      node->effect->Draw();
      if (program != nullptr) program->End();
      glCheck(glPopMatrix());
    }
  }

  if (draw) glCheck(glPopMatrix());
  clock.beat_changed = false;
}
