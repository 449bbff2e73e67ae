#include "platform/web/webplayer.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

#include "demo/camerafile.h"
#include "demo/demo.h"
#include "demo/startup.h"
#include "gl/framegrab.h"
#include "gl/glcheck.h"
#include "platform/web/page.h"
#include "player/flags.h"
#include "shadermanager.h"
#include "tunables.h"

namespace {

// The canvas the page gives the show.
constexpr const char* canvas_id = "#canvas";

// The key table's name of a DOM key value: single characters as typed (Shift included: "K",
// "{"), the arrows without their "Arrow" (player/keys.h names them Up, Down, Left, Right). With
// `plain`, letters without Shift ("k"), for keys whose shifted name has no binding.
std::string key_name(const char* dom_key, bool plain = false) {
  std::string name = dom_key;
  if (name.size() == 1 && plain) {
    name[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
  } else if (name.rfind("Arrow", 0) == 0) {
    name.erase(0, 5);
  }
  return name;
}

// The RGBA pixels of a rectangle of the drawing buffer (WebGL reads RGBA only), as PNG bytes
// with the top row first.
bool frame_png(const Viewport& view, std::vector<unsigned char>& png, std::string& error) {
  std::vector<unsigned char> rgba(static_cast<size_t>(view.width) * view.height * 4);
  glCheck(glPixelStorei(GL_PACK_ALIGNMENT, 1));
  glCheck(glReadPixels(view.x, view.y, view.width, view.height, GL_RGBA, GL_UNSIGNED_BYTE,
                       rgba.data()));
  std::vector<unsigned char> rgb(static_cast<size_t>(view.width) * view.height * 3);
  for (int y = 0; y < view.height; ++y) {
    const unsigned char* from = &rgba[static_cast<size_t>(view.height - 1 - y) * view.width * 4];
    unsigned char* to = &rgb[static_cast<size_t>(y) * view.width * 3];
    for (int x = 0; x < view.width; ++x) std::memcpy(to + 3 * x, from + 4 * x, 3);
  }
  // Through the file system the page packs: the same encoder as the desktop's screenshots.
  const std::string path = "/tmp/shot.png";
  if (!gl::write_png(path, view.width, view.height, rgb, error)) return false;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  png.clear();
  unsigned char chunk[65536];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
    png.insert(png.end(), chunk, chunk + n);
  }
  std::fclose(file);
  std::remove(path.c_str());
  return true;
}

}  // namespace

std::unique_ptr<WebPlayer> WebPlayer::Create(const Settings& settings, std::string& error) {
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.majorVersion = 2;
  attributes.minorVersion = 0;
  attributes.alpha = EM_FALSE;
  attributes.depth = EM_TRUE;
  attributes.stencil = EM_TRUE;
  attributes.antialias = EM_FALSE;  // the show's frames are not multisampled
  // A still stays on the canvas for whoever looks at it (F12 reads within its frame).
  attributes.preserveDrawingBuffer = settings.still_step >= 0 ? EM_TRUE : EM_FALSE;
  const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
      emscripten_webgl_create_context(canvas_id, &attributes);
  if (context <= 0) {
    error = "this browser gives no WebGL 2 context";
    return nullptr;
  }
  emscripten_webgl_make_context_current(context);
  // WebGL 2 is OpenGL ES 3.0: the instanced renderer's.
  std::unique_ptr<render::Layer> layer = render::make_layer(render::Kind::instanced, error);
  if (!layer) {
    emscripten_webgl_destroy_context(context);
    error = "the renderer: " + error;
    return nullptr;
  }
  return std::unique_ptr<WebPlayer>(new WebPlayer(settings, context, std::move(layer)));
}

WebPlayer::WebPlayer(const Settings& settings, EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context,
                     std::unique_ptr<render::Layer> layer)
    : settings_(settings),
      context_(context),
      layer_(std::move(layer)),
      current_(std::make_unique<render::Current>(*layer_)),
      manager_(std::make_unique<omni::ShaderManager>()) {
  mushroom_mode = settings.magic;
  init_gl();
  init_shaders(*manager_);
  CameraFile camera_keys;
  if (!load_camera_file(camera_file_path, camera_keys)) print_camera_errors(camera_keys);
  transport_ = std::make_unique<Transport>(std::make_unique<Playhead>(
                                               [camera_keys](effect::Camera& camera) {
                                                 return init_demo(camera, show_seconds_per_beat,
                                                                  camera_keys);
                                               },
                                               (*manager_)[0]),
                                           &music_);
  controls_ =
      std::make_unique<Controls>(*transport_, music_, free_, static_cast<Controls::Host&>(*this));
  FitCanvas();
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnKey);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnKey);
  emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnBlur);
  if (settings.still_step < 0) music_.Open();
  clock_start_ = page::clock_seconds();
  if (settings.still_step >= 0) {
    transport_->Start(settings.still_step, 0.0f);
    transport_->TogglePause(0.0f);
  } else {
    transport_->Start(settings.start_step, 0.0f);
  }
}

