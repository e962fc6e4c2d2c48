# The command line as a user meets it: --version prints the version; a folder given as the
# script and a tick count that is no number are refused with status 2; documents given at start
# that cannot be opened are reported by name, also one whose name is longer than any file's.
# cmake -DVELMORA=... -DWORK=... -DCONFIG=... -P CommandLine.cmake
file(REMOVE_RECURSE ${WORK} ${CONFIG})
file(MAKE_DIRECTORY ${WORK}/scripts ${CONFIG})
set(ENV{XDG_CONFIG_HOME} ${CONFIG})

# Runs velmora with the arguments, expecting the status; leaves stdout and stderr in out, err.
function(run status)
  execute_process(COMMAND ${VELMORA} ${ARGN} WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result
                  OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT result STREQUAL status)
    message(FATAL_ERROR "velmora ${ARGN} exited with ${result}, expected ${status}:\n${output}${errors}")
  endif()
  set(out "${output}" PARENT_SCOPE)
  set(err "${errors}" PARENT_SCOPE)
endfunction()

run(0 --version)
if(NOT out MATCHES "^velmora [0-9]+\\.[0-9]+")
  message(FATAL_ERROR "--version printed no version: '${out}' '${err}'")
endif()

run(2 --headless scripts)
if(NOT err MATCHES "folder")
  message(FATAL_ERROR "a folder as the script was not refused as one:\n${err}")
endif()

run(2 --snapshot-after abc shot.png)
if(NOT err MATCHES "usage:")
  message(FATAL_ERROR "a tick count that is no number gave no usage:\n${err}")
endif()

file(WRITE ${WORK}/quit.vls "expect front \"Untitled - Existing\"\n")
string(REPEAT "x" 300 long)
run(0 --headless quit.vls gone.vl ${long}.vl)
string(REGEX MATCHALL "alert 4003 [^\n]*" reports "${err}")
list(LENGTH reports count)
if(NOT count EQUAL 2)
  message(FATAL_ERROR "expected two reports of files that cannot be opened:\n${err}")
endif()
list(GET reports 0 first)
list(GET reports 1 second)
if(NOT first MATCHES "gone\\.vl" OR NOT second MATCHES "xxxxxxxxxxxxxxxxxxxx")
  message(FATAL_ERROR "the reports do not name their files:\n${err}")
endif()
