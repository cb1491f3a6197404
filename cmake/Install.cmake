# Installation as a Linux game, and a Debian package of it.
#
#   <prefix>/bin/tuvo                    launcher: enters the data folder, starts the program
#   <prefix>/libexec/tuvo/tuvo           the program
#   <prefix>/share/tuvo/{textures,sounds} what the program loads, relative to its working folder
#   <prefix>/share/applications/tuvo.desktop
#   <prefix>/share/icons/hicolor/<n>x<n>/apps/tuvo.png
#   <prefix>/share/man/man6/tuvo.6
#   <prefix>/share/metainfo/io.github.tuvo.Tuvo.metainfo.xml
include(GNUInstallDirs)

set(TUVO_INSTALL_PROGRAM_DIR "${CMAKE_INSTALL_LIBEXECDIR}/tuvo"
    CACHE STRING "Folder of the program, relative to the prefix")
set(TUVO_INSTALL_DATA_DIR "${CMAKE_INSTALL_DATADIR}/tuvo"
    CACHE STRING "Folder of the textures and sounds, relative to the prefix")
set(TUVO_INSTALL_LAUNCHER_DIR "${CMAKE_INSTALL_BINDIR}"
    CACHE STRING "Folder of the tuvo launcher, relative to the prefix")

install(TARGETS tuvo RUNTIME DESTINATION ${TUVO_INSTALL_PROGRAM_DIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/textures ${CMAKE_BINARY_DIR}/sounds
        DESTINATION ${TUVO_INSTALL_DATA_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/tuvo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The generator lays the icons out as the icon theme does: icons/hicolor/<n>x<n>/apps/tuvo.png.
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/man/tuvo.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# What software centres show of the game: its description, screenshots and releases.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/io.github.tuvo.Tuvo.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The launcher carries absolute paths, so it is written when the install runs: the prefix is
# known only then (cmake --install --prefix, CPack's /usr). DESTDIR stages the file but never
# appears inside it.
install(CODE "
  set(prefix \"\${CMAKE_INSTALL_PREFIX}\")
  set(TUVO_DATA_PATH \"\${prefix}/${TUVO_INSTALL_DATA_DIR}\")
  set(TUVO_PROGRAM_PATH \"\${prefix}/${TUVO_INSTALL_PROGRAM_DIR}/tuvo\")
  set(launcher \"\$ENV{DESTDIR}\${prefix}/${TUVO_INSTALL_LAUNCHER_DIR}/tuvo\")
  message(STATUS \"Installing: \${launcher}\")
  configure_file(\"${CMAKE_SOURCE_DIR}/packaging/tuvo.in\" \"\${launcher}\" @ONLY)
  file(CHMOD \"\${launcher}\" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
       GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${launcher}\")
")

# cpack -G DEB (or the package target) builds tuvo_<version>_<arch>.deb installing under /usr.
set(CPACK_PACKAGE_NAME tuvo)
set(CPACK_PACKAGE_VENDOR "TUVO!! developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "TUVO!! developers <tuvo@localhost>")
file(READ ${CMAKE_SOURCE_DIR}/packaging/description.txt TUVO_DESCRIPTION)
string(STRIP "${TUVO_DESCRIPTION}" TUVO_DESCRIPTION)
# The first line is the one-line summary, the rest the long description.
string(FIND "${TUVO_DESCRIPTION}" "\n" TUVO_SUMMARY_END)
string(SUBSTRING "${TUVO_DESCRIPTION}" 0 ${TUVO_SUMMARY_END} CPACK_PACKAGE_DESCRIPTION_SUMMARY)
math(EXPR TUVO_SUMMARY_END "${TUVO_SUMMARY_END} + 1")
string(SUBSTRING "${TUVO_DESCRIPTION}" ${TUVO_SUMMARY_END} -1 CPACK_PACKAGE_DESCRIPTION)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
# dpkg-shlibdeps works out the exact libraries and versions the program links; the named ones
# are the runtime pieces it loads and must find in any case (the GL driver comes with libgl1).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# freeglut's runtime was renamed libglut3.12 in Debian 12; either name satisfies it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsdl2-2.0-0, libgl1, libglu1-mesa, libglut3.12 | freeglut3")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
include(CPack)
