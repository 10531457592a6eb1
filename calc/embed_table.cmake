# Writes the rows of a reference table from its data file as C++ brace
# initialisers, one row a line, each number as an integer count of its unit
# (φ in thousandths, an area in hundredths of a cm², ...), so that the
# program holds the table exactly as printed:
#   cmake -DCSV=FILE -DOUT=FILE -DHEADER=a,b,c -DDIGITS=0,3,- -P embed_table.cmake
# HEADER is the expected header line; DIGITS gives, for each column, how many
# decimals its counts keep, or "-" for a column left out. A header, a column
# count or a number that does not fit stops the build with the file and line.

function(fail line reason)
    message(FATAL_ERROR "${CSV}:${line}: ${reason}")
endfunction()

# The count of 10^-digits in a number written with a decimal point.
function(scaled text digits line out)
    if(NOT text MATCHES "^([0-9]+)(\\.([0-9]+))?$")
        fail(${line} "not a number: '${text}'")
    endif()
    set(whole "${CMAKE_MATCH_1}")
    set(fraction "${CMAKE_MATCH_3}")
    string(LENGTH "${fraction}" length)
    if(length GREATER digits)
        fail(${line} "'${text}' has more than ${digits} decimals")
    endif()
    while(length LESS digits)
        string(APPEND fraction "0")
        math(EXPR length "${length} + 1")
    endwhile()
    # No leading zeros: the literal would read as octal. (A REGEX REPLACE
    # would not do: it matches "^" again after each replacement.)
    string(REGEX MATCH "[1-9][0-9]*$" count "${whole}${fraction}")
    if(count STREQUAL "")
        set(count 0)
    endif()
    set(${out} "${count}" PARENT_SCOPE)
endfunction()

file(STRINGS "${CSV}" lines ENCODING UTF-8)
list(POP_FRONT lines header)
string(STRIP "${header}" header)
if(NOT header STREQUAL HEADER)
    fail(1 "the header is '${header}', not '${HEADER}'")
endif()
string(REPLACE "," ";" DIGITS "${DIGITS}")
list(LENGTH DIGITS columns)

cmake_path(GET CSV FILENAME source)
set(rows "// Generated from ${source} by embed_table.cmake; do not edit.\n")
set(line 1)
foreach(row IN LISTS lines)
    math(EXPR line "${line} + 1")
    string(STRIP "${row}" row)
    if(row STREQUAL "")
        continue()
    endif()
    string(REPLACE "," ";" fields "${row}")
    list(LENGTH fields count)
    if(NOT count EQUAL columns)
        fail(${line} "${count} columns, not ${columns}")
    endif()
    set(counts "")
    foreach(field digits IN ZIP_LISTS fields DIGITS)
        if(NOT digits STREQUAL "-")
            scaled("${field}" ${digits} ${line} value)
            list(APPEND counts "${value}")
        endif()
    endforeach()
    list(JOIN counts ", " counts)
    string(APPEND rows "{${counts}},\n")
endforeach()

file(WRITE "${OUT}" "${rows}")
