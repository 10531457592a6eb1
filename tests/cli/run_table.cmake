# Runs prochnar-calc --table on one table, from the table's folder, and
# compares what it wrote (to standard output, or to OUT with -o) with
# <EXPECTED>.out, and its standard error followed by "exit N" with
# <EXPECTED>.err.
#   cmake -DCALC=<prochnar-calc> -DTABLE=<in.csv> -DEXPECTED=<stem> [-DOUT=<out.csv>] -P run_table.cmake
get_filename_component(dir "${TABLE}" DIRECTORY)
get_filename_component(name "${TABLE}" NAME)
if(DEFINED OUT)
    set(args -o "${OUT}")
endif()
execute_process(COMMAND "${CALC}" --table "${name}" ${args} WORKING_DIRECTORY "${dir}"
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(DEFINED OUT)
    file(READ "${OUT}" out)
endif()
file(READ "${EXPECTED}.out" expected_out)
file(READ "${EXPECTED}.err" expected_err)
if(NOT out STREQUAL expected_out OR NOT "${err}exit ${rc}\n" STREQUAL expected_err)
    file(WRITE "${EXPECTED}.out.actual" "${out}")
    execute_process(COMMAND diff -u "${EXPECTED}.out" "${EXPECTED}.out.actual")
    file(REMOVE "${EXPECTED}.out.actual")
    message(FATAL_ERROR "standard error and status:\n${err}exit ${rc}")
endif()
