# --station-file writes the calculator's station as a station file of one
# installation, which korrin-report then reads back and evaluates: the
# start-up station, the HF dipole, a yagi array and a hand-set limit (which
# a station file cannot hold: a note on stderr says so).  A file that
# cannot be written is an error; a refused STATION.rsd writes nothing.
#
#   -DREPORT=<path>      the program
#   -DDIR=<dir>          a scratch directory (emptied first)
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}")
set(failures "")

# written(NAME ARGS BAND KIND NOTE_REGEX TEXT_REGEX): writes NAME.station.toml
# from the calculator after ARGS ("|" between them), checks the band and the
# antenna's kind in the file and stderr against NOTE_REGEX (empty: nothing on
# stderr), then evaluates the file and matches its text report.
function(written name args band kind note text)
  set(out_file "${DIR}/${name}.station.toml")
  string(REPLACE "|" ";" args "${args}")
  execute_process(COMMAND "${REPORT}" ${args} --station-file "${out_file}"
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0 OR NOT out MATCHES "Tx output power")
    string(APPEND failures "  ${name}: writing gave exit status ${status}\n${err}\n")
  endif()
  if(note STREQUAL "" AND NOT err STREQUAL "")
    string(APPEND failures "  ${name}: stderr is not empty:\n${err}\n")
  elseif(NOT note STREQUAL "" AND NOT err MATCHES "${note}")
    string(APPEND failures "  ${name}: stderr does not match \"${note}\":\n${err}\n")
  endif()
  if(NOT EXISTS "${out_file}")
    string(APPEND failures "  ${name}: no file written\n")
    set(failures "${failures}" PARENT_SCOPE)
    return()
  endif()
  file(READ "${out_file}" toml)
  if(NOT toml MATCHES "\nformat = \"korrin-station/1\"\n.*\nkind = \"${kind}\"\n.*\nband = \"${band}\"\n")
    string(APPEND failures "  ${name}: the file does not name the ${kind} on band ${band}:\n${toml}\n")
  endif()
  # Read back: no place is given, so the station is not shown to comply.
  execute_process(COMMAND "${REPORT}" "${out_file}"
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 3 OR NOT out MATCHES "${text}" OR NOT out MATCHES "gives no place")
    string(APPEND failures "  ${name}: read back, exit status ${status}, the report does not match \"${text}\":\n${out}\n${err}\n")
  endif()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# 1500 W CW on the 9.5 m dish at 70 cm, feed loss 1 dB, 2.5 minutes on and off.
written(startup "" "70cm" "dish" ""
  "Installation \"70cm\"[^\n]*\n[^\n]*\"transmitter\", 1500.00 W peak envelope power, duty 40 % \\(Conversational CW\\), 2.5 min on / 2.5 min off\n.*FCC general population, 30-minute average +time-averaged +450.0 MHz +upper band edge[^\n]+ aperture equations")
# 100 W CW, 2.5 minutes on and off: 20 W over 30 minutes, EIRP 20 W x 1.64
# = 32.81 W without ground reflection, against 180/14.35^2 mW/cm^2 at the
# band's upper edge: R = sqrt(32.81 / (4 pi 8.741)) = 0.547 m.
written(hf_dipole "--band|14.2|--antenna|dipole|--power|100|--callsign|VK9ZZD" "20m" "dipole" ""
  "Call sign +VK9ZZD\n.*FCC general population, 30-minute average +time-averaged +14.35 MHz +upper band edge +8.741 W/m² +20.00 W average +32.81 W +20.01 W +0.547 m +far field\n")
written(yagi_array "--band|144|--antenna|yagi|--yagis|4" "2m" "yagi" ""
  "Installation \"2m\".*FCC general population, 30-minute average +time-averaged +144.0 MHz +lower band edge")
written(hand_set "--do|Panel79Click" "70cm" "dish"
  "korrin-report: note: the hand-set limit of 2.880 W/m² is not part of a station file: \"[^\"]*hand_set.station.toml\" is evaluated against FCC 47 CFR 1.1310 \\(2021\\) and ICNIRP 2020"
  "Limit sets +FCC 47 CFR 1.1310 \\(2021\\), both tiers; ICNIRP 2020")

# A station file that cannot be written: the report stands, exit status 1.
execute_process(COMMAND "${REPORT}" --station-file "${DIR}/no-such-folder/s.station.toml"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 1 OR NOT err MATCHES "cannot write the station file [^\n]*no-such-folder/s\\.station\\.toml \\(")
  string(APPEND failures "  unwritable: exit status ${status}\n${err}\n")
endif()

# A STATION.rsd that does not load: nothing written.
string(REPEAT "x" 304 bad)
file(WRITE "${DIR}/bad.rsd" "${bad}")
execute_process(COMMAND "${REPORT}" "${DIR}/bad.rsd" --station-file "${DIR}/from-bad.station.toml"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 1 OR NOT out STREQUAL "" OR EXISTS "${DIR}/from-bad.station.toml")
  string(APPEND failures "  a refused .rsd: exit status ${status}, written or printed\n${out}\n${err}\n")
endif()

if(NOT failures STREQUAL "")
  message(FATAL_ERROR "the calculator's station as a station file:\n${failures}")
endif()
