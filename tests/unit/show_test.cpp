#include "demo/show.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <cmath>
#include <vector>

#include "demo/moments.h"
#include "demo/playhead.h"
#include "effect/flash.h"
#include "effect/humppa.h"
#include "gl/glcheck.h"
#include "gl_context.h"
#include "shadermanager.h"
#include "tunables.h"

namespace {

const float spb = show_seconds_per_beat;

struct Call {
  float time;
  int beat;
  bool beat_changed;
};

// Records what the frame step hands it.
struct Recorder : omni::Effect {
  std::vector<Call> calls;
  int draws = 0;
  const char* Name() override { return "Recorder"; }
  int Draw() override {
    ++draws;
    return 0;
  }
  void UpdateLogic(const float& time, const int& beat, const bool& changed) override {
    calls.push_back({time, beat, changed});
  }
};

// A show of one recorder over the given beats.
struct Fixture {
  Recorder* recorder = new Recorder();
  effect::Camera camera;
  Enabler* head;
  Show show;
  Fixture(int start, int end)
      : head(enabler_append(nullptr, recorder, start, end, spb)),
        show(head, &camera, nullptr, spb) {}
  ~Fixture() { enabler_cleanup(head); }
};

}  // namespace

// The first frame brings beat 0; a late frame catches up one beat a frame, each flagged as a
// change; the frame step runs logic only.
TEST(ShowStep, FirstFrameIsBeatZeroAndALateOneCatchesUpABeatAFrame) {
  Fixture f(0, 385);
  f.show.Step(0.0f, FreeView(), false);
  f.show.Step(1 / static_cast<float>(show_fps), FreeView(), false);
  for (int i = 0; i < 4; ++i) f.show.Step(3.2f * spb + i * 0.001f, FreeView(), false);
  const auto& c = f.recorder->calls;
  ASSERT_EQ(c.size(), 6u);
  const int beats[6] = {0, 0, 1, 2, 3, 3};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(c[i].beat, beats[i]) << "call " << i;
    EXPECT_EQ(c[i].beat_changed, i != 1 && i != 5) << "call " << i;
  }
  EXPECT_EQ(f.recorder->draws, 0);
}

// A node's effect sees its own time and beats, from its first beat to the one before its end;
// the show ends after beat 389, on time.
TEST(ShowStep, EffectsSeeTimeAndBeatOfTheirNodeAndTheShowEndsAfterBeat389) {
  Fixture f(50, 94);
  int frame = 0;
  const auto step = [&] { f.show.Step(frame++ / static_cast<float>(show_fps), FreeView(), false); };
  while (f.show.clock.beat < 50) step();
  ASSERT_EQ(f.recorder->calls.size(), 1u);  // nothing before its first beat
  const Call& first = f.recorder->calls[0];
  EXPECT_EQ(first.beat, 0);
  EXPECT_TRUE(first.beat_changed);
  EXPECT_FLOAT_EQ(first.time, (frame - 1) / static_cast<float>(show_fps) - 21.428572f);
  EXPECT_GE(first.time, 0.0f);
  EXPECT_LT(first.time, 1 / static_cast<float>(show_fps));
  while (!f.show.Over()) {
    step();
    ASSERT_LT(frame, 30000);
  }
  EXPECT_EQ(f.recorder->calls.back().beat, 43);  // beat 94 itself is not in the node
  EXPECT_EQ(f.show.clock.beat, 390);
  const float end = (frame - 1) / static_cast<float>(show_fps);
  EXPECT_GE(end, 390 * spb - 0.001f);
  EXPECT_LT(end, 390 * spb + 1 / static_cast<float>(show_fps));
}

