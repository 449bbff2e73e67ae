#include "shadermanager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "gl/glcheck.h"
#include "gl_context.h"
#include "scratch.h"

// Programs are kept in load order, bound by Begin and unbound by End, and all deleted with the
// manager.
TEST(ShaderManager, ToonShaderLinksIndexesBindsAndIsReleased) {
  ASSERT_NE(test_gl_context(), nullptr);
  GLuint programs[2] = {0, 0};
  {
    omni::ShaderManager manager;
    testing::internal::CaptureStdout();
    for (GLuint& program : programs) {
      omni::ShaderObject* toon = manager.LoadFromFile("shaders/toon.vert", "shaders/toon.frag");
      ASSERT_NE(toon, nullptr);
      EXPECT_TRUE(toon->loaded);
      program = toon->program;
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    GLint linked = GL_FALSE;
    glGetProgramiv(programs[0], GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
    EXPECT_EQ(manager[1]->program, programs[1]);
    EXPECT_EQ(manager[2], nullptr);
    manager[0]->Begin();
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), programs[0]);
    manager[0]->End();
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
  }
  EXPECT_FALSE(glIsProgram(programs[0]));
  EXPECT_FALSE(glIsProgram(programs[1]));
}

// A shader that does not compile gives one error line naming the file's own line and column,
// and the cause when a line comment or a preprocessor line took in the rest of the joined text;
// the manager keeps that text as its last error and keeps no program.
TEST(ShaderManager, BrokenShaderIsNamedByFileLineAndColumnAndNotKept) {
  ASSERT_NE(test_gl_context(), nullptr);
  TempFile vert("void main()\n{\n gl_Position = ftransform();\n}\n");
  const struct {
    const char* text;
    const char* where;
    const char* cause;
  } cases[] = {
      {"void main()\n{\n gl_FragColor = vec4(1.0)\n}\n", ":4:1: error: syntax error", ""},
      {"void main()\n{\n  // white\n  gl_FragColor = vec4(1.0);\n}\n",
       ":3:1: error: ", " (the cause: the line comment // at PATH:3:3: "},
      {"#define WHITE vec4(1.0)\nvoid main()\n{\n  gl_FragColor = WHITE;\n}\n",
       ":1:1: ", " (the cause: the preprocessor line #define at PATH:1:1: "},
  };
  for (const auto& c : cases) {
    omni::ShaderManager manager;
    TempFile frag(c.text);
    testing::internal::CaptureStdout();
    EXPECT_EQ(manager.LoadFromFile(vert.path, frag.path), nullptr);
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string expected =
        "E: shadermanager:74, Init() fragment shader failed to compile: " + frag.path + c.where;
    EXPECT_EQ(out.rfind(expected, 0), 0u) << out;
    std::string cause = c.cause;
    if (!cause.empty()) cause.replace(cause.find("PATH"), 4, frag.path);
    EXPECT_NE(out.find(cause), std::string::npos) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    EXPECT_EQ("E: shadermanager:74, Init() " + manager.LastError() + "\n", out);
    EXPECT_EQ(manager[0], nullptr);
  }
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// With a header put before each file (the instanced renderer's #version line), errors are still
// named by the file's own lines, and the header's preprocessor line is not taken for the cause.
TEST(ShaderManager, HeaderedShaderErrorsNameTheFilesOwnLines) {
  ASSERT_NE(test_gl_context(), nullptr);
  const std::string header = "#version 130\n";
  TempFile vert("void main()\n{\n gl_Position = ftransform();\n}\n");
  {
    omni::ShaderManager manager;
    TempFile frag("void main()\n{\n gl_FragColor = vec4(1.0);\n}\n");
    EXPECT_NE(manager.LoadFromFile(vert.path, frag.path, header), nullptr);
  }
  omni::ShaderManager manager;
  TempFile frag("void main()\n{\n gl_FragColor = vec4(1.0)\n}\n");
  testing::internal::CaptureStdout();
  EXPECT_EQ(manager.LoadFromFile(vert.path, frag.path, header), nullptr);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find(frag.path + ":4:1: "), std::string::npos) << out;
  EXPECT_EQ(out.find("the cause"), std::string::npos) << out;
}
