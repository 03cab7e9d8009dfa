# Runs "korrin-report --record FILE ..." once and reads the record back with
# the document tools: its text, its fonts, its pages and their size.
#
#   -DREPORT=<path>           the program
#   -DDIR=<dir>               a scratch directory (emptied first)
#   -DARGS=a|b|c              arguments after "--record FILE" ("|"-separated)
#   -DRECORD=<path>           the record's file (default DIR/record.pdf)
#   -DLANG_ENV=<locale>       run with LANG set to this and no LC_ALL / LC_PAPER
#   -DTEXTS=a|b|c             texts the record must contain (blanks collapsed)
#   -DABSENT=a|b|c            texts it must not contain
#   -DTODAY=ON                the record must carry the day it was made
#   -DPAGE_SIZE=<w x h>       page size in points as pdfinfo prints it
#   -DNO_IMAGES=ON            no raster image anywhere (the plot is drawn as vectors)
#   -DEXPECT_EXIT=<n>         exit status (0 when not given)
#   -DSTDERR_REGEX=<re>       standard error must match
#   -DEXPECT_NO_FILE=ON       nothing may be left at RECORD, in its folder or in DIR
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}")
if(NOT RECORD)
  set(RECORD "${DIR}/record.pdf")
endif()
if(NOT DEFINED EXPECT_EXIT)
  set(EXPECT_EXIT 0)
endif()
string(REPLACE "|" ";" args "${ARGS}")

set(env "")
if(LANG_ENV)
  set(env ${CMAKE_COMMAND} -E env --unset=LC_ALL --unset=LC_PAPER --unset=LC_NUMERIC
    --unset=LC_MEASUREMENT "LANG=${LANG_ENV}")
endif()

string(TIMESTAMP before "%Y-%m-%d")
execute_process(COMMAND ${env} "${REPORT}" --record "${RECORD}" ${args}
  WORKING_DIRECTORY "${DIR}"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(TIMESTAMP after "%Y-%m-%d")

set(failures "")
macro(fail message)
  string(APPEND failures "  ${message}\n")
endmacro()

if(NOT status STREQUAL EXPECT_EXIT)
  fail("exit status ${status}, expected ${EXPECT_EXIT}; stderr: ${err}")
endif()
if(DEFINED STDERR_REGEX AND NOT err MATCHES "${STDERR_REGEX}")
  fail("stderr does not match \"${STDERR_REGEX}\": ${err}")
endif()

if(EXPECT_NO_FILE)
  if(EXISTS "${RECORD}")
    fail("${RECORD} was written")
  endif()
  get_filename_component(folder "${RECORD}" DIRECTORY)
  foreach(where IN ITEMS "${folder}" "${DIR}")
    if(IS_DIRECTORY "${where}")
      file(GLOB left "${where}/*")
      if(left)
        fail("files were left in ${where}: ${left}")
      endif()
    endif()
  endforeach()
elseif(NOT EXISTS "${RECORD}")
  fail("no record at ${RECORD}")
else()
  execute_process(COMMAND pdftotext "${RECORD}" - RESULT_VARIABLE rc OUTPUT_VARIABLE text
    ERROR_VARIABLE text_err)
  if(NOT rc EQUAL 0)
    fail("pdftotext failed: ${text_err}")
  endif()
  # One line of text, blanks collapsed: a phrase may wrap in a cell.
  string(REGEX REPLACE "[ \t\r\n]+" " " text "${text}")

  string(REPLACE "|" ";" wanted "${TEXTS}")
  foreach(t IN LISTS wanted)
    string(FIND "${text}" "${t}" at)
    if(at EQUAL -1)
      fail("the record does not contain \"${t}\"")
    endif()
  endforeach()
  string(REPLACE "|" ";" unwanted "${ABSENT}")
  foreach(t IN LISTS unwanted)
    string(FIND "${text}" "${t}" at)
    if(NOT at EQUAL -1)
      fail("the record contains \"${t}\"")
    endif()
  endforeach()
  if(TODAY)
    string(FIND "${text}" "${before}" at_before)
    string(FIND "${text}" "${after}" at_after)
    if(at_before EQUAL -1 AND at_after EQUAL -1)
      fail("the record does not carry the date ${after}")
    endif()
  endif()

  # Every font the record uses is embedded, and it uses at least one.
  execute_process(COMMAND pdffonts "${RECORD}" OUTPUT_VARIABLE fonts RESULT_VARIABLE rc)
  string(REPLACE "\n" ";" font_lines "${fonts}")
  list(LENGTH font_lines line_count)
  set(font_count 0)
  foreach(line IN LISTS font_lines)
    if(line MATCHES "^name |^---" OR line STREQUAL "")
      continue()
    endif()
    math(EXPR font_count "${font_count} + 1")
    # name, type (one or two words), encoding, then emb sub uni as yes/no
    if(NOT line MATCHES " (yes|no) +(yes|no) +(yes|no) +[0-9]+ +[0-9]+ *$")
      fail("pdffonts line not understood: ${line}")
    elseif(NOT CMAKE_MATCH_1 STREQUAL "yes")
      fail("font not embedded: ${line}")
    endif()
  endforeach()
  if(font_count EQUAL 0)
    fail("pdffonts lists no font")
  endif()

  if(NO_IMAGES)
    execute_process(COMMAND pdfimages -list "${RECORD}" OUTPUT_VARIABLE images RESULT_VARIABLE rc)
    string(REGEX REPLACE "^[^\n]*\n[^\n]*\n" "" images "${images}")
    if(NOT rc EQUAL 0 OR NOT images STREQUAL "")
      fail("the record holds raster images (or pdfimages failed, status ${rc}):\n${images}")
    endif()
  endif()

  execute_process(COMMAND pdfinfo "${RECORD}" OUTPUT_VARIABLE info RESULT_VARIABLE rc)
  if(NOT info MATCHES "Pages: +([0-9]+)")
    fail("pdfinfo gives no page count: ${info}")
  elseif(CMAKE_MATCH_1 LESS 1 OR CMAKE_MATCH_1 GREATER 3)
    fail("the record has ${CMAKE_MATCH_1} pages, expected one to three")
  endif()
  if(PAGE_SIZE AND NOT info MATCHES "Page size: +${PAGE_SIZE} pts")
    string(REGEX MATCH "Page size:[^\n]*" size "${info}")
    fail("${size}, expected ${PAGE_SIZE} pts")
  endif()
endif()

if(failures)
  message(FATAL_ERROR "korrin-report --record ${RECORD} ${args}:\n${failures}")
endif()
