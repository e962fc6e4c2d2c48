# Runs velmora on one script in a fresh working folder and configuration folder and checks its
# exit status. Lines at the top of the script set up the run:
#   # exit status: N        the status expected (default 0)
#   # files: NAME...        files made in the working folder and given on the command line, in order
#   # make: NAME...         files made in the working folder only
#   # folders: NAME...      folders made in the working folder and given on the command line
#   # args: NAME...         further command-line names, given as they are (made or not)
# cmake -DVELMORA=... -DSCRIPT=... -DWORK=... -DCONFIG=... -P RunShell.cmake
file(REMOVE_RECURSE ${WORK} ${CONFIG})
file(MAKE_DIRECTORY ${WORK} ${CONFIG})
set(ENV{XDG_CONFIG_HOME} ${CONFIG})

file(STRINGS ${SCRIPT} header REGEX "^# (exit status|files|make|folders|args): ")
set(status 0)
set(arguments)
foreach(line IN LISTS header)
  if(line MATCHES "^# exit status: ([0-9]+)$")
    set(status ${CMAKE_MATCH_1})
  elseif(line MATCHES "^# (files|make|folders|args): (.*)$")
    set(kind ${CMAKE_MATCH_1})
    separate_arguments(names UNIX_COMMAND "${CMAKE_MATCH_2}")
    foreach(name IN LISTS names)
      if(kind STREQUAL "folders")
        file(MAKE_DIRECTORY ${WORK}/${name})
      elseif(NOT kind STREQUAL "args")
        file(WRITE ${WORK}/${name} "")
      endif()
      if(NOT kind STREQUAL "make")
        list(APPEND arguments ${name})
      endif()
    endforeach()
  endif()
endforeach()

execute_process(COMMAND ${VELMORA} --headless ${SCRIPT} ${arguments} WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result)
if(NOT result STREQUAL status)
  message(FATAL_ERROR "velmora --headless ${SCRIPT} ${arguments} exited with ${result}, expected ${status}")
endif()
