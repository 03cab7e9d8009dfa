# check_png(FILE WIDTH HEIGHT): fails unless FILE is a PNG file of WIDTH x
# HEIGHT pixels, read from its signature and its IHDR chunk (width and
# height as 32-bit big-endian numbers).
function(check_png file expected_width expected_height)
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "no file ${file}")
  endif()
  file(READ "${file}" signature LIMIT 8 HEX)
  if(NOT signature STREQUAL "89504e470d0a1a0a")
    message(FATAL_ERROR "${file} is not a PNG file: ${signature}")
  endif()
  file(READ "${file}" size OFFSET 16 LIMIT 8 HEX)
  string(SUBSTRING "${size}" 0 8 width)
  string(SUBSTRING "${size}" 8 8 height)
  math(EXPR width "0x${width}")
  math(EXPR height "0x${height}")
  if(NOT width EQUAL expected_width OR NOT height EQUAL expected_height)
    message(FATAL_ERROR
      "${file} is ${width} x ${height}, expected ${expected_width} x ${expected_height}")
  endif()
endfunction()
