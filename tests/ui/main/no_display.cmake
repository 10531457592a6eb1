# Runs PROGRAM where no display can be reached, with the default platform and
# with xcb asked for: one line about the display ("дисплей") on standard error, nothing on
# standard output, and a non-zero exit status that is not a crash.
foreach(platform "--unset=QT_QPA_PLATFORM" "QT_QPA_PLATFORM=xcb")
    execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY ${platform} ${PROGRAM}
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 30)
    if(NOT status MATCHES "^[1-9][0-9]*$" OR NOT err MATCHES "^[^\n]*диспле(й|я)[^\n]*\n?$" OR NOT out STREQUAL "")
        message(FATAL_ERROR "${platform}: exit status '${status}', standard output '${out}', standard error '${err}'")
    endif()
endforeach()
