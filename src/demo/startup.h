#ifndef TESSARY_DEMO_STARTUP_H
#define TESSARY_DEMO_STARTUP_H

// The show's music, relative to the data root.
constexpr const char* music_path = "data/melody5.ogg";

namespace omni {
class ShaderManager;
}

// The fixed GL state every frame of the show assumes: texturing, smooth shading, depth test,
// back faces culled (every face is counter-clockwise seen from outside its cube),
// a 90 degree square-aspect perspective (near 1, far 500), light 0 directional from the viewer
// (which the toon shader builds in) with colour material. Leaves the modelview matrix selected
// and set to the identity. Calls keep_freed_memory first.
void init_gl();

// Mesa's software rasteriser takes its binning memory (64 KB blocks) from malloc for every frame
// and frees it after. By default glibc hands the top of the heap back to the kernel and gets it
// again the next frame, a page fault for every 4 KB: a fifth of the process's time. This keeps
// up to 256 MB of freed memory in the process, and serves blocks up to 32 MB from the heap.
void keep_freed_memory();

// Loads the toon shader pair as program 0. A missing or broken file leaves the manager empty
// (after its error line), and the show draws with fixed-function lighting.
void init_shaders(omni::ShaderManager& manager);

#endif
