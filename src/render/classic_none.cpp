// Where GL has no display lists or immediate mode (the browser's WebGL 2), there is no classic
// renderer: make_layer(Kind::classic) gives none.
#include "render/layer.h"

namespace render {

std::unique_ptr<Layer> make_classic() {
  return nullptr;
}

}  // namespace render