TEST(ShowStep, DrawnFrameBalancesTheMatrixStackAndBindsTheProgram) {
  ASSERT_NE(test_gl_context(), nullptr);
  GLint depth_before = 0, depth_after = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_before);
  Fixture f(0, 10);
  f.camera.AddPosition(effect::Camera::CUT, 0, 0, omni::Vector3<float>(0, 0, 10));
  f.show.Step(0.0f, FreeView(), true);
  EXPECT_EQ(f.recorder->draws, 1);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_after);
  EXPECT_EQ(depth_before, depth_after);
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  EXPECT_EQ(m[14], 0.0f);  // the camera's transform is inside the frame's push and pop
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Steps run undrawn, a seek back and a redraw all give the picture of the loop that draws every
// step: around a flash (whose clear colour a frame carries into the next) and after its node has
// ended.
TEST(Playhead, EveryWayToAFrameGivesTheFullLoopsPicture) {
  ASSERT_NE(test_gl_context(), nullptr);
  const auto build = [](effect::Camera&) {
    auto* flash = new effect::Flash();
    flash->AddFlash(2);
    return enabler_append(nullptr, flash, 0, 4, spb);
  };
  const ShowSteps frames;
  const int flash = frames.first_step_of_beat[2];
  const int steps[] = {flash, flash + 1, flash + 60, frames.first_step_of_beat[5]};
  const auto pixel = [] { return read_test_pixels()[0]; };

  // One playhead at a time: the clear colour is the context's, as in a program with one show.
  std::vector<int> full;
  {
    Playhead head(build, nullptr);
    for (int step : steps) {
      while (head.NextStep() <= step) head.DrawNext(FreeView());
      full.push_back(pixel());
    }
  }
  {
    Playhead head(build, nullptr);
    for (size_t i = 0; i < full.size(); ++i) {
      head.SeekTo(steps[i]);
      head.DrawNext(FreeView());
      EXPECT_EQ(pixel(), full[i]) << "step " << steps[i];
      head.Redraw(FreeView());
      EXPECT_EQ(pixel(), full[i]) << "step " << steps[i] << " redrawn";
    }
    for (size_t i = full.size(); i-- > 0;) {
      head.SeekTo(steps[i]);  // back: the show is rebuilt
      head.DrawNext(FreeView());
      EXPECT_EQ(pixel(), full[i]) << "step " << steps[i] << " sought back";
    }
  }
  // The flash's own first frame is still black, the next white, and the colour holds after
  // the node's end.
  EXPECT_EQ(full[0], 0);
  EXPECT_EQ(full[1], 255);
  EXPECT_GT(full[3], 0);
}

namespace {

// How many names below the next free one `is_name` accepts (glIsList, glIsTexture).
int live_names(GLboolean (*is_name)(GLuint), bool lists) {
  GLuint probe = 0;
  if (lists) {
    probe = glGenLists(1);
  } else {
    glGenTextures(1, &probe);
  }
  int count = 0;
  for (GLuint name = 1; name < probe; ++name) count += is_name(name) ? 1 : 0;
  if (lists) {
    glDeleteLists(probe, 1);
  } else {
    glDeleteTextures(1, &probe);
  }
  return count;
}

size_t heap_in_use() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

}  // namespace

