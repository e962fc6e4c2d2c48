# Without a display (a shell without X, a cron job) SDL falls back to a video driver that shows
# nothing: the program refuses it, says why and fails, rather than running unseen for ever and
# holding the one-instance lock. Named in SDL_VIDEODRIVER, the same driver runs on purpose.
# cmake -DVELMORA=... -DWORK=... -DCONFIG=... -P NoDisplay.cmake
file(REMOVE_RECURSE ${WORK} ${CONFIG})
file(MAKE_DIRECTORY ${WORK} ${CONFIG})
set(ENV{XDG_CONFIG_HOME} ${CONFIG})
# The display libraries keep a few blocks until the process ends.
set(ENV{ASAN_OPTIONS} "detect_leaks=0")
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
unset(ENV{SDL_VIDEODRIVER})
execute_process(COMMAND ${VELMORA} --snapshot-after 30 unseen.png WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result
                ERROR_VARIABLE errors TIMEOUT 60)
if(result STREQUAL "0" OR NOT errors MATCHES "no display" OR EXISTS ${WORK}/unseen.png)
  message(FATAL_ERROR "without a display velmora exited with ${result}:\n${errors}")
endif()

set(ENV{SDL_VIDEODRIVER} offscreen)
execute_process(COMMAND ${VELMORA} --snapshot-after 30 asked.png WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result
                ERROR_VARIABLE errors TIMEOUT 60)
if(NOT result STREQUAL "0" OR NOT EXISTS ${WORK}/asked.png)
  message(FATAL_ERROR "with the offscreen driver asked for, velmora exited with ${result}:\n${errors}")
endif()
