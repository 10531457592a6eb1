# Installs the build into a scratch prefix and checks that every file the
# program and the desktop need is there.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
    RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed")
endif()

set(expected
    bin/prochnar-calc
    share/prochnar/gip.txt
    share/prochnar/rek.txt
    share/prochnar/Help.hlp
    share/prochnar/profel.doc
    share/applications/prochnar.desktop
    share/metainfo/org.example.prochnar.metainfo.xml
    share/icons/hicolor/scalable/apps/prochnar.svg)
foreach(size 16 22 24 32 48 64 128 256)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/prochnar.png)
endforeach()
if(WITH_UI)
    list(APPEND expected bin/prochnar)
endif()

set(missing "")
foreach(file IN LISTS expected)
    if(NOT EXISTS "${PREFIX}/${file}")
        list(APPEND missing ${file})
    endif()
endforeach()
if(missing)
    message(FATAL_ERROR "not installed: ${missing}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
