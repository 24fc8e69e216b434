#include "explain/geta_places.h"

namespace kn::explain {

GetaPlaces PlaceGetas(std::string_view text, const GetaOffsets& offsets) {
  GetaPlaces places;
  int line = 1;
  std::size_t lineStart = 0;
  std::size_t at = 0;
  for (const std::size_t offset : offsets) {
    for (; at < offset; ++at) {
      if (text[at] == '\n') {
        ++line;
        lineStart = at + 1;
      }
    }
    places.Add(GetaPlace{line, static_cast<int>(offset - lineStart) + 1});
  }
  return places;
}

std::string DescribeGetas(const GetaPlaces& places, const std::string& indent) {
  if (places.count == 0) return "";
  std::string out = indent + std::to_string(places.count) +
                    " character(s) that Shift-JIS cannot hold (or bytes that are no character), each shown "
                    "as \x81\xAC:\n";
  for (const GetaPlace& place : places.listed) {
    out += indent + "  line " + std::to_string(place.line) + ", byte " + std::to_string(place.column) + "\n";
  }
  if (places.count > places.listed.size()) {
    out += indent + "  and " + std::to_string(places.count - places.listed.size()) + " more\n";
  }
  return out;
}

}  // namespace kn::explain
