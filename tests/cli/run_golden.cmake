# Runs prochnar-calc on one form and compares its standard output and exit
# status with the expected ones.
#   cmake -DCALC=<prochnar-calc> -DFORM=<name.form> [-DSTATUS=2] [-DBYTES=N] -P run_golden.cmake
# The form names its presses and expected status in comment lines, which the
# command ignores ("# press: Command2,Command5", "# status: 1"); the expected
# output is <name>.out beside it. Status 2 (bad input) must print nothing on
# standard output and say why on standard error. With BYTES the form is first
# written as that many comment bytes.
if(DEFINED BYTES)
    string(REPEAT "#" ${BYTES} filler)
    file(WRITE "${FORM}" "${filler}\n")
endif()
set(args "")
if(NOT DEFINED STATUS)
    set(STATUS 0)
    file(STRINGS "${FORM}" header REGEX "^# (press|status): ")
    foreach(line IN LISTS header)
        if(line MATCHES "^# press: (.*)$")
            set(args --press "${CMAKE_MATCH_1}")
        elseif(line MATCHES "^# status: ([0-9]+)$")
            set(STATUS "${CMAKE_MATCH_1}")
        endif()
    endforeach()
endif()
execute_process(COMMAND "${CALC}" ${args} "${FORM}" OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc STREQUAL STATUS)
    message(FATAL_ERROR "exit status ${rc}, expected ${STATUS}\nstderr: ${err}")
elseif(STATUS STREQUAL "2" AND (NOT out STREQUAL "" OR NOT err MATCHES "^prochnar-calc: [^\n]+\n$"))
    message(FATAL_ERROR "bad input: standard output '${out}', standard error '${err}'")
elseif(NOT STATUS STREQUAL "2")
    string(REGEX REPLACE "\\.form$" ".out" expected_file "${FORM}")
    file(READ "${expected_file}" expected)
    if(NOT out STREQUAL expected)
        file(WRITE "${FORM}.actual" "${out}")
        execute_process(COMMAND diff -u "${expected_file}" "${FORM}.actual")
        file(REMOVE "${FORM}.actual")
        message(FATAL_ERROR "output differs from ${expected_file}")
    endif()
endif()
