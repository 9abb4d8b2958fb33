# Fails when any tracked C++ file differs from what clang-format would make of it.
find_program(CLANG_FORMAT NAMES clang-format REQUIRED)
file(GLOB_RECURSE files
  ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h
  ${SOURCE_DIR}/sim/*.cpp ${SOURCE_DIR}/sim/*.h
  ${SOURCE_DIR}/tests/*.cpp ${SOURCE_DIR}/tests/*.h
  ${SOURCE_DIR}/bench/*.cpp ${SOURCE_DIR}/bench/*.h)
set(bad "")
foreach(f IN LISTS files)
  execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${f}
                  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
  if(NOT rc EQUAL 0)
    list(APPEND bad ${f})
  endif()
endforeach()
if(bad)
  list(JOIN bad "\n  " shown)
  message(FATAL_ERROR "Not formatted (run 'make format'):\n  ${shown}")
endif()
