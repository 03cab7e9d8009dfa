# "--near-field" prints each wire installation's field keep-out distances;
# "--near-field-map INSTALLATION FILE" writes its maps as a PNG of 1400 x 860
# pixels or an SVG; nothing for an installation without a wire antenna or
# one the file lacks, and a usage error without a station file.  Without
# nec2c the near field says so and the rest is reported.
#
#   -DREPORT=<path>   the program
#   -DDIR=<dir>       a scratch directory (emptied first)
#   -DDATA=<dir>      tests/data/station
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/check_png.cmake)

file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}/no-engine")

function(run expected)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL expected)
    message(FATAL_ERROR "${ARGN}: exit status ${status}, expected ${expected}\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

set(station "${DATA}/near-field.station.toml")
set(png "${DIR}/vee.png")
# The station does not comply at its path: exit status 3, the report printed.
run(3 "${REPORT}" "${station}" --near-field-map 40m "${png}")
foreach(want "\nVerdict: Does not comply at \"Path\""
             "Near field of \"40m\" \\(antenna \"vee\", 7.100 MHz\\): nec2c [0-9.]+, [0-9]+ segments"
             "general population / uncontrolled: at head height [0-9]+\\.[0-9][0-9] m")
  if(NOT out MATCHES "${want}")
    message(FATAL_ERROR "the report lacks \"${want}\":\n${out}")
  endif()
endforeach()
check_png("${png}" 1400 860)

set(svg "${DIR}/vee.svg")
run(3 "${REPORT}" "${station}" --near-field-map 40m "${svg}")
file(READ "${svg}" text)
foreach(want "<svg" "Near field of installation" "Plan at 2.0 m above the ground"
             "Vertical plane along the feed wire" "1: the limit")
  string(FIND "${text}" "${want}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${svg} lacks \"${want}\"")
  endif()
endforeach()

# An installation the file lacks, or one without a wire antenna: nothing.
run(2 "${REPORT}" "${station}" --near-field-map 80m "${DIR}/none.png")
if(NOT err MATCHES "has no installation \"80m\"")
  message(FATAL_ERROR "an unknown installation: ${err}")
endif()
run(2 "${REPORT}" "${station}" --near-field-map 20m "${DIR}/beam.png")
if(NOT err MATCHES "installation \"20m\" has no wire antenna for the near field \\(its antenna \"beam\" is of kind \"yagi\"\\)")
  message(FATAL_ERROR "an installation without a wire antenna: ${err}")
endif()
run(2 "${REPORT}" "${station}" --near-field-map 40m "${DIR}/vee.pdf")
run(2 "${REPORT}" --near-field)
file(GLOB left "${DIR}/none.png" "${DIR}/beam.png" "${DIR}/vee.pdf")
if(left)
  message(FATAL_ERROR "files were written on a usage error: ${left}")
endif()

# Without nec2c: the near field says why, the verdict (by the far-field estimate) is
# still printed, no map.
run(1 ${CMAKE_COMMAND} -E env "PATH=${DIR}/no-engine" "${REPORT}" "${station}"
    --near-field-map 40m "${DIR}/lost.png")
if(NOT err MATCHES "nec2c" OR NOT out MATCHES "\nVerdict: (Complies|Does not comply)"
   OR EXISTS "${DIR}/lost.png")
  message(FATAL_ERROR "without nec2c:\n${out}\n${err}")
endif()

# The map's limit set and tier: --near-field-set and --near-field-tier name
# them in its title; a set the file does not evaluate, an unknown word, or
# either without a map is a usage error before anything is computed.
set(occupational "${DIR}/vee-occupational.svg")
run(3 "${REPORT}" "${station}" --near-field-map 40m "${occupational}"
    --near-field-set icnirp-2020 --near-field-tier occupational)
file(READ "${occupational}" text)
if(NOT text MATCHES "ICNIRP 2020[^<]*occupational, 1500 W averaged")
  message(FATAL_ERROR "${occupational} is not the ICNIRP 2020 occupational map")
endif()
file(READ "${svg}" text)
if(NOT text MATCHES "FCC 47 CFR 1.1310 \\(2021\\), general population")
  message(FATAL_ERROR "${svg} is not the first set's general map")
endif()
file(READ "${station}" body)
file(WRITE "${DIR}/fcc-only.station.toml" "limit-sets = [\"fcc\"]\n${body}")
run(2 "${REPORT}" "${DIR}/fcc-only.station.toml" --near-field-map 40m "${DIR}/icnirp.svg"
    --near-field-set icnirp-2020)
if(NOT err MATCHES "limit-sets do not include icnirp-2020" OR EXISTS "${DIR}/icnirp.svg")
  message(FATAL_ERROR "a set the file does not evaluate:\n${err}")
endif()
run(2 "${REPORT}" "${station}" --near-field-map 40m "${DIR}/x.svg" --near-field-tier everyone)
if(NOT err MATCHES "unknown tier \"everyone\"")
  message(FATAL_ERROR "an unknown tier:\n${err}")
endif()
run(2 "${REPORT}" "${station}" --near-field-set fcc)
if(NOT err MATCHES "--near-field-set chooses the limits of the near-field map")
  message(FATAL_ERROR "--near-field-set without a map:\n${err}")
endif()
