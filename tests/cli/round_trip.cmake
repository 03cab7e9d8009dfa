# A station saved through "Save_DataClick=PATH" and read back through
# "Get_FileClick=PATH" and as the STATION.rsd argument gives back its inputs;
# a cancelled save dialog writes nothing.
#
#   -DREPORT=<path>   the program
#   -DDIR=<dir>       a scratch directory (emptied first)
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}")
set(station "${DIR}/hf station.rsd")
set(failures "")

function(run name)
  execute_process(COMMAND "${REPORT}" --json ${ARGN}
    WORKING_DIRECTORY "${DIR}"
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${name}: exit status ${status}\n${err}")
  endif()
  set(${name} "${out}" PARENT_SCOPE)
endfunction()

# The line of one state field or the object of one control, as written.
function(member json key result)
  string(REGEX MATCH "\n    \"${key}\": [^\n]*" line "${json}")
  set(${result} "${line}" PARENT_SCOPE)
endfunction()

# An HF station with a changed feed loss, power, mode and averaging.
run(saved
  --do HF_SelectClick
  --do SpinButton3UpClick --do SpinButton3UpClick --do SpinButton3UpClick
  --do RadioGroup8=2 --do RadioGroup4=3 --do RadioGroup6=4 --do RadioGroup2=0
  --do RadioGroup3=1 --do Button2Click
  "--do=Save_DataClick=${station}")
if(NOT EXISTS "${station}")
  message(FATAL_ERROR "Save_DataClick=${station} wrote no file")
endif()
file(SIZE "${station}" size)
if(NOT size EQUAL 304)
  string(APPEND failures "  the station file has ${size} bytes, expected 304\n")
endif()

run(loaded "--do=Get_FileClick=${station}")
run(argument "${station}")

# The window shows the same texts and the station holds the same inputs.
foreach(key
    Panel16 Panel17 Panel20 Panel10 Panel23 Panel30 Panel50 Panel14 Panel64 StaticText1
    RadioGroup1 RadioGroup2 RadioGroup3 RadioGroup4 RadioGroup6 RadioGroup8 Button2
    Panel8 SystemPerformance
    FrequencyMHz FeedLossDb HfBandIndex HfBandsShown ShfBandsShown MetricUnits ModeIndex
    AveragingIndex PowerThousands PowerTens TxPowerW FormFactor LowGainSelected
    DishSelected ExclusionDistanceM)
  member("${saved}" ${key} want)
  member("${loaded}" ${key} got)
  if(want STREQUAL "")
    string(APPEND failures "  ${key} is missing from the report\n")
  elseif(NOT got STREQUAL want)
    string(APPEND failures "  after Get_FileClick:${got}\n    saved:${want}\n")
  endif()
endforeach()
if(NOT argument STREQUAL loaded)
  string(APPEND failures "  loading the STATION.rsd argument differs from Get_FileClick=PATH\n")
endif()

# A cancelled save dialog writes nothing.
file(REMOVE "${station}")
run(cancelled --do BitBtn3Click --do Save_DataClick=)
file(GLOB written "${DIR}/*")
if(written)
  string(APPEND failures "  a cancelled save wrote ${written}\n")
endif()

if(NOT failures STREQUAL "")
  message(FATAL_ERROR "station file round trip:\n${failures}")
endif()
