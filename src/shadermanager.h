#ifndef TESSARY_SHADERMANAGER_H
#define TESSARY_SHADERMANAGER_H

#include <string>
#include <vector>

namespace omni {

class ShaderManager;

// One linked GLSL program. Only an object whose Init succeeded owns GL objects.
class ShaderObject {
 public:
  ShaderManager* manager = nullptr;
  unsigned int vertex_shader = 0;
  unsigned int fragment_shader = 0;
  unsigned int program = 0;
  bool loaded = false;

  explicit ShaderObject(ShaderManager* manager);
  ~ShaderObject();
  ShaderObject(const ShaderObject&) = delete;
  ShaderObject& operator=(const ShaderObject&) = delete;

  // Compiles both sources and links them. On a compile or link failure it prints one error line
  // with the first line of the info log, releases what it created and returns false.
  bool Init(const std::string& vertex_source, const std::string& fragment_source);
  void Begin();
  void End();
  int SendUniform1i(const std::string& name, const int& value);
  int SendUniform1f(const std::string& name, const float& value);
  int SendUniform3f(const std::string& name, const float& x, const float& y, const float& z);

 private:
  void Release();
};

// Loads vertex/fragment pairs into programs kept in load order; index 0 is the first loaded.
// Owns every program; destroy it while the GL context that made them is still current.
class ShaderManager {
 public:
  std::vector<ShaderObject*> programs;

  ShaderManager() = default;
  ~ShaderManager();
  ShaderManager(const ShaderManager&) = delete;
  ShaderManager& operator=(const ShaderManager&) = delete;

  // Returns the new program, or null when a file cannot be read (one error line each) or the
  // pair does not compile and link. The fragment file is not opened if the vertex file fails.
  ShaderObject* LoadFromFile(std::string vertex_path, std::string fragment_path);
  // Appends the file's lines to `text` with nothing between them. Returns false, after one
  // error line, when the file cannot be opened.
  bool LoadFile(const std::string& path, std::string& text);
  // The program at `index`, or null past the end.
  ShaderObject* operator[](const unsigned int& index);
};

}  // namespace omni

#endif
