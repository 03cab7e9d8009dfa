# Every long option korrin-report's --help lists is documented in its
# manual page, and the page documents no long option the program lacks.
# -DREPORT=path/to/korrin-report -DPAGE=path/to/korrin-report.1
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${REPORT} --help RESULT_VARIABLE status OUTPUT_VARIABLE help)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "korrin-report --help ended with status ${status}")
endif()
file(READ ${PAGE} page)

# Options in the help: "--name" words.  In the page a hyphen is written
# "\-", so "\-\-all\-bands" is --all-bands.
string(REGEX MATCHALL "--[a-z][a-z0-9-]*" listed "${help}")
string(REPLACE "\\-" "-" plain_page "${page}")
string(REGEX MATCHALL "--[a-z][a-z0-9-]*" documented "${plain_page}")
list(REMOVE_DUPLICATES listed)
list(REMOVE_DUPLICATES documented)
list(LENGTH listed count)
if(count LESS 5)
  message(FATAL_ERROR "korrin-report --help lists too few options: ${listed}")
endif()

set(problems "")
foreach(option IN LISTS listed)
  if(NOT option IN_LIST documented)
    string(APPEND problems "  ${option} is listed by --help but not in the manual page\n")
  endif()
endforeach()
foreach(option IN LISTS documented)
  if(NOT option IN_LIST listed)
    string(APPEND problems "  ${option} is in the manual page but not listed by --help\n")
  endif()
endforeach()
if(NOT problems STREQUAL "")
  message(FATAL_ERROR "korrin-report's manual page and --help disagree:\n${problems}")
endif()
message(STATUS "${count} options documented: ${listed}")
