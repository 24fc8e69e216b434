// Where a conversion to code page 932 put 〓 for characters the code page
// cannot hold, as line and byte of the converted text, for reports.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "explain/explain_language.h"
#include "markup/unicode_to_cp932.h"

namespace kn::explain {

struct GetaPlace {
  int line = 0;       // counted by LF
  int column = 0;     // 1-based byte of the converted line
  int boardLine = 0;    // the board line that shows it; 0 outside a board
  int boardColumn = 0;  // 1-based byte of that board line before its stamps are expanded
};

struct GetaPlaces {
  static constexpr std::size_t kListed = 50;
  std::vector<GetaPlace> listed;  // at most kListed, in text order
  std::size_t count = 0;

  void Add(const GetaPlace& place) {
    if (count++ < kListed) listed.push_back(place);
  }
};

// The places of the 〓 at `offsets` of the converted `text`.
GetaPlaces PlaceGetas(std::string_view text, const GetaOffsets& offsets);

// The places as report lines, each begun with `indent`; empty when none.
std::string DescribeGetas(const GetaPlaces& places, const std::string& indent,
                          Language language = Language::kEnglish);

}  // namespace kn::explain
