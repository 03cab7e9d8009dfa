# Runs korrin-report once and checks its exit status, its output and, for
# JSON output, chosen texts, visibility, state fields and the band count.
#
#   -DREPORT=<path>             the program
#   -DARGS=a|b|c                its arguments, separated by "|"
#   -DEXPECT_EXIT=<n>           exit status (0 when not given)
#   -DEXPECT_EMPTY_STDOUT=ON    nothing may be written on stdout
#   -DSTDOUT_REGEX=<re>         stdout must match
#   -DSTDERR_REGEX=<re>         stderr must match
#   -DJSON_TEXTS=C=text|...     controls' texts in the JSON output
#   -DJSON_VISIBLE=C=true|...   controls' visibility in the JSON output
#   -DJSON_STATE=F=value|...    state fields as written in the JSON output
#   -DJSON_BANDS=<n>            rows of the "bands" array
#   -DJSON_VALUES=a.0.b=v|...   values by their path (members and array
#                               indices joined by "."): "null" for a JSON
#                               null, ON/OFF for true/false, texts as they are
#   -DWORKDIR=<dir>             working directory of the run
cmake_minimum_required(VERSION 3.25)

string(REPLACE "|" ";" args "${ARGS}")
if(NOT DEFINED EXPECT_EXIT)
  set(EXPECT_EXIT 0)
endif()
if(NOT WORKDIR)
  set(WORKDIR ".")
endif()

execute_process(
  COMMAND "${REPORT}" ${args}
  WORKING_DIRECTORY "${WORKDIR}"
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)

set(failures "")
macro(fail message)
  string(APPEND failures "  ${message}\n")
endmacro()

if(NOT status STREQUAL EXPECT_EXIT)
  fail("exit status ${status}, expected ${EXPECT_EXIT}")
endif()
if(EXPECT_EMPTY_STDOUT AND NOT out STREQUAL "")
  fail("stdout is not empty")
endif()
if(DEFINED STDOUT_REGEX AND NOT out MATCHES "${STDOUT_REGEX}")
  fail("stdout does not match \"${STDOUT_REGEX}\"")
endif()
if(DEFINED STDERR_REGEX AND NOT err MATCHES "${STDERR_REGEX}")
  fail("stderr does not match \"${STDERR_REGEX}\"")
endif()

# Each check is NAME=VALUE; the value is compared with the member `member`
# of controls.NAME, or with state.NAME when member is empty.
function(check_json list section member)
  string(REPLACE "|" ";" checks "${list}")
  foreach(check IN LISTS checks)
    string(FIND "${check}" "=" eq)
    string(SUBSTRING "${check}" 0 ${eq} name)
    math(EXPR from "${eq} + 1")
    string(SUBSTRING "${check}" ${from} -1 expected)
    if(member STREQUAL "")
      string(JSON actual ERROR_VARIABLE error GET "${out}" ${section} ${name})
    else()
      string(JSON actual ERROR_VARIABLE error GET "${out}" ${section} ${name} ${member})
    endif()
    if(error)
      string(APPEND failures "  ${section}.${name}: ${error}\n")
    elseif(member STREQUAL "visible")
      if((actual AND NOT expected) OR (expected AND NOT actual))
        string(APPEND failures "  ${name} visible is ${actual}, expected ${expected}\n")
      endif()
    elseif(NOT actual STREQUAL expected)
      string(APPEND failures "  ${section}.${name} is \"${actual}\", expected \"${expected}\"\n")
    endif()
  endforeach()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

if(DEFINED JSON_TEXTS)
  check_json("${JSON_TEXTS}" controls text)
endif()
if(DEFINED JSON_VISIBLE)
  check_json("${JSON_VISIBLE}" controls visible)
endif()
if(DEFINED JSON_STATE)
  check_json("${JSON_STATE}" state "")
endif()
if(DEFINED JSON_BANDS)
  string(JSON rows ERROR_VARIABLE error LENGTH "${out}" bands)
  if(error)
    fail("bands: ${error}")
  elseif(NOT rows EQUAL JSON_BANDS)
    fail("${rows} band rows, expected ${JSON_BANDS}")
  endif()
endif()

if(DEFINED JSON_VALUES)
  string(REPLACE "|" ";" checks "${JSON_VALUES}")
  foreach(check IN LISTS checks)
    string(FIND "${check}" "=" eq)
    string(SUBSTRING "${check}" 0 ${eq} path)
    math(EXPR from "${eq} + 1")
    string(SUBSTRING "${check}" ${from} -1 expected)
    string(REPLACE "." ";" keys "${path}")
    string(JSON type ERROR_VARIABLE error TYPE "${out}" ${keys})
    if(error)
      fail("${path}: ${error}")
    elseif(type STREQUAL "NULL")
      if(NOT expected STREQUAL "null")
        fail("${path} is null, expected \"${expected}\"")
      endif()
    else()
      string(JSON actual GET "${out}" ${keys})
      if(NOT actual STREQUAL expected)
        fail("${path} is \"${actual}\", expected \"${expected}\"")
      endif()
    endif()
  endforeach()
endif()

if(NOT failures STREQUAL "")
  message(FATAL_ERROR "korrin-report ${ARGS}\n${failures}stdout:\n${out}\nstderr:\n${err}")
endif()
