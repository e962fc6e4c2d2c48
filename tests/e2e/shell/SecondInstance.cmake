# A second program started while one runs returns at once with status 0, without running: its
# script, which would fail, is never read. The running program is stood in for by a lock on the
# same file.
# cmake -DVELMORA=... -DWORK=... -DCONFIG=... -P SecondInstance.cmake
file(REMOVE_RECURSE ${WORK} ${CONFIG})
file(MAKE_DIRECTORY ${WORK} ${CONFIG}/velmora)
set(ENV{XDG_CONFIG_HOME} ${CONFIG})
file(WRITE ${WORK}/fails.vls "expect alert 9999\n")

file(LOCK ${CONFIG}/velmora/velmora.lock GUARD PROCESS RESULT_VARIABLE locked TIMEOUT 5)
if(NOT locked STREQUAL "0")
  message(FATAL_ERROR "could not take the lock: ${locked}")
endif()
execute_process(COMMAND ${VELMORA} --headless fails.vls WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result
                ERROR_VARIABLE errors)
if(NOT result STREQUAL "0" OR NOT errors MATCHES "another Velmora is running")
  message(FATAL_ERROR "a second instance exited with ${result}: ${errors}")
endif()
if(EXISTS ${CONFIG}/velmora/vl.ini)
  message(FATAL_ERROR "a refused second instance wrote the INI file")
endif()
file(LOCK ${CONFIG}/velmora/velmora.lock RELEASE)

# With the lock free the same script runs (and its expectation fails).
execute_process(COMMAND ${VELMORA} --headless fails.vls WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result
                ERROR_QUIET)
if(NOT result STREQUAL "1")
  message(FATAL_ERROR "the only instance exited with ${result}, expected 1")
endif()
