# The portable core's unit tests, fuzz targets and benchmarks, built natively.
find_package(GTest REQUIRED)
include(GoogleTest)

# Under ThreadSanitizer only the tests whose chips read board files on
# threads of their own: the reader's, its threads', and the chip's that run
# on it.
if(KN_TSAN)
  add_executable(kn_reader_tests tests/native/board_reader_test.cpp tests/native/chip_logic_test.cpp
                 tests/native/click_logic_test.cpp tests/native/unchanged_board_test.cpp
                 tests/native/std_reading_threads_test.cpp)
  target_link_libraries(kn_reader_tests PRIVATE kn_core GTest::gtest_main)
  target_include_directories(kn_reader_tests PRIVATE tests)
  add_test(NAME reader_tests_under_tsan COMMAND kn_reader_tests)
  return()
endif()

kn_glob(KN_NATIVE_TESTS tests/native/*.cpp)
add_executable(kn_native_tests ${KN_NATIVE_TESTS})
target_link_libraries(kn_native_tests PRIVATE kn_core kn_explain GTest::gtest_main)
target_include_directories(kn_native_tests PRIVATE tests)
add_test(NAME native_unit_tests COMMAND kn_native_tests)

# Each fuzz target has a replay main so its corpus runs as a regression test
# in every configuration; with KN_FUZZ it links libFuzzer instead.
kn_glob(KN_FUZZ_TARGETS tests/fuzz/fuzz_*.cpp)
foreach(source ${KN_FUZZ_TARGETS})
  get_filename_component(name ${source} NAME_WE)
  if(KN_FUZZ)
    add_executable(${name} ${source})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    add_executable(${name} ${source} tests/fuzz/replay_main.cpp)
  endif()
  target_link_libraries(${name} PRIVATE kn_core)
  target_include_directories(${name} PRIVATE tests)
  set(corpus ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name})
  # A target without its corpus would have no replay test.
  if(NOT IS_DIRECTORY ${corpus})
    message(FATAL_ERROR "${name} has no corpus folder ${corpus}")
  endif()
  # libFuzzer given a folder fuzzes it without end; -runs=0 only replays it.
  if(KN_FUZZ)
    add_test(NAME replay_${name} COMMAND ${name} -runs=0 ${corpus})
  else()
    add_test(NAME replay_${name} COMMAND ${name} ${corpus})
  endif()
endforeach()

# Benchmarks of the portable core (`make bench`); Google Benchmark from Debian.
find_package(benchmark REQUIRED)
kn_glob(KN_BENCH_SOURCES tests/bench/*.cpp)
foreach(source ${KN_BENCH_SOURCES})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE kn_core benchmark::benchmark)
  target_include_directories(${name} PRIVATE tests)
endforeach()

# The install step's decisions, against stand-ins for the package tools:
# once, in the plain build (the sanitizer builds are there for the C++ code).
if(NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize=")
  add_test(NAME install_deps COMMAND ${CMAKE_SOURCE_DIR}/tests/scripts/install_deps_test.sh)
endif()
