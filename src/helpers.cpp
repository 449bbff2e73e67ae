#include "helpers.h"

#include <cmath>
#include <cstdio>

#include "render/layer.h"

void setPerspective(double fovy, double aspect, double zNear, double zFar) {
  render::layer().Perspective(fovy, aspect, zNear, zFar);
}

int RGB_luma(const int& r, const int& g, const int& b) {
  // Single-precision weights, widened before the products so the sum is exact enough.
  const double sum = static_cast<double>(0.299f) * r + static_cast<double>(0.587f) * g +
                     static_cast<double>(0.114f) * b;
  return static_cast<int>(std::sqrt(sum));
}

int RGB_brightness(const int& r, const int& g, const int& b) {
  const double sum = 0.241 * r * r + 0.691 * g * g + 0.068 * b * b;
  return static_cast<int>(std::sqrt(sum));
}

float beat2seconds(int bpm, int steps) {
  return static_cast<float>(steps * 60.0 / (bpm * 4.0));
}

void print_error(const char* unit, int id, const char* function, const std::string& message) {
  std::fprintf(stdout, "E: %s:%d, %s() %s\n", unit, id, function, message.c_str());
  std::fflush(stdout);
}
