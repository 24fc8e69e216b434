# The plug-in DLL, the substitute host and the tests that run under Wine.

include(${CMAKE_SOURCE_DIR}/cmake/exports.cmake)

# The exports bind the platform's services to the chip logic.
add_library(kaleidonote SHARED src/plugin/exports.cpp ${KN_EXPORTS_DEF} src/plugin/version.rc)
set_target_properties(kaleidonote PROPERTIES PREFIX "" OUTPUT_NAME kaleidonote)
target_link_libraries(kaleidonote PRIVATE kn_plugin kn_platform)
target_link_libraries(kn_platform PUBLIC user32 gdi32 shell32 comdlg32)
target_compile_options(kaleidonote PRIVATE ${KN_WARNINGS})
# Everything static: the DLL needs nothing beyond the system DLLs.
target_link_options(kaleidonote PRIVATE -static -static-libgcc -static-libstdc++)
# The DLL is built for every 32-bit processor, yet carries the SSE2 form of
# its scans (chosen at run time): its code holds SSE2's byte-mask instruction.
find_program(KN_OBJDUMP NAMES i686-w64-mingw32-objdump)
if(KN_OBJDUMP)
  add_test(NAME dll_carries_sse2_scans
           COMMAND sh -c "'${KN_OBJDUMP}' -d \"$1\" | grep -q pmovmskb" sh $<TARGET_FILE:kaleidonote>)
endif()

# The DLL driver: how every program around the plug-in loads it and drives a
# chip (kn-host, kn-desk, the Wine tests, the benchmarks). It knows the
# plug-in only through the host's contract and the Win32 owners.
kn_glob(KN_DRIVER_SOURCES hosts/driver/*.cpp)
set(KN_DRIVER_TEST_SOURCES ${KN_DRIVER_SOURCES})
list(FILTER KN_DRIVER_TEST_SOURCES INCLUDE REGEX "_test\\.cpp$")
list(FILTER KN_DRIVER_SOURCES EXCLUDE REGEX "_test\\.cpp$")
kn_require_files(KN_DRIVER_TEST_SOURCES "tests of the driver (hosts/driver/*_test.cpp)")
add_library(kn_driver STATIC ${KN_DRIVER_SOURCES})
target_include_directories(kn_driver PUBLIC hosts/driver src)
target_compile_options(kn_driver PRIVATE ${KN_WARNINGS})
target_link_libraries(kn_driver PUBLIC user32 gdi32)

# The substitute host: renders memos to pictures and serves the Wine tests.
# Its parts form a library shared by the program and its own tests
# (hosts/kn-host/*_test.cpp, with the driver's); the host never sees the
# plug-in's sources.
kn_glob(KN_HOST_SOURCES hosts/kn-host/*.cpp)
set(KN_HOST_TEST_SOURCES ${KN_HOST_SOURCES})
list(FILTER KN_HOST_TEST_SOURCES INCLUDE REGEX "_test\\.cpp$")
list(FILTER KN_HOST_SOURCES EXCLUDE REGEX "(_test|_main)\\.cpp$")
kn_require_files(KN_HOST_TEST_SOURCES "tests of the substitute host (hosts/kn-host/*_test.cpp)")
add_library(kn_host_parts STATIC ${KN_HOST_SOURCES})
target_include_directories(kn_host_parts PUBLIC hosts/kn-host)
target_compile_options(kn_host_parts PRIVATE ${KN_WARNINGS})
# The hosts convert Unicode text as the plug-in's text toolkit does.
target_link_libraries(kn_host_parts PUBLIC kn_driver kn_markup kn_platform gdi32 user32 ole32 oleaut32
                      windowscodecs comdlg32 uuid version)
add_executable(kn-host hosts/kn-host/kn_host_main.cpp)
target_link_libraries(kn-host PRIVATE kn_host_parts)
target_compile_options(kn-host PRIVATE ${KN_WARNINGS})
target_link_options(kn-host PRIVATE -static -municode)
add_dependencies(kn-host kaleidonote)
add_executable(kn_host_tests ${KN_HOST_TEST_SOURCES} ${KN_DRIVER_TEST_SOURCES})
target_link_libraries(kn_host_tests PRIVATE kn_host_parts gtest gtest_main)
target_link_options(kn_host_tests PRIVATE -static)
add_dependencies(kn_host_tests kaleidonote)
# The tests load the DLL beside them and write pictures in the build folder.
add_test(NAME host_tests COMMAND kn_host_tests WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(host_tests PROPERTIES TIMEOUT 1200)

# Small helper programs the Wine tests start (for instance a launch recorder).
kn_glob(KN_WINE_TOOLS tests/wine/tools/*.cpp)
foreach(source ${KN_WINE_TOOLS})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_options(${name} PRIVATE -static)
endforeach()

# GoogleTest from Debian's source package, built by the posix-model compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

include(${CMAKE_SOURCE_DIR}/cmake/dll_imports.cmake)
kn_glob(KN_WINE_TESTS tests/wine/*.cpp)
add_executable(kn_wine_tests ${KN_WINE_TESTS})
target_include_directories(kn_wine_tests PRIVATE tests src ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(kn_wine_tests PRIVATE kn_core kn_driver gtest gtest_main user32 gdi32 shell32
                      comdlg32 ole32 windowscodecs uuid)
target_link_options(kn_wine_tests PRIVATE -static)
add_dependencies(kn_wine_tests kaleidonote)
# The tests find the DLL, the host and the helper programs beside them.
add_test(NAME wine_tests COMMAND kn_wine_tests WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(wine_tests PROPERTIES TIMEOUT 1800)
# The same program's board tests on a share that stalls, which the script
# mounts (FUSE) around them.
add_test(NAME board_stall_tests COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/share/run_stall_tests.sh
         $<TARGET_FILE:kn_wine_tests> WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(board_stall_tests PROPERTIES TIMEOUT 1800)

# The native unit tests also run here, inside Wine, through the mingw build of
# the core: the same logic compiled by the compiler that builds the DLL.
kn_glob(KN_NATIVE_TESTS tests/native/*.cpp)
add_executable(kn_core_tests_win ${KN_NATIVE_TESTS})
target_include_directories(kn_core_tests_win PRIVATE tests)
target_link_libraries(kn_core_tests_win PRIVATE kn_core kn_explain gtest gtest_main)
target_link_options(kn_core_tests_win PRIVATE -static)
add_test(NAME core_tests_under_wine COMMAND kn_core_tests_win)
set_tests_properties(core_tests_under_wine PROPERTIES TIMEOUT 900)

# Programs with make targets of their own: the benchmarks under Wine and the
# desktop host; then the release zip of the shipped programs.
include(${CMAKE_SOURCE_DIR}/cmake/bench_win.cmake)
include(${CMAKE_SOURCE_DIR}/cmake/desktop.cmake)
include(${CMAKE_SOURCE_DIR}/cmake/dist.cmake)
