#include "effect/placedcubes.h"

#include "effect/cube.h"
#include "gl/glcheck.h"

namespace effect {

PlacedCubes::PlacedCubes() : display_list(compile_cube_list(1.0f)) {}

PlacedCubes::~PlacedCubes() {
  delete_cube_list(display_list);
}

void PlacedCubes::Place(const omni::Vector3<float>& turn) {
  glCheck(glTranslatef(start_pos.x, start_pos.y, start_pos.z));
  glCheck(glRotatef(turn.x, 1, 0, 0));
  glCheck(glRotatef(turn.y, 0, 1, 0));
  glCheck(glRotatef(turn.z, 0, 0, 1));
}

}  // namespace effect
