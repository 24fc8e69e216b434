#include "explain/geta_places.h"

#include "explain/filled_words.h"

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

std::string DescribeGetas(const GetaPlaces& places, const std::string& indent, Language language) {
  if (places.count == 0) return "";
  std::string out = indent + Say(language,
                                 {"{1} character(s) that Shift-JIS cannot hold (or bytes that are no character), "
                                  "each shown as \x81\xAC:\n",
                                  "\x83\x56\x83\x74\x83\x67JIS \x82\xC9\x82\xC8\x82\xA2\x95\xB6\x8E\x9A\x81\x69\x82\xDC"
                                  "\x82\xBD\x82\xCD\x95\xB6\x8E\x9A\x82\xC5\x82\xC8\x82\xA2\x83\x6F\x83\x43\x83\x67"
                                  "\x81\x6A\x82\xAA {1} \x8C\xC2\x82\xA0\x82\xE8\x81\x41\x81\xAC \x82\xC5\x95\x5C"
                                  "\x8E\xA6\x82\xB5\x82\xDC\x82\xB7:\n"
                                  /* シフトJIS にない文字（または文字でないバイト）が {1} 個あり、〓 で表示します:\n */},
                                 {std::to_string(places.count)});
  for (const GetaPlace& place : places.listed) {
    out += indent + "  " +
           Say(language, {"line {1}, byte {2}\n", "{1}\x8D\x73\x96\xDA {2}\x83\x6F\x83\x43\x83\x67\x96\xDA\n" /* {1}行目 {2}バイト目\n */},
               {std::to_string(place.line), std::to_string(place.column)});
  }
  if (places.count > places.listed.size()) {
    out += indent + "  " +
           Say(language, {"and {1} more\n", "\x82\xD9\x82\xA9 {1} \x8C\xC2\n" /* ほか {1} 個\n */}, {std::to_string(places.count - places.listed.size())});
  }
  return out;
}

}  // namespace kn::explain
