# Shared build helpers: one static library per folder, one test program per folder.

set(VELMORA_WARNINGS -Wall -Wextra -Wpedantic -Wno-unused-parameter -Wno-missing-field-initializers)
# Locals that hide locals; clang (the fuzz preset) spells it its own way.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  list(APPEND VELMORA_WARNINGS -Wshadow-uncaptured-local)
else()
  list(APPEND VELMORA_WARNINGS -Wshadow=local)
endif()
if(VELMORA_WERROR)
  list(APPEND VELMORA_WARNINGS -Werror)
endif()

if(VELMORA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Fuzzing instruments every library for coverage; only the fuzz programs link libFuzzer itself.
if(VELMORA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VELMORA_FUZZ needs clang (the fuzz preset chooses it)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Debug and sanitizer builds move a relocatable block on every resize.
if(NOT CMAKE_BUILD_TYPE STREQUAL "Release")
  add_compile_definitions(VL_DEBUG_MOVING_HANDLES=1)
endif()

# vl_sources(<var> <folder> [SUBDIRS <names>...]): the .cpp and .c files directly in <folder> and in
# each named subfolder. Never recursive: a new subfolder joins a library only when it is named, or
# builds a library of its own.
function(vl_sources var folder)
  cmake_parse_arguments(ARG "" "" "SUBDIRS" ${ARGN})
  set(patterns ${folder}/*.cpp ${folder}/*.c)
  foreach(sub IN LISTS ARG_SUBDIRS)
    list(APPEND patterns ${folder}/${sub}/*.cpp ${folder}/${sub}/*.c)
  endforeach()
  file(GLOB found CONFIGURE_DEPENDS ${patterns})
  set(${var} ${found} PARENT_SCOPE)
endfunction()

# vl_library(<name> [SUBDIRS <names>...] [DEPS <targets>...] [SYSTEM_LIBS <libs>...] [EXCLUDE <regex>...])
# Builds the sources of the calling folder (and the named subfolders) into the static library <name>.
function(vl_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;SYSTEM_LIBS;EXCLUDE;SUBDIRS" ${ARGN})
  vl_sources(sources ${CMAKE_CURRENT_SOURCE_DIR} SUBDIRS ${ARG_SUBDIRS})
  foreach(pattern IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${pattern}")
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${VELMORA_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} ${ARG_SYSTEM_LIBS})
  set_property(GLOBAL APPEND PROPERTY VL_LIBRARIES ${name})
endfunction()

# vl_tests(<name> DIR <folder> [SUBDIRS <names>...] DEPS <targets>...)
# Builds the .cpp files in <folder> (and the named subfolders) into the GoogleTest program
# test_<name> and registers its tests.
function(vl_tests name)
  cmake_parse_arguments(ARG "" "DIR" "DEPS;SUBDIRS" ${ARGN})
  vl_sources(sources ${ARG_DIR} SUBDIRS ${ARG_SUBDIRS})
  if(NOT sources)
    return()
  endif()
  add_executable(test_${name} ${sources})
  target_compile_options(test_${name} PRIVATE ${VELMORA_WARNINGS})
  target_compile_definitions(test_${name} PRIVATE
    VL_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    VL_FIXTURES_DIR="${CMAKE_SOURCE_DIR}/../shared/fixtures"
    VL_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/fixtures")
  target_link_libraries(test_${name} PRIVATE ${ARG_DEPS} vl_testsupport GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(test_${name} TEST_PREFIX "${name}." DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()

include(GoogleTest)

# vl_bench(<name> DEPS <targets>...): bench/<name>.cpp as the Google Benchmark program bench_<name>.
function(vl_bench name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  add_executable(bench_${name} ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp)
  target_compile_options(bench_${name} PRIVATE ${VELMORA_WARNINGS})
  target_link_libraries(bench_${name} PRIVATE ${ARG_DEPS} benchmark::benchmark benchmark::benchmark_main)
  # `cmake --build ... --target bench` builds every benchmark and nothing else.
  if(NOT TARGET bench)
    add_custom_target(bench)
  endif()
  add_dependencies(bench bench_${name})
endfunction()
