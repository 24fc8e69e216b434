#include "board/board_fingerprint.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

// XXH3, compiled into this file alone: the DLL carries it and imports
// nothing for it. Built for a plain i686 it takes its scalar form.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace kn {

struct ContentHasher::State {
  XXH3_state_t xxh;
};

ContentHasher::ContentHasher() {
  static_assert(sizeof(State) <= kStateRoom && alignof(State) <= kStateAlignment, "room for the hash's state");
  void* room = storage_;
  std::size_t space = sizeof storage_;
  state_ = new (std::align(alignof(State), sizeof(State), room, space)) State;
  XXH3_128bits_reset(&state_->xxh);
}

ContentHasher::~ContentHasher() { state_->~State(); }

void ContentHasher::Add(const char* bytes, std::size_t n) {
  if (n != 0) XXH3_128bits_update(&state_->xxh, bytes, n);
}

ContentHash ContentHasher::Digest() const {
  const XXH128_hash_t digest = XXH3_128bits_digest(&state_->xxh);
  return {digest.low64, digest.high64};
}

bool operator==(const BoardFileFingerprint& a, const BoardFileFingerprint& b) {
  return a.found == b.found && a.opened == b.opened && std::memcmp(&a.time, &b.time, sizeof a.time) == 0 &&
         a.size == b.size && a.hash == b.hash;
}

void BoardFingerprint::Begin(std::string_view memo, const std::type_info& encoder) {
  usable_ = true;
  memo_.assign(memo);
  encoder_ = &encoder;
  files_.clear();
}

void BoardFingerprint::Clear() {
  usable_ = false;
  memo_.clear();
  encoder_ = nullptr;
  files_.clear();
}

bool BoardFingerprint::IsFor(std::string_view memo, const std::type_info& encoder) const {
  return usable_ && encoder_ != nullptr && *encoder_ == encoder && memo_ == memo;
}

std::size_t HashingReader::Read(char* buffer, std::size_t size) {
  const std::size_t got = file_.Read(buffer, size);
  if (got > size) {
    overstated_ = true;
  } else if (got == 0) {
    reachedEnd_ = true;
  } else {
    hasher_.Add(buffer, got);
    count_ += got;
  }
  return got;
}

namespace {

// Pieces that stay in the processor's cache; a small file gets a buffer of
// half its size, so that its re-read holds little beside the board shown.
constexpr std::size_t kLargestPiece = 64 * 1024;
constexpr std::size_t kSmallestPiece = 1024;

}  // namespace

bool HashWholeFile(FileReader& file, std::uint64_t& size, ContentHash& hash) {
  const std::size_t told = file.SizeHint();
  const std::size_t piece = told == 0 ? kLargestPiece : std::clamp(told / 2 + 1, kSmallestPiece, kLargestPiece);
  const std::unique_ptr<char[]> buffer(new (std::nothrow) char[piece]);
  if (!buffer) return false;
  ContentHasher hasher;
  size = 0;
  for (;;) {
    const std::size_t got = file.Read(buffer.get(), piece);
    if (got == 0) break;
    if (got > piece) return false;
    hasher.Add(buffer.get(), got);
    size += got;
  }
  hash = hasher.Digest();
  return true;
}

}  // namespace kn
