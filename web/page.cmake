# The game as a web page: tafu.js and tafu.wasm, the game's files packed into tafu.data, and
# the page, its manifest and its service worker, all gathered into TAFU_WEB_SITE.
set(TAFU_WEB_ASSETS "" CACHE PATH "A desktop build folder holding img/, snd/, game/ and setup.ini")
set(TAFU_WEB_SITE ${CMAKE_BINARY_DIR}/site CACHE PATH "Where the finished site goes")
set(TAFU_WEB_FFLATE "" CACHE PATH "The npm package fflate, as web.sh installs it, for the grown-ups' page's ZIP files")
if(NOT EXISTS ${TAFU_WEB_FFLATE}/umd/index.js)
  message(FATAL_ERROR "TAFU_WEB_FFLATE must name the fflate package (web.sh installs it)")
endif()
if(NOT EXISTS ${TAFU_WEB_ASSETS}/setup.ini)
  message(FATAL_ERROR "TAFU_WEB_ASSETS must name a desktop build with the game's files made")
endif()

# The folder the page unpacks the game's files into (the engine's program folder there).
set(program_folder /game)
set(packed)
foreach(name img snd game setup.ini)
  list(APPEND packed "SHELL:--preload-file ${TAFU_WEB_ASSETS}/${name}@${program_folder}/${name}")
endforeach()
# The pictures' larger and wider drawings are for frames drawn larger than the world and for
# screens of other shapes; the page draws its canvas at the world's size and leaves them out.
list(APPEND packed "SHELL:--exclude-file *@2x.png" "SHELL:--exclude-file *@3x.png" "SHELL:--exclude-file *@4x.png"
  "SHELL:--exclude-file *@left*" "SHELL:--exclude-file *@right*" "SHELL:--exclude-file *@top*"
  "SHELL:--exclude-file *@bottom*")

set(page ${CMAKE_SOURCE_DIR}/web)
find_program(MAGICK_CONVERT convert REQUIRED)
target_link_options(tafu PRIVATE
  # The screens' own frame loops run as they are, each wait handing the browser its turn.
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
  # The engine draws with the fixed-function GL of the desktop, which needs no extension of
  # WebGL's: none is enabled, since enabling all the browser offers is most of the time it
  # takes to make the game's GL context.
  -sLEGACY_GL_EMULATION=1 -sGL_SUPPORT_AUTOMATIC_ENABLE_EXTENSIONS=0
  -sALLOW_MEMORY_GROWTH=1
  # The grown-ups' page runs the game's exporter (--export-paintings) without its game.
  -sEXPORTED_RUNTIME_METHODS=callMain
  -lidbfs.js "SHELL:--pre-js ${page}/storage.js" "SHELL:--pre-js ${page}/sound.js"
  ${packed})
# SDL's audio in the browser needs these two, which nothing else pulls in (a plain flag: the
# dollar signs reach the linker as they are).
set_property(TARGET tafu APPEND_STRING PROPERTY LINK_FLAGS
             " '-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=$autoResumeAudioContext,$dynCall'")
set_property(TARGET tafu APPEND PROPERTY LINK_DEPENDS ${page}/storage.js ${page}/sound.js ${TAFU_WEB_ASSETS}/setup.ini)

set(site_files ${page}/index.html ${page}/manifest.webmanifest ${CMAKE_SOURCE_DIR}/dist/tafu.svg
    ${page}/grown-ups.html ${page}/grown-ups.js
    $<TARGET_FILE_DIR:tafu>/tafu.js $<TARGET_FILE_DIR:tafu>/tafu.wasm $<TARGET_FILE_DIR:tafu>/tafu.data)
add_custom_target(tafu_site ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TAFU_WEB_SITE}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${site_files} ${TAFU_WEB_SITE}
  # The menu's picture the page shows while the game loads: grey, and small enough to come
  # first on a slow line.
  COMMAND ${MAGICK_CONVERT} ${TAFU_WEB_ASSETS}/img/bg/menu.png -colorspace Gray -quality 60 ${TAFU_WEB_SITE}/menu.jpg
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TAFU_WEB_FFLATE}/umd/index.js ${TAFU_WEB_SITE}/fflate.js
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TAFU_WEB_FFLATE}/LICENSE ${TAFU_WEB_SITE}/fflate-LICENSE.txt
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${page}/service-worker.js -DSITE=${TAFU_WEB_SITE} -P ${page}/service-worker.cmake
  DEPENDS tafu ${page}/index.html ${page}/manifest.webmanifest ${CMAKE_SOURCE_DIR}/dist/tafu.svg ${page}/service-worker.js
          ${page}/grown-ups.html ${page}/grown-ups.js ${TAFU_WEB_FFLATE}/umd/index.js ${TAFU_WEB_ASSETS}/img/bg/menu.png
  COMMENT "Gathering the web page into ${TAFU_WEB_SITE}"
  VERBATIM)
