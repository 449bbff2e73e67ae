#include "demo/startup.h"

#include "platform/platform.h"
#include "render/layer.h"
#include "shadermanager.h"

void init_gl() {
  platform::keep_freed_memory();
  render::layer().StartUp();
}

void init_shaders(omni::ShaderManager& manager) {
  const render::ToonSources toon = render::layer().Toon();
  manager.LoadFromFile(toon.vertex_path, toon.fragment_path, toon.header);
}
