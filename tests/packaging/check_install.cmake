# Installs the build into a scratch prefix and checks that every file the
# program and the desktop need is there.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}" OUTPUT_QUIET)
set(expected bin/prochnar-calc share/applications/prochnar.desktop share/metainfo/org.example.prochnar.metainfo.xml
    share/icons/hicolor/scalable/apps/prochnar.svg share/prochnar/gip.txt share/prochnar/rek.txt
    share/prochnar/Help.hlp share/prochnar/profel.doc share/mime/packages/prochnar.xml)
foreach(size 16 22 24 32 48 64 128 256)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/prochnar.png)
endforeach()
if(WITH_UI)
    list(APPEND expected bin/prochnar)
endif()
foreach(file IN LISTS expected)
    if(NOT EXISTS "${PREFIX}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
# The desktop's database of file types takes in the type of a calculation.
execute_process(COMMAND update-mime-database "${PREFIX}/share/mime" OUTPUT_QUIET ERROR_QUIET)
file(STRINGS "${PREFIX}/share/mime/globs2" globs REGEX "application/x-prochnar:[*][.]prochnar$")
if(NOT globs)
    message(FATAL_ERROR "update-mime-database does not take in share/mime/packages/prochnar.xml")
endif()
file(REMOVE_RECURSE "${PREFIX}")
