# Builds the near field's data tables (data/field-limits.csv, data/grounds.csv)
# into the program, as station/Tables.cmake builds the station's: each file's
# text becomes a function returning it, read once at first use.  Editing a
# table reconfigures.
set(KORRIN_NEARFIELD_TABLES field-limits grounds)
set(KORRIN_NEARFIELD_TABLES_CPP ${CMAKE_BINARY_DIR}/generated/nearfield/TableText.cpp)

set(_korrin_nf_text "// Generated from data/*.csv by nearfield/Tables.cmake: do not edit.\n")
string(APPEND _korrin_nf_text "#include \"nearfield/TableText.h\"\n\nnamespace korrin::nearfield {\n\n")
foreach(table IN LISTS KORRIN_NEARFIELD_TABLES)
  set(csv ${CMAKE_SOURCE_DIR}/data/${table}.csv)
  set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${csv})
  file(READ ${csv} text)
  if(text MATCHES "\\)korrin\"")
    message(FATAL_ERROR "${csv} holds the text )korrin\" that ends the generated string")
  endif()
  string(MAKE_C_IDENTIFIER ${table} name)
  string(APPEND _korrin_nf_text
    "std::string_view TableText_${name}() {\n  return R\"korrin(${text})korrin\";\n}\n\n")
endforeach()
string(APPEND _korrin_nf_text "}  // namespace korrin::nearfield\n")
# Written only when it changes, so that a reconfigure does not rebuild it.
set(_korrin_nf_old "")
if(EXISTS ${KORRIN_NEARFIELD_TABLES_CPP})
  file(READ ${KORRIN_NEARFIELD_TABLES_CPP} _korrin_nf_old)
endif()
if(NOT _korrin_nf_old STREQUAL _korrin_nf_text)
  file(WRITE ${KORRIN_NEARFIELD_TABLES_CPP} "${_korrin_nf_text}")
endif()
