# Builds the station's data tables (data/*.csv) into the program: each file's
# text becomes a string in a generated source, read once at first use, so the
# program never looks for data/ at run time.  Editing a table reconfigures.
set(KORRIN_STATION_TABLES bands modes cables antenna-kinds limit-sets countries threshold-tests country-bands)
set(KORRIN_STATION_TABLES_CPP ${CMAKE_BINARY_DIR}/generated/station/TablesText.cpp)

set(_korrin_tables_text "// Generated from data/*.csv by station/Tables.cmake: do not edit.\n")
string(APPEND _korrin_tables_text "#include \"station/TablesText.h\"\n\nnamespace korrin::station {\n\n")
foreach(table IN LISTS KORRIN_STATION_TABLES)
  set(csv ${CMAKE_SOURCE_DIR}/data/${table}.csv)
  set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${csv})
  file(READ ${csv} text)
  if(text MATCHES "\\)korrin\"")
    message(FATAL_ERROR "${csv} holds the text )korrin\" that ends the generated string")
  endif()
  string(MAKE_C_IDENTIFIER ${table} name)
  string(APPEND _korrin_tables_text
    "std::string_view TableText_${name}() {\n  return R\"korrin(${text})korrin\";\n}\n\n")
endforeach()
string(APPEND _korrin_tables_text "}  // namespace korrin::station\n")
# Written only when it changes, so that a reconfigure does not rebuild it.
set(_korrin_tables_old "")
if(EXISTS ${KORRIN_STATION_TABLES_CPP})
  file(READ ${KORRIN_STATION_TABLES_CPP} _korrin_tables_old)
endif()
if(NOT _korrin_tables_old STREQUAL _korrin_tables_text)
  file(WRITE ${KORRIN_STATION_TABLES_CPP} "${_korrin_tables_text}")
endif()
