#include "player/overlay.h"

#include <stb/stb_easy_font.h>

#include <algorithm>

#include "render/layer.h"

namespace {
constexpr float text_scale = 2.0f;     // stb_easy_font's glyphs are 7 pixels high: too small alone
constexpr float margin = 6.0f;         // panel padding, in text pixels
constexpr float glyph_advance = 6.0f;  // stb_easy_font's widest glyphs, in text pixels
constexpr int vertex_bytes = 16;       // x, y, z floats and four colour bytes
constexpr size_t buffer_bytes = 256 * 1024;  // about 1000 characters
}  // namespace

Overlay::Overlay() : vertices_(buffer_bytes) {}

void Overlay::Wrap(const std::string& text, int width) {
  const size_t columns =
      static_cast<size_t>(std::max(8.0f, (width / text_scale - 2 * margin) / glyph_advance));
  wrapped_.clear();
  size_t line_start = 0;  // in wrapped_
  size_t last_space = std::string::npos;
  for (char c : text) {
    wrapped_ += c;
    if (c == '\n') {
      line_start = wrapped_.size();
      last_space = std::string::npos;
      continue;
    }
    if (c == ' ') last_space = wrapped_.size() - 1;
    if (wrapped_.size() - line_start <= columns) continue;
    // Too long: break at the line's last space, or inside a word that has none.
    if (last_space != std::string::npos && last_space > line_start) {
      wrapped_[last_space] = '\n';
      line_start = last_space + 1;
    } else {
      wrapped_.insert(wrapped_.size() - 1, 1, '\n');
      line_start = wrapped_.size() - 1;
    }
    last_space = std::string::npos;
  }
}

int Overlay::Draw(const std::string& text, int width, int height, Kind kind, int top_pixels) {
  Wrap(text, width);
  char* chars = const_cast<char*>(wrapped_.c_str());
  const float panel_w = static_cast<float>(stb_easy_font_width(chars));
  const float panel_h = static_cast<float>(stb_easy_font_height(chars));
  const float top = static_cast<float>(top_pixels) / text_scale;
  const int quads = stb_easy_font_print(margin, top + margin, chars, nullptr, vertices_.data(),
                                        static_cast<int>(vertices_.size()));

  const float right = panel_w + 2 * margin, bottom = top + panel_h + 2 * margin;
  const float panel[4][2] = {{0, top}, {right, top}, {right, bottom}, {0, bottom}};
  render::Layer& gfx = render::layer();
  // Text pixels, y down, scaled up.
  gfx.ScreenBegin(width / text_scale, height / text_scale);
  if (kind == ERROR) {
    gfx.ScreenQuads(panel, sizeof panel[0], 1, 0.35f, 0.05f, 0.05f);
    gfx.ScreenQuads(vertices_.data(), vertex_bytes, quads, 1.0f, 0.75f, 0.7f);
  } else {
    gfx.ScreenQuads(panel, sizeof panel[0], 1, 0.12f, 0.12f, 0.16f);
    gfx.ScreenQuads(vertices_.data(), vertex_bytes, quads, 1.0f, 0.85f, 0.3f);
  }
  gfx.ScreenEnd();
  return static_cast<int>((top + panel_h + 2 * margin) * text_scale);
}
