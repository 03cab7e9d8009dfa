# The STATION argument is told apart by what the file holds, not only by its
# name: a station file named .rsd is evaluated as a station file, and the
# calculator's record named .toml is loaded as the calculator's station.
#
#   -DREPORT=<path>      the program
#   -DSTATION=<path>     a station file that does not comply (exit status 3)
#   -DDIR=<dir>          a scratch directory (emptied first)
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}")
set(failures "")

file(COPY_FILE "${STATION}" "${DIR}/station-file.rsd")
execute_process(COMMAND "${REPORT}" "${DIR}/station-file.rsd"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 3 OR NOT out MATCHES "^Korrin station evaluation.*\nVerdict: Does not comply at ")
  string(APPEND failures "  a station file named .rsd: exit status ${status}\n${out}\n${err}\n")
endif()

# The calculator's station saved by the program under a TOML name.
execute_process(COMMAND "${REPORT}" --do HF_SelectClick "--do=Save_DataClick=${DIR}/record.toml"
  RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT EXISTS "${DIR}/record.toml")
  message(FATAL_ERROR "saving record.toml: exit status ${status}\n${err}")
endif()
execute_process(COMMAND "${REPORT}" "${DIR}/record.toml"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out MATCHES "Band group +HF\n")
  string(APPEND failures "  a calculator record named .toml: exit status ${status}\n${out}\n${err}\n")
endif()

if(NOT failures STREQUAL "")
  message(FATAL_ERROR "the station argument told apart by content:\n${failures}")
endif()
