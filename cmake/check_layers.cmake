# Fails when a file under src/ includes a folder its layer may not reach: a layer includes
# itself and the layers below it that it names here, never one above or beside it.
#   cmake -DSOURCE_DIR=<repository> [-DSTAMP=<file>] -P cmake/check_layers.cmake
# The build runs it whenever a source changes (the varrow_layers target).
cmake_minimum_required(VERSION 3.20)

# The layers, lowest first, each with the folders it may include besides its own. The
# platform's backends (src/platform/gtk3, win32, ...) belong to the platform layer; "country"
# is tools/country, the cty.dat rules the DX data use.
set(layers
  "platform:"
  "logstore:platform"
  "hamlib:platform"
  "shell:logstore platform"
  "dxdata:shell logstore platform country"
  "antenna:dxdata shell logstore platform"
  "station:shell logstore platform"
  "reference:shell logstore platform"
  "interchange:shell logstore platform"
  "uploads:interchange shell logstore platform"
  "printing:dxdata station shell logstore platform"
  "logging:uploads printing reference station antenna dxdata hamlib shell logstore platform"
  "digital:logging uploads interchange printing reference station antenna dxdata hamlib shell logstore platform"
  "program:digital logging uploads interchange printing reference station antenna dxdata hamlib shell logstore platform")

foreach(layer IN LISTS layers)
  string(REPLACE ":" ";" parts "${layer}")
  list(GET parts 0 name)
  list(LENGTH parts count)
  set(allowed_${name} ${name})
  if(count GREATER 1)
    list(GET parts 1 below)
    string(REPLACE " " ";" below "${below}")
    list(APPEND allowed_${name} ${below})
  endif()
  list(APPEND known ${name})
endforeach()

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp)
set(problems "")
foreach(source IN LISTS sources)
  string(REGEX MATCH "^[^/]+" folder "${source}")
  if(NOT folder IN_LIST known)
    string(APPEND problems "  src/${source}: the folder ${folder} has no layer in cmake/check_layers.cmake\n")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/src/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"/]+)/.*" "\\1" target "${line}")
    if(NOT target IN_LIST allowed_${folder})
      string(STRIP "${line}" line)
      string(REPLACE ";" ", " allowed "${allowed_${folder}}")
      string(APPEND problems "  src/${source}: ${line} (${folder} may include only ${allowed})\n")
    endif()
  endforeach()
endforeach()

if(problems)
  message(FATAL_ERROR "Includes that reach outside their layer:\n${problems}")
endif()
if(STAMP)
  file(TOUCH ${STAMP})
endif()