// A seek back or a loop wrap rebuilds the whole show. However often that happens, the display
// lists and texture names stay as many as one build holds, the heap in use (the pictures'
// blocks, the driver's display lists) stays where it was, and a frame is drawn as before.
TEST(Playhead, RebuildsLeaveNothingBehind) {
  ASSERT_NE(test_gl_context(), nullptr);
  // Texture names only count as textures once bound: bind each plasma's as the show would.
  const auto build = [](effect::Camera& camera) {
    Enabler* head = init_demo(camera, spb);
    for (Enabler* node = head; node != nullptr; node = node->next) {
      if (auto* humppa = dynamic_cast<effect::Humppa*>(node->effect)) {
        glBindTexture(GL_TEXTURE_2D, humppa->plasma.texture_id);
      }
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    return head;
  };
  Playhead head(build, nullptr);
  const auto rebuild = [&head](int times) {
    for (int n = 0; n < times; ++n) {
      head.SeekTo(1);
      head.SeekTo(0);
    }
  };
  const auto picture_at = [&head](int step) {
    head.SeekTo(step);
    head.DrawNext(FreeView());
    return read_test_pixels();
  };
  rebuild(5);  // the driver's and the allocator's one-time growth
  const std::vector<unsigned char> title = picture_at(600);
  const int lists = live_names(glIsList, true);
  const int textures = live_names(glIsTexture, false);
  const size_t heap = heap_in_use();
  EXPECT_GT(lists, 40);
  EXPECT_EQ(textures, 1);  // the plasma part's

  rebuild(50);
  EXPECT_EQ(live_names(glIsList, true), lists);
  EXPECT_EQ(live_names(glIsTexture, false), textures);
  // One build leaked whole was about 35 kB; fifty of them would be 1.7 MB.
  EXPECT_LT(heap_in_use(), heap + 256 * 1024);
  EXPECT_EQ(picture_at(600), title);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

namespace {

// A grey square over the whole view, the same every frame: only a program can change it.
struct StillSquare : omni::Effect {
  const char* Name() override { return "StillSquare"; }
  int Draw() override {
    glColor3f(0.5f, 0.5f, 0.5f);
    glBegin(GL_QUADS);
    glVertex3f(-10, -10, -5);
    glVertex3f(10, -10, -5);
    glVertex3f(10, 10, -5);
    glVertex3f(-10, 10, -5);
    glEnd();
    return 0;
  }
  void UpdateLogic(const float&, const int&, const bool&) override {}
};

// The centre pixel of a drawn step of a square on beats 8 to 20 under `program` (its redraw
// checked to be the same).
std::vector<int> square_at(omni::ShaderObject* program, float demo_time) {
  effect::Camera camera;
  Enabler* head = enabler_append(nullptr, new StillSquare(), 8, 20, spb);
  Show show(head, &camera, program, spb);
  for (int n = 0; step_time(n) < demo_time; ++n) show.Step(step_time(n), FreeView(), false);
  show.Step(demo_time, FreeView(), true);
  const std::vector<unsigned char> rgb = read_test_pixels();
  show.Redraw(FreeView());  // a paused frame: the step's own moments again
  EXPECT_EQ(read_test_pixels(), rgb);
  enabler_cleanup(head);
  const size_t centre = 3 * (24 * 64 + 32);
  return {rgb[centre], rgb[centre + 1], rgb[centre + 2]};
}

}  // namespace

// A program that declares the time uniforms gets the step's moments: the beat with its share
// (10.25 a quarter into beat 10), the node's beat and time from its start (beat 8); it changes
// between two steps of one beat, while the shipped program, which declares none, draws both
// steps alike.
TEST(ShowStep, ProgramsThatDeclareTheTimeUniformsGetTheStepsMoments) {
  ASSERT_NE(test_gl_context(), nullptr);
  omni::ShaderManager manager;
  omni::ShaderObject* toon = manager.LoadFromFile("shaders/toon.vert", "shaders/toon.frag");
  ASSERT_NE(toon, nullptr);
  omni::ShaderObject pulse(&manager);
  ASSERT_TRUE(pulse.Init(
      "void main() { gl_Position = ftransform(); }",
      "uniform float show_time; uniform float show_beat; uniform float node_time;"
      "uniform float node_beat;"
      "void main() { gl_FragColor = vec4(fract(show_beat), (show_beat - node_beat) / 32.0,"
      " (show_time - node_time) / 8.0, 1.0); }"));

  const float quarter = 10.25f * spb;
  const float late = 10.8f * spb;
  const std::vector<int> at = square_at(&pulse, quarter);
  EXPECT_NEAR(at[0], 0.25 * 255, 2);
  EXPECT_NEAR(at[1], 8 / 32.0 * 255, 1);
  EXPECT_NEAR(at[2], 8 * spb / 8.0 * 255, 1);
  EXPECT_NEAR(square_at(&pulse, late)[0], 0.8 * 255, 2);
  EXPECT_NE(square_at(&pulse, quarter), square_at(&pulse, late));

  const std::vector<int> shipped = square_at(toon, quarter);
  EXPECT_GT(shipped[0], 0);
  EXPECT_EQ(square_at(toon, late), shipped);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
