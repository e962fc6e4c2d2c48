# One window at a time: a second windowed start while one runs returns at once with status 0
# and says why, without running. A headless run takes no part in that rule: it runs (and its
# failing expectation fails it), so that a test never passes without running. The running
# program is stood in for by a lock on the same file.
# cmake -DVELMORA=... -DWORK=... -DCONFIG=... -P SecondInstance.cmake
file(REMOVE_RECURSE ${WORK} ${CONFIG})
file(MAKE_DIRECTORY ${WORK} ${CONFIG}/velmora)
set(ENV{XDG_CONFIG_HOME} ${CONFIG})
set(ENV{SDL_VIDEODRIVER} dummy)
file(WRITE ${WORK}/fails.vls "expect alert 9999\n")

file(LOCK ${CONFIG}/velmora/velmora.lock GUARD PROCESS RESULT_VARIABLE locked TIMEOUT 5)
if(NOT locked STREQUAL "0")
  message(FATAL_ERROR "could not take the lock: ${locked}")
endif()
execute_process(COMMAND ${VELMORA} --snapshot-after 1 never.png WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result
                ERROR_VARIABLE errors TIMEOUT 60)
if(NOT result STREQUAL "0" OR NOT errors MATCHES "another Velmora is running" OR EXISTS ${WORK}/never.png)
  message(FATAL_ERROR "a second window exited with ${result}: ${errors}")
endif()
if(EXISTS ${CONFIG}/velmora/vl.ini)
  message(FATAL_ERROR "a refused second instance wrote the INI file")
endif()

execute_process(COMMAND ${VELMORA} --headless fails.vls WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result
                ERROR_VARIABLE errors)
if(NOT result STREQUAL "1")
  message(FATAL_ERROR "a headless run beside the window exited with ${result}, expected 1: ${errors}")
endif()
file(LOCK ${CONFIG}/velmora/velmora.lock RELEASE)
