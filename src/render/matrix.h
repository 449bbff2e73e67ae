#ifndef TESSARY_RENDER_MATRIX_H
#define TESSARY_RENDER_MATRIX_H

// 4 x 4 matrices on the CPU computed with the single-precision operations OpenGL 1.x specifies
// for glTranslatef, glRotatef, glScalef and glFrustum, so that a matrix built here equals the
// one the driver's own stack holds (to the last bit on Mesa). Column-major, as GL stores them:
// m[col * 4 + row].
//
// How to use:
//   Matrix m;                       // the identity
//   m.Translate(0, 0, -5);
//   m.Rotate(30, 0, 1, 0);          // m = m x R, as glRotatef
//   MatrixStack stack;              // one matrix, the identity; Push/Pop/Top as glPushMatrix

#include <cstddef>
#include <vector>

namespace render {

struct Matrix {
  float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

  void LoadIdentity() { *this = Matrix(); }
  void Translate(float x, float y, float z);
  // Degrees about (x, y, z); an axis shorter than 1e-4 leaves the matrix as it is.
  void Rotate(float degrees, float x, float y, float z);
  void Scale(float x, float y, float z);
  // Multiplies by a perspective frustum (the planes as glFrustum takes them).
  void Frustum(float left, float right, float bottom, float top, float z_near, float z_far);
  // this = this x b.
  void Multiply(const Matrix& b);
};

// The model-view stack: never empty; grows only (pushes past its room allocate once).
class MatrixStack {
 public:
  MatrixStack();
  Matrix& Top() { return stack_[depth_ - 1]; }
  const Matrix& Top() const { return stack_[depth_ - 1]; }
  void Push();
  // A pop of the last matrix is ignored, as GL ignores it (with a stack underflow error).
  void Pop();
  int Depth() const { return static_cast<int>(depth_); }

 private:
  std::vector<Matrix> stack_;
  std::size_t depth_ = 1;
};

}  // namespace render

#endif
