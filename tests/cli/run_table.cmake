# Runs prochnar-calc --table on one table, from the table's folder, and
# compares what it wrote (to standard output, or to OUT with -o) with
# <EXPECTED>.out, and its standard error followed by "exit N" with
# <EXPECTED>.err.
# With -DREPEAT=N (and -DOUT), the table's rows are written N times over into
# OUT.csv first, and what is expected is each expected row N times over, and
# N times the counts of the summary: rows out of their order, or a batch lost
# among the threads that check them, show as a difference.
# With -DPLAN=<plan.csv> it is also given --plan, and the plan written is
# compared with EXPECTED_PLAN. With -DDECIMAL=comma|point it is given
# --decimal. With -DLIKE=<other.out> what it wrote must also be other.out
# once every point is a comma in both (a point table against its comma one).
# With -DSTDIN=1 the table is given on standard input ("--table -").
#   cmake -DCALC=<prochnar-calc> -DTABLE=<in.csv> -DEXPECTED=<stem> [-DOUT=<out.csv>] [-DREPEAT=N]
#         [-DPLAN=<plan.csv> -DEXPECTED_PLAN=<file>] [-DDECIMAL=point] [-DLIKE=<other.out>] [-DSTDIN=1]
#         -P run_table.cmake
file(READ "${EXPECTED}.out" expected_out)
file(READ "${EXPECTED}.err" expected_err)

# The text's first line, and the rest N times over.
function(repeat_rows text times result)
    string(FIND "${text}" "\n" eol)
    math(EXPR body "${eol} + 1")
    string(SUBSTRING "${text}" 0 ${body} header)
    string(SUBSTRING "${text}" ${body} -1 rows)
    string(REPEAT "${rows}" ${times} rows)
    set(${result} "${header}${rows}" PARENT_SCOPE)
endfunction()

if(DEFINED REPEAT)
    file(READ "${TABLE}" table)
    repeat_rows("${table}" ${REPEAT} table)
    set(TABLE "${OUT}.csv")
    file(WRITE "${TABLE}" "${table}")
    repeat_rows("${expected_out}" ${REPEAT} expected_out)
    set(summary "Опор: ([0-9]+), держат: ([0-9]+), не держат: ([0-9]+), проверьте: ([0-9]+), не проверены: ([0-9]+)([.;])")
    string(REGEX MATCH "${summary}" counts "${expected_err}")
    foreach(i 1 2 3 4 5)
        math(EXPR count${i} "${CMAKE_MATCH_${i}} * ${REPEAT}")
    endforeach()
    string(REGEX REPLACE "${summary}"
                         "Опор: ${count1}, держат: ${count2}, не держат: ${count3}, проверьте: ${count4}, не проверены: ${count5}\\6"
                         expected_err "${expected_err}")
endif()

get_filename_component(dir "${TABLE}" DIRECTORY)
get_filename_component(name "${TABLE}" NAME)
if(DEFINED OUT)
    set(args -o "${OUT}")
endif()
if(DEFINED DECIMAL)
    list(APPEND args --decimal ${DECIMAL})
endif()
if(DEFINED PLAN)
    file(REMOVE "${PLAN}")
    list(APPEND args --plan "${PLAN}")
endif()
if(STDIN)
    execute_process(COMMAND "${CALC}" --table - ${args} INPUT_FILE "${TABLE}"
                    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
else()
    execute_process(COMMAND "${CALC}" --table "${name}" ${args} WORKING_DIRECTORY "${dir}"
                    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
endif()
if(DEFINED OUT)
    file(READ "${OUT}" out)
endif()
if(DEFINED PLAN)
    file(READ "${EXPECTED_PLAN}" expected_plan)
    file(READ "${PLAN}" plan)
    if(NOT plan STREQUAL expected_plan)
        execute_process(COMMAND diff -u "${EXPECTED_PLAN}" "${PLAN}")
        message(FATAL_ERROR "the plan differs")
    endif()
endif()
if(NOT out STREQUAL expected_out OR NOT "${err}exit ${rc}\n" STREQUAL expected_err)
    file(WRITE "${EXPECTED}.out.actual" "${out}")
    execute_process(COMMAND diff -u "${EXPECTED}.out" "${EXPECTED}.out.actual")
    file(REMOVE "${EXPECTED}.out.actual")
    message(FATAL_ERROR "standard error and status:\n${err}exit ${rc}")
endif()
if(DEFINED LIKE)
    file(READ "${LIKE}" like)
    string(REPLACE "." "," like "${like}")
    string(REPLACE "." "," out "${out}")
    if(NOT out STREQUAL like)
        message(FATAL_ERROR "differs from ${LIKE} in more than the decimal separator")
    endif()
endif()
