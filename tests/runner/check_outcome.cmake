# Runs windlock-sim on one scenario and checks its exit status and a line of its output.
# -DSIM=path -DSCENARIO=path -DSTATUS=n -DPATTERN=regex
execute_process(COMMAND ${SIM} ${SCENARIO} RESULT_VARIABLE status OUTPUT_VARIABLE output)
if(NOT status EQUAL STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}\n${output}")
endif()
if(NOT output MATCHES "${PATTERN}")
  message(FATAL_ERROR "no line matches '${PATTERN}'\n${output}")
endif()
