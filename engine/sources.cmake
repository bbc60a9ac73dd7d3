# The engine as one library per build, made of one object library per folder.
# Each folder is compiled with its own folder and those of the layers below on
# its include path, so an include of a layer above does not compile: core is
# below levels and spectroscopy, which do not see each other. Globbed per
# folder so that a new file of any helper is picked up.
set(ORVANE_ENGINE_DIR ${CMAKE_CURRENT_LIST_DIR})
set(ORVANE_ENGINE_INCLUDE_DIRS
  ${ORVANE_ENGINE_DIR}/core
  ${ORVANE_ENGINE_DIR}/levels
  ${ORVANE_ENGINE_DIR}/spectroscopy)

# The CIE 1931 colour-matching functions of the chromaticity calculation are
# generated from the table Debian ships (colord-data), into the binary folder
# of the target that includes this list; only the spectroscopy folder sees it.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_file(ORVANE_CIE1931_CMF CIE1931-2deg-XYZ.cmf PATHS /usr/share/colord/cmf NO_DEFAULT_PATH)
if(NOT ORVANE_CIE1931_CMF)
  message(FATAL_ERROR "CIE1931-2deg-XYZ.cmf not found: install colord-data (scripts/install-deps.sh)")
endif()
set(ORVANE_ENGINE_GENERATED_DIR ${CMAKE_CURRENT_BINARY_DIR}/generated)
set(ORVANE_CIE1931_TABLE ${ORVANE_ENGINE_GENERATED_DIR}/orvanecie1931table.inc)
file(MAKE_DIRECTORY ${ORVANE_ENGINE_GENERATED_DIR})
add_custom_command(OUTPUT ${ORVANE_CIE1931_TABLE}
  COMMAND Python3::Interpreter -B ${ORVANE_ENGINE_DIR}/../scripts/data/make_cie_cmf_table.py
          ${ORVANE_CIE1931_CMF} ${ORVANE_CIE1931_TABLE}
  DEPENDS ${ORVANE_ENGINE_DIR}/../scripts/data/make_cie_cmf_table.py
          ${ORVANE_ENGINE_DIR}/../scripts/data/make_cie_points.py ${ORVANE_CIE1931_CMF}
  COMMENT "Generating the CIE 1931 colour-matching table"
  VERBATIM)

# The object library <target> of engine/<folder>, on top of the object
# libraries `below`, compiled with the compile options that follow.
function(orvane_add_engine_layer target folder below)
  file(GLOB sources CONFIGURE_DEPENDS
    ${ORVANE_ENGINE_DIR}/${folder}/*.cpp ${ORVANE_ENGINE_DIR}/${folder}/*.h)
  add_library(${target} OBJECT ${sources})
  target_include_directories(${target} PUBLIC ${ORVANE_ENGINE_DIR}/${folder})
  target_compile_definitions(${target} PRIVATE ORVANEENGINE_LIBRARY)
  target_compile_options(${target} PRIVATE ${ARGN})
  target_link_libraries(${target} PUBLIC ${below} Qt5::Core Eigen3::Eigen)
  set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
endfunction()

# orvane_add_engine(<name> SHARED|STATIC <compile option>...): the library
# <name> of the objects of <name>Core, <name>Levels and <name>Spectroscopy;
# its users see every folder.
function(orvane_add_engine name type)
  orvane_add_engine_layer(${name}Core core "" ${ARGN})
  orvane_add_engine_layer(${name}Levels levels ${name}Core ${ARGN})
  orvane_add_engine_layer(${name}Spectroscopy spectroscopy ${name}Core ${ARGN})
  target_sources(${name}Spectroscopy PRIVATE ${ORVANE_CIE1931_TABLE})
  target_include_directories(${name}Spectroscopy PRIVATE ${ORVANE_ENGINE_GENERATED_DIR})

  add_library(${name} ${type})
  set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
  target_link_libraries(${name} PRIVATE ${name}Core ${name}Levels ${name}Spectroscopy)
  target_link_libraries(${name} PUBLIC Qt5::Core Eigen3::Eigen)
  target_include_directories(${name} PUBLIC ${ORVANE_ENGINE_INCLUDE_DIRS})
endfunction()
