#ifndef TESSARY_GL_GLCHECK_H
#define TESSARY_GL_GLCHECK_H

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

namespace gl {

// Reads glGetError after a call and reports each error once on standard error, with the call
// site. Never call it between glBegin and glEnd (glGetError is not allowed there).
void check_error(const char* file, int line, const char* expression);

// Number of GL errors reported since the program started (debug builds only; 0 in release).
unsigned long error_count();

}  // namespace gl

// glCheck(statement): in debug builds checks the GL error state after the statement; in release
// builds it is the statement alone. Value-returning calls go in as assignments:
// glCheck(list = glGenLists(1)).
#ifdef NDEBUG
#define glCheck(expr) \
  do {                \
    expr;             \
  } while (false)
#else
#define glCheck(expr)                             \
  do {                                            \
    expr;                                         \
    ::gl::check_error(__FILE__, __LINE__, #expr); \
  } while (false)
#endif

#endif
