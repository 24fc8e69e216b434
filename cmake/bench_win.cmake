# kn_bench_win: the real DLL under Wine against the floors of GDI and the
# disk (`make bench` runs it through scripts/bench.sh). A benchmark, not a
# test: it is not registered with CTest.
kn_glob(KN_BENCH_WIN_SOURCES ${CMAKE_SOURCE_DIR}/tests/bench/win32/*.cpp)
add_executable(kn_bench_win ${KN_BENCH_WIN_SOURCES})
target_include_directories(kn_bench_win PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(kn_bench_win PRIVATE kn_driver user32 gdi32)
target_compile_options(kn_bench_win PRIVATE ${KN_WARNINGS})
target_link_options(kn_bench_win PRIVATE -static)
# It loads the DLL from its own folder, the build folder.
add_dependencies(kn_bench_win kaleidonote)
