# Outputs that must not destroy an input or an old file, and a standard
# output that could not be written, through the programs as a user runs them.
#   cmake -DCALC=<prochnar-calc> -DPROGRAM=<prochnar> -DSOURCE=<top> -DWORK=<scratch folder> -P outputs.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY ${SOURCE}/examples/line-section.csv ${SOURCE}/examples/catalogue-angles.prochnar DESTINATION ${WORK})
file(CREATE_LINK line-section.csv ${WORK}/link.csv SYMBOLIC)
file(WRITE ${WORK}/old.csv "old results\n")
file(WRITE ${WORK}/cut.csv "txtMn;Примечание\n1;\"not closed\n")
file(READ ${WORK}/line-section.csv input)
file(READ ${WORK}/catalogue-angles.prochnar calculation)

set(faults "")
# expect(STATUS PATTERN command...): the exit status, and standard error matching PATTERN.
# Standard output goes to STDOUT (a file of the scratch folder unless set).
set(STDOUT ${WORK}/stdout)
function(expect status pattern)
    execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${WORK} RESULT_VARIABLE got ERROR_VARIABLE err
                    OUTPUT_FILE ${STDOUT})
    if(NOT got STREQUAL status OR NOT err MATCHES "${pattern}")
        set(faults "${faults}${ARGN}: exit ${got}, ${err}\n" PARENT_SCOPE)
    endif()
endfunction()
function(same file text)
    file(READ ${WORK}/${file} now)
    if(NOT now STREQUAL text)
        set(faults "${faults}${file} changed\n" PARENT_SCOPE)
    endif()
endfunction()

# The table read is never the table written, by any name.
expect(2 "это читаемая таблица" ${CALC} --table line-section.csv -o line-section.csv)
expect(2 "это читаемая таблица" ${CALC} --table line-section.csv -o ${WORK}/link.csv)
same(line-section.csv "${input}")
# A pipe or a folder is not a file to write to. The pipe stands for a device
# too: a fault planted in the refusal must not replace a real /dev/null.
execute_process(COMMAND mkfifo ${WORK}/pipe.csv)
expect(2 "это не обычный файл" ${CALC} --table line-section.csv -o pipe.csv)
expect(2 "это не обычный файл" ${CALC} --table line-section.csv -o .)
# A table that cannot be read to its end leaves the old results as they were, and no scrap beside them.
expect(2 "не закрыта" ${CALC} --table cut.csv -o old.csv)
same(old.csv "old results\n")
file(GLOB left ${WORK}/.old.csv*)
if(left)
    set(faults "${faults}left behind: ${left}\n")
endif()
expect(1 "Опор: 12," ${CALC} --table line-section.csv -o old.csv)
file(READ ${SOURCE}/tests/cli/tables/example.out written)
same(old.csv "${written}")
# The plan is never the table read nor the table written, and it needs a support to group by.
expect(2 "это читаемая таблица" ${CALC} --table line-section.csv -o old.csv --plan link.csv)
expect(2 "и выходная таблица, и план" ${CALC} --table line-section.csv -o old.csv --plan ./old.csv)
expect(2 "нужен столбец «Опора»" ${CALC} --table cut.csv --plan plan.csv)
same(line-section.csv "${input}")
same(old.csv "${written}")
expect(1 "к замене в ближайшие 5 лет: 0 опор[.]" ${CALC} --table line-section.csv --plan plan.csv)
file(READ ${WORK}/plan.csv plan)
string(REGEX MATCHALL "\n" lines "${plan}")
list(LENGTH lines girders)
if(NOT girders EQUAL 13)
    set(faults "${faults}plan.csv: ${girders} lines\n")
endif()
# A standard output that could not be written is not a success.
set(STDOUT /dev/full)
expect(2 "стандартный вывод: не записывается \\(на диске нет места\\)" ${CALC} --table line-section.csv -o -)
expect(2 "стандартный вывод: не записывается \\(на диске нет места\\)" ${CALC} catalogue-angles.prochnar)
set(STDOUT ${WORK}/stdout)
# The report never takes the place of the calculation, nor of a device.
if(PROGRAM)
    expect(2 "это сам файл расчета" ${PROGRAM} --report catalogue-angles.prochnar catalogue-angles.prochnar)
    expect(2 "это не обычный файл" ${PROGRAM} --report /dev/full catalogue-angles.prochnar)
    same(catalogue-angles.prochnar "${calculation}")
endif()

if(faults)
    message(FATAL_ERROR "${faults}")
endif()
