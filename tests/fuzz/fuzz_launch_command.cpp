// Arbitrary bytes as a link line and as a command: comma-list splitting, the
// launch triple, the failure message and link recognition in both modes must
// neither crash nor break their invariants.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "markup/line_list.h"
#include "render/launch_command.h"
#include "render/link_recognition.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

bool IsPrefix(std::string_view prefix, std::string_view text) {
  return text.substr(0, prefix.size()) == prefix;
}

void CheckCommaList(std::string_view text) {
  kn::LineList items;
  items.SplitCommaList(text);
  // Items only lose bytes (blanks, commas, quotes); none is made up.
  std::size_t total = 0;
  for (int i = 0; i < items.Count(); ++i) total += items.LineAt(i).View().size();
  Require(total <= text.size());
}

void CheckLaunch(std::string_view command) {
  const std::optional<kn::LaunchTriple> triple = kn::BuildLaunchTriple(command);
  if (!triple) return;
  Require(triple->program.size() <= command.size());
  Require(IsPrefix(triple->workingDirectory, triple->program));
  Require(triple->parameters.empty() || triple->parameters.back() == ' ');
  const std::string message = kn::FormatLaunchFailure(*triple);
  Require(message.size() == 46 + triple->program.size() + triple->parameters.size() +
                                triple->workingDirectory.size());
  const std::string cut = kn::CutAtCharBoundary(message, 511);
  Require(cut.size() <= 511 && IsPrefix(cut, message));
}

void CheckLink(std::string_view bytes) {
  const kn::SjisString line(bytes);
  int results[2] = {0, 0};
  for (int mode = 0; mode < 2; ++mode) {
    kn::LogFont font{};
    font.lfHeight = -12;
    kn::LogFont before = font;
    kn::SjisString out("\x01sentinel");
    results[mode] = kn::RecognizeLink(mode, line, out, font);
    if (results[mode] == 0) {
      Require(out.Bytes() == "\x01sentinel");
      Require(std::memcmp(&font, &before, sizeof font) == 0);
      continue;
    }
    Require(results[mode] == 1);
    Require(font.lfUnderline == 1);
    Require(out.Length() <= line.Length());
    // The command never ends in a blank; it is what a click would launch.
    if (mode == 1) {
      Require(out.IsEmpty() || static_cast<unsigned char>(out.Bytes().back()) > 0x20);
      CheckLaunch(out.View());
    }
  }
  Require(results[0] == results[1]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckCommaList(bytes);
  CheckLaunch(bytes);
  CheckLink(bytes);
  return 0;
}
