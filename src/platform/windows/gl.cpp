// The entry points past GL 1.1 the shader manager and the renderers call. Windows' opengl32.dll
// exports only GL 1.1; the rest come from the driver through wglGetProcAddress once a context is
// current. Each function here looks its driver function up on its first call (the player has one
// context) and forwards to it; a driver without it makes the call do nothing and return zero, so a
// shader fails to build and the show draws with fixed-function lighting.
#include <windows.h>
// windows.h first: gl.h needs its APIENTRY and WINGDIAPI.
#include <GL/gl.h>
#include <GL/glext.h>

namespace {

// The driver's function `name`, or null (some drivers answer 1, 2, 3 or -1 for "none"). As
// void (*)(), the type a function pointer of any kind is cast through.
using AnyFunction = void (*)();
AnyFunction driver_function(const char* name) {
  const PROC function = wglGetProcAddress(name);
  const auto value = reinterpret_cast<INT_PTR>(function);
  if (value >= -1 && value <= 3) return nullptr;
  return reinterpret_cast<AnyFunction>(function);
}

}  // namespace

#define TESSARY_GL_FORWARD(result, name, parameters, arguments)                          \
  extern "C" result APIENTRY name parameters {                                           \
    using Function = result(APIENTRY*) parameters;                                       \
    static const Function function = reinterpret_cast<Function>(driver_function(#name)); \
    if (function == nullptr) return result();                                            \
    return function arguments;                                                           \
  }

TESSARY_GL_FORWARD(GLuint, glCreateShader, (GLenum type), (type))
TESSARY_GL_FORWARD(void, glShaderSource,
                   (GLuint shader, GLsizei count, const GLchar* const* string, const GLint* length),
                   (shader, count, string, length))
TESSARY_GL_FORWARD(void, glCompileShader, (GLuint shader), (shader))
TESSARY_GL_FORWARD(void, glGetShaderiv, (GLuint shader, GLenum pname, GLint* params),
                   (shader, pname, params))
TESSARY_GL_FORWARD(void, glGetShaderInfoLog,
                   (GLuint shader, GLsizei size, GLsizei* length, GLchar* log),
                   (shader, size, length, log))
TESSARY_GL_FORWARD(void, glDeleteShader, (GLuint shader), (shader))
TESSARY_GL_FORWARD(GLuint, glCreateProgram, (void), ())
TESSARY_GL_FORWARD(void, glAttachShader, (GLuint program, GLuint shader), (program, shader))
TESSARY_GL_FORWARD(void, glDetachShader, (GLuint program, GLuint shader), (program, shader))
TESSARY_GL_FORWARD(void, glLinkProgram, (GLuint program), (program))
TESSARY_GL_FORWARD(void, glGetProgramiv, (GLuint program, GLenum pname, GLint* params),
                   (program, pname, params))
TESSARY_GL_FORWARD(void, glGetProgramInfoLog,
                   (GLuint program, GLsizei size, GLsizei* length, GLchar* log),
                   (program, size, length, log))
TESSARY_GL_FORWARD(void, glDeleteProgram, (GLuint program), (program))
TESSARY_GL_FORWARD(void, glUseProgram, (GLuint program), (program))
TESSARY_GL_FORWARD(GLint, glGetUniformLocation, (GLuint program, const GLchar* name),
                   (program, name))
TESSARY_GL_FORWARD(void, glUniform1i, (GLint location, GLint v0), (location, v0))
TESSARY_GL_FORWARD(void, glUniform1f, (GLint location, GLfloat v0), (location, v0))
TESSARY_GL_FORWARD(void, glUniform3f, (GLint location, GLfloat v0, GLfloat v1, GLfloat v2),
                   (location, v0, v1, v2))
// The instanced renderer's (OpenGL 3.3).
TESSARY_GL_FORWARD(void, glUniform2f, (GLint location, GLfloat v0, GLfloat v1), (location, v0, v1))
TESSARY_GL_FORWARD(void, glUniform4f,
                   (GLint location, GLfloat v0, GLfloat v1, GLfloat v2, GLfloat v3),
                   (location, v0, v1, v2, v3))
TESSARY_GL_FORWARD(void, glGenBuffers, (GLsizei n, GLuint* buffers), (n, buffers))
TESSARY_GL_FORWARD(void, glDeleteBuffers, (GLsizei n, const GLuint* buffers), (n, buffers))
TESSARY_GL_FORWARD(void, glBindBuffer, (GLenum target, GLuint buffer), (target, buffer))
TESSARY_GL_FORWARD(void, glBufferData,
                   (GLenum target, GLsizeiptr size, const void* data, GLenum usage),
                   (target, size, data, usage))
TESSARY_GL_FORWARD(void, glBufferSubData,
                   (GLenum target, GLintptr offset, GLsizeiptr size, const void* data),
                   (target, offset, size, data))
TESSARY_GL_FORWARD(void, glGenVertexArrays, (GLsizei n, GLuint* arrays), (n, arrays))
TESSARY_GL_FORWARD(void, glDeleteVertexArrays, (GLsizei n, const GLuint* arrays), (n, arrays))
TESSARY_GL_FORWARD(void, glBindVertexArray, (GLuint array), (array))
TESSARY_GL_FORWARD(void, glEnableVertexAttribArray, (GLuint index), (index))
TESSARY_GL_FORWARD(void, glVertexAttribPointer,
                   (GLuint index, GLint size, GLenum type, GLboolean normalized, GLsizei stride,
                    const void* pointer),
                   (index, size, type, normalized, stride, pointer))
TESSARY_GL_FORWARD(void, glVertexAttribDivisor, (GLuint index, GLuint divisor), (index, divisor))
TESSARY_GL_FORWARD(void, glDrawElementsInstanced,
                   (GLenum mode, GLsizei count, GLenum type, const void* indices,
                    GLsizei instancecount),
                   (mode, count, type, indices, instancecount))
TESSARY_GL_FORWARD(void, glGenerateMipmap, (GLenum target), (target))
