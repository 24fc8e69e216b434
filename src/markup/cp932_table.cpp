#include "markup/cp932_table.h"

#include <mutex>
#include <typeindex>
#include <utility>
#include <vector>

namespace kn {
namespace {

constexpr unsigned kPageSize = 256;

// The code page's own bytes for the code points that JIS-based converters
// give where code page 932 maps another code point to the same glyph.
std::uint16_t JisSymbolForm(char32_t code) {
  switch (code) {
    case 0x301C: return 0x8160;  // WAVE DASH, FULLWIDTH TILDE in the code page
    case 0x2016: return 0x8161;  // DOUBLE VERTICAL LINE, PARALLEL TO
    case 0x2212: return 0x817C;  // MINUS SIGN, FULLWIDTH HYPHEN-MINUS
    case 0x2014: return 0x815C;  // EM DASH, HORIZONTAL BAR
    case 0x00A2: return 0x8191;  // CENT SIGN, FULLWIDTH CENT SIGN
    case 0x00A3: return 0x8192;  // POUND SIGN, FULLWIDTH POUND SIGN
    case 0x00AC: return 0x81CA;  // NOT SIGN, FULLWIDTH NOT SIGN
    default: return Cp932Table::kNoForm;
  }
}

std::uint16_t AskConverter(char16_t unit, Cp932Encoder& encoder) {
  char bytes[2];
  const Cp932Encoder::Result r = encoder.Encode(&unit, 1, bytes);
  if (r.units != 1 || r.bytes == 0 || r.bytes > 2) return Cp932Table::kNoForm;
  const auto first = static_cast<unsigned char>(bytes[0]);
  if (r.bytes == 1) return static_cast<std::uint16_t>(Cp932Table::kSingleByte | first);
  return static_cast<std::uint16_t>(first << 8 | static_cast<unsigned char>(bytes[1]));
}

std::uint16_t FormFor(char16_t unit, Cp932Encoder& encoder) {
  if (unit >= 0xFF61 && unit <= 0xFF9F) {  // half-width katakana: A1-DF
    return static_cast<std::uint16_t>(Cp932Table::kSingleByte | (unit - 0xFF61 + 0xA1));
  }
  if (const std::uint16_t symbol = JisSymbolForm(unit)) return symbol;
  if (unit >= 0xD800 && unit <= 0xDFFF) return Cp932Table::kNoForm;
  return AskConverter(unit, encoder);
}

}  // namespace

std::uint16_t Cp932Table::AskPage(char16_t unit, Cp932Encoder& encoder) {
  const unsigned page = unit >> 8;
  unsigned char state = kNotAsked;
  if (!states_[page].compare_exchange_strong(state, kAsking, std::memory_order_acquire)) {
    if (state == kAsked) return forms_[unit];
    return FormFor(unit, encoder);  // being asked by another thread
  }
  for (unsigned i = 0; i < kPageSize; ++i) {
    const auto u = static_cast<char16_t>(page * kPageSize + i);
    forms_[u] = u < 0x80 ? static_cast<std::uint16_t>(kSingleByte | u) : FormFor(u, encoder);
  }
  states_[page].store(kAsked, std::memory_order_release);
  return forms_[unit];
}

Cp932Table& SharedCp932Table(const Cp932Encoder& encoder) {
  constexpr std::size_t kKept = 3;
  static Cp932Table kept[kKept];
  static std::mutex guard;
  static std::vector<std::pair<std::type_index, Cp932Table*>> tables;
  const std::type_index kind(typeid(encoder));
  const std::lock_guard<std::mutex> lock(guard);
  for (const auto& [type, table] : tables) {
    if (type == kind) return *table;
  }
  Cp932Table* const table = tables.size() < kKept ? &kept[tables.size()] : new Cp932Table;  // kept for the process
  tables.emplace_back(kind, table);
  return *table;
}

}  // namespace kn
