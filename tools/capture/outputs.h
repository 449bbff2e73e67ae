#ifndef TESSARY_CAPTURE_OUTPUTS_H
#define TESSARY_CAPTURE_OUTPUTS_H

#include <string>
#include <vector>

// Checks, without writing anything, that files can be written into `dir`: it is a writable
// directory, or it does not exist yet and its nearest existing parent is one. Returns false with
// a one-line reason.
bool check_output_dir(const std::string& dir, std::string& error);
// Creates `dir` and its missing parents.
bool make_output_dir(const std::string& dir, std::string& error);

// File name of the still of a frame: six digits, e.g. 001500.png.
std::string still_name(int frame);
// Encodes RGB rows (top row first) as a PNG at `path`. On failure nothing is left at `path`.
bool write_png(const std::string& path, int width, int height,
               const std::vector<unsigned char>& rgb, std::string& error);

#endif
