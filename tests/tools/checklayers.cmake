# Keeps the layers of the sources apart: fails, naming every file and the
# header it should not include, when
#   - engine/core includes a header of engine/spectroscopy or engine/levels,
#   - engine/levels includes a header of engine/spectroscopy,
#   - any engine file includes a header of gui/, or a Qt header that is not
#     one of Qt Core's (<QtGui/QColor>, <QWidget>, <QImage>, <qpainter.h>,
#     <QtNetwork>, ... in every spelling),
#   - a file of gui/shell other than the main window's (orvanefrmmainwindow.*,
#     or orvanefrmmainwindow_<part>.* should it be split) includes a header of
#     gui/plots or gui/spectroscopic: the shell is the program's foundation
#     and the main window, which builds every page, its only top,
#   - gui/plots includes a header of gui/spectroscopic.
# Both the #include lines of the .h and .cpp files and the custom-widget
# headers of the designer forms (which uic turns into includes) count.
# The sources include by file name (every folder is on the include path), so a
# header belongs to the folder that holds a file of that name; a name found in
# the including file's own folder is its own.
#
#   cmake -DSOURCE_DIR=<root holding engine/ and gui/> -DQT_CORE_HEADER_DIR=<the installed QtCore folder>
#         -P checklayers.cmake
#
# The Qt Core headers are those of the installed QtCore folder; the folders
# beside it are the other Qt modules.
cmake_minimum_required(VERSION 3.16)

if(NOT IS_DIRECTORY "${SOURCE_DIR}/engine" OR NOT IS_DIRECTORY "${SOURCE_DIR}/gui")
  message(FATAL_ERROR "checklayers: SOURCE_DIR \"${SOURCE_DIR}\" holds no engine/ and gui/ folders")
endif()
if(NOT EXISTS "${QT_CORE_HEADER_DIR}/QString" OR NOT EXISTS "${QT_CORE_HEADER_DIR}/qobject.h")
  message(FATAL_ERROR "checklayers: QT_CORE_HEADER_DIR \"${QT_CORE_HEADER_DIR}\" is not the QtCore header folder")
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

# The sources of `folder` whose include lines are checked; a folder without
# any is a wrong SOURCE_DIR, not a clean layer.
function(sources_of folder out)
  file(GLOB_RECURSE files "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp"
    "${SOURCE_DIR}/${folder}/*.ui")
  if(NOT files)
    message(FATAL_ERROR "checklayers: no sources in ${folder}")
  endif()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# What the file includes, as written between the quotes or angle brackets.
function(includes_of file out)
  set(included)
  if(file MATCHES "\\.ui$")
    file(STRINGS "${file}" lines REGEX "<header")
    foreach(line IN LISTS lines)
      string(REGEX MATCHALL "<header[^>]*>[^<]+</header>" headers "${line}")
      foreach(header IN LISTS headers)
        string(REGEX REPLACE "^<header[^>]*>[ \t]*([^< \t]+)[ \t]*</header>$" "\\1" name "${header}")
        list(APPEND included "${name}")
      endforeach()
    endforeach()
  else()
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS lines)
      if(line MATCHES "include[ \t]*[<\"]([^>\"]+)[>\"]")
        list(APPEND included "${CMAKE_MATCH_1}")
      endif()
    endforeach()
  endif()
  set(${out} ${included} PARENT_SCOPE)
endfunction()

function(report file included what)
  file(RELATIVE_PATH rel "${SOURCE_DIR}" "${file}")
  list(APPEND violations "${rel} includes ${included} (${what})")
  set(violations ${violations} PARENT_SCOPE)
endfunction()

# Qt headers are spelt <QtModule/Name>, <QClass> or <qclass.h>. Qt Core's own
# are the names in its folder; a class-style name found there is not Qt Core
# (<QWidget>, <QNetworkReply>) whether or not its module is installed, and a
# lower-case name counts as Qt when some installed module holds it.
file(GLOB qtCoreHeaders RELATIVE "${QT_CORE_HEADER_DIR}" "${QT_CORE_HEADER_DIR}/*")
get_filename_component(qtRoot "${QT_CORE_HEADER_DIR}" DIRECTORY)
file(GLOB qtModuleHeaderPaths LIST_DIRECTORIES false "${qtRoot}/Qt*/q*.h")
set(qtLowerCaseHeaders)
foreach(path IN LISTS qtModuleHeaderPaths)
  get_filename_component(name "${path}" NAME)
  list(APPEND qtLowerCaseHeaders "${name}")
endforeach()

# Whether `included` is a Qt header outside Qt Core.
function(outside_qt_core included out)
  set(${out} FALSE PARENT_SCOPE)
  set(module)
  set(name "${included}")
  if(included MATCHES "^(Qt[A-Za-z0-9]*)/(.+)$")
    set(module "${CMAKE_MATCH_1}")
    set(name "${CMAKE_MATCH_2}")
  elseif(included MATCHES "/" OR NOT (included MATCHES "^Q[A-Za-z0-9_]+$" OR included IN_LIST qtLowerCaseHeaders))
    return() # not a Qt header
  endif()
  if((module AND NOT module STREQUAL "QtCore") OR NOT name IN_LIST qtCoreHeaders)
    set(${out} TRUE PARENT_SCOPE)
  endif()
endfunction()

set(violations)

# Every include of the files of `folder` that is forbidden, `what` naming the
# layer: a header whose name is one of `forbidden` (and not in the including
# file's own folder) or, when `forbidden` is QT_OUTSIDE_CORE, a Qt header
# outside Qt Core. Files whose name matches `exempt` are not looked at.
function(check folder what forbidden exempt)
  sources_of(${folder} files)
  foreach(f IN LISTS files)
    get_filename_component(fileName "${f}" NAME)
    if(exempt AND fileName MATCHES "${exempt}")
      continue()
    endif()
    get_filename_component(dir "${f}" DIRECTORY)
    includes_of("${f}" includedList)
    foreach(included IN LISTS includedList)
      if(forbidden STREQUAL "QT_OUTSIDE_CORE")
        outside_qt_core("${included}" bad)
      else()
        get_filename_component(name "${included}" NAME)
        set(bad FALSE)
        if(NOT EXISTS "${dir}/${name}" AND name IN_LIST forbidden)
          set(bad TRUE)
        endif()
      endif()
      if(bad)
        report("${f}" "${included}" "${what}")
      endif()
    endforeach()
  endforeach()
  set(violations ${violations} PARENT_SCOPE)
endfunction()

headers_of(engine/spectroscopy spectroscopy)
headers_of(engine/levels levels)
headers_of(gui gui)
headers_of(gui/plots guiPlots)
headers_of(gui/spectroscopic guiSpectroscopic)

check(engine/core "a header of engine/spectroscopy or engine/levels" "${spectroscopy};${levels}" "")
check(engine/levels "a header of engine/spectroscopy" "${spectroscopy}" "")
check(engine "a header of the graphical program" "${gui}" "")
check(engine "a Qt header outside Qt Core" QT_OUTSIDE_CORE "")
check(gui/shell "a header of gui/plots or gui/spectroscopic, which only the main window includes"
  "${guiPlots};${guiSpectroscopic}" "^orvanefrmmainwindow(_[A-Za-z0-9]+)?\\.")
check(gui/plots "a header of gui/spectroscopic" "${guiSpectroscopic}" "")

if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "A layer includes a layer above it:\n  ${text}")
endif()
message(STATUS "checklayers: the layers include only what is below them")
