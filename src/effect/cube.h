#ifndef TESSARY_EFFECT_CUBE_H
#define TESSARY_EFFECT_CUBE_H

namespace effect {

// The corners of the cube from -1 to 1, face by face in the order z-, z+, x-, x+, y-, y+, each
// face counter-clockwise seen from outside the cube, so back faces can be culled.
extern const signed char cube_faces[6][4][3];

// Emits the axis-aligned cube from -half to +half on every axis as one GL_QUADS batch of 24
// vertices (cube_faces scaled by half), with no normal, colour or texture coordinate (the
// current ones apply). Every cube of the show is this shape at some size.
void emit_cube(float half);

// Compiles emit_cube(half) into a new display list and returns its name. The caller owns the
// list and releases it with delete_cube_list from its destructor, while the context is current.
unsigned int compile_cube_list(float half);
// Deletes a list made by compile_cube_list (0: nothing).
void delete_cube_list(unsigned int list);

}  // namespace effect

#endif
