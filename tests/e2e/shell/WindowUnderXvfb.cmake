# The program in a real window on a virtual X display: after two seconds it writes what the
# window shows (the frame's screen with the menu bar and the first document window) as a PNG
# file and quits. The picture must be the screen a headless first start shows (its golden). A
# second run comes up where the INI file places the frame and writes that place back. (The
# virtual display has no window manager, so whether a window gets maximized depends on timing
# there; that state is not checked here.) A window asked for below the minimum size gets the
# minimum. The pictures of the later runs only end them.
# cmake -DVELMORA=... -DXVFB_RUN=... -DSCRIPTTEST=... -DWORK=... -DCONFIG=... -P WindowUnderXvfb.cmake
file(REMOVE_RECURSE ${WORK} ${CONFIG})
file(MAKE_DIRECTORY ${WORK} ${CONFIG})
set(ENV{XDG_CONFIG_HOME} ${CONFIG})
# The display libraries keep a few blocks until the process ends.
set(ENV{ASAN_OPTIONS} "detect_leaks=0")
# The real X display, not the dummy driver the test preset names for the other tests.
unset(ENV{SDL_VIDEODRIVER})
execute_process(
  COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x1024x24" ${VELMORA} --size 1024x768 --snapshot-after 120 window.png
  WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result TIMEOUT 120)
if(NOT result STREQUAL "0")
  message(FATAL_ERROR "velmora under xvfb-run exited with ${result}")
endif()
if(NOT EXISTS ${WORK}/window.png)
  message(FATAL_ERROR "no picture of the window was written")
endif()
execute_process(COMMAND ${SCRIPTTEST} compare ${WORK}/window.png ${CMAKE_CURRENT_LIST_DIR}/golden/first-pass.png
  RESULT_VARIABLE result)
if(NOT result STREQUAL "0")
  message(FATAL_ERROR "the window did not show the screen of a first start")
endif()

set(ini ${CONFIG}/velmora/vl.ini)
file(READ ${ini} text)
if(NOT text MATCHES "left=0\n" OR NOT text MATCHES "top=0\n" OR NOT text MATCHES "right=1024\n")
  message(FATAL_ERROR "the first run did not write its frame at 0 0, 1024 wide:\n${text}")
endif()
file(WRITE ${ini} "[FRAME]\nMaximized=0\nleft=100\ntop=50\nright=740\nbottom=530\n")
execute_process(
  COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x1024x24" ${VELMORA} --snapshot-after 60 moved.png
  WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result TIMEOUT 120)
if(NOT result STREQUAL "0")
  message(FATAL_ERROR "the second run under xvfb-run exited with ${result}")
endif()
file(READ ${ini} text)
if(NOT text MATCHES "Maximized=0\n" OR NOT text MATCHES "left=100\n" OR NOT text MATCHES "top=50\n"
   OR NOT text MATCHES "right=740\n" OR NOT text MATCHES "bottom=530\n")
  message(FATAL_ERROR "the second run's frame is not where and as the INI file placed it:\n${text}")
endif()

# The window is never smaller than the screen's minimum of 320 by 240: below it the screen would
# be shown scaled down and the mouse would miss what it points at.
execute_process(
  COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x1024x24" ${VELMORA} --size 200x100 --snapshot-after 60 small.png
  WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result TIMEOUT 120)
if(NOT result STREQUAL "0" OR NOT EXISTS ${WORK}/small.png)
  message(FATAL_ERROR "the run asking for a small window exited with ${result}")
endif()
file(READ ${ini} text)
if(NOT text MATCHES "left=(-?[0-9]+)\n")
  message(FATAL_ERROR "the small window's run wrote no placement:\n${text}")
endif()
set(left ${CMAKE_MATCH_1})
string(REGEX MATCH "top=(-?[0-9]+)\n" _ "${text}")
set(top ${CMAKE_MATCH_1})
string(REGEX MATCH "right=(-?[0-9]+)\n" _ "${text}")
math(EXPR width "${CMAKE_MATCH_1} - ${left}")
string(REGEX MATCH "bottom=(-?[0-9]+)\n" _ "${text}")
math(EXPR height "${CMAKE_MATCH_1} - ${top}")
if(NOT width EQUAL 320 OR NOT height EQUAL 240)
  message(FATAL_ERROR "the window asked for at 200 by 100 is ${width} by ${height}, not 320 by 240:\n${text}")
endif()
