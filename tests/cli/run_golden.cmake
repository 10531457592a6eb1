# Runs prochnar-calc on one golden form and compares its standard output and
# exit status with the expected ones.
#   cmake -DCALC=<prochnar-calc> -DFORM=<name.form> -P run_golden.cmake
# The form names its button presses and expected status in comment lines,
# which the command itself ignores:
#   # press: Command2,Command5
#   # status: 1
# The expected output is <name>.out beside it; for status 2 the output must be empty.
file(STRINGS "${FORM}" header REGEX "^# (press|status): ")
set(args "")
set(status 0)
foreach(line IN LISTS header)
    if(line MATCHES "^# press: (.*)$")
        set(args --press "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^# status: ([0-9]+)$")
        set(status "${CMAKE_MATCH_1}")
    endif()
endforeach()

execute_process(COMMAND "${CALC}" ${args} "${FORM}"
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)

if(NOT rc STREQUAL status)
    message(FATAL_ERROR "exit status ${rc}, expected ${status}\nstderr: ${err}")
endif()
if(status STREQUAL "2")
    if(NOT out STREQUAL "")
        message(FATAL_ERROR "bad input printed on standard output:\n${out}")
    endif()
    if(err STREQUAL "")
        message(FATAL_ERROR "bad input gave no error on standard error")
    endif()
    return()
endif()

string(REGEX REPLACE "\\.form$" ".out" expected_file "${FORM}")
file(READ "${expected_file}" expected)
if(NOT out STREQUAL expected)
    file(WRITE "${FORM}.actual" "${out}")
    execute_process(COMMAND diff -u "${expected_file}" "${FORM}.actual")
    file(REMOVE "${FORM}.actual")
    message(FATAL_ERROR "output differs from ${expected_file}")
endif()
