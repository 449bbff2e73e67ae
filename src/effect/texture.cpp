#include "effect/texture.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "omni/vector3.h"
#include "render/layer.h"

namespace effect {

namespace {

// 64 for requests up to 64, 128 up to 128, 256 for anything larger.
int texture_side(int requested) {
  if (requested <= 64) return 64;
  if (requested <= 128) return 128;
  return 256;
}

// The low 8 bits of a value truncated toward zero; every caller's value lies in 1 to 255.
unsigned char byte_of(double value) {
  return static_cast<unsigned char>(static_cast<int>(value));
}

}  // namespace

unsigned int texture_ms(float seconds) {
  const double product = static_cast<double>(seconds) * 1000.0;
  return static_cast<unsigned int>(static_cast<uint64_t>(static_cast<int64_t>(product)));
}

Texture::~Texture() {
  delete[] pixels;
  render::layer().DeleteTexture(texture_id);
}

bool Texture::Init(int w, int h) {
  width = texture_side(w);
  height = texture_side(h);
  byte_count = width * height * 3;
  // A second Init must not leak the first image or texture name.
  delete[] pixels;
  pixels = nullptr;
  pixels = new unsigned char[byte_count]();
  if (texture_id == 0) texture_id = render::layer().CreateTexture();
  return true;
}

void Texture::SetTexture(texture_filter filter) {
  render::Filter how = render::Filter::linear;
  switch (filter) {
    case FILTER_NEAREST:
      how = render::Filter::nearest;
      break;
    case FILTER_LINEAR:
      how = render::Filter::linear;
      break;
    case FILTER_MIPMAP:
      how = render::Filter::mipmap;
      break;
    default:
      render::layer().UploadTexture(texture_id, render::Filter::keep, width, height, pixels);
      return;
  }
  render::layer().UploadTexture(texture_id, how, width, height, pixels);
}

PlasmaTexture::~PlasmaTexture() {
  delete[] plasma1;
  delete[] plasma2;
}

bool PlasmaTexture::Init(int w, int h) {
  if (!Texture::Init(w, h)) return false;
  const int table_size = 4 * width * height;
  delete[] plasma1;
  plasma1 = nullptr;
  delete[] plasma2;
  plasma2 = nullptr;
  plasma1 = new unsigned char[table_size];
  plasma2 = new unsigned char[table_size];
  InitPlasma();
  return true;
}

void PlasmaTexture::InitPlasma() {
  const int row = 2 * width;
  for (int y = 0; y < 2 * height; ++y) {
    for (int x = 0; x < row; ++x) {
      const double dx = x, dy = y;
      const double d = std::hypot(dx, static_cast<double>(height - y));
      plasma1[y * row + x] = byte_of(std::sin(d / 48) * 127 + 128);
      const double q = 31 - 21 * std::sin(dx / 57);
      const double p = 37 + 15 * std::cos(dy / 74);
      plasma2[y * row + x] = byte_of(std::sin(std::cos(dy / q) * (dx / p)) * 127 + 128);
    }
  }
}

void PlasmaTexture::UpdatePalette(double t) {
  for (int i = 0; i < 256; ++i) {
    const double angle = i * omni::PI;
    palette[i][0] = byte_of(std::sin(angle / 64 + t / 133) * 127 + 128);
    palette[i][1] = byte_of(std::cos(angle / 128 + t / 61) * 127 + 128);
    palette[i][2] = byte_of(std::sin(angle / 64 + t / 72) * 127 + 128);
  }
}

void PlasmaTexture::RenderTexture(unsigned int ms) {
  if (pixels == nullptr) return;  // not initialised: nothing to fill
  const int hw = width / 2;
  const int hh = height / 2;
  const double s = static_cast<double>(ms >> 4);
  const int x1 = hw + static_cast<int>(std::sin(s / 128) * (hw - 1));
  const int y1 = hh + static_cast<int>(std::cos(s / 113) * (hh - 1));
  const int x2 = hw + static_cast<int>(std::cos(s / 74) * (hw - 1));
  const int y2 = hh + static_cast<int>(std::sin(s / 33) * (hh - 1));
  UpdatePalette(static_cast<double>(ms));

  const int row = 2 * width;
  unsigned char* out = pixels;
  for (int r = 0; r < height; ++r) {
    const unsigned char* a1 = plasma1 + (y1 + r) * row + x1;
    const unsigned char* a2 = plasma1 + (y2 + r) * row + x2;
    const unsigned char* b1 = plasma2 + (y1 + r) * row + x1;
    const unsigned char* b2 = plasma2 + (y2 + r) * row + x2;
    for (int c = 0; c < width; ++c) {
      const unsigned char index = static_cast<unsigned char>(a1[c] + a2[c] + b1[c] + b2[c]);
      std::memcpy(out, palette[index], 3);
      out += 3;
    }
  }
}

}  // namespace effect
