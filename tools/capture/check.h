#ifndef TESSARY_CAPTURE_CHECK_H
#define TESSARY_CAPTURE_CHECK_H

#include <cstdio>

// tessary-capture --check: loads the show's files from the data root (the working directory) as
// the show does: the camera file, the toon shader pair (compiled on a small headless context)
// and every picture the parts load. Prints each error and each camera warning to `out`, one line
// each, then one line counting them. Returns the number of errors.
int check_show_files(std::FILE* out);

#endif
