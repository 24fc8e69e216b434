# The portable core's unit tests, fuzz targets and benchmarks, built natively.
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB KN_NATIVE_TESTS CONFIGURE_DEPENDS tests/native/*.cpp)
add_executable(kn_native_tests ${KN_NATIVE_TESTS})
target_link_libraries(kn_native_tests PRIVATE kn_core GTest::gtest_main)
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
    add_test(NAME replay_${name} COMMAND ${name} ${corpus})
  endif()
endforeach()
