#include "shadermanager.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>

#include "gl/glcheck.h"
#include "helpers.h"

namespace omni {

namespace {

// The numbers after "shadermanager:" on the E: lines. They look like line numbers but are fixed:
// scripts, tests and the README match these lines, so never change them when the code moves.
constexpr int kInitMessageId =
    74;  // a shader that does not compile, or a program that does not link
constexpr int kLoadFileMessageId = 161;  // a shader file that cannot be opened

// The first line of a shader's or program's info log, for the error line.
std::string first_log_line(GLuint object, bool is_program) {
  GLint length = 0;
  if (is_program) {
    glCheck(glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length));
  } else {
    glCheck(glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length));
  }
  if (length <= 1) return "no log";
  std::string log(static_cast<size_t>(length), '\0');
  if (is_program) {
    glCheck(glGetProgramInfoLog(object, length, nullptr, &log[0]));
  } else {
    glCheck(glGetShaderInfoLog(object, length, nullptr, &log[0]));
  }
  const size_t end = log.find_first_of(std::string("\n\r\0", 3));
  if (end != std::string::npos) log.resize(end);
  return log;
}

// The joined text as the compiler counts it: its preprocessor turns each run of blanks and
// comments into one space, and '\r' or '\n' starts a new line. view[line][column] is the offset
// in `text` of what stands there (both counted from 0).
std::vector<std::vector<size_t>> compiler_view(const std::string& text) {
  std::vector<std::vector<size_t>> view(1);
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      view.emplace_back();
      i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      continue;
    }
    const size_t run = i;
    while (i < text.size()) {
      if (is_blank(text[i])) {
        ++i;
      } else if (text.compare(i, 2, "/*") == 0) {
        const size_t end = text.find("*/", i + 2);
        i = end == std::string::npos ? text.size() : end + 2;
      } else if (text.compare(i, 2, "//") == 0) {
        i = text.find_first_of("\r\n", i);
        if (i == std::string::npos) i = text.size();
      } else {
        break;
      }
    }
    view.back().push_back(run);
    if (i == run) ++i;
  }
  return view;
}

// The first line comment or '#' outside block comments: either takes in the rest of the joined
// text. npos when there is none.
size_t first_swallowing(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "/*") == 0) {
      i = text.find("*/", i + 2);
      if (i == std::string::npos) return i;
      ++i;
    } else if (text.compare(i, 2, "//") == 0 || text[i] == '#') {
      return i;
    }
  }
  return std::string::npos;
}

// "path:line:column" of an offset in the joined text (1-based, in the file's own lines).
std::string file_position(const SourceMap& map, size_t offset) {
  if (map.line_starts.empty()) return map.path + ":1:1";
  const auto after = std::upper_bound(map.line_starts.begin(), map.line_starts.end(), offset);
  const size_t line = after == map.line_starts.begin() ? 1 : after - map.line_starts.begin();
  const size_t column = offset - map.line_starts[line - 1] + 1;
  return map.path + ":" + std::to_string(line) + ":" + std::to_string(column);
}

// The log's first line with its "0:line(column)" position named in the file's own terms, and the
// cause said when a line comment or a preprocessor line took in the rest of the text.
std::string explain_log(const std::string& log, const std::string& text, const SourceMap& map) {
  unsigned long source = 0, line = 0, column = 0;
  int used = 0;
  if (std::sscanf(log.c_str(), "%lu:%lu(%lu): %n", &source, &line, &column, &used) != 3 ||
      used == 0 || line == 0) {
    return log;
  }
  const std::vector<std::vector<size_t>> view = compiler_view(text);
  // Past the end of a line or of the text: the end of the text.
  size_t offset = text.size();
  if (line <= view.size() && column >= 1 && column <= view[line - 1].size()) {
    offset = view[line - 1][column - 1];
  }
  const std::string message = log.substr(static_cast<size_t>(used));
  const size_t cause = first_swallowing(text);
  if (cause == std::string::npos) return file_position(map, offset) + ": " + message;
  size_t run = cause;
  while (run > 0 && is_blank(text[run - 1])) --run;
  if (offset < run) {
    // Before the swallowing line: a fault of its own, unless the compiler ran out of text (it
    // then names no useful place, and the swallowing line is where to look).
    if (message.find("end of file") == std::string::npos) {
      return file_position(map, offset) + ": " + message;
    }
    offset = cause;
  }
  std::string out = file_position(map, offset) + ": " + message;
  if (text[cause] == '#') {
    size_t word = cause + 1;
    while (word < text.size() && is_blank(text[word])) ++word;
    size_t end = word;
    while (end < text.size() && std::isalpha(static_cast<unsigned char>(text[end]))) ++end;
    out += " (the cause: the preprocessor line #" + text.substr(word, end - word) + " at " +
           file_position(map, cause) +
           ": the shader's lines are joined with nothing between them, so it takes in all that "
           "follows)";
  } else {
    out += " (the cause: the line comment // at " + file_position(map, cause) +
           ": the shader's lines are joined with nothing between them, so it runs to the end; "
           "write /* */ instead)";
  }
  return out;
}

