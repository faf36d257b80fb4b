# Installs the build tree into PREFIX (emptied first) and checks that every file a user and a
# desktop need is there, and that the installed converter runs from its new place.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${PREFIX})
execute_process(
    COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${rc}):\n${out}${err}")
endif()

set(expected
    ${BINDIR}/charloom-cli
    ${MANDIR}/man1/charloom-cli.1
    ${MANDIR}/ja/man1/charloom-cli.1)
if(GUI)
    list(APPEND expected
        ${MANDIR}/man1/charloom.1
        ${MANDIR}/ja/man1/charloom.1
        ${DATADIR}/applications/charloom.desktop
        ${DATADIR}/icons/hicolor/scalable/apps/charloom.svg
        ${DATADIR}/icons/hicolor/48x48/apps/charloom.png)
    file(GLOB metainfo ${PREFIX}/${DATADIR}/metainfo/*.metainfo.xml)
    list(LENGTH metainfo count)
    if(NOT count EQUAL 1)
        message(FATAL_ERROR "expected one AppStream metainfo file, found ${count}: ${metainfo}")
    endif()
endif()
if(WITH_APP)
    list(APPEND expected ${BINDIR}/charloom)
endif()
if(EXISTS ${SOURCE_DIR}/data/Manual.txt)
    list(APPEND expected ${DATADIR}/charloom/Manual.txt)
endif()

set(missing "")
foreach(path IN LISTS expected)
    if(NOT EXISTS ${PREFIX}/${path})
        list(APPEND missing ${path})
    endif()
endforeach()
if(missing)
    message(FATAL_ERROR "not installed under ${PREFIX}: ${missing}")
endif()

if(GUI)
    # A PNG's IHDR chunk holds the width and height as 32-bit big-endian numbers at offset 16.
    file(READ ${PREFIX}/${DATADIR}/icons/hicolor/48x48/apps/charloom.png header
         OFFSET 0 LIMIT 24 HEX)
    if(NOT header MATCHES "^89504e470d0a1a0a.*0000003000000030$")
        message(FATAL_ERROR "the 48x48 icon is not a 48 x 48 PNG: ${header}")
    endif()
endif()

set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(
    COMMAND ${PREFIX}/${BINDIR}/charloom-cli --version
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^charloom-cli [0-9]+\\.[0-9]+\\.[0-9]+")
    message(FATAL_ERROR "the installed charloom-cli --version failed (${rc}):\n${out}${err}")
endif()
