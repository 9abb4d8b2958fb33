# Replays one kept recording (SIM: brimvale-sim, RECORDING: the file, OUT: a folder of its own)
# and passes only when every digest matched: a recording with none proves nothing.
execute_process(COMMAND ${SIM} replay ${RECORDING} --out ${OUT}
                OUTPUT_VARIABLE printed ERROR_VARIABLE errors RESULT_VARIABLE rc)
message("${printed}${errors}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${RECORDING} no longer replays (exit ${rc}): the first difference is "
                      "named above. If the plugin changed on purpose, record it again "
                      "(README, \"A fault found live, kept as a test\").")
endif()
if(NOT printed MATCHES "every digest matched")
  message(FATAL_ERROR "${RECORDING} was not checked: it holds no digest of the world")
endif()
