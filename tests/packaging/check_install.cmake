# Installs the build into a scratch prefix and checks that every file the
# program and the desktop need is there.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}" OUTPUT_QUIET)
set(expected bin/prochnar-calc share/applications/prochnar.desktop share/metainfo/org.example.prochnar.metainfo.xml
    share/icons/hicolor/scalable/apps/prochnar.svg share/prochnar/gip.txt share/prochnar/rek.txt
    share/prochnar/Help.hlp share/prochnar/profel.doc)
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
file(REMOVE_RECURSE "${PREFIX}")
