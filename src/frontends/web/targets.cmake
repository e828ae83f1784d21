# The engine as WebAssembly: the terminal player for node (walkthrough tests) and the browser
# player mirweb. Included by src/CMakeLists.txt when the compiler is emscripten.
set(MIREVAL_TERM_DIR ${CMAKE_CURRENT_LIST_DIR}/../term)
set(MIREVAL_WEB_DIR ${CMAKE_CURRENT_LIST_DIR})

# mirterm as it is, reading and writing the machine's real files through node, so that its
# transcript can be compared with the native one byte for byte. It never waits for the page, so it
# needs no asyncify.
add_executable(mirterm_wasm ${MIREVAL_TERM_DIR}/main.cpp ${MIREVAL_WEB_DIR}/libc_compat.cpp)
target_link_libraries(mirterm_wasm PRIVATE mireval_term)
target_link_options(mirterm_wasm PRIVATE -sENVIRONMENT=node -sNODERAWFS=1 -sEXIT_RUNTIME=1
                    -sALLOW_MEMORY_GROWTH=1)

# The windows' routing of answer and browser clicks (app/seams) and the terminal player's state
# report (in mireval_term) are shared, not copied.
add_executable(mirweb
  ${MIREVAL_WEB_DIR}/libc_compat.cpp
  ${MIREVAL_WEB_DIR}/main.cpp
  ${MIREVAL_WEB_DIR}/web_platform.cpp
  ${MIREVAL_WEB_DIR}/web_media.cpp
  ${MIREVAL_WEB_DIR}/view_json.cpp
  ${MIREVAL_WEB_DIR}/picture_size.cpp)
target_link_libraries(mirweb PRIVATE mireval_term)
# The output is mirweb-core.{js,wasm,data}: the page's own script is mirweb.js.
set_target_properties(mirweb PROPERTIES OUTPUT_NAME mirweb-core)
set(MIREVAL_REPO ${CMAKE_SOURCE_DIR})
target_link_options(mirweb PRIVATE
  -sENVIRONMENT=web -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sALLOW_MEMORY_GROWTH=1
  -sFORCE_FILESYSTEM=1 -lidbfs.js
  "-sEXPORTED_FUNCTIONS=_main,_malloc,_free"
  "-sEXPORTED_RUNTIME_METHODS=FS,UTF8ToString,stringToUTF8,lengthBytesUTF8"
  "SHELL:--pre-js ${MIREVAL_WEB_DIR}/bridge.js"
  # The program folder, and the demo as the built-in game that main.cpp unpacks into /games.
  "SHELL:--preload-file ${MIREVAL_REPO}/program@/program"
  "SHELL:--preload-file ${MIREVAL_REPO}/games/demo@/builtin/demo"
  "SHELL:--exclude-file *.sav")
set_property(TARGET mirweb APPEND PROPERTY LINK_DEPENDS ${MIREVAL_WEB_DIR}/bridge.js)
# Link options are compared as written, and a repeated option would be dropped as a duplicate.

# The header reader's own test, run under node like mirterm_wasm (tests/web/).
add_executable(mirweb_picture_size_test ${CMAKE_SOURCE_DIR}/tests/web/picture_size_test.cpp
                                        ${MIREVAL_WEB_DIR}/picture_size.cpp)
target_link_libraries(mirweb_picture_size_test PRIVATE mireval_base)
target_link_options(mirweb_picture_size_test PRIVATE -sENVIRONMENT=node -sEXIT_RUNTIME=1)

# At the top of the build folder, where scripts/web.sh and the tests look for them.
set_target_properties(mirterm_wasm mirweb mirweb_picture_size_test PROPERTIES
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
