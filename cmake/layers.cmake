# The product's layers, each its own library that sees only the layers it
# builds on. A layer compiles against an include folder of its own in the
# build tree holding links to exactly those layers' sources, so an include
# that crosses into a layer it may not use is a missing file: the build
# fails at that line.
#
#   kn_layer(NAME [INTERFACE] [SEES layer...] [EXCLUDE regex...])
#
# Sources are src/NAME/*.cpp; files named *_win32.cpp are built for Windows
# only, files named *_posix.cpp or *_iconv.cpp only elsewhere.
function(kn_layer name)
  cmake_parse_arguments(LAYER "INTERFACE" "" "SEES;EXCLUDE" ${ARGN})
  set(root ${CMAKE_BINARY_DIR}/layers/${name})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  foreach(seen ${name} ${LAYER_SEES})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${seen} ${root}/${seen} SYMBOLIC)
  endforeach()
  set(dependencies)
  foreach(seen ${LAYER_SEES})
    list(APPEND dependencies kn_${seen})
  endforeach()

  if(LAYER_INTERFACE)
    add_library(kn_${name} INTERFACE)
    target_include_directories(kn_${name} INTERFACE ${root})
    target_link_libraries(kn_${name} INTERFACE ${dependencies})
    return()
  endif()

  kn_glob(sources ${CMAKE_SOURCE_DIR}/src/${name}/*.cpp)
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_(posix|iconv)\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win32\\.cpp$")
  endif()
  foreach(pattern ${LAYER_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "${pattern}")
  endforeach()
  add_library(kn_${name} STATIC ${sources})
  target_include_directories(kn_${name} PUBLIC ${root})
  target_link_libraries(kn_${name} PUBLIC ${dependencies})
  target_compile_options(kn_${name} PRIVATE ${KN_WARNINGS})
endfunction()

# What the layers are and what each may use.
kn_layer(system INTERFACE)
kn_layer(markup SEES system)
kn_layer(render SEES markup system)
kn_layer(board SEES markup system)
kn_layer(plugin SEES render board markup system EXCLUDE "/exports\\.cpp$")
kn_layer(platform SEES system)

# XXH3 for the board layer's fingerprints, header-only from Debian's
# libxxhash-dev. The header is copied into the build tree, so that the
# cross compiler sees it without the build machine's own include folder.
find_file(KN_XXHASH_HEADER xxhash.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH)
if(NOT KN_XXHASH_HEADER)
  message(FATAL_ERROR "xxhash.h not found: install libxxhash-dev (scripts/install-deps.sh)")
endif()
configure_file(${KN_XXHASH_HEADER} ${CMAKE_BINARY_DIR}/third_party/xxhash.h COPYONLY)
target_include_directories(kn_board SYSTEM PRIVATE ${CMAKE_BINARY_DIR}/third_party)

# The whole product for the programs and tests around it, which may look
# at every layer.
add_library(kn_core INTERFACE)
target_include_directories(kn_core INTERFACE ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(kn_core INTERFACE kn_plugin kn_platform)
