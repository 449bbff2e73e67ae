#include "player/flags.h"

bool music_enabled = true;
bool fullscreen = true;
bool mushroom_mode = false;
bool quit = false;
int resolution_x = 1024;
int resolution_y = 768;
