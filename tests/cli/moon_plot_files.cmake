# "--moon-plot FILE" writes the moon's plot: a PNG of 1000 x 720 pixels, or
# an SVG whose text names both places and the shaded windows.
#
#   -DREPORT=<path>   the program
#   -DDIR=<dir>       a scratch directory (emptied first)
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/check_png.cmake)

file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}")

set(common --band 1296 --locator FN20xa --dx JO65fr --from 2026-12-07T00:00Z --hours 48)
foreach(ext png svg)
  execute_process(COMMAND "${REPORT}" ${common} --moon-plot "${DIR}/moon.${ext}"
    RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "korrin-report --moon-plot moon.${ext}: exit status ${status}\n${err}")
  endif()
endforeach()

check_png("${DIR}/moon.png" 1000 720)

file(READ "${DIR}/moon.svg" svg)
# A tick's date stands under its time.
foreach(text "Elevation at FN20xa" "Elevation at JO65fr" "Mutual window" "Path loss (dB)"
             ">12:00<" ">Dec 08<")
  string(FIND "${svg}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "moon.svg does not show \"${text}\"")
  endif()
endforeach()
string(FIND "${svg}" "<image" image)
if(NOT image EQUAL -1)
  message(FATAL_ERROR "moon.svg holds a raster image")
endif()
