# Runs prochnar-calc on one form and compares its exit status and standard
# output with the expected ones.
#   cmake -DCALC=<prochnar-calc> -DFORM=<name.form> [-DSTATUS=2] [-DBYTES=N] -P run_golden.cmake
# The form names its presses and status in comment lines the command ignores
# ("# press: Command2,Command5", "# status: 1"); the expected output is
# <name>.out beside it. Bad input (status 2) prints nothing on standard output
# and one line on standard error. With BYTES the form is first written as
# that many comment bytes.
if(DEFINED BYTES)
    string(REPEAT "#" ${BYTES} filler)
    file(WRITE "${FORM}" "${filler}\n")
endif()
if(NOT DEFINED STATUS)
    file(STRINGS "${FORM}" header REGEX "^# (press|status): ")
    if(header MATCHES "# press: ([A-Za-z0-9,]+)")
        set(args --press ${CMAKE_MATCH_1})
    endif()
    string(REGEX MATCH "# status: ([0-9]+)" status "${header}")
    set(STATUS ${CMAKE_MATCH_1})
endif()
execute_process(COMMAND "${CALC}" ${args} "${FORM}" OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT STATUS)
    set(STATUS 0)
endif()
if(STATUS EQUAL 2)
    set(expected "")
else()
    string(REGEX REPLACE "\\.form$" ".out" expected_file "${FORM}")
    file(READ "${expected_file}" expected)
endif()
if(NOT rc STREQUAL STATUS OR NOT out STREQUAL expected OR (STATUS EQUAL 2 AND NOT err MATCHES "^prochnar-calc: [^\n]+\n$"))
    file(WRITE "${FORM}.actual" "${out}")
    execute_process(COMMAND diff -u "${expected_file}" "${FORM}.actual")
    file(REMOVE "${FORM}.actual")
    message(FATAL_ERROR "exit status ${rc} (expected ${STATUS}), standard error '${err}', output as above")
endif()
