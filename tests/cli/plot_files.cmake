# "--plot FILE" writes the assessment's plot: a PNG of 1000 x 720 pixels,
# or an SVG (vectors and text, no embedded picture) whose text names the
# selected standard.
#
#   -DREPORT=<path>   the program
#   -DDIR=<dir>       a scratch directory (emptied first)
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/check_png.cmake)

file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}")

function(run)
  execute_process(COMMAND "${REPORT}" ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out
    ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "korrin-report ${ARGN}: exit status ${status}\n${err}")
  endif()
endfunction()

set(png "${DIR}/dish-1296.png")
run(--do RadioGroup1=5 --do RadioGroup5=3 --plot "${png}")
check_png("${png}" 1000 720)

# SVG, once with each of two standards selected: the legend marks the
# selected one, and the title line names it with its edition.
# The window's FCC is the calculator's, beside today's FCC general population.
foreach(case "fcc;FCC \\(calculator\\);FCC 47 CFR 1.1310 \\(2021\\), general population;"
             "as2772;AS2772;AS2772 \\(withdrawn\\);Panel75Click")
  list(GET case 0 name)
  list(GET case 1 legend)
  list(GET case 2 title)
  list(GET case 3 action)
  set(svg "${DIR}/plot-${name}.SVG")
  if(action)
    run(--do ${action} --plot "${svg}")
  else()
    run(--plot "${svg}")
  endif()
  file(READ "${svg}" text)
  if(NOT text MATCHES "^(<\\?xml[^>]*>[ \r\n]*)?<svg")
    message(FATAL_ERROR "${svg} is not an SVG file")
  endif()
  if(text MATCHES "<image")
    message(FATAL_ERROR "${svg} holds a raster picture, not vectors")
  endif()
  if(NOT text MATCHES ">${legend} \\(selected\\)[ =][^<]*W/m²<")
    message(FATAL_ERROR "${svg} does not mark ${legend} as the selected standard")
  endif()
  if(NOT text MATCHES "${title}")
    message(FATAL_ERROR "${svg} does not name ${title} in its title")
  endif()
  string(REGEX MATCHALL "\\(selected\\)" marks "${text}")
  list(LENGTH marks count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "${svg} marks ${count} standards as selected")
  endif()
endforeach()

# Refused before anything is drawn: a file of another kind.
execute_process(COMMAND "${REPORT}" --plot "${DIR}/plot.pdf" RESULT_VARIABLE status
  OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 2 OR EXISTS "${DIR}/plot.pdf")
  message(FATAL_ERROR "--plot plot.pdf: exit status ${status}, expected 2 and no file")
endif()
