#include "effect/placedcubes.h"

#include "render/layer.h"

namespace effect {

PlacedCubes::PlacedCubes() : display_list(render::layer().CreateCube(1.0f)) {}

PlacedCubes::~PlacedCubes() {
  render::layer().DeleteCube(display_list);
}

void PlacedCubes::Place(const omni::Vector3<float>& turn) {
  render::Layer& gfx = render::layer();
  gfx.Translate(start_pos.x, start_pos.y, start_pos.z);
  gfx.Rotate(turn.x, 1, 0, 0);
  gfx.Rotate(turn.y, 0, 1, 0);
  gfx.Rotate(turn.z, 0, 0, 1);
}

}  // namespace effect
