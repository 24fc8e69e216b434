# The DLL's export table, KN_EXPORTS_DEF: every entry point of the host's
# contract (the list KN_ENTRY_POINTS in host_contract.h, the one place that
# names them) under its plain and its underscore name. The release check
# compares the packaged DLL's exports with this file.
set(KN_HOST_CONTRACT ${CMAKE_SOURCE_DIR}/src/plugin/host_contract.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KN_HOST_CONTRACT})
file(READ ${KN_HOST_CONTRACT} contract)
string(REGEX MATCH "#define KN_ENTRY_POINTS\\(X\\)([^\n]*\\\\\n)+[^\n]*" entry_list "${contract}")
string(REGEX MATCHALL "X\\([A-Za-z0-9_]+\\)" entry_points "${entry_list}")
list(TRANSFORM entry_points REPLACE "X\\((.*)\\)" "\\1")
if(NOT entry_points)
  message(FATAL_ERROR "${KN_HOST_CONTRACT} has no KN_ENTRY_POINTS list")
endif()
set(def_text "LIBRARY kaleidonote.dll\nEXPORTS\n")
foreach(name ${entry_points})
  string(APPEND def_text "  ${name}\n")
endforeach()
foreach(name ${entry_points})
  string(APPEND def_text "  _${name} = ${name}\n")
endforeach()
set(KN_EXPORTS_DEF ${CMAKE_BINARY_DIR}/kaleidonote.def)
file(CONFIGURE OUTPUT ${KN_EXPORTS_DEF} CONTENT "${def_text}")
