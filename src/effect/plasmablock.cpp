#include "effect/plasmablock.h"

#include "render/layer.h"

namespace effect {

PlasmaBlock::PlasmaBlock() {
  plasma.Init(128, 128);
}

void PlasmaBlock::UpdateLogic(const float& time_, const int&, const bool&) {
  time = time_;
  plasma.RenderTexture(texture_ms(time));
}

int PlasmaBlock::Draw() {
  render::Layer& gfx = render::layer();
  gfx.Translate(0, 0, -3);
  gfx.Rotate(time * 5, 1, 0, 0);
  gfx.Rotate(time * 3, 0, 1, 0);
  gfx.Rotate(time * 9, 0, 0, 1);
  plasma.SetTexture(FILTER_LINEAR);

  gfx.DrawPlasmaBlock(color);
  return 0;
}

}  // namespace effect
