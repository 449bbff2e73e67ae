#ifndef TESSARY_DEMO_STARTUP_H
#define TESSARY_DEMO_STARTUP_H

// The show's music, relative to the data root.
constexpr const char* music_path = "data/melody5.ogg";
// The toon shader pair, relative to the data root: vertex, then fragment.
constexpr const char* toon_shader_paths[2] = {"shaders/toon.vert", "shaders/toon.frag"};

namespace omni {
class ShaderManager;
}

// The fixed GL state every frame of the show assumes: texturing, smooth shading, depth test,
// back faces culled (every face is counter-clockwise seen from outside its cube),
// a 90 degree square-aspect perspective (near 1, far 500), light 0 directional from the viewer
// (which the toon shader builds in) with colour material. Leaves the modelview matrix selected
// and set to the identity. Calls platform::keep_freed_memory first.
void init_gl();

// Loads the toon shader pair as program 0. A missing or broken file leaves the manager empty
// (after its error line), and the show draws with fixed-function lighting.
void init_shaders(omni::ShaderManager& manager);

#endif
