# The rooms' dependencies point one way: each folder includes only its own headers and those of
# the folders it may use, and only app/qt includes Qt. Run as `cmake -DROOT=<source> -P` by the
# CTest test include_graph; a wrong-way include fails it, naming the file and the line.

cmake_minimum_required(VERSION 3.25)

# Each room, and the rooms below it that it may include ("app" is the generated app/Version.h).
set(rooms platform engine framework app/hashing app/checks app/window app/integration app/qt cli)
set(uses_platform)
set(uses_engine platform)
set(uses_framework platform)
set(uses_app/hashing platform engine framework)
set(uses_app/checks platform engine framework app/hashing)
set(uses_app/window platform engine framework app/hashing app/checks app)
set(uses_app/integration platform app)
set(uses_app/qt platform engine framework app/hashing app/checks app/window app/integration app)
set(uses_cli platform engine framework app/hashing app/checks app)

# The room a quoted include names: "app/checks/X.h" is app/checks, "app/Version.h" is app.
function(room_of include result)
  if(include MATCHES "^(app/[A-Za-z0-9_]+)/")
    set(${result} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  elseif(include MATCHES "^([A-Za-z0-9_]+)/")
    set(${result} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  else()
    set(${result} "" PARENT_SCOPE)
  endif()
endfunction()

set(wrong "")
foreach(room IN LISTS rooms)
  file(GLOB_RECURSE sources "${ROOT}/${room}/*.cpp" "${ROOT}/${room}/*.h")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" includes REGEX "^#include [\"<]")
    foreach(line IN LISTS includes)
      file(RELATIVE_PATH shown "${ROOT}" "${source}")
      if(line MATCHES "^#include <Q" AND NOT room STREQUAL "app/qt")
        string(APPEND wrong "${shown}: ${line} (Qt outside app/qt)\n")
      endif()
      if(NOT line MATCHES "^#include \"([^\"]+)\"")
        continue()
      endif()
      room_of("${CMAKE_MATCH_1}" named)
      if(named STREQUAL "" OR named STREQUAL room OR named IN_LIST uses_${room})
        continue()
      endif()
      string(APPEND wrong "${shown}: ${line} (${room} may not use ${named})\n")
    endforeach()
  endforeach()
endforeach()

if(NOT wrong STREQUAL "")
  message(FATAL_ERROR "Includes against the direction of the rooms:\n${wrong}")
endif()
