#include "settings_text.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include "desk_texts.h"
#include "markup/byte_order_marks.h"
#include "quoted_text.h"

namespace kn::desk {
namespace {

const char kMagic[] = "kaleidonote-desk";
const char kHexDigits[] = "0123456789ABCDEF";

std::string Trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::optional<int> ParseInt(const std::string& text, int low, int high) {
  const std::string digits = Trim(text);
  std::size_t at = 0;
  bool negative = false;
  if (at < digits.size() && (digits[at] == '-' || digits[at] == '+')) negative = digits[at++] == '-';
  if (at == digits.size() || digits.size() - at > 9) return std::nullopt;
  long value = 0;
  for (; at < digits.size(); ++at) {
    if (digits[at] < '0' || digits[at] > '9') return std::nullopt;
    value = value * 10 + (digits[at] - '0');
  }
  if (negative) value = -value;
  if (value < low || value > high) return std::nullopt;
  return static_cast<int>(value);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::vector<std::uint8_t>> ParseHexBytes(const std::string& text) {
  const std::string digits = Trim(text);
  if (digits.size() % 2 != 0 || digits.size() / 2 > kMaxSavedBlockBytes) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    const int high = HexValue(digits[i]);
    const int low = HexValue(digits[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
  }
  return bytes;
}

std::optional<std::uint32_t> ParseColor(const std::string& text) {
  const std::string digits = Trim(text);
  if (digits.size() != 7 || digits[0] != '#') return std::nullopt;
  std::uint32_t value = 0;
  for (std::size_t i = 1; i < digits.size(); ++i) {
    if (HexValue(digits[i]) < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(HexValue(digits[i]));
  }
  return value;
}

std::string ColorText(std::uint32_t rgb) {
  std::string text = "#";
  for (int shift = 20; shift >= 0; shift -= 4) text += kHexDigits[(rgb >> shift) & 0xF];
  return text;
}

std::string HexText(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  for (std::uint8_t byte : bytes) {
    text += kHexDigits[byte >> 4];
    text += kHexDigits[byte & 0xF];
  }
  return text;
}

// Reads one value into the record; false with `problem` set when it is bad.
using KeyReader = std::function<bool(const std::string& value, ChipRecord& chip, std::string& problem)>;

bool ReadInt(const std::string& value, int low, int high, int& out, std::string& problem) {
  const std::optional<int> number = ParseInt(value, low, high);
  if (!number) {
    problem = Say(Text::kProblemNumber, {std::to_string(low), std::to_string(high)});
    return false;
  }
  out = *number;
  return true;
}

KeyReader FontIntInto(int FontChoice::*field, int low, int high) {
  return [=](const std::string& value, ChipRecord& chip, std::string& problem) {
    return ReadInt(value, low, high, chip.font.*field, problem);
  };
}

bool ReadFlag(const std::string& value, bool& flag, std::string& problem) {
  const std::string word = Trim(value);
  if (word != "0" && word != "1") {
    problem = Say(Text::kProblemFlag);
    return false;
  }
  flag = word == "1";
  return true;
}

KeyReader FontFlagInto(bool FontChoice::*field) {
  return [=](const std::string& value, ChipRecord& chip, std::string& problem) {
    return ReadFlag(value, chip.font.*field, problem);
  };
}

KeyReader ColorInto(std::uint32_t ChipRecord::*field) {
  return [=](const std::string& value, ChipRecord& chip, std::string& problem) {
    const std::optional<std::uint32_t> color = ParseColor(value);
    if (!color) {
      problem = Say(Text::kProblemColor);
      return false;
    }
    chip.*field = *color;
    return true;
  };
}

bool ReadPosition(const std::string& value, ChipRecord& chip, std::string& problem) {
  const std::size_t comma = value.find(',');
  const std::optional<int> x =
      comma == std::string::npos ? std::nullopt : ParseInt(value.substr(0, comma), -kMaxCoordinate, kMaxCoordinate);
  const std::optional<int> y =
      comma == std::string::npos ? std::nullopt : ParseInt(value.substr(comma + 1), -kMaxCoordinate, kMaxCoordinate);
  if (!x || !y) {
    problem = Say(Text::kProblemPosition);
    return false;
  }
  chip.x = *x;
  chip.y = *y;
  return true;
}

const std::map<std::string, KeyReader>& KeyReaders() {
  static const std::map<std::string, KeyReader> readers = {
      {"position", ReadPosition},
      {"text-color", ColorInto(&ChipRecord::textRgb)},
      {"back-color", ColorInto(&ChipRecord::backRgb)},
      {"font-face",
       [](const std::string& value, ChipRecord& chip, std::string& problem) {
         std::optional<std::string> face = UnquoteText(value, problem);
         if (face) chip.font.face = *face;
         return face.has_value();
       }},
      {"font-height", FontIntInto(&FontChoice::height, -kMaxFontHeight, kMaxFontHeight)},
      {"font-weight", FontIntInto(&FontChoice::weight, 0, kMaxWeight)},
      {"font-italic", FontFlagInto(&FontChoice::italic)},
      {"font-underline", FontFlagInto(&FontChoice::underline)},
      {"font-strikeout", FontFlagInto(&FontChoice::strikeOut)},
      {"font-charset", FontIntInto(&FontChoice::charset, 0, 255)},
      {"font-pitch-family", FontIntInto(&FontChoice::pitchAndFamily, 0, 255)},
      {"zoomed",
       [](const std::string& value, ChipRecord& chip, std::string& problem) {
         return ReadFlag(value, chip.zoomed, problem);
       }},
      {"memo",
       [](const std::string& value, ChipRecord& chip, std::string& problem) {
         std::optional<std::string> memo = UnquoteText(value, problem);
         if (memo) chip.memo = *memo;
         return memo.has_value();
       }},
      {"saved-block",
       [](const std::string& value, ChipRecord& chip, std::string& problem) {
         std::optional<std::vector<std::uint8_t>> bytes = ParseHexBytes(value);
         if (!bytes) {
           problem = Say(Text::kProblemHexBytes, {std::to_string(kMaxSavedBlockBytes)});
           return false;
         }
         chip.savedBlock = *bytes;
         return true;
       }},
  };
  return readers;
}

// Walks the file line by line; the first problem ends the walk.
class SettingsParser {
 public:
  SettingsReading Run(const std::string& text) {
    std::string body = text;
    if (DetectByteOrderMark(body) == ByteOrderMark::kUtf8) body.erase(0, ByteOrderMarkBytes(ByteOrderMark::kUtf8).size());
    std::size_t start = 0;
    int number = 0;
    while (start < body.size() && reading_.verdict == SettingsVerdict::kRead) {
      std::size_t end = body.find('\n', start);
      if (end == std::string::npos) end = body.size();
      std::string line = body.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      Line(++number, Trim(line));
      start = end + 1;
    }
    if (reading_.verdict != SettingsVerdict::kRead) return reading_;
    if (!sawHeader_) return Fail(0, Say(Text::kProblemEmpty));
    if (!ended_) return Fail(number + 1, Say(Text::kProblemCutShort));
    return reading_;
  }

 private:
  void Line(int number, const std::string& line) {
    if (line.empty() || line[0] == '#') return;
    if (!sawHeader_) return Header(number, line);
    if (ended_) return (void)Fail(number, Say(Text::kProblemAfterEnd));
    if (line == "[chip]") {
      reading_.settings.chips.emplace_back();
      keys_.clear();
    } else if (line == "[end]") {
      ended_ = true;
    } else if (line[0] == '[') {
      Fail(number, Say(Text::kProblemUnknownSection, {line}));
    } else {
      KeyValue(number, line);
    }
  }

  void Header(int number, const std::string& line) {
    sawHeader_ = true;
    const std::string magic = kMagic;
    if (line.compare(0, magic.size(), magic) != 0 ||
        (line.size() > magic.size() && line[magic.size()] != ' ')) {
      return (void)Fail(number, Say(Text::kProblemNotOurs));
    }
    const std::optional<int> version = ParseInt(line.substr(magic.size()), 1, 999999999);
    if (!version) return (void)Fail(number, Say(Text::kProblemBadVersion));
    reading_.version = *version;
    if (*version > kSettingsVersion) {
      reading_.verdict = SettingsVerdict::kTooNew;
      reading_.line = number;
    }
  }

  void KeyValue(int number, const std::string& line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) return (void)Fail(number, Say(Text::kProblemNoEquals));
    const std::string key = Trim(line.substr(0, equals));
    if (reading_.settings.chips.empty())
      return (void)Fail(number, Say(Text::kProblemOutsideChip, {key}));
    const auto reader = KeyReaders().find(key);
    if (reader == KeyReaders().end())
      return (void)Fail(number, Say(Text::kProblemUnknownKey, {key}));
    if (!keys_.insert(key).second) return (void)Fail(number, Say(Text::kProblemKeyTwice, {key}));
    std::string problem;
    if (!reader->second(line.substr(equals + 1), reading_.settings.chips.back(), problem)) {
      Fail(number, Say(Text::kProblemInKey, {key, problem}));
    }
  }

  SettingsReading& Fail(int number, const std::string& problem) {
    reading_.verdict = SettingsVerdict::kDamaged;
    reading_.line = number;
    reading_.problem = problem;
    reading_.settings = DeskSettings{};
    return reading_;
  }

  SettingsReading reading_{SettingsVerdict::kRead, {}, 0, 0, {}};
  bool sawHeader_ = false;
  bool ended_ = false;
  std::set<std::string> keys_;
};

std::string Flag(bool value) { return value ? "1" : "0"; }

}  // namespace

SettingsReading ReadSettingsText(const std::string& text) {
  if (text.size() > kMaxSettingsBytes) {
    SettingsReading reading;
    reading.problem = Say(Text::kProblemTooLarge);
    return reading;
  }
  return SettingsParser().Run(text);
}

std::string WriteSettingsText(const DeskSettings& settings) {
  std::string text = std::string(kMagic) + " " + std::to_string(kSettingsVersion) + "\r\n";
  text += "# Kaleidonote desktop host settings (UTF-8), written by kn-desk.exe.\r\n";
  text += "# Comments are for reading: kn-desk writes the file anew and keeps none.\r\n";
  for (const ChipRecord& chip : settings.chips) {
    const auto put = [&](const char* key, const std::string& value) {
      text += std::string(key) + " = " + value + "\r\n";
    };
    text += "\r\n[chip]\r\n";
    put("position", std::to_string(chip.x) + ", " + std::to_string(chip.y));
    put("text-color", ColorText(chip.textRgb));
    put("back-color", ColorText(chip.backRgb));
    put("font-face", QuoteText(chip.font.face));
    put("font-height", std::to_string(chip.font.height));
    put("font-weight", std::to_string(chip.font.weight));
    put("font-italic", Flag(chip.font.italic));
    put("font-underline", Flag(chip.font.underline));
    put("font-strikeout", Flag(chip.font.strikeOut));
    put("font-charset", std::to_string(chip.font.charset));
    put("font-pitch-family", std::to_string(chip.font.pitchAndFamily));
    put("zoomed", Flag(chip.zoomed));
    put("memo", QuoteText(chip.memo));
    put("saved-block", HexText(chip.savedBlock));
  }
  return text + "\r\n[end]\r\n";
}

std::string DescribeReading(const SettingsReading& reading) {
  switch (reading.verdict) {
    case SettingsVerdict::kRead:
      return Say(Text::kSettingsRead);
    case SettingsVerdict::kTooNew:
      return Say(Text::kSettingsTooNew,
                 {std::to_string(reading.version), std::to_string(kSettingsVersion)});
    case SettingsVerdict::kDamaged:
      break;
  }
  if (reading.line > 0)
    return Say(Text::kSettingsDamagedAt, {std::to_string(reading.line), reading.problem});
  return Say(Text::kSettingsDamaged, {reading.problem});
}

}  // namespace kn::desk
