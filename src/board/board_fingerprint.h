// What a board's build took in: the memo, the converter, and for each name
// of its list that reached the file system whether a file was found, its
// time, whether it opened, and the size and a 128-bit hash of the bytes
// read from it. A re-read whose inputs all match the fingerprint of the
// board shown would build that board again, so it builds nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "system/file_system.h"
#include "system/types.h"

namespace kn {

struct ContentHash {
  std::uint64_t low = 0;
  std::uint64_t high = 0;
  bool operator==(const ContentHash& other) const { return low == other.low && high == other.high; }
};

// The hash of a file's bytes, fed as they are read: XXH3-128, in the
// processor's form (see content_hash_forms.h).
class ContentHasher {
 public:
  ContentHasher();
  ContentHasher(const ContentHasher&) = delete;
  ContentHasher& operator=(const ContentHasher&) = delete;
  void Add(const char* bytes, std::size_t n);
  ContentHash Digest() const;

 private:
  // The state wants 64-byte alignment; it is aligned within the storage,
  // so that a reader holding a hasher needs no over-aligned allocation.
  void* state_;  // within storage_
  bool sse2_;    // the form chosen when the hash began
  unsigned char storage_[640 + 64];
};

// One name of the list that reached the file system.
struct BoardFileFingerprint {
  bool found = false;   // a directory entry matched: its time counts
  bool opened = false;  // and it opened: its bytes were read
  SystemTime time{};
  std::uint64_t size = 0;
  ContentHash hash;
};

bool operator==(const BoardFileFingerprint& a, const BoardFileFingerprint& b);
inline bool operator!=(const BoardFileFingerprint& a, const BoardFileFingerprint& b) { return !(a == b); }

class BoardFingerprint {
 public:
  // A build of `memo` starts, converting with `encoder`'s class.
  void Begin(std::string_view memo, const std::type_info& encoder);
  void Add(const BoardFileFingerprint& file) { files_.push_back(file); }
  // The build did not take in what its files hold (a read that did not
  // reach the end, memory that ran out): nothing can be matched with it.
  void Spoil() { usable_ = false; }
  void Clear();

  bool IsUsable() const { return usable_; }
  bool IsFor(std::string_view memo, const std::type_info& encoder) const;
  const std::vector<BoardFileFingerprint>& Files() const { return files_; }

 private:
  bool usable_ = false;
  std::string memo_;
  const std::type_info* encoder_ = nullptr;
  std::vector<BoardFileFingerprint> files_;
};

// Passes a file's bytes on to the build and hashes them on the way.
class HashingReader final : public FileReader {
 public:
  explicit HashingReader(FileReader& file) : file_(file) {}
  std::size_t Read(char* buffer, std::size_t size) override;
  std::size_t SizeHint() override { return file_.SizeHint(); }
  // True when the build read up to the file's end, so that the hash is of
  // everything the file held.
  bool ReachedEnd() const { return reachedEnd_ && !overstated_; }
  std::uint64_t Count() const { return count_; }
  ContentHash Digest() const { return hasher_.Digest(); }

 private:
  FileReader& file_;
  ContentHasher hasher_;
  std::uint64_t count_ = 0;
  bool reachedEnd_ = false;
  bool overstated_ = false;
};

// Reads the whole file in pieces through one buffer of its own, sized from
// what the file tells of its size, hashing as it goes: its size and hash,
// or false when that cannot be told (no memory for the buffer, a read that
// overstates what it gave).
bool HashWholeFile(FileReader& file, std::uint64_t& size, ContentHash& hash);

}  // namespace kn
