# The portable core's unit tests, fuzz targets and benchmarks, built natively.
find_package(GTest REQUIRED)
include(GoogleTest)

# Under ThreadSanitizer only the tests whose chips read board files on
# threads of their own: the reader's, and the chip's that run on it.
if(KN_TSAN)
  add_executable(kn_reader_tests tests/native/board_reader_test.cpp tests/native/chip_logic_test.cpp
                 tests/native/click_logic_test.cpp)
  target_link_libraries(kn_reader_tests PRIVATE kn_core GTest::gtest_main)
  target_include_directories(kn_reader_tests PRIVATE tests)
  add_test(NAME reader_tests_under_tsan COMMAND kn_reader_tests)
  return()
endif()

file(GLOB KN_NATIVE_TESTS CONFIGURE_DEPENDS tests/native/*.cpp)
add_executable(kn_native_tests ${KN_NATIVE_TESTS})
target_link_libraries(kn_native_tests PRIVATE kn_core GTest::gtest_main)
if(TARGET kn_explain)
  target_link_libraries(kn_native_tests PRIVATE kn_explain)
endif()
target_include_directories(kn_native_tests PRIVATE tests)
add_test(NAME native_unit_tests COMMAND kn_native_tests)

# Each fuzz target has a replay main so its corpus runs as a regression test
# in every configuration; with KN_FUZZ it links libFuzzer instead.
file(GLOB KN_FUZZ_TARGETS CONFIGURE_DEPENDS tests/fuzz/fuzz_*.cpp)
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
  if(EXISTS ${corpus})
    # libFuzzer given a folder fuzzes it without end; -runs=0 only replays it.
    if(KN_FUZZ)
      add_test(NAME replay_${name} COMMAND ${name} -runs=0 ${corpus})
    else()
      add_test(NAME replay_${name} COMMAND ${name} ${corpus})
    endif()
  endif()
endforeach()

# Benchmarks of the portable core (`make bench`); Google Benchmark from Debian.
find_package(benchmark QUIET)
if(benchmark_FOUND)
  file(GLOB KN_BENCH_SOURCES CONFIGURE_DEPENDS tests/bench/*.cpp)
  foreach(source ${KN_BENCH_SOURCES})
    get_filename_component(name ${source} NAME_WE)
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE kn_core benchmark::benchmark)
    target_include_directories(${name} PRIVATE tests)
  endforeach()
endif()
