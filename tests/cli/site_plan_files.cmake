# "--site-plan FILE" writes a station file's site plan: an SVG of vectors
# and text (no embedded picture) that names the places and installations,
# or a PNG of 1000 x 800 pixels; nothing for a station file with problems,
# and a usage error without a station file.
#
#   -DREPORT=<path>   the program
#   -DDIR=<dir>       a scratch directory (emptied first)
#   -DDATA=<dir>      tests/data/station
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/check_png.cmake)

file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}")

function(run expected)
  execute_process(COMMAND "${REPORT}" ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out
    ERROR_VARIABLE err)
  if(NOT status EQUAL expected)
    message(FATAL_ERROR "korrin-report ${ARGN}: exit status ${status}, expected ${expected}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

set(svg "${DIR}/f.svg")
# The worked station does not comply: exit status 3, the report printed.
run(3 "${DATA}/worked-f.station.toml" --site-plan "${svg}")
if(NOT out MATCHES "\nVerdict: Does not comply at \"Neighbour's garden\"")
  message(FATAL_ERROR "the verdict line is not printed: ${out}")
endif()
file(READ "${svg}" text)
foreach(want "<svg" "Neighbour's garden" "2m-yagi" "20m-beam" "<path")
  string(FIND "${text}" "${want}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${svg} lacks \"${want}\"")
  endif()
endforeach()
string(FIND "${text}" "<image" at)
if(NOT at EQUAL -1)
  message(FATAL_ERROR "${svg} embeds a raster picture")
endif()

set(png "${DIR}/example.png")
run(3 "${DATA}/../../../data/examples/example.station.toml" --site-plan "${png}")
check_png("${png}" 1000 800)

# A station file with problems: listed, nothing written.
run(1 "${DATA}/problems.station.toml" --site-plan "${DIR}/problems.svg")
if(EXISTS "${DIR}/problems.svg" OR NOT err MATCHES "power-w: expected a power in W, 0 or more")
  message(FATAL_ERROR "a station file with problems: ${err}")
endif()
# No station file, or the calculator's options with one: usage errors.
run(2 --site-plan "${DIR}/none.svg")
run(2 "${DATA}/worked-f.station.toml" --assess)
run(2 "${DATA}/worked-f.station.toml" --site-plan "${DIR}/f.pdf")
file(GLOB left "${DIR}/none.svg" "${DIR}/f.pdf")
if(left)
  message(FATAL_ERROR "files were written on a usage error: ${left}")
endif()
