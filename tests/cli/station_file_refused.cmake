# A station file with errors is not evaluated: every error on stderr with
# its file, line and column, nothing on stdout, exit status 1, and no file
# written, whatever output is asked for.  An option that writes a file of
# the calculator's station is refused as a usage error before the file is
# read, and writes nothing either.
#
#   -DREPORT=<path>      the program
#   -DSTATION=<path>     the station file with errors (three, lines 8, 14, 21)
#   -DDIR=<dir>          a scratch directory (emptied first)
#   -DPICTURES=ON|OFF    whether this build writes --record and --site-plan
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}")
set(failures "")

# Each run: its arguments ("|" between them) and the exit status it gives.
set(runs
  "1@"
  "1@--json"
  "1@--csv"
  "2@--pdf|${DIR}/window.pdf"
  "2@--png|${DIR}/window.png"
  "2@--station-file|${DIR}/written.station.toml"
  "2@--do|Save_DataClick=${DIR}/saved.rsd")
if(PICTURES)
  list(APPEND runs "1@--record|${DIR}/record.pdf" "1@--site-plan|${DIR}/plan.svg")
endif()
foreach(run IN LISTS runs)
  string(FIND "${run}" "@" at)
  string(SUBSTRING "${run}" 0 ${at} expected)
  math(EXPR from "${at} + 1")
  string(SUBSTRING "${run}" ${from} -1 options)
  string(REPLACE "|" ";" args "${options}")
  execute_process(COMMAND "${REPORT}" ${args} "${STATION}"
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL expected)
    string(APPEND failures "  [${options}]: exit status ${status}, expected ${expected}\n${err}\n")
  endif()
  if(NOT out STREQUAL "")
    string(APPEND failures "  [${options}]: stdout is not empty:\n${out}\n")
  endif()
  if(expected EQUAL 1)
    foreach(place "8:1: \\[\\[transmitter\\]\\] \"rig\" powr-w: unknown key"
                  "14:1: \\[\\[antenna\\]\\] \"beam\" gain-dbi: "
                  "21:1: \\[\\[installation\\]\\] \"20m\" transmitter: ")
      if(NOT err MATCHES "errors\\.station\\.toml:${place}")
        string(APPEND failures "  [${options}]: stderr lacks \"${place}\":\n${err}\n")
      endif()
    endforeach()
  elseif(NOT err MATCHES "does not apply to a station file|built without the Qt window")
    string(APPEND failures "  [${options}]: stderr does not say why:\n${err}\n")
  endif()
  file(GLOB written "${DIR}/*")
  if(written)
    string(APPEND failures "  [${options}]: written: ${written}\n")
    file(REMOVE ${written})
  endif()
endforeach()

if(NOT failures STREQUAL "")
  message(FATAL_ERROR "a station file with errors:\n${failures}")
endif()
