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

size_t overlay_columns(int width) {
  return static_cast<size_t>(std::max(8.0f, (width / text_scale - 2 * margin) / glyph_advance));
}

std::string wrap_overlay_text(const std::string& text, size_t columns) {
  std::string out;
  size_t line_start = 0;                  // in out
  size_t last_gap = std::string::npos;    // the first space of the line's last "  "
  size_t last_space = std::string::npos;  // the line's last space
  for (char c : text) {
    out += c;
    if (c == '\n') {
      line_start = out.size();
      last_gap = last_space = std::string::npos;
      continue;
    }
    if (c == ' ') {
      last_space = out.size() - 1;
      if (last_space > line_start && out[last_space - 1] == ' ') last_gap = last_space - 1;
    }
    if (out.size() - line_start <= columns) continue;
    // Too long: break between two fields (two spaces), else at the last space, else inside a
    // word that has none, so a label keeps its value wherever the line allows.
    if (last_gap != std::string::npos && last_gap > line_start) {
      out.replace(last_gap, 2, "\n");
      line_start = last_gap + 1;
    } else if (last_space != std::string::npos && last_space > line_start) {
      out[last_space] = '\n';
      line_start = last_space + 1;
    } else {
      out.insert(out.size() - 1, 1, '\n');
      line_start = out.size() - 1;
    }
    // The gaps and spaces of what moved to the new line still count.
    last_gap = last_space = std::string::npos;
    for (size_t i = line_start; i < out.size(); ++i) {
      if (out[i] != ' ') continue;
      last_space = i;
      if (i > line_start && out[i - 1] == ' ') last_gap = i - 1;
    }
  }
  return out;
}

void Overlay::Wrap(const std::string& text, int width) {
  wrapped_ = wrap_overlay_text(text, overlay_columns(width));
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

void Overlay::DrawShapes(const std::vector<OverlayRect>& rects,
                         const std::vector<OverlayLabel>& labels, int width, int height) {
  // Every label's quads into the one buffer, then one draw.
  int quads = 0;
  const int quad_bytes = 4 * vertex_bytes;
  for (const OverlayLabel& label : labels) {
    const int room = static_cast<int>(vertices_.size()) - quads * quad_bytes;
    quads += stb_easy_font_print(label.x / text_scale, label.y / text_scale,
                                 const_cast<char*>(label.text), nullptr,
                                 vertices_.data() + quads * quad_bytes, room);
  }
  render::Layer& gfx = render::layer();
  gfx.ScreenBegin(width / text_scale, height / text_scale);
  // NOTE: one small draw a rectangle (a few hundred with the strip's grid and keys).
  for (const OverlayRect& r : rects) {
    const float x0 = r.x / text_scale, y0 = r.y / text_scale;
    const float x1 = (r.x + r.width) / text_scale, y1 = (r.y + r.height) / text_scale;
    const float corners[4][2] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    gfx.ScreenQuads(corners, sizeof corners[0], 1, r.r, r.g, r.b);
  }
  gfx.ScreenQuads(vertices_.data(), vertex_bytes, quads, 1.0f, 1.0f, 1.0f);
  gfx.ScreenEnd();
}

float Overlay::TextWidth(const char* text) {
  return static_cast<float>(stb_easy_font_width(const_cast<char*>(text))) * text_scale;
}