GLuint compile(GLenum kind, const std::string& source) {
  GLuint shader = 0;
  glCheck(shader = glCreateShader(kind));
  const char* text = source.c_str();
  glCheck(glShaderSource(shader, 1, &text, nullptr));
  glCheck(glCompileShader(shader));
  return shader;
}

bool compiled(GLuint shader) {
  GLint status = GL_FALSE;
  glCheck(glGetShaderiv(shader, GL_COMPILE_STATUS, &status));
  return status == GL_TRUE;
}

}  // namespace

ShaderObject::ShaderObject(ShaderManager* manager_) : manager(manager_) {}

ShaderObject::~ShaderObject() {
  if (loaded) Release();
}

bool ShaderObject::Init(const std::string& vertex_source, const std::string& fragment_source) {
  return Init(vertex_source, fragment_source, nullptr, nullptr);
}

bool ShaderObject::Init(const std::string& vertex_source, const std::string& fragment_source,
                        const SourceMap* vertex_map, const SourceMap* fragment_map) {
  glCheck(program = glCreateProgram());
  vertex_shader = compile(GL_VERTEX_SHADER, vertex_source);
  glCheck(glAttachShader(program, vertex_shader));
  fragment_shader = compile(GL_FRAGMENT_SHADER, fragment_source);
  glCheck(glAttachShader(program, fragment_shader));
  glCheck(glLinkProgram(program));

  auto explained = [](GLuint shader, const std::string& text, const SourceMap* map) {
    const std::string log = first_log_line(shader, false);
    return map == nullptr ? log : explain_log(log, text, *map);
  };
  std::string failure;
  if (!compiled(vertex_shader)) {
    failure =
        "vertex shader failed to compile: " + explained(vertex_shader, vertex_source, vertex_map);
  } else if (!compiled(fragment_shader)) {
    failure = "fragment shader failed to compile: " +
              explained(fragment_shader, fragment_source, fragment_map);
  } else {
    GLint linked = GL_FALSE;
    glCheck(glGetProgramiv(program, GL_LINK_STATUS, &linked));
    if (linked != GL_TRUE) failure = "program failed to link: " + first_log_line(program, true);
  }
  if (!failure.empty()) {
    print_error("shadermanager", kInitMessageId, "Init", failure);
    if (manager != nullptr) manager->last_error_ = failure;
    Release();
    return false;
  }
  loaded = true;
  return loaded;
}

void ShaderObject::Release() {
  glCheck(glDetachShader(program, fragment_shader));
  glCheck(glDeleteShader(fragment_shader));
  glCheck(glDetachShader(program, vertex_shader));
  glCheck(glDeleteShader(vertex_shader));
  glCheck(glDeleteProgram(program));
  vertex_shader = fragment_shader = program = 0;
  loaded = false;
}

void ShaderObject::Begin() {
  glCheck(glUseProgram(program));
}

void ShaderObject::End() {
  glCheck(glUseProgram(0));
}

int ShaderObject::SendUniform1i(const std::string& name, const int& value) {
  GLint location = -1;
  glCheck(location = glGetUniformLocation(program, name.c_str()));
  glCheck(glUniform1i(location, value));
  return 0;
}

int ShaderObject::SendUniform1f(const std::string& name, const float& value) {
  GLint location = -1;
  glCheck(location = glGetUniformLocation(program, name.c_str()));
  glCheck(glUniform1f(location, value));
  return 0;
}

int ShaderObject::SendUniform3f(const std::string& name, const float& x, const float& y,
                                const float& z) {
  GLint location = -1;
  glCheck(location = glGetUniformLocation(program, name.c_str()));
  glCheck(glUniform3f(location, x, y, z));
  return 0;
}

ShaderManager::~ShaderManager() {
  // Reverse load order.
  while (!programs.empty()) {
    ShaderObject* object = programs.back();
    programs.pop_back();
    delete object;
  }
}

ShaderObject* ShaderManager::LoadFromFile(std::string vertex_path, std::string fragment_path) {
  last_error_.clear();
  std::string vertex_text;
  SourceMap vertex_map;
  if (!LoadFile(vertex_path, vertex_text, &vertex_map)) return nullptr;
  std::string fragment_text;
  SourceMap fragment_map;
  if (!LoadFile(fragment_path, fragment_text, &fragment_map)) return nullptr;
  ShaderObject* object = new ShaderObject(this);
  if (!object->Init(vertex_text, fragment_text, &vertex_map, &fragment_map)) {
    delete object;
    return nullptr;
  }
  programs.push_back(object);
  return object;
}

bool ShaderManager::LoadFile(const std::string& path, std::string& text, SourceMap* map) {
  std::ifstream file(path.c_str());
  if (!file.is_open()) {
    last_error_ = "failed to open file " + path;
    print_error("shadermanager", kLoadFileMessageId, "LoadFile", last_error_);
    return false;
  }
  if (map != nullptr) map->path = path;
  // Lines are joined with nothing between them: the shaders are written for that.
  std::string line;
  while (std::getline(file, line)) {
    if (map != nullptr) map->line_starts.push_back(text.size());
    text += line;
  }
  return true;
}

ShaderObject* ShaderManager::operator[](const unsigned int& index) {
  if (index >= programs.size()) return nullptr;
  return programs[index];
}

}  // namespace omni
