// The content hash for processors with SSE2: this whole file is compiled
// for SSE2 and holds nothing else, so no code built for SSE2 is shared
// with the rest of the DLL.
#include "board/content_hash_forms.h"

#if KN_HAVE_SSE2_SCANS
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("sse2"))), apply_to = function)
#else
#pragma GCC target("sse2")
#endif
#include <emmintrin.h>
#define XXH_VECTOR 1  // XXH_SSE2
#define KN_HASH_FORM(name) name##Sse2
#include "board/content_hash_form.inc"
#if defined(__clang__)
#pragma clang attribute pop
#endif
#endif
