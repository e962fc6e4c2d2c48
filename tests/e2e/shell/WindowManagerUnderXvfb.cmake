# The program in a real window under a window manager (openbox on a virtual X display), whose
# title bar and borders lie around the window. The INI file holds the frame, borders included:
# the first start's frame covers the usable screen and no more, and a stored placement comes
# back exactly as it was written, start after start.
# cmake -DVELMORA=... -DXVFB_RUN=... -DOPENBOX=... -DWORK=... -DCONFIG=... -P WindowManagerUnderXvfb.cmake
file(REMOVE_RECURSE ${WORK} ${CONFIG})
file(MAKE_DIRECTORY ${WORK} ${CONFIG})
set(ENV{XDG_CONFIG_HOME} ${CONFIG})
# The display libraries keep a few blocks until the process ends.
set(ENV{ASAN_OPTIONS} "detect_leaks=0")
unset(ENV{SDL_VIDEODRIVER})
set(ini ${CONFIG}/velmora/vl.ini)

# Runs velmora under the window manager until it has shown itself for a second.
function(run_managed shot)
  execute_process(
    COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x1024x24" sh -c
      "\"$0\" --sm-disable & sleep 1; exec \"$1\" --snapshot-after 60 \"$2\"" ${OPENBOX} ${VELMORA} ${shot}
    WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result TIMEOUT 120)
  if(NOT result STREQUAL "0")
    message(FATAL_ERROR "velmora under a window manager exited with ${result}")
  endif()
endfunction()

function(expect_frame when left top right bottom)
  file(READ ${ini} text)
  if(NOT text MATCHES "Maximized=0\n" OR NOT text MATCHES "left=${left}\n" OR NOT text MATCHES "top=${top}\n"
     OR NOT text MATCHES "right=${right}\n" OR NOT text MATCHES "bottom=${bottom}\n")
    message(FATAL_ERROR "${when}: expected the frame ${left} ${top} ${right} ${bottom}, found:\n${text}")
  endif()
endfunction()

run_managed(first.png)
expect_frame("the first start" 0 0 1280 1024)

file(WRITE ${ini} "[FRAME]\nMaximized=0\nleft=100\ntop=50\nright=740\nbottom=530\n")
run_managed(second.png)
expect_frame("a start from a stored placement" 100 50 740 530)
run_managed(third.png)
expect_frame("the next start" 100 50 740 530)
