# Native tree: the portable subsystems as libraries, their unit tests and benchmarks.
find_package(GTest REQUIRED)
find_package(benchmark QUIET)
include(GoogleTest)

option(QV_SANITIZE "Build the native tree with address and undefined-behaviour sanitizers" OFF)
if(QV_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
# Trees of one check each: the fuzz target (clang's libFuzzer with the address and
# undefined-behaviour sanitizers) and the threaded test under ThreadSanitizer.
option(QV_FUZZ "Build only the libraries and the fuzz target, instrumented for libFuzzer" OFF)
option(QV_TSAN "Build only the libraries and the threaded tests, under ThreadSanitizer" OFF)
if(QV_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  list(APPEND QV_WARNINGS -Wno-unknown-pragmas) # clang does not know GCC's loop pragmas
  add_link_options(-fsanitize=address,undefined)
endif()
if(QV_TSAN)
  add_compile_options(-fsanitize=thread -g)
  add_link_options(-fsanitize=thread)
endif()
# RealtimeSanitizer, where the compiler has it (clang 20 and later; scripts/test.sh checks).
option(QV_RTSAN "Build only the libraries and the real-time tests, under RealtimeSanitizer" OFF)
if(QV_RTSAN)
  add_compile_options(-fsanitize=realtime)
  add_link_options(-fsanitize=realtime)
endif()

# qv_add_core_library(name sources...): a static library of one subsystem (interface-only while
# it has no sources yet).
function(qv_add_core_library name)
  if(ARGN)
    add_library(${name} STATIC ${ARGN})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_compile_options(${name} PRIVATE ${QV_WARNINGS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
  endif()
endfunction()

# dsp knows nothing of params; params takes the unit formulas of dsp/math (dB spans, single
# rounding) so that each is written once; the shell wires them.
qv_add_core_library(qv_dsp ${QV_DSP_SOURCES})
qv_add_core_library(qv_params ${QV_PARAMS_SOURCES})
target_link_libraries(qv_params PUBLIC qv_dsp)
qv_add_core_library(qv_shell ${QV_SHELL_CORE_SOURCES})
target_link_libraries(qv_shell PUBLIC qv_params qv_dsp)

# qv_add_native_test(name library sources...): one GoogleTest executable.
function(qv_add_native_test name library)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE ${library} GTest::gtest_main GTest::gmock)
  target_compile_options(${name} PRIVATE ${QV_WARNINGS})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()

if(QV_FUZZ)
  add_subdirectory(tests/fuzz)
  return()
endif()
if(QV_TSAN OR QV_RTSAN)
  add_subdirectory(tests/realtime)
  return()
endif()
add_subdirectory(tests/shell)
add_subdirectory(tests/params)
add_subdirectory(tests/dsp)
add_subdirectory(tests/realtime)
add_subdirectory(tests/builds)

if(benchmark_FOUND)
  add_subdirectory(bench)
endif()

# The committed bitmaps, resource script and layout header must be what the generator draws;
# every C++ file follows the root's .clang-format.
if(NOT QV_SANITIZE)
  add_test(NAME format.clang_format COMMAND ${PROJECT_SOURCE_DIR}/scripts/format-check.sh)
  add_test(NAME artwork.generated_files_up_to_date
           COMMAND ${PROJECT_SOURCE_DIR}/scripts/artwork.sh --check)
endif()
