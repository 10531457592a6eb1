# Runs PROGRAM with no display to be reached, once with the platform chosen
# by default and once with xcb asked for, and expects one line on standard
# error and a non-zero exit status (not a crash).
foreach(platform "--unset=QT_QPA_PLATFORM" "QT_QPA_PLATFORM=xcb")
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY ${platform} ${PROGRAM}
        RESULT_VARIABLE status
        OUTPUT_VARIABLE out
        ERROR_VARIABLE err
        TIMEOUT 30)
    string(STRIP "${err}" line)
    if(NOT status MATCHES "^[0-9]+$" OR status EQUAL 0)
        message(FATAL_ERROR "${platform}: expected a non-zero exit status, got '${status}'\n${err}")
    endif()
    if(NOT line MATCHES "display" OR line MATCHES "\n")
        message(FATAL_ERROR "${platform}: expected one line about the display, got:\n${err}")
    endif()
    if(NOT out STREQUAL "")
        message(FATAL_ERROR "${platform}: expected nothing on standard output, got:\n${out}")
    endif()
endforeach()
