#ifndef TESSARY_RENDER_SHAPES_H
#define TESSARY_RENDER_SHAPES_H

// The geometry both renderers draw: the cube every effect is made of and the plasma block.

namespace render {

// The corners of the cube from -1 to 1, face by face in the order z-, z+, x-, x+, y-, y+, each
// face counter-clockwise seen from outside the cube, so back faces can be culled. A face's quad
// splits along the diagonal from its first corner.
extern const signed char cube_faces[6][4][3];
// The outward normal of each face of cube_faces.
extern const signed char cube_normals[6][3];

// One face of the plasma block: its normal, then four corners as texture s, t and x, y, z.
struct BlockFace {
  float normal[3];
  float corners[4][5];
};
// Front, back, top, bottom, right, left of the block (-2 to 2); each counter-clockwise seen
// from outside.
extern const BlockFace plasma_block_faces[6];

}  // namespace render

#endif
