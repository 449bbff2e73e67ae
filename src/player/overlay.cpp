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

  glCheck(glPopMatrix());
  glCheck(glMatrixMode(GL_PROJECTION));
  glCheck(glPopMatrix());
  glCheck(glMatrixMode(GL_MODELVIEW));
  glCheck(glPopClientAttrib());
  glCheck(glPopAttrib());
  glCheck(glUseProgram(static_cast<GLuint>(program)));
  return static_cast<int>((top + panel_h + 2 * margin) * text_scale);
}
