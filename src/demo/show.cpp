#include "demo/show.h"

#include <algorithm>
#include <cmath>

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
  return static_cast<float>(offset + speed * (elapsed - (paused_total + pause_length)));
}

void PauseClock::SeekTo(float elapsed, float demo_time) {
  if (paused) pause_length = elapsed - pause_start;
  offset = static_cast<double>(demo_time) - speed * (elapsed - (paused_total + pause_length));
}

void PauseClock::SetSpeed(float elapsed, double rate) {
  const float now = DemoTime(elapsed);
  speed = rate;
  SeekTo(elapsed, now);
}

void Show::Step(float demo_time, const FreeView& view, bool draw) {
  step_time_ = demo_time;
  clock.Advance(demo_time);
  Walk(demo_time, view, true, draw);
  clock.beat_changed = false;
}

void Show::Redraw(const FreeView& view) {
  glCheck(glClearColor(clear_color[0], clear_color[1], clear_color[2], clear_color[3]));
  Walk(step_time_, view, false, true);
}

void Show::ReplayCarried() {
  for (const Enabler* node : carried_) node->effect->Draw();
  carried_.clear();
}

void Show::PlaceCamera() {
  if (camera_override == nullptr) {
    camera->UpdateLocation();
    return;
  }
  const omni::Vector3<float> location = camera->location;
  const omni::Vector3<float> rotation = camera->rotation;
  camera_override->Apply(camera->time, camera->location, camera->rotation);
  camera->UpdateLocation();
  camera->location = location;
  camera->rotation = rotation;
}

void Show::BindNodeProgram(const Enabler& node, float demo_time) {
  // The beat clock's own beat, and how far the step is into it: kept below the next beat when
  // the clock lags, so the whole part is always the clock's beat.
  const float into = (demo_time - clock.beat_time) / clock.seconds_per_beat;
  const float next = static_cast<float>(clock.beat + 1);
  const float beat =
      std::min(static_cast<float>(clock.beat) + std::max(into, 0.0f), std::nextafter(next, 0.0f));
  omni::NodeTimes times;
  times.show_time = demo_time;
  times.show_beat = beat;
  times.node_time = demo_time - node.start_time;
  times.node_beat = beat - static_cast<float>(node.start);
  program->Begin();
  program->SendTimes(times);
}

void Show::Walk(float demo_time, const FreeView& view, bool update, bool draw) {
  const int beat = clock.beat;
  const bool beat_changed = clock.beat_changed;

  if (draw) {
    if (update) {
      ReplayCarried();
      glCheck(glGetFloatv(GL_COLOR_CLEAR_VALUE, clear_color));
    }
    glCheck(glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT));
    glCheck(glLoadIdentity());
    glCheck(glPushMatrix());
    if (view.apply) {
      glCheck(glTranslatef(-view.position.x, -view.position.y, -view.position.z));
      glCheck(glRotatef(view.rotation.x, 1, 0, 0));
      glCheck(glRotatef(view.rotation.y, 0, 1, 0));
    }
  }
  if (update) camera->UpdateLogic(demo_time, beat, beat_changed);
  if (draw && !view.free_camera) PlaceCamera();

  // NOTE: every active effect costs an update and a draw per step; inactive ones only the test.
  for (Enabler* node = timeline; node != nullptr; node = node->next) {
    if (beat < node->start || beat >= node->end) continue;
    if (draw) {
      glCheck(glPushMatrix());
      if (program != nullptr) BindNodeProgram(*node, demo_time);
    }
    if (update) {
      node->effect->UpdateLogic(demo_time - node->start_time, beat - node->start, beat_changed);
    }
    if (draw) {
      node->effect->Draw();
      if (program != nullptr) program->End();
      glCheck(glPopMatrix());
    } else if (node->effect->DrawSetsStateOnly() &&
               std::find(carried_.begin(), carried_.end(), node) == carried_.end()) {
      carried_.push_back(node);
    }
  }

  if (draw) glCheck(glPopMatrix());
}
