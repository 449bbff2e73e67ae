#ifndef TESSARY_HELPERS_H
#define TESSARY_HELPERS_H

#include <string>

// Multiplies the current matrix by a symmetric perspective frustum: fovy in degrees (vertical),
// aspect = width / height of the frustum, near and far planes as glFrustum takes them.
void setPerspective(double fovy, double aspect, double zNear, double zFar);

// trunc(sqrt(0.299f r + 0.587f g + 0.114f b)): 0 to 15 for 8-bit components. Zero means the
// pixel is too dark to become a block; the rest sets the depth of a relief picture.
int RGB_luma(const int& r, const int& g, const int& b);

// trunc(sqrt(0.241 r^2 + 0.691 g^2 + 0.068 b^2)): perceived brightness, 0 to 255.
int RGB_brightness(const int& r, const int& g, const int& b);

// Length of `steps` quarter-beats at `bpm` beats a minute, in seconds.
float beat2seconds(int bpm, int steps);

// A blank inside a line: space, tab, vertical tab or form feed (line breaks are not blanks;
// readers that take '\r' as part of a line's end add it).
inline bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// Writes one error line to standard output and flushes it:
// "E: <unit>:<id>, <function>() <message>". The program goes on after it. `id` looks like a line
// number but is a fixed number that scripts and the README match: pass a named constant.
void print_error(const char* unit, int id, const char* function, const std::string& message);

#endif
