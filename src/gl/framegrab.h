#ifndef TESSARY_GL_FRAMEGRAB_H
#define TESSARY_GL_FRAMEGRAB_H

// Frames out of GL and into PNG files: the player's screenshots and the renderer's stills.
//
// How to use:
//   std::vector<unsigned char> rgb;
//   gl::read_rgb(x, y, width, height, rgb);     // from the current read framebuffer
//   if (!gl::write_png(dir + "/" + gl::still_name(frame), width, height, rgb, error)) ...

#include <string>
#include <vector>

namespace gl {

// Reads a rectangle of the current framebuffer (x, y: its bottom-left corner) as tightly
// packed RGB rows, top row first.
void read_rgb(int x, int y, int width, int height, std::vector<unsigned char>& rgb);

// File name of the picture of a frame: six digits, e.g. 001500.png.
std::string still_name(int frame);

// Encodes RGB rows (top row first) as a PNG at `path`, replacing any file there as
// fileio::replace_file does. Returns false with a one-line reason; on failure what was at `path`
// stays as it was.
bool write_png(const std::string& path, int width, int height,
               const std::vector<unsigned char>& rgb, std::string& error);

}  // namespace gl

#endif
