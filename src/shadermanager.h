#ifndef TESSARY_SHADERMANAGER_H
#define TESSARY_SHADERMANAGER_H

#include <string>
#include <vector>

namespace omni {

class ShaderManager;

// Where each of a shader file's lines begins in the joined text its lines were appended to, so
// that a compiler's position in that text can be named by the file's own line and column.
struct SourceMap {
  std::string path;
  std::vector<size_t> line_starts;  // offset in the joined text of each line, in order
};

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
  // with the first line of the info log, releases what it created and returns false. With the
  // sources' maps, the log's position is named as file:line:column, and a line comment or a
  // preprocessor line that swallowed the rest of the joined text is named as the cause.
  bool Init(const std::string& vertex_source, const std::string& fragment_source);
  bool Init(const std::string& vertex_source, const std::string& fragment_source,
            const SourceMap* vertex_map, const SourceMap* fragment_map);
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
  // `header` goes before each file's text (a #version line, ending in a newline); errors are
  // still named by the file's own lines.
  ShaderObject* LoadFromFile(std::string vertex_path, std::string fragment_path,
                             const std::string& header = "");
  // Appends the file's lines to `text` with nothing between them, noting in `map` (when given)
  // where each begins. Returns false, after one error line, when the file cannot be opened.
  bool LoadFile(const std::string& path, std::string& text, SourceMap* map = nullptr);
  // The program at `index`, or null past the end.
  ShaderObject* operator[](const unsigned int& index);
  // The last error this manager printed (without the "E: " prefix), for showing on screen;
  // empty when the last LoadFromFile succeeded.
  const std::string& LastError() const { return last_error_; }

 private:
  friend class ShaderObject;
  std::string last_error_;
};

}  // namespace omni

#endif
