# The frame's placement is written to the INI file when the program ends and read when it starts
# again; a placement reaching one pixel outside the screen is ignored and the frame is placed
# as on a first start. Headless, the frame is the virtual screen on a 1024 by 768 display.
# cmake -DVELMORA=... -DWORK=... -DCONFIG=... -P FramePlacement.cmake
file(REMOVE_RECURSE ${WORK} ${CONFIG})
file(MAKE_DIRECTORY ${WORK} ${CONFIG})
set(ENV{XDG_CONFIG_HOME} ${CONFIG})
set(ini ${CONFIG}/velmora/vl.ini)

function(run name text)
  file(WRITE ${WORK}/${name}.vls "${text}")
  execute_process(COMMAND ${VELMORA} --headless ${name}.vls WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result)
  if(NOT result STREQUAL "0")
    message(FATAL_ERROR "${name}: velmora exited with ${result}")
  endif()
endfunction()

function(expect_frame when right bottom)
  file(READ ${ini} text)
  if(NOT text MATCHES "\\[FRAME\\]" OR NOT text MATCHES "right=${right}\n" OR NOT text MATCHES "bottom=${bottom}\n"
     OR NOT text MATCHES "left=0\n" OR NOT text MATCHES "top=0\n" OR NOT text MATCHES "Maximized=0\n")
    message(FATAL_ERROR "${when}: expected the frame 0 0 ${right} ${bottom} in the INI file, found:\n${text}")
  endif()
endfunction()

# First start: no INI file; the user makes the frame 800 by 600 and quits.
run(first "expect front \"Untitled - Existing\"\nresize 800 600\nwait 1\n")
expect_frame("after the first run" 800 600)

# Second start: the frame is made as it was left (the snapshot of the screen is 800 by 600) and
# written back unchanged.
run(second "expect front \"Untitled - Existing\"\nsnapshot second.png\n")
expect_frame("after the second run" 800 600)
file(READ ${WORK}/second.png size OFFSET 16 LIMIT 8 HEX)
if(NOT size STREQUAL "0000032000000258")
  message(FATAL_ERROR "the second run's screen is not 800 by 600 (PNG header ${size})")
endif()

# A placement one pixel beyond the screen's right edge is ignored: the frame takes the whole
# screen again.
file(READ ${ini} text)
string(REPLACE "right=800" "right=1025" text "${text}")
file(WRITE ${ini} "${text}")
run(third "expect front \"Untitled - Existing\"\n")
expect_frame("after a placement one pixel outside" 1024 768)
