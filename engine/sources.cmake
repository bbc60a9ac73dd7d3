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
