# Installation and the Debian package. The players and the seal tool go into bin/; the program's
# own files and the shipped games into share/mireval/, which an installed mirplay or mirseal copies
# into the user's own program folder on first start (src/platform/program_folder.h).
include(GNUInstallDirs)

set(MIREVAL_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/mireval)

set(MIREVAL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/mireval)
set(MIREVAL_MAN_DIR ${CMAKE_INSTALL_MANDIR}/man6)

# Manual pages and the Debian changelog go into the package gzipped, as Debian wants them; gzip -n
# leaves out the name and the time, so that the same sources make the same package. The pages
# carry the project's version, filled in here.
set(MIREVAL_GZIPPED)
function(mireval_gzip source target)
  add_custom_command(OUTPUT ${target}
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" gzip ${source} ${target}
    DEPENDS ${source} VERBATIM)
  set(MIREVAL_GZIPPED ${MIREVAL_GZIPPED} ${target} PARENT_SCOPE)
endfunction()

set(MIREVAL_PROGRAMS mirterm mircheck)
foreach(program mirplay mirseal)
  if(TARGET ${program})
    list(APPEND MIREVAL_PROGRAMS ${program})
  endif()
endforeach()
foreach(program ${MIREVAL_PROGRAMS})
  install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  configure_file(dist/man/${program}.6.in ${CMAKE_BINARY_DIR}/man/${program}.6 @ONLY)
  mireval_gzip(${CMAKE_BINARY_DIR}/man/${program}.6 ${CMAKE_BINARY_DIR}/man/${program}.6.gz)
  install(FILES ${CMAKE_BINARY_DIR}/man/${program}.6.gz DESTINATION ${MIREVAL_MAN_DIR})
endforeach()
mireval_gzip(${CMAKE_SOURCE_DIR}/dist/changelog.Debian ${CMAKE_BINARY_DIR}/changelog.Debian.gz)
add_custom_target(mireval_gzipped ALL DEPENDS ${MIREVAL_GZIPPED})
install(FILES dist/copyright ${CMAKE_BINARY_DIR}/changelog.Debian.gz DESTINATION ${MIREVAL_DOC_DIR})
install(FILES dist/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME mireval)

# The windows: desktop entries, the software centres' description of the player and the type of
# its save files, which a file manager opens with mirplay.
foreach(program mirplay mirseal)
  if(TARGET ${program})
    install(FILES dist/${program}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  endif()
endforeach()
if(TARGET mirplay)
  install(FILES dist/org.example.Mireval.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES dist/mireval-save.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME mireval.xml)
endif()
set(MIREVAL_ICONS ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES dist/mireval.png DESTINATION ${MIREVAL_ICONS}/128x128/apps)
foreach(size 48x48 64x64 256x256)
  install(FILES dist/icons/${size}/mireval.png DESTINATION ${MIREVAL_ICONS}/${size}/apps)
endforeach()
install(FILES dist/icons/scalable/mireval.svg DESTINATION ${MIREVAL_ICONS}/scalable/apps)

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
# Lines under 80 columns, as Debian's tools show them.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Mireval plays Russian-language text quests (interactive fiction) written as\n\
folders of plain text files. It comes with a desktop player (mirplay), a\n\
terminal player for scripted play (mirterm), a checker that lists the\n\
mistakes in a game's files (mircheck), a tool that scrambles a game's files\n\
(mirseal) and a short demo game.")
# Not the games section: Debian keeps that section's programs in /usr/games, and ours must stay in
# bin/, beside share/mireval/, where an installed program finds its own files.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://mireval.example.org/)
# The Debian revision: dist/changelog.Debian names the same version, which check_package.sh checks.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
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
