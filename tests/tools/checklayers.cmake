# Keeps the layers of the sources apart: fails, naming every file and the
# header it should not include, when
#   - engine/core includes a header of engine/spectroscopy or engine/levels,
#   - engine/levels includes a header of engine/spectroscopy,
#   - any engine file includes a header of gui/ or of Qt Gui or Qt Widgets,
#   - gui/plots includes a header of gui/spectroscopic.
# The sources include by file name (every folder is on the include path), so a
# header belongs to the folder that holds a file of that name; a name found in
# the including file's own folder is its own.
#
#   cmake -DSOURCE_DIR=<project> -DQT_HEADER_DIRS=<QtGui dir;QtWidgets dir> -P checklayers.cmake
cmake_minimum_required(VERSION 3.16)

if(NOT IS_DIRECTORY "${SOURCE_DIR}/engine" OR NOT IS_DIRECTORY "${SOURCE_DIR}/gui")
  message(FATAL_ERROR "checklayers: SOURCE_DIR \"${SOURCE_DIR}\" holds no engine/ and gui/ folders")
endif()

# The header names a folder provides: its headers and, for designer forms,
# the ui_<form>.h that uic makes of them.
function(headers_of folder out)
  file(GLOB_RECURSE files "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.ui")
  set(names)
  foreach(f IN LISTS files)
    get_filename_component(name "${f}" NAME)
    if(name MATCHES "\\.ui$")
      get_filename_component(stem "${f}" NAME_WE)
      set(name "ui_${stem}.h")
    endif()
    list(APPEND names "${name}")
  endforeach()
  set(${out} ${names} PARENT_SCOPE)
endfunction()

set(violations)

# Every include of the files of `folder` whose name is one of `forbidden`
# (names) or starts with one of `forbiddenPrefixes`, `what` naming the layer.
function(check folder what forbidden forbiddenPrefixes)
  file(GLOB_RECURSE files "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  if(NOT files)
    message(FATAL_ERROR "checklayers: no sources in ${folder}")
  endif()
  foreach(f IN LISTS files)
    get_filename_component(dir "${f}" DIRECTORY)
    file(STRINGS "${f}" lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS lines)
      if(NOT line MATCHES "include[ \t]*[<\"]([^>\"]+)[>\"]")
        continue()
      endif()
      set(included "${CMAKE_MATCH_1}")
      get_filename_component(name "${included}" NAME)
      set(bad FALSE)
      if(NOT EXISTS "${dir}/${name}" AND name IN_LIST forbidden)
        set(bad TRUE)
      endif()
      foreach(prefix IN LISTS forbiddenPrefixes)
        string(FIND "${included}" "${prefix}" at)
        if(at EQUAL 0)
          set(bad TRUE)
        endif()
      endforeach()
      if(bad)
        file(RELATIVE_PATH rel "${SOURCE_DIR}" "${f}")
        list(APPEND violations "${rel} includes ${included} (${what})")
      endif()
    endforeach()
  endforeach()
  set(violations ${violations} PARENT_SCOPE)
endfunction()

headers_of(engine/spectroscopy spectroscopy)
headers_of(engine/levels levels)
headers_of(gui gui)
headers_of(gui/spectroscopic guiSpectroscopic)

set(qtGui)
foreach(qtDir IN LISTS QT_HEADER_DIRS)
  if(NOT IS_DIRECTORY "${qtDir}")
    message(FATAL_ERROR "checklayers: no Qt header folder \"${qtDir}\"")
  endif()
  file(GLOB qtHeaders RELATIVE "${qtDir}" "${qtDir}/*")
  list(APPEND qtGui ${qtHeaders})
endforeach()
if(NOT qtGui)
  message(FATAL_ERROR "checklayers: QT_HEADER_DIRS names no Qt Gui or Qt Widgets headers")
endif()

check(engine/core "a header of engine/spectroscopy or engine/levels" "${spectroscopy};${levels}" "")
check(engine/levels "a header of engine/spectroscopy" "${spectroscopy}" "")
check(engine "a header of the graphical program" "${gui};${qtGui}" "QtGui/;QtWidgets/")
check(gui/plots "a header of gui/spectroscopic" "${guiSpectroscopic}" "")

if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "A layer includes a layer above it:\n  ${text}")
endif()
message(STATUS "checklayers: the layers include only what is below them")