WebPlayer::~WebPlayer() {
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
  emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
  music_.Stop();
  page::set_overlay("");
  emscripten_webgl_make_context_current(context_);
  controls_.reset();
  transport_.reset();
  manager_.reset();
  current_.reset();
  layer_.reset();
  emscripten_webgl_destroy_context(context_);
}

float WebPlayer::Elapsed() const {
  return static_cast<float>(page::clock_seconds() - clock_start_);
}

bool WebPlayer::FitCanvas() {
  int width = 0, height = 0;
  emscripten_get_canvas_element_size(canvas_id, &width, &height);
  if (width == canvas_width_ && height == canvas_height_) return false;
  canvas_width_ = width;
  canvas_height_ = height;
  screen_.Resize(width, height);
  return true;
}

bool WebPlayer::Frame() {
  const float elapsed = Elapsed();
  const bool resized = FitCanvas();
  if (escape_) return false;
  if (settings_.still_step >= 0) {
    // A still: drawn once, and again only when the canvas changes size.
    if (still_drawn_ && !resized) return true;
    screen_.BeginFrame();
    transport_->Frame(elapsed, free_.View(mushroom_mode));
    glCheck(glFinish());
    if (!still_drawn_) {
      page::set_title("Tessary: frame " + std::to_string(transport_->Current()) + " drawn");
    }
    still_drawn_ = true;
    return true;
  }
  free_.Tick(elapsed);
  screen_.BeginFrame();
  transport_->Frame(elapsed, free_.View(mushroom_mode));
  if (shot_wanted_) SaveShot();
  ++frames_;
  if (elapsed - rate_start_ >= 0.5f) {
    fps_ = static_cast<float>(frames_) / (elapsed - rate_start_);
    frames_ = 0;
    rate_start_ = elapsed;
  }
  ShowOverlay();
  return !transport_->Over();
}

EM_BOOL WebPlayer::OnKey(int type, const EmscriptenKeyboardEvent* event, void* self) {
  return static_cast<WebPlayer*>(self)->Key(event->key, type == EMSCRIPTEN_EVENT_KEYDOWN);
}

EM_BOOL WebPlayer::OnBlur(int, const EmscriptenFocusEvent*, void* self) {
  // The key-up events go elsewhere now: nothing stays held.
  static_cast<WebPlayer*>(self)->free_.ReleaseAll();
  return EM_FALSE;
}

bool WebPlayer::Key(const char* dom_key, bool down) {
  const KeyBinding* binding =
      find_key(key_name(dom_key).c_str(), mushroom_mode, key_name(dom_key, true).c_str());
  if (binding == nullptr) return false;
  if (is_held(binding->action)) {
    free_.Hold(binding->action, down);
  } else if (down) {
    controls_->Act(binding->action, Elapsed());
  }
  return true;
}

void WebPlayer::Say(const std::string& line) {
  page::log(line);
}

void WebPlayer::Own(Action action, float) {
  switch (action) {
    case Action::Quit:
      escape_ = true;
      break;
    case Action::Shot:
      shot_wanted_ = true;
      break;
    default:
      // The camera file and the shaders are the page's packed copies: nothing to reload or
      // write back from a browser tab.
      page::log("this key works in the desktop player only");
      break;
  }
}

void WebPlayer::SaveShot() {
  shot_wanted_ = false;
  std::vector<unsigned char> png;
  std::string error;
  if (frame_png(screen_.view, png, error)) {
    page::download(gl::still_name(transport_->Current()), png, "image/png");
  } else {
    page::log("the frame was not saved: " + error);
  }
}

void WebPlayer::ShowOverlay() {
  std::string text;
  if (controls_->OverlayOn()) {
    const Transport& t = *transport_;
    const int step = t.Current(), beat = t.Beat();
    char line[320];
    std::snprintf(line, sizeof line,
                  "time %.3f s  frame %d  beat %d  part %s  next flash %d\n"
                  "%.0f fps  speed %g%s%s%s%s",
                  step_time(step), step, beat, part_name_at(beat), next_flash_beat(beat), fps_,
                  t.Speed(), t.Paused() ? "  paused" : "",
                  t.LoopPart() >= 0 || t.LoopingRange() ? "  looping" : "",
                  music_.Muted() ? "  muted" : "", page::has_sound() ? "" : "  no sound");
    text = line;
  }
  // NOTE: the page's text changes only when the overlay's does.
  if (text != overlay_text_) {
    overlay_text_ = text;
    page::set_overlay(text);
  }
}
