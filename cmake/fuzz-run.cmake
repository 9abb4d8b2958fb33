# Builds the save file fuzz target with the `fuzz` preset and runs it for SECONDS over the
# committed corpus. New inputs go to a scratch corpus in the build tree, so the committed one
# stays small; a crash leaves its input in build/fuzz/ and fails the run.
if(NOT SECONDS)
  set(SECONDS 60)
endif()
set(build ${SOURCE_DIR}/build/fuzz)

execute_process(COMMAND ${CMAKE_COMMAND} --preset fuzz WORKING_DIRECTORY ${SOURCE_DIR}
                OUTPUT_QUIET RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configuring the fuzz preset failed (is clang installed? run scripts/setup)")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build --preset fuzz WORKING_DIRECTORY ${SOURCE_DIR}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "building the fuzz target failed")
endif()

file(REMOVE_RECURSE ${build}/corpus-new)
file(MAKE_DIRECTORY ${build}/corpus-new)
execute_process(
  COMMAND ${build}/brimvale_save_fuzz ${build}/corpus-new ${SOURCE_DIR}/tests/fuzz/corpus
          -dict=${SOURCE_DIR}/tests/fuzz/save.dict -max_total_time=${SECONDS} -timeout=10
          -rss_limit_mb=2048 -max_len=131072 -print_final_stats=1
          -artifact_prefix=${build}/
  WORKING_DIRECTORY ${build}
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the fuzz target found a fault (exit ${rc}); its input is in ${build}/")
endif()
