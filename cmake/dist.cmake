# The release: the target `dist` (`make dist`) packages the programs this
# build ships into build/dist/kaleidonote-VERSION.zip. VERSION is read from
# the header the DLL's version resource is built from, so the zip is named
# after the version the DLL carries.
set(KN_VERSION_HEADER ${CMAKE_SOURCE_DIR}/src/plugin/version.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KN_VERSION_HEADER})
file(STRINGS ${KN_VERSION_HEADER} version_lines
     REGEX "^#define KN_VERSION_(MAJOR|MINOR|PATCH) +[0-9]+$")
foreach(line ${version_lines})
  string(REGEX MATCH "KN_VERSION_([A-Z]+) +([0-9]+)" ignored "${line}")
  set(version_${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
endforeach()
if(NOT DEFINED version_MAJOR OR NOT DEFINED version_MINOR OR NOT DEFINED version_PATCH)
  message(FATAL_ERROR "${KN_VERSION_HEADER} does not define KN_VERSION_MAJOR, _MINOR and _PATCH")
endif()
set(KN_VERSION ${version_MAJOR}.${version_MINOR}.${version_PATCH})

set(KN_DIST_DIR ${CMAKE_SOURCE_DIR}/build/dist CACHE PATH "Where the release zip is written")
set(KN_SHIPPED_PROGRAMS kaleidonote kn-desk kn-explain kn-host)
set(shipped_files)
foreach(program ${KN_SHIPPED_PROGRAMS})
  list(APPEND shipped_files $<TARGET_FILE:${program}>)
endforeach()
add_custom_target(dist
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/dist.sh ${KN_VERSION} ${KN_DIST_DIR} ${shipped_files}
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
  USES_TERMINAL VERBATIM)
add_dependencies(dist ${KN_SHIPPED_PROGRAMS})

# The zip checked with the Wine suites: its contents, and its programs run
# from the extracted folder. The zip is made first, from this build.
add_test(NAME release_zip COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target dist --parallel 2)
add_test(NAME release_package
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/dist-check.sh ${KN_DIST_DIR}/kaleidonote-${KN_VERSION}.zip
                 $<TARGET_FILE_DIR:kaleidonote>)
set_tests_properties(release_zip PROPERTIES FIXTURES_SETUP release_zip TIMEOUT 1200)
set_tests_properties(release_package PROPERTIES FIXTURES_REQUIRED release_zip TIMEOUT 1200)
