# The DLL's pinned import list, tests/dll_imports.txt: every function it
# imports, by DLL. The test dll_imports compares the built DLL with it
# without Wine (objdump) and checks that the comparison names a new or a
# lost import; the release check compares the packaged DLL with it; the Wine
# test program reads its DLLs from dll_imports.h, written here from the list.
set(KN_DLL_IMPORTS ${CMAKE_SOURCE_DIR}/tests/dll_imports.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KN_DLL_IMPORTS})
file(READ ${KN_DLL_IMPORTS} pinned_imports)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/dll_imports.h @ONLY CONTENT
"// Written by the build from tests/dll_imports.txt, the DLL's pinned imports.
#pragma once

namespace kn::wine {
inline constexpr const char* kPinnedImports = R\"KN(@pinned_imports@)KN\";
}  // namespace kn::wine
")
add_test(NAME dll_imports COMMAND ${CMAKE_SOURCE_DIR}/tests/scripts/dll_imports_test.sh $<TARGET_FILE:kaleidonote>)
