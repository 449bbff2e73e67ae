#include "render/layer.h"

#include <cstdio>
#include <cstdlib>

namespace render {

std::unique_ptr<Layer> make_classic();
std::unique_ptr<Layer> make_instanced(std::string& error);

namespace {
Layer* g_current = nullptr;
}  // namespace

const char* kind_name(Kind kind) {
  return kind == Kind::classic ? "classic" : "instanced";
}

bool parse_kind(const std::string& text, Kind& kind) {
  if (text == "classic") {
    kind = Kind::classic;
  } else if (text == "instanced") {
    kind = Kind::instanced;
  } else {
    return false;
  }
  return true;
}

std::unique_ptr<Layer> make_layer(Kind kind, std::string& error) {
  if (kind == Kind::classic) return make_classic();
  return make_instanced(error);
}

Layer& layer() {
  if (g_current == nullptr) {
    std::fprintf(stderr, "render: drawing with no renderer current\n");
    std::abort();
  }
  return *g_current;
}

void set_current(Layer* layer) {
  g_current = layer;
}

Current::Current(Layer& layer) : previous_(g_current) {
  g_current = &layer;
}

Current::~Current() {
  g_current = previous_;
}

}  // namespace render
