# Inputs that are not regular files are refused before they are opened, with
# the reason, for a form as for a table: a pipe (opening it would wait for a
# writer for ever), a folder, a missing file.
#   cmake -DCALC=<prochnar-calc> -DWORK=<folder> -P inputs.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/folder")
execute_process(COMMAND mkfifo "${WORK}/pipe" RESULT_VARIABLE made)
if(NOT made EQUAL 0)
    message(FATAL_ERROR "mkfifo failed")
endif()

set(pipe "это не файл, а канал (подайте его на стандартный ввод)")
foreach(option "" "--table")
    foreach(case "pipe|${pipe}" "folder|это не файл, а папка" "missing|такого файла нет")
        string(REPLACE "|" ";" case "${case}")
        list(GET case 0 name)
        list(GET case 1 expected)
        execute_process(COMMAND "${CALC}" ${option} ${name} WORKING_DIRECTORY "${WORK}" TIMEOUT 10
                        OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
        if(NOT rc STREQUAL "2" OR NOT err STREQUAL "prochnar-calc: ${name}: ${expected}\n")
            message(FATAL_ERROR "${option} ${name}: exit ${rc}, standard error '${err}'")
        endif()
    endforeach()
endforeach()
