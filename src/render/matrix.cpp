#include "render/matrix.h"

#include <cmath>

namespace render {

namespace {
constexpr double pi = 3.14159265358979323846;
// Room for the stack depth GL guarantees for the model-view matrix.
constexpr size_t stack_room = 32;
}  // namespace

void Matrix::Translate(float x, float y, float z) {
  for (int row = 0; row < 4; ++row) {
    m[12 + row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
  }
}

void Matrix::Scale(float x, float y, float z) {
  for (int row = 0; row < 4; ++row) {
    m[row] *= x;
    m[4 + row] *= y;
    m[8 + row] *= z;
  }
}

void Matrix::Rotate(float degrees, float x, float y, float z) {
  const float s = static_cast<float>(std::sin(degrees * pi / 180.0));
  const float c = static_cast<float>(std::cos(degrees * pi / 180.0));
  Matrix r;
  auto at = [&r](int row, int col) -> float& { return r.m[col * 4 + row]; };
  // About a coordinate axis the matrix holds c and s alone, exactly.
  if (x == 0.0f && y == 0.0f && z != 0.0f) {
    at(0, 0) = at(1, 1) = c;
    at(0, 1) = z < 0 ? s : -s;
    at(1, 0) = z < 0 ? -s : s;
  } else if (x == 0.0f && z == 0.0f && y != 0.0f) {
    at(0, 0) = at(2, 2) = c;
    at(0, 2) = y < 0 ? -s : s;
    at(2, 0) = y < 0 ? s : -s;
  } else if (y == 0.0f && z == 0.0f && x != 0.0f) {
    at(1, 1) = at(2, 2) = c;
    at(1, 2) = x < 0 ? s : -s;
    at(2, 1) = x < 0 ? -s : s;
  } else {
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length <= 1.0e-4f) return;
    x /= length;
    y /= length;
    z /= length;
    const float xx = x * x, yy = y * y, zz = z * z;
    const float xy = x * y, yz = y * z, zx = z * x;
    const float xs = x * s, ys = y * s, zs = z * s;
    const float one_c = 1.0f - c;
    at(0, 0) = (one_c * xx) + c;
    at(0, 1) = (one_c * xy) - zs;
    at(0, 2) = (one_c * zx) + ys;
    at(1, 0) = (one_c * xy) + zs;
    at(1, 1) = (one_c * yy) + c;
    at(1, 2) = (one_c * yz) - xs;
    at(2, 0) = (one_c * zx) - ys;
    at(2, 1) = (one_c * yz) + xs;
    at(2, 2) = (one_c * zz) + c;
  }
  Multiply(r);
}

void Matrix::Frustum(float left, float right, float bottom, float top, float z_near, float z_far) {
  Matrix f;
  f.m[0] = (2.0f * z_near) / (right - left);
  f.m[5] = (2.0f * z_near) / (top - bottom);
  f.m[8] = (right + left) / (right - left);
  f.m[9] = (top + bottom) / (top - bottom);
  f.m[10] = -(z_far + z_near) / (z_far - z_near);
  f.m[11] = -1.0f;
  f.m[14] = -(2.0f * z_far * z_near) / (z_far - z_near);
  f.m[15] = 0.0f;
  Multiply(f);
}

void Matrix::Multiply(const Matrix& b) {
  const Matrix a = *this;
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) {
      m[col * 4 + row] = a.m[row] * b.m[col * 4] + a.m[4 + row] * b.m[col * 4 + 1] +
                         a.m[8 + row] * b.m[col * 4 + 2] + a.m[12 + row] * b.m[col * 4 + 3];
    }
  }
}

MatrixStack::MatrixStack() : stack_(stack_room) {}

void MatrixStack::Push() {
  if (depth_ == stack_.size()) stack_.resize(stack_.size() * 2);
  stack_[depth_] = stack_[depth_ - 1];
  ++depth_;
}

void MatrixStack::Pop() {
  if (depth_ > 1) --depth_;
}

}  // namespace render
