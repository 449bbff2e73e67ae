#ifndef TESSARY_CAPTURE_OUTPUTS_H
#define TESSARY_CAPTURE_OUTPUTS_H

#include <string>

// Checks, without writing anything, that files can be written into `dir`: it is a writable
// directory, or it does not exist yet and its nearest existing parent is one. Returns false with
// a one-line reason.
bool check_output_dir(const std::string& dir, std::string& error);
// Creates `dir` and its missing parents.
bool make_output_dir(const std::string& dir, std::string& error);

#endif
