# Fails when a C++ file of the tree differs from what clang-format 14 (as Debian 12 ships it) makes of
# it with the project's .clang-format. Names every such file; `clang-format-14 -i FILE` mends it.
#   cmake -DSOURCE_DIR=<project> -P CheckFormat.cmake
find_program(CLANG_FORMAT NAMES clang-format-14 REQUIRED)
set(files)
foreach(folder src tests tools bench fuzz)
  file(GLOB_RECURSE found "${SOURCE_DIR}/${folder}/*.cpp" "${SOURCE_DIR}/${folder}/*.h")
  list(APPEND files ${found})
endforeach()
set(differing)
foreach(f ${files})
  execute_process(COMMAND ${CLANG_FORMAT} --style=file --dry-run --Werror "${f}"
                  WORKING_DIRECTORY "${SOURCE_DIR}" RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
  if(NOT rc EQUAL 0)
    file(RELATIVE_PATH name "${SOURCE_DIR}" "${f}")
    list(APPEND differing "${name}")
  endif()
endforeach()
list(LENGTH files count)
if(differing)
  list(JOIN differing "\n  " names)
  message(FATAL_ERROR "not formatted as .clang-format says (clang-format-14 -i FILE):\n  ${names}")
endif()
message(STATUS "${count} files formatted as .clang-format says")
