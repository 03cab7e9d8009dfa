# "--png FILE" writes a PNG of the window's client area, 790 x 541 pixels,
# and "--pdf FILE" the printed page as PDF.
#
#   -DREPORT=<path>   the program
#   -DDIR=<dir>       a scratch directory (emptied first)
cmake_minimum_required(VERSION 3.25)

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
if(NOT EXISTS "${png}")
  message(FATAL_ERROR "no file ${png}")
endif()

# Signature, then the IHDR chunk: width and height as 32-bit big-endian.
file(READ "${png}" signature LIMIT 8 HEX)
file(READ "${png}" size OFFSET 16 LIMIT 8 HEX)
if(NOT signature STREQUAL "89504e470d0a1a0a")
  message(FATAL_ERROR "not a PNG file: ${signature}")
endif()
string(SUBSTRING "${size}" 0 8 width)
string(SUBSTRING "${size}" 8 8 height)
math(EXPR width "0x${width}")
math(EXPR height "0x${height}")
if(NOT width EQUAL 790 OR NOT height EQUAL 541)
  message(FATAL_ERROR "the picture is ${width} x ${height}, expected 790 x 541")
endif()

file(READ "${pdf}" header LIMIT 5 HEX)
if(NOT header STREQUAL "255044462d")
  message(FATAL_ERROR "${pdf} is not a PDF file")
endif()
