#ifndef TESSARY_CMDLINE_H
#define TESSARY_CMDLINE_H

// Values the player's and the renderer's command lines share (moments are in
// demo/moments.h).

#include <string>

// "640x480" -> 640, 480: each side from 1 to 8192. False for anything else.
bool parse_size(const std::string& text, int& width, int& height);

#endif
