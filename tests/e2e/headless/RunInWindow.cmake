# Runs velmora in a real SDL2 window under a virtual X server and checks the picture it showed.
# cmake -DXVFB_RUN=... -DVELMORA=... -DSHOT=FILE.png -DCONFIG=FOLDER -P RunInWindow.cmake
file(REMOVE ${SHOT})
# The program writes its settings and material preferences into a configuration folder of its own.
file(REMOVE_RECURSE ${CONFIG})
file(MAKE_DIRECTORY ${CONFIG})
set(ENV{XDG_CONFIG_HOME} ${CONFIG})
# The display drivers keep allocations for the life of the process; they are not ours to check.
set(ENV{ASAN_OPTIONS} "detect_leaks=0")
unset(ENV{SDL_VIDEODRIVER})
execute_process(COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x1024x24" ${VELMORA} --size 800x600 --snapshot-after 30 ${SHOT}
  RESULT_VARIABLE result TIMEOUT 120)
if(NOT result STREQUAL "0")
  message(FATAL_ERROR "velmora in a window under xvfb-run exited with ${result}")
endif()
if(NOT EXISTS ${SHOT})
  message(FATAL_ERROR "the window's picture ${SHOT} was not written")
endif()
file(READ ${SHOT} magic LIMIT 4 HEX)
if(NOT magic STREQUAL "89504e47")
  message(FATAL_ERROR "${SHOT} is not a PNG file")
endif()
message(STATUS "the window showed the program: ${SHOT}")
