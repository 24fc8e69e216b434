# The desktop host: kn-desk.exe shows chips as windows on the desktop and
# keeps them in a settings file. Its parts form a library shared by the
# program and its unit tests (hosts/kn-desk/*_test.cpp), which run inside the
# Wine test program next to the end-to-end test that starts kn-desk.exe.
kn_glob(KN_DESK_SOURCES hosts/kn-desk/*.cpp)
set(KN_DESK_TEST_SOURCES ${KN_DESK_SOURCES})
list(FILTER KN_DESK_TEST_SOURCES INCLUDE REGEX "_test\\.cpp$")
list(FILTER KN_DESK_SOURCES EXCLUDE REGEX "(_test|_main)\\.cpp$")
add_library(kn_desk_parts STATIC ${KN_DESK_SOURCES})
target_include_directories(kn_desk_parts PUBLIC hosts/kn-desk)
target_compile_options(kn_desk_parts PRIVATE ${KN_WARNINGS})
# The memo editor's pane explains lines with kn-explain's own code.
target_link_libraries(kn_desk_parts PUBLIC kn_host_parts kn_explain user32 gdi32 comdlg32 shell32 ole32)

add_executable(kn-desk WIN32 hosts/kn-desk/kn_desk_main.cpp)
target_link_libraries(kn-desk PRIVATE kn_desk_parts)
target_compile_options(kn-desk PRIVATE ${KN_WARNINGS})
target_link_options(kn-desk PRIVATE -static -municode)
add_dependencies(kn-desk kaleidonote)

kn_require_files(KN_DESK_TEST_SOURCES "tests of the desktop host (hosts/kn-desk/*_test.cpp)")
target_sources(kn_wine_tests PRIVATE ${KN_DESK_TEST_SOURCES})
target_link_libraries(kn_wine_tests PRIVATE kn_desk_parts)
# The end-to-end test starts the program found beside it.
add_dependencies(kn_wine_tests kn-desk)
