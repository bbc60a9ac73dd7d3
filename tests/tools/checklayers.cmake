# The include lines the compiler cannot refuse. Each folder of engine/ and
# gui/ is compiled with its own folder and those of the layers below on its
# include path, so an include of a layer above is not found; two spellings
# still reach past that path:
#   - a Qt header spelt with its module's folder (<QtGui/QColor>,
#     <QtNetwork/QNetworkReply>, ...): the Qt include root is on the engine's
#     path too, as Qt Core's headers are found through it, yet the engine
#     includes no Qt module but Core;
#   - a path that climbs out of the including file's folder
#     ("../plots/customplotzoom.h"): it is looked up beside that file first.
# Fails naming every file and the include it should not have.
#
#   cmake -DSOURCE_DIR=<root holding engine/ and gui/> -P checklayers.cmake
cmake_minimum_required(VERSION 3.16)

if(NOT IS_DIRECTORY "${SOURCE_DIR}/engine" OR NOT IS_DIRECTORY "${SOURCE_DIR}/gui")
  message(FATAL_ERROR "checklayers: SOURCE_DIR \"${SOURCE_DIR}\" holds no engine/ and gui/ folders")
endif()

set(violations)

# Every include of the .h and .cpp files of `folder` that matches the regular
# expression `forbidden` but not `allowed` (when given), reported as `what`.
function(check folder what forbidden allowed)
  file(GLOB_RECURSE files "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  if(NOT files)
    # A folder without sources is a wrong SOURCE_DIR, not a clean layer.
    message(FATAL_ERROR "checklayers: no sources in ${folder}")
  endif()
  foreach(f IN LISTS files)
    file(STRINGS "${f}" lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS lines)
      if(line MATCHES "include[ \t]*[<\"]([^>\"]+)[>\"]")
        set(included "${CMAKE_MATCH_1}")
        if(included MATCHES "${forbidden}" AND NOT (allowed AND included MATCHES "${allowed}"))
          file(RELATIVE_PATH rel "${SOURCE_DIR}" "${f}")
          list(APPEND violations "${rel} includes ${included} (${what})")
        endif()
      endif()
    endforeach()
  endforeach()
  set(violations ${violations} PARENT_SCOPE)
endfunction()

check(engine "a Qt module other than Core" "^Qt[A-Z][A-Za-z0-9]*/" "^QtCore/")
check(engine "a path out of its folder" "(^|/)\\.\\./" "")
check(gui "a path out of its folder" "(^|/)\\.\\./" "")

if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "An include reaches past the layers:\n  ${text}")
endif()
message(STATUS "checklayers: the engine includes no Qt module but Core, and no source climbs out of its folder")
