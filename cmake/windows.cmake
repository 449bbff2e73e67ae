# The player for 64-bit Windows, cross-compiled with cmake/mingw-w64.cmake against the libraries
# scripts/build-windows builds into its third-party folder (on CMAKE_FIND_ROOT_PATH). No EGL, no
# tools, no tests: those run on Linux.
find_package(SFML 2.5 COMPONENTS graphics window audio network system main REQUIRED)
find_package(Threads REQUIRED)
find_library(OPENAL_LIBRARY OpenAL32 REQUIRED)
find_path(TESSARY_HEADER_LIBRARIES CLI/CLI.hpp REQUIRED)  # CLI11 and stb, header-only

set(TESSARY_WINDOWS_SOURCES
  src/platform/windows/desktop.cpp
  src/platform/windows/fileio.cpp
  src/platform/windows/gl.cpp
  src/platform/windows/player.cpp
  src/platform/windows/system.cpp)

# A program of the Windows subsystem (no console window from Explorer); sfml-main gives it the
# WinMain that calls main.
add_executable(tessary WIN32 src/main.cpp ${TESSARY_CORE_SOURCES} ${TESSARY_SYNC_SOURCES}
                             ${TESSARY_PLAYER_SOURCES} ${TESSARY_WINDOWS_SOURCES})
target_include_directories(tessary PRIVATE ${CMAKE_SOURCE_DIR}/src ${TESSARY_HEADER_LIBRARIES})
# GL/gl.h brings in windows.h: without its user-interface and drawing macros (LoadImage, ERROR,
# min, max) the show's own names stay its own. The Windows-only sources, which call user32 and
# gdi32, keep them.
target_compile_definitions(tessary PRIVATE GL_GLEXT_PROTOTYPES WIN32_LEAN_AND_MEAN NOMINMAX
                                           TESSARY_VERSION="${PROJECT_VERSION}")
set_property(SOURCE src/main.cpp ${TESSARY_CORE_SOURCES} ${TESSARY_SYNC_SOURCES}
             ${TESSARY_PLAYER_SOURCES} APPEND PROPERTY COMPILE_DEFINITIONS NOUSER NOGDI)
target_link_libraries(tessary PRIVATE sfml-main sfml-graphics sfml-window sfml-audio sfml-network
                                      sfml-system ${OPENAL_LIBRARY} opengl32 glu32 Threads::Threads)
