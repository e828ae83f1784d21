# Installation and the Debian package. The players and the seal tool go into bin/; the program's
# own files and the shipped games into share/mireval/, which an installed mirplay or mirseal copies
# into the user's own program folder on first start (src/shell/program_folder.h).
include(GNUInstallDirs)

set(MIREVAL_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/mireval)

install(TARGETS mirterm mircheck RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(program mirplay mirseal)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES dist/${program}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  endif()
endforeach()
install(FILES dist/mireval.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)

# In the repository the program folder is program/ and the games lie beside it; installed, the
# games lie inside the program folder, so the autostart file names the demo from there.
file(WRITE ${CMAKE_BINARY_DIR}/installed/start.txt "games/demo\r\n")
install(FILES program/obloz.txt program/ifgames.txt program/editor.txt
              ${CMAKE_BINARY_DIR}/installed/start.txt
        DESTINATION ${MIREVAL_SHARE_DIR})
install(DIRECTORY games/demo DESTINATION ${MIREVAL_SHARE_DIR}/games
        PATTERN "*.sav" EXCLUDE)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mireval)
set(CPACK_PACKAGE_VENDOR "Mireval developers")
set(CPACK_PACKAGE_CONTACT "Mireval developers <mireval@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "player for Russian-language text quests")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Mireval plays Russian-language text quests (interactive fiction) written as folders of\n\
plain text files. It comes with a desktop player (mirplay), a terminal player for\n\
scripted play (mirterm), a checker that lists the mistakes in a game's files\n\
(mircheck), a tool that scrambles a game's files (mirseal) and a short demo game.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET mirplay OR TARGET mirseal)
  # Loaded at run time, so not found among the linked libraries: the window system plugin, and
  # the media backends that play the games' sounds and music.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
endif()
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
