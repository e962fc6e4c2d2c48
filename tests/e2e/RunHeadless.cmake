# Runs velmora on one script in a fresh working folder and checks its exit status.
# cmake -DVELMORA=... -DSCRIPT=... -DWORK=... -DCONFIG=... -DSTATUS=N -P RunHeadless.cmake
file(REMOVE_RECURSE ${WORK} ${CONFIG})
file(MAKE_DIRECTORY ${WORK} ${CONFIG})
set(ENV{XDG_CONFIG_HOME} ${CONFIG})
execute_process(COMMAND ${VELMORA} --headless ${SCRIPT} WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result)
if(NOT result STREQUAL STATUS)
  message(FATAL_ERROR "velmora --headless ${SCRIPT} exited with ${result}, expected ${STATUS}")
endif()
