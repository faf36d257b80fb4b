# Installation under a prefix (cmake --install build --prefix DIR): the two programs, the manual,
# and what a Linux desktop needs to list Charloom and open pictures with it. Included last by the
# top-level CMakeLists, so that every target already exists.
include(GNUInstallDirs)

# The AppStream id must be reverse-DNS, and the metainfo file is named after it.
set(CHARLOOM_APPSTREAM_ID io.github.charloom.charloom)

install(TARGETS charloom-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/man/charloom-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES data/man/ja/charloom-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)

if(TARGET charloom)
    install(TARGETS charloom RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The desktop program's files come with the build that makes it.
if(CHARLOOM_GUI)
    install(FILES data/man/charloom.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES data/man/ja/charloom.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)
    install(FILES data/charloom.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES data/charloom.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
            RENAME ${CHARLOOM_APPSTREAM_ID}.metainfo.xml)
    install(FILES data/icons/charloom.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    install(FILES data/icons/charloom-48.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps
            RENAME charloom.png)
endif()

if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/data/Manual.txt)
    install(FILES data/Manual.txt DESTINATION ${CMAKE_INSTALL_DATADIR}/charloom)
endif()
