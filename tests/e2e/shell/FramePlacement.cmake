# A headless run is no session of the user's: its screen is 1024 by 768 whatever the INI file's
# [FRAME] section says, and it leaves that section as it found it (the user's window keeps its
# placement). How the window itself is placed from the INI file is tested under Xvfb.
# cmake -DVELMORA=... -DWORK=... -DCONFIG=... -P FramePlacement.cmake
file(REMOVE_RECURSE ${WORK} ${CONFIG})
file(MAKE_DIRECTORY ${WORK} ${CONFIG}/velmora)
set(ENV{XDG_CONFIG_HOME} ${CONFIG})
set(ini ${CONFIG}/velmora/vl.ini)
set(placement "[FRAME]\nMaximized=0\nleft=0\ntop=0\nright=800\nbottom=600\n")
file(WRITE ${ini} "${placement}")

# The screen is that of a first start (its golden image), whatever size the INI file gives.
file(WRITE ${WORK}/run.vls "expect front \"Untitled - Existing\"\n"
  "compare screen ${CMAKE_CURRENT_LIST_DIR}/golden/first-pass.png\nresize 700 500\nwait 1\n")
execute_process(COMMAND ${VELMORA} --headless run.vls WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result)
if(NOT result STREQUAL "0")
  message(FATAL_ERROR "velmora exited with ${result}")
endif()
file(READ ${ini} text)
if(NOT text STREQUAL placement)
  message(FATAL_ERROR "a headless run changed the INI file's placement:\n${text}")
endif()
