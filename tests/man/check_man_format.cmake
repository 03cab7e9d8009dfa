# Formats a manual page with every warning turned on and fails on any
# warning or error.  -DGROFF=... -DPAGE=...
execute_process(
  COMMAND ${GROFF} -ww -man -Tutf8 -z ${PAGE}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT err STREQUAL "")
  message(FATAL_ERROR "${PAGE} does not format cleanly (status ${status}):\n${err}")
endif()
