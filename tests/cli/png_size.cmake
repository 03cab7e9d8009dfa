# "--png FILE" writes a PNG of the window's client area, 790 x 541 pixels,
# and "--pdf FILE" the printed page as PDF.
#
#   -DREPORT=<path>   the program
#   -DDIR=<dir>       a scratch directory (emptied first)
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/check_png.cmake)

file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}")
set(png "${DIR}/window.png")
set(pdf "${DIR}/page.pdf")
execute_process(COMMAND "${REPORT}" --do HF_SelectClick --png "${png}" --pdf "${pdf}"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "exit status ${status}\n${err}")
endif()
if(NOT out MATCHES "Tower")
  message(FATAL_ERROR "the report was not printed with the picture:\n${out}")
endif()
check_png("${png}" 790 541)

file(READ "${pdf}" header LIMIT 5 HEX)
if(NOT header STREQUAL "255044462d")
  message(FATAL_ERROR "${pdf} is not a PDF file")
endif()
