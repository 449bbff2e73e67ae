// What every target's picture shares: its pixels. Decoding lives with each target.
#include "platform/picture.h"

namespace platform {

Picture::Picture(unsigned width, unsigned height, Rgba fill) {
  std::vector<unsigned char> bytes(static_cast<size_t>(width) * height * 4);
  for (size_t i = 0; i < bytes.size(); i += 4) {
    bytes[i] = fill.r;
    bytes[i + 1] = fill.g;
    bytes[i + 2] = fill.b;
    bytes[i + 3] = fill.a;
  }
  Assign(width, height, std::move(bytes));
}

void Picture::Assign(unsigned width, unsigned height, std::vector<unsigned char> bytes) {
  const bool fits = bytes.size() == static_cast<size_t>(width) * height * 4;
  width_ = fits ? width : 0;
  height_ = fits ? height : 0;
  bytes_ = fits ? std::move(bytes) : std::vector<unsigned char>();
}

Rgba Picture::Pixel(unsigned x, unsigned y) const {
  const unsigned char* p = &bytes_[(static_cast<size_t>(y) * width_ + x) * 4];
  return Rgba{p[0], p[1], p[2], p[3]};
}

void Picture::SetPixel(unsigned x, unsigned y, Rgba colour) {
  unsigned char* p = &bytes_[(static_cast<size_t>(y) * width_ + x) * 4];
  p[0] = colour.r;
  p[1] = colour.g;
  p[2] = colour.b;
  p[3] = colour.a;
}

}  // namespace platform
