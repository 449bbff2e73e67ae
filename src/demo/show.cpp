#include "demo/show.h"

#include <algorithm>

#include "render/layer.h"
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
  clock.Advance(demo_time);
  Walk(demo_time, view, true, draw);
  clock.beat_changed = false;
}

void Show::Redraw(const FreeView& view) {
  render::layer().ClearColor(clear_color[0], clear_color[1], clear_color[2], clear_color[3]);
  Walk(0.0f, view, false, true);
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

render::NodeTime Show::TimeOf(float demo_time) const {
  render::NodeTime time;
  time.show_seconds = demo_time;
  time.show_beat = static_cast<float>(clock.beat);
  if (clock.seconds_per_beat > 0) {
    time.show_beat += (demo_time - clock.beat_time) / clock.seconds_per_beat;
  }
  return time;
}

void Show::Walk(float demo_time, const FreeView& view, bool update, bool draw) {
  const int beat = clock.beat;
  const bool beat_changed = clock.beat_changed;
  // Undrawn steps need no renderer at all.
  render::Layer* const gfx = draw ? &render::layer() : nullptr;
  if (update) drawn_time_ = demo_time;
  const render::NodeTime show_time = TimeOf(drawn_time_);

  if (draw) {
    if (update) {
      ReplayCarried();
      gfx->GetClearColor(clear_color);
    }
    gfx->Clear();
    gfx->LoadIdentity();
    gfx->PushMatrix();
    if (view.apply) {
      gfx->Translate(-view.position.x, -view.position.y, -view.position.z);
      gfx->Rotate(view.rotation.x, 1, 0, 0);
      gfx->Rotate(view.rotation.y, 0, 1, 0);
    }
  }
  if (update) camera->UpdateLogic(demo_time, beat, beat_changed);
  if (draw && !view.free_camera) PlaceCamera();

  // NOTE: every active effect costs an update and a draw per step; inactive ones only the test.
  for (Enabler* node = timeline; node != nullptr; node = node->next) {
    if (beat < node->start || beat >= node->end) continue;
    if (draw) {
      gfx->PushMatrix();
      render::NodeTime time = show_time;
      time.node_seconds = show_time.show_seconds - node->start_time;
      time.node_beat = show_time.show_beat - static_cast<float>(node->start);
      gfx->BindToon(program, time);
    }
    if (update) {
      node->effect->UpdateLogic(demo_time - node->start_time, beat - node->start, beat_changed);
    }
    if (draw) {
      node->effect->Draw();
      gfx->UnbindToon(program);
      gfx->PopMatrix();
    } else if (node->effect->DrawSetsStateOnly() &&
               std::find(carried_.begin(), carried_.end(), node) == carried_.end()) {
      carried_.push_back(node);
    }
  }

  if (draw) {
    gfx->PopMatrix();
    gfx->FinishFrame();
  }
}
