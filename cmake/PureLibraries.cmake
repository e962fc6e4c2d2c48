# Pure libraries (geometry, units, the error types, and the drawing-file toolkit to come) link
# nothing that draws or shows an alert. vl_pure_library(<target> ALLOWED <targets>...) adds the
# test build_pure_<target>: the library's link closure, as CMake has it, holds only the allowed
# libraries, and no symbol its archives need is defined by any other of our libraries (which
# catches a call whose header was found some other way). CheckLinkClosure.sh does the second part.

# Every library vl_library makes, for the symbol check.
define_property(GLOBAL PROPERTY VL_LIBRARIES BRIEF_DOCS "libraries made by vl_library" FULL_DOCS "ditto")

# The targets and other libraries <target> links, itself included, breadth first.
function(vl_link_closure target out)
  set(seen)
  set(queue ${target})
  while(queue)
    list(POP_FRONT queue item)
    string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" item "${item}")
    if(item IN_LIST seen OR item STREQUAL "")
      continue()
    endif()
    list(APPEND seen ${item})
    if(TARGET ${item})
      foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
        get_target_property(links ${item} ${property})
        if(links)
          list(APPEND queue ${links})
        endif()
      endforeach()
    endif()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

function(vl_pure_library target)
  cmake_parse_arguments(ARG "" "" "ALLOWED" ${ARGN})
  vl_link_closure(${target} closure)
  set(closure_files)
  foreach(item IN LISTS closure)
    if(TARGET ${item})
      list(APPEND closure_files $<TARGET_FILE:${item}>)
    endif()
  endforeach()
  get_property(libraries GLOBAL PROPERTY VL_LIBRARIES)
  set(other_files)
  foreach(library IN LISTS libraries)
    if(NOT library IN_LIST closure)
      list(APPEND other_files $<TARGET_FILE:${library}>)
    endif()
  endforeach()
  list(REMOVE_ITEM closure ${target})
  string(REPLACE ";" " " allowed "${ARG_ALLOWED}")
  string(REPLACE ";" " " linked "${closure}")
  add_test(NAME build_pure_${target}
    COMMAND bash ${CMAKE_SOURCE_DIR}/cmake/CheckLinkClosure.sh ${target} "${allowed}" "${linked}"
      ${closure_files} -- ${other_files})
  set_tests_properties(build_pure_${target} PROPERTIES LABELS build TIMEOUT 120)
endfunction()
