# Included right after project() by the `web` preset (CMAKE_PROJECT_INCLUDE), so that the desktop
# build never sees the web front end and needs no emscripten.
if(NOT EMSCRIPTEN)
  message(FATAL_ERROR "the web preset builds with emscripten: run it through emcmake")
endif()
# Every object throws and catches through the JavaScript runtime: asyncify cannot yet rewrite a
# module that uses WebAssembly's own exception instructions.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)
add_compile_options("SHELL:-include ${CMAKE_CURRENT_LIST_DIR}/charconv_compat.h")
# Read once the engine's targets exist, at the end of the top-level CMakeLists.txt (a deferred call
# may not add a subdirectory, so the targets are included).
# A deferred call reads its variables when it runs, so the path is written into it now.
cmake_language(EVAL CODE
               "cmake_language(DEFER CALL include [[${CMAKE_CURRENT_LIST_DIR}/targets.cmake]])")
