# The engine's sources and headers, one list for the library and the fuzz
# build. Globbed so that a new file of any helper is picked up; the folders
# listed all exist.
file(GLOB ORVANE_ENGINE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/core/*.cpp
  ${CMAKE_CURRENT_LIST_DIR}/spectroscopy/*.cpp
  ${CMAKE_CURRENT_LIST_DIR}/levels/*.cpp)
file(GLOB ORVANE_ENGINE_HEADERS CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/*.h
  ${CMAKE_CURRENT_LIST_DIR}/core/*.h
  ${CMAKE_CURRENT_LIST_DIR}/spectroscopy/*.h
  ${CMAKE_CURRENT_LIST_DIR}/levels/*.h)
set(ORVANE_ENGINE_INCLUDE_DIRS
  ${CMAKE_CURRENT_LIST_DIR}
  ${CMAKE_CURRENT_LIST_DIR}/core
  ${CMAKE_CURRENT_LIST_DIR}/spectroscopy
  ${CMAKE_CURRENT_LIST_DIR}/levels)

# The CIE 1931 colour-matching functions of the chromaticity calculation are
# generated from the table Debian ships (colord-data), into the binary folder
# of the target that includes this list; its folder joins the include path.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_file(ORVANE_CIE1931_CMF CIE1931-2deg-XYZ.cmf PATHS /usr/share/colord/cmf NO_DEFAULT_PATH)
if(NOT ORVANE_CIE1931_CMF)
  message(FATAL_ERROR "CIE1931-2deg-XYZ.cmf not found: install colord-data (scripts/install-deps.sh)")
endif()
set(ORVANE_ENGINE_GENERATED_DIR ${CMAKE_CURRENT_BINARY_DIR}/generated)
set(ORVANE_CIE1931_TABLE ${ORVANE_ENGINE_GENERATED_DIR}/orvanecie1931table.inc)
file(MAKE_DIRECTORY ${ORVANE_ENGINE_GENERATED_DIR})
add_custom_command(OUTPUT ${ORVANE_CIE1931_TABLE}
  COMMAND Python3::Interpreter -B ${CMAKE_CURRENT_LIST_DIR}/../scripts/data/make_cie_cmf_table.py
          ${ORVANE_CIE1931_CMF} ${ORVANE_CIE1931_TABLE}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/../scripts/data/make_cie_cmf_table.py
          ${CMAKE_CURRENT_LIST_DIR}/../scripts/data/make_cie_points.py ${ORVANE_CIE1931_CMF}
  COMMENT "Generating the CIE 1931 colour-matching table"
  VERBATIM)
list(APPEND ORVANE_ENGINE_HEADERS ${ORVANE_CIE1931_TABLE})
