// The content hash for every processor: XXH3's scalar form.
#include "board/content_hash_forms.h"

#define XXH_VECTOR 0  // XXH_SCALAR
#define KN_HASH_FORM(name) name##Plain
#include "board/content_hash_form.inc"
