// The code page 932 form of each code point of the basic plane, as the chip
// shows it, kept so that text converts without a call to the platform's
// converter per character: half-width katakana as their single bytes, the
// seven symbols of JIS-based text as the code page's own, everything else
// as the converter answers, and no form for surrogates and for what the
// converter refuses. A page of 256 code points is asked of the converter
// the first time one of them is met, one code point at a time. A table
// lives in static storage, as the platform keeps its code page tables, so
// that only the pages used are ever touched.
#pragma once

#include <atomic>
#include <cstdint>

#include "system/cp932_encoder.h"

namespace kn {

class Cp932Table {
 public:
  // A form: kNoForm, a single byte b as kSingleByte | b, or a double-byte
  // code as itself (from 0x8140 up).
  static constexpr std::uint16_t kNoForm = 0;
  static constexpr std::uint16_t kSingleByte = 0x0100;

  constexpr Cp932Table() = default;
  Cp932Table(const Cp932Table&) = delete;
  Cp932Table& operator=(const Cp932Table&) = delete;

  // The form of `unit` (from U+0080 up); `encoder` answers for a page not
  // asked yet. Safe to call from several threads at once.
  std::uint16_t FormOf(char16_t unit, Cp932Encoder& encoder) {
    if (states_[unit >> 8].load(std::memory_order_acquire) != kAsked) return AskPage(unit, encoder);
    return forms_[unit];
  }

 private:
  enum : unsigned char { kNotAsked, kAsking, kAsked };

  // Fills the unit's page, unless another thread is at it; answers the unit.
  std::uint16_t AskPage(char16_t unit, Cp932Encoder& encoder);

  std::atomic<unsigned char> states_[256] = {};
  std::uint16_t forms_[0x10000] = {};
};

// The table kept for the process for the converter's class: a converter
// class answers alike in every instance (the system's converter as the
// platform has it, the one that refuses everything). A few classes have
// tables in static storage; further ones (tests' own) get one on the heap.
Cp932Table& SharedCp932Table(const Cp932Encoder& encoder);

}  // namespace kn
