# A STATION.rsd that does not load stops korrin-report before anything is
# printed or written: no report on stdout, no picture, no page, no action
# run (a save action would overwrite a good station file with the start-up
# station), no record, no plot, the reason on stderr, exit status 1.
#
#   -DREPORT=<path>      the program
#   -DDIR=<dir>          a scratch directory (emptied first)
#   -DPICTURES=ON|OFF    whether this build writes --png, --pdf, --record and --plot
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}")
set(failures "")

# A good station file, saved by the program from a changed station.
execute_process(COMMAND "${REPORT}" --do HF_SelectClick "--do=Save_DataClick=${DIR}/good.rsd"
  RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT EXISTS "${DIR}/good.rsd")
  message(FATAL_ERROR "saving good.rsd: exit status ${status}\n${err}")
endif()
file(READ "${DIR}/good.rsd" good HEX)

# 304 bytes the program refuses: flags of neither 0 nor 1.
string(REPEAT "x" 304 bad)
file(WRITE "${DIR}/bad.rsd" "${bad}")

foreach(format text json)
  set(args "${DIR}/bad.rsd" --do HF_SelectClick "--do=Save_DataClick=${DIR}/good.rsd"
    "--do=Save_DataClick=${DIR}/new.rsd")
  if(format STREQUAL "json")
    list(APPEND args --json)
  endif()
  if(PICTURES)
    list(APPEND args --png "${DIR}/window.png" --pdf "${DIR}/window.pdf"
      --record "${DIR}/record.pdf" --plot "${DIR}/plot.png")
  endif()
  execute_process(COMMAND "${REPORT}" ${args}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 1)
    string(APPEND failures "  ${format}: exit status ${status}, expected 1\n")
  endif()
  if(NOT out STREQUAL "")
    string(APPEND failures "  ${format}: stdout is not empty:\n${out}\n")
  endif()
  if(NOT err MATCHES "bad\\.rsd\" was not loaded: the [^\n]+\n")
    string(APPEND failures "  ${format}: stderr does not give the reason:\n${err}\n")
  endif()
  file(READ "${DIR}/good.rsd" after HEX)
  if(NOT after STREQUAL good)
    string(APPEND failures "  ${format}: good.rsd was overwritten\n")
  endif()
  foreach(written new.rsd window.png window.pdf record.pdf plot.png)
    if(EXISTS "${DIR}/${written}")
      string(APPEND failures "  ${format}: ${written} was written\n")
      file(REMOVE "${DIR}/${written}")
    endif()
  endforeach()
endforeach()

if(NOT failures STREQUAL "")
  message(FATAL_ERROR "a refused station file:\n${failures}")
endif()
