# The player for the browser (make web, scripts/build-web), built with Emscripten for WebGL 2
# and Web Audio: tessary.js and tessary.wasm, with the show's data/ and shaders/ packed beside
# them in tessary.data, for the page in web/. No SFML, no tools, no tests: those run natively.
set(TESSARY_WEB_SOURCES
  ${TESSARY_PLAYER_LOGIC_SOURCES}
  src/platform/web/main.cpp
  src/platform/web/page.cpp
  src/platform/posix/fileio.cpp
  src/platform/web/picture.cpp
  src/platform/web/soundtrack.cpp
  src/platform/web/system.cpp
  src/platform/web/webplayer.cpp
  src/render/classic_none.cpp)

# Debian's header-only libraries (stb) by their usual <stb/...> names, without the rest of
# /usr/include, which is the native system's.
set(TESSARY_WEB_INCLUDE ${CMAKE_BINARY_DIR}/include)
file(MAKE_DIRECTORY ${TESSARY_WEB_INCLUDE})
file(CREATE_LINK /usr/include/stb ${TESSARY_WEB_INCLUDE}/stb SYMBOLIC)

# Without what only the desktop's developer tools use: the command line and writing camera keys.
set(TESSARY_WEB_CORE_SOURCES ${TESSARY_CORE_SOURCES})
list(REMOVE_ITEM TESSARY_WEB_CORE_SOURCES src/cmdline.cpp src/demo/camerashot.cpp src/datadir.cpp
     src/filewatch.cpp src/render/classic.cpp)
add_executable(tessary ${TESSARY_WEB_CORE_SOURCES} ${TESSARY_WEB_SOURCES})
target_include_directories(tessary PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_include_directories(tessary SYSTEM PRIVATE ${TESSARY_WEB_INCLUDE})
target_compile_definitions(tessary PRIVATE GL_GLEXT_PROTOTYPES
                                           TESSARY_VERSION="${PROJECT_VERSION}")
set(TESSARY_WEB_LINK_FLAGS
  -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
  -sALLOW_MEMORY_GROWTH=1
  -sENVIRONMENT=web
  -sEXPORTED_RUNTIME_METHODS=[ccall,FS]
  -sFORCE_FILESYSTEM=1
  --no-entry
  "--preload-file=${CMAKE_SOURCE_DIR}/data@data"
  "--preload-file=${CMAKE_SOURCE_DIR}/shaders@shaders")
target_link_options(tessary PRIVATE ${TESSARY_WEB_LINK_FLAGS})
set_target_properties(tessary PROPERTIES SUFFIX ".js")
