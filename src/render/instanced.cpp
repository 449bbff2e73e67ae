#include "render/layer.h"

namespace render {

std::unique_ptr<Layer> make_instanced(std::string& error) {
  error = "not built in yet";
  return nullptr;
}

}  // namespace render
