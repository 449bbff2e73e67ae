#include "shadermanager.h"

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
  glCheck(program = glCreateProgram());
  vertex_shader = compile(GL_VERTEX_SHADER, vertex_source);
  glCheck(glAttachShader(program, vertex_shader));
  fragment_shader = compile(GL_FRAGMENT_SHADER, fragment_source);
  glCheck(glAttachShader(program, fragment_shader));
  glCheck(glLinkProgram(program));

  std::string failure;
  if (!compiled(vertex_shader)) {
    failure = "vertex shader failed to compile: " + first_log_line(vertex_shader, false);
  } else if (!compiled(fragment_shader)) {
    failure = "fragment shader failed to compile: " + first_log_line(fragment_shader, false);
  } else {
    GLint linked = GL_FALSE;
    glCheck(glGetProgramiv(program, GL_LINK_STATUS, &linked));
    if (linked != GL_TRUE) failure = "program failed to link: " + first_log_line(program, true);
  }
  if (!failure.empty()) {
    print_error("shadermanager", kInitMessageId, "Init", failure);
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
  std::string vertex_text;
  if (!LoadFile(vertex_path, vertex_text)) return nullptr;
  std::string fragment_text;
  if (!LoadFile(fragment_path, fragment_text)) return nullptr;
  ShaderObject* object = new ShaderObject(this);
  if (!object->Init(vertex_text, fragment_text)) {
    delete object;
    return nullptr;
  }
  programs.push_back(object);
  return object;
}

bool ShaderManager::LoadFile(const std::string& path, std::string& text) {
  std::ifstream file(path.c_str());
  if (!file.is_open()) {
    print_error("shadermanager", kLoadFileMessageId, "LoadFile", "failed to open file " + path);
    return false;
  }
  // Lines are joined with nothing between them: the shaders are written for that.
  std::string line;
  while (std::getline(file, line)) text += line;
  return true;
}

ShaderObject* ShaderManager::operator[](const unsigned int& index) {
  if (index >= programs.size()) return nullptr;
  return programs[index];
}

}  // namespace omni
