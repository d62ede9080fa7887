# Runs windlock-sim and checks its exit status and what it printed, both streams together.
# -DSIM=path -DARGUMENTS=list -DSTATUS=n -DPATTERN=regex
execute_process(COMMAND ${SIM} ${ARGUMENTS} RESULT_VARIABLE status OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(NOT status EQUAL STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}\n${output}")
endif()
if(NOT output MATCHES "${PATTERN}")
  message(FATAL_ERROR "the output does not match '${PATTERN}'\n${output}")
endif()
