# Fails when a source file includes a header of a layer above its own. The layers, from the bottom:
# imaging; model and compose; view and formatbar; options; shell. A layer may include its own
# headers and those of the layers below. The command line (batch) stands on the core only; main.cpp
# only starts the shell. Headers of model may name compose types only as CDatedPicture needs: the
# prepared border, watermark and text effects it keeps.
#
#   cmake -DSOURCE_DIR=<src> -P CheckLayers.cmake
cmake_policy(VERSION 3.25)
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

set(rank_imaging 0)
set(rank_model 1)
set(rank_compose 1)
set(rank_batch 1) # "Process All" of the shell runs the command line's loop
set(rank_view 2)
set(rank_formatbar 2)
set(rank_options 3)
set(rank_shell 4)
set(allowed_batch imaging model compose batch)
set(model_header_compose_allowed compose/PreparedBorder.h compose/PreparedWatermark.h compose/EffectCache.h)

set(faults "")
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
foreach(source ${sources})
  string(REGEX MATCH "^[^/]+" folder "${source}")
  if(folder STREQUAL source) # src/main.cpp
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^#include \"[a-z]+/")
  foreach(line ${includes})
    string(REGEX REPLACE "^#include \"([a-z]+)/([^\"]+)\".*" "\\1" layer "${line}")
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${line}")
    if(folder STREQUAL "batch")
      if(NOT layer IN_LIST allowed_batch)
        list(APPEND faults "${source} includes ${header}: the command line stands on the core only")
      endif()
      continue()
    endif()
    if(NOT DEFINED rank_${folder} OR NOT DEFINED rank_${layer})
      list(APPEND faults "${source} includes ${header}: a folder of no known layer")
      continue()
    endif()
    if(rank_${layer} GREATER rank_${folder})
      list(APPEND faults "${source} includes ${header}: ${layer} lies above ${folder}")
    elseif(folder STREQUAL "model" AND layer STREQUAL "compose" AND source MATCHES "\\.h$"
           AND NOT header IN_LIST model_header_compose_allowed)
      list(APPEND faults "${source} includes ${header}: a model header names compose types")
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Includes against the layers:\n  ${text}")
endif()
list(LENGTH sources count)
message(STATUS "${count} files include only their own layer and the layers below")
