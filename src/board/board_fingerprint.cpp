#include "board/board_fingerprint.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "board/content_hash_forms.h"
#include "markup/vector_scans.h"

namespace kn {

ContentHasher::ContentHasher() : sse2_(UseSse2Scans()) {
  static_assert(sizeof storage_ >= content_hash::kStateRoom + content_hash::kStateAlignment, "room for the state");
  void* room = storage_;
  std::size_t space = sizeof storage_;
  state_ = std::align(content_hash::kStateAlignment, content_hash::kStateRoom, room, space);
#if KN_HAVE_SSE2_SCANS
  if (sse2_) {
    content_hash::ResetSse2(state_);
    return;
  }
#endif
  content_hash::ResetPlain(state_);
}

void ContentHasher::Add(const char* bytes, std::size_t n) {
  if (n == 0) return;
#if KN_HAVE_SSE2_SCANS
  if (sse2_) {
    content_hash::AddSse2(state_, bytes, n);
    return;
  }
#endif
  content_hash::AddPlain(state_, bytes, n);
}

ContentHash ContentHasher::Digest() const {
  ContentHash hash;
#if KN_HAVE_SSE2_SCANS
  if (sse2_) {
    content_hash::DigestSse2(state_, hash.low, hash.high);
    return hash;
  }
#endif
  content_hash::DigestPlain(state_, hash.low, hash.high);
  return hash;
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
