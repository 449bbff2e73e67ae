# The player for 64-bit Windows, cross-compiled with cmake/mingw-w64.cmake against the libraries
# scripts/build-windows builds into its third-party folder (on CMAKE_FIND_ROOT_PATH). No EGL, no
# capture tool, no tests: those run on Linux.
find_package(SFML 2.5 COMPONENTS graphics window audio system main REQUIRED)
find_library(OPENAL_LIBRARY OpenAL32 REQUIRED)
find_path(TESSARY_HEADER_LIBRARIES CLI/CLI.hpp REQUIRED)  # CLI11 and stb, header-only

list(REMOVE_ITEM TESSARY_CORE_SOURCES ${CMAKE_SOURCE_DIR}/src/gl/headless.cpp)
list(FILTER TESSARY_PLAYER_SOURCES EXCLUDE REGEX "_(x11|windows)\\.cpp$")
file(GLOB TESSARY_WINDOWS_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/windows/*.cpp
     ${CMAKE_SOURCE_DIR}/src/*/*_windows.cpp)

# A program of the Windows subsystem (no console window from Explorer); sfml-main gives it the
# WinMain that calls main.
add_executable(tessary WIN32 src/main.cpp ${TESSARY_PLAYER_SOURCES} ${TESSARY_CORE_SOURCES}
                             ${TESSARY_WINDOWS_SOURCES})
target_include_directories(tessary PRIVATE ${CMAKE_SOURCE_DIR}/src ${TESSARY_HEADER_LIBRARIES})
# GL/gl.h brings in windows.h: without its user-interface and drawing macros (LoadImage, ERROR,
# min, max) the show's own names stay its own. The Windows-only sources, which call user32 and
# gdi32, keep them.
target_compile_definitions(tessary PRIVATE GL_GLEXT_PROTOTYPES WIN32_LEAN_AND_MEAN NOMINMAX
                                           TESSARY_VERSION="${PROJECT_VERSION}")
set_property(SOURCE src/main.cpp ${TESSARY_PLAYER_SOURCES} ${TESSARY_CORE_SOURCES}
             APPEND PROPERTY COMPILE_DEFINITIONS NOUSER NOGDI)
target_link_libraries(tessary PRIVATE sfml-main sfml-graphics sfml-window sfml-audio sfml-system
                                      ${OPENAL_LIBRARY} opengl32 glu32)
