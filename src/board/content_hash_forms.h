// The two forms of the content hash, XXH3-128 both, giving the same hashes:
// one built for every processor, one for SSE2 alone, chosen at run time as
// the scans are. Each works on a state of its own kind, kStateRoom bytes
// aligned to kStateAlignment.
#pragma once

#include <cstddef>
#include <cstdint>

#include "markup/vector_scans.h"

namespace kn::content_hash {

constexpr std::size_t kStateRoom = 640;
constexpr std::size_t kStateAlignment = 64;

void ResetPlain(void* state);
void AddPlain(void* state, const void* bytes, std::size_t n);
void DigestPlain(const void* state, std::uint64_t& low, std::uint64_t& high);

#if KN_HAVE_SSE2_SCANS
void ResetSse2(void* state);
void AddSse2(void* state, const void* bytes, std::size_t n);
void DigestSse2(const void* state, std::uint64_t& low, std::uint64_t& high);
#endif

}  // namespace kn::content_hash
