# kn_glob(VAR PATTERN...): the files matching the patterns, re-read when
# files come or go. No match means a moved or renamed folder, and the
# targets and tests built from it would vanish without a word: configuring
# stops instead.
function(kn_glob var)
  file(GLOB found CONFIGURE_DEPENDS ${ARGN})
  if(NOT found)
    message(FATAL_ERROR "No file matches ${ARGN}")
  endif()
  set(${var} ${found} PARENT_SCOPE)
endfunction()

# kn_require_files(VAR WHAT): stops when a filtered list came out empty.
function(kn_require_files var what)
  if(NOT ${var})
    message(FATAL_ERROR "No ${what} found")
  endif()
endfunction()
