# korrin-report with its standard output on /dev/full: every report it
# prints (the calculator's, a station file's, the help) ends in exit status
# 1 and the system's reason, never in 0 or 3 with a report cut short.
cmake_minimum_required(VERSION 3.25)

set(failures "")
foreach(run "--json" "--all-bands" "${STATION}" "--json;${STATION}" "--csv;${STATION}" "--help")
  execute_process(COMMAND "${REPORT}" ${run}
    OUTPUT_FILE /dev/full RESULT_VARIABLE status ERROR_VARIABLE err)
  if(NOT status EQUAL 1)
    string(APPEND failures "  ${run}: exit status ${status}, not 1\n")
  endif()
  if(NOT err MATCHES "standard output \\(No space left on device\\)")
    string(APPEND failures "  ${run}: standard error does not give the reason: ${err}\n")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "korrin-report > /dev/full:\n${failures}")
endif()
