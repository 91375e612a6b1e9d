# The libraries of the browser build, as scripts/web-deps.sh leaves them: SDL2, libvorbisfile
# and libogg built for WebAssembly. OpenGL comes with emscripten, and there are no threads.
set(TAFU_WEB_DEPS ${CMAKE_SOURCE_DIR}/build-web/deps/prefix CACHE PATH
    "Where scripts/web-deps.sh installed the libraries built for WebAssembly")
target_include_directories(tafu_engine SYSTEM PUBLIC ${TAFU_WEB_DEPS}/include ${TAFU_WEB_DEPS}/include/SDL2)
target_link_libraries(tafu_engine PUBLIC
  ${TAFU_WEB_DEPS}/lib/libSDL2.a ${TAFU_WEB_DEPS}/lib/libvorbisfile.a ${TAFU_WEB_DEPS}/lib/libvorbis.a
  ${TAFU_WEB_DEPS}/lib/libogg.a)
