#ifndef TESSARY_PLATFORM_PICTURE_H
#define TESSARY_PLATFORM_PICTURE_H

// A picture as the show reads it: width x height pixels of 8-bit RGBA, rows from the top. Each
// target decodes PNG files with the decoder it has (SFML's sf::Image on the desktop, stb_image
// in the browser; SFML decodes with stb_image too), so the show's pictures are the same bytes
// everywhere.
//
// How to use:
//   platform::Picture picture;
//   std::string error;
//   if (!picture.Load("data/earth.png", error)) ...   // empty, `error` says why
//   platform::Rgba p = picture.Pixel(x, y);
//   platform::Picture made(4, 2, platform::Rgba{255, 255, 255, 255});  // one colour (tests)

#include <string>
#include <vector>

namespace platform {

struct Rgba {
  unsigned char r = 0, g = 0, b = 0, a = 255;
};

class Picture {
 public:
  Picture() = default;
  // A `width` x `height` picture of one colour.
  Picture(unsigned width, unsigned height, Rgba fill);

  // Reads a PNG file. On failure the picture is empty (whatever it held before) and `error`
  // is "PATH: cannot be decoded (REASON)". One implementation per target.
  bool Load(const std::string& path, std::string& error);

  unsigned Width() const { return width_; }
  unsigned Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  // The pixel at column x, row y from the top; both must lie inside the picture.
  Rgba Pixel(unsigned x, unsigned y) const;
  void SetPixel(unsigned x, unsigned y, Rgba colour);
  // All pixels, 4 bytes each, row after row from the top.
  const std::vector<unsigned char>& Bytes() const { return bytes_; }
  // Takes `bytes` (width x height x 4) as the picture's pixels.
  void Assign(unsigned width, unsigned height, std::vector<unsigned char> bytes);
  void Clear() { Assign(0, 0, {}); }

 private:
  unsigned width_ = 0;
  unsigned height_ = 0;
  std::vector<unsigned char> bytes_;
};

}  // namespace platform

#endif
