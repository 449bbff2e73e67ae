#include "player/overlay.h"

#include <stb/stb_easy_font.h>

#include <algorithm>

#include "gl/glcheck.h"

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

  const int program = Begin2D(width, height);
  glBegin(GL_QUADS);
  if (kind == ERROR) {
    glColor3f(0.35f, 0.05f, 0.05f);
  } else {
    glColor3f(0.12f, 0.12f, 0.16f);
  }
  glVertex2f(0, top);
  glVertex2f(panel_w + 2 * margin, top);
  glVertex2f(panel_w + 2 * margin, top + panel_h + 2 * margin);
  glVertex2f(0, top + panel_h + 2 * margin);
  glEnd();
  if (kind == ERROR) {
    glCheck(glColor3f(1.0f, 0.75f, 0.7f));
  } else {
    glCheck(glColor3f(1.0f, 0.85f, 0.3f));
  }
  glCheck(glEnableClientState(GL_VERTEX_ARRAY));
  glCheck(glVertexPointer(2, GL_FLOAT, vertex_bytes, vertices_.data()));
  glCheck(glDrawArrays(GL_QUADS, 0, quads * 4));
  End2D(program);
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
  const int program = Begin2D(width, height);
  glBegin(GL_QUADS);
  for (const OverlayRect& r : rects) {
    glColor3f(r.r, r.g, r.b);
    glVertex2f(r.x / text_scale, r.y / text_scale);
    glVertex2f((r.x + r.width) / text_scale, r.y / text_scale);
    glVertex2f((r.x + r.width) / text_scale, (r.y + r.height) / text_scale);
    glVertex2f(r.x / text_scale, (r.y + r.height) / text_scale);
  }
  glEnd();
  glCheck(glColor3f(1.0f, 1.0f, 1.0f));
  glCheck(glEnableClientState(GL_VERTEX_ARRAY));
  glCheck(glVertexPointer(2, GL_FLOAT, vertex_bytes, vertices_.data()));
  glCheck(glDrawArrays(GL_QUADS, 0, quads * 4));
  End2D(program);
}

float Overlay::TextWidth(const char* text) {
  return static_cast<float>(stb_easy_font_width(const_cast<char*>(text))) * text_scale;
}

int Overlay::Begin2D(int width, int height) {
  GLint program = 0;
  glCheck(glGetIntegerv(GL_CURRENT_PROGRAM, &program));
  glCheck(glPushAttrib(GL_ALL_ATTRIB_BITS));
  glCheck(glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS));
  glCheck(glUseProgram(0));
  glCheck(glDisable(GL_DEPTH_TEST));
  glCheck(glDisable(GL_LIGHTING));
  glCheck(glDisable(GL_TEXTURE_2D));
  glCheck(glDisable(GL_CULL_FACE));
  glCheck(glMatrixMode(GL_PROJECTION));
  glCheck(glPushMatrix());
  glCheck(glLoadIdentity());
  // Text pixels, y down, scaled up.
  glCheck(glOrtho(0, width / text_scale, height / text_scale, 0, -1, 1));
  glCheck(glMatrixMode(GL_MODELVIEW));
  glCheck(glPushMatrix());
  glCheck(glLoadIdentity());
  return program;
}

void Overlay::End2D(int program) {
  glCheck(glPopMatrix());
  glCheck(glMatrixMode(GL_PROJECTION));
  glCheck(glPopMatrix());
  glCheck(glMatrixMode(GL_MODELVIEW));
  glCheck(glPopClientAttrib());
  glCheck(glPopAttrib());
  glCheck(glUseProgram(static_cast<GLuint>(program)));
}
