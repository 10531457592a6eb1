# The report of FORM made by PROGRAM --report without a display: A4 pages
# whose text (pdftotext) is EXPECTED, but for the date and FORM's own path.
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=QT_QPA_PLATFORM
                        ${PROGRAM} --report ${OUT}.pdf ${FORM} RESULT_VARIABLE rc ERROR_VARIABLE err)
execute_process(COMMAND pdfinfo ${OUT}.pdf OUTPUT_VARIABLE info)
execute_process(COMMAND pdftotext ${OUT}.pdf - OUTPUT_VARIABLE text)
string(REGEX REPLACE "составлен [0-9][0-9][.][0-9][0-9][.][0-9]+ в [0-9][0-9]:[0-9][0-9]" "составлен ДАТА" text "${text}")
string(REPLACE "${FORM}" "ФАЙЛ" text "${text}")
file(WRITE ${OUT}.txt "${text}")
file(READ ${EXPECTED} expected)
if(NOT rc EQUAL 0 OR NOT err STREQUAL "" OR NOT info MATCHES "Page size: +595[.0-9]* x 842[.0-9]* pts [(]A4[)]"
   OR NOT text STREQUAL expected)
    message(FATAL_ERROR "status ${rc} ${err}\n${info}\ntext: diff ${EXPECTED} ${OUT}.txt")
endif()
