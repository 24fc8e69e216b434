#include "host_options.h"

#include <cwchar>

#include "plugin/host_contract.h"
#include "wide_text.h"

namespace kn::host {
namespace {

constexpr long kMaxWindowSide = 16384;
constexpr long kMaxFontHeight = 1000;

const char kUsage[] =
    "kn-host: a stand-in for the host application of the Kaleidonote plug-in.\n"
    "\n"
    "Usage:\n"
    "  kn-host render MEMO.txt OUT.png [options]\n"
    "      Creates a chip from the memo, sizes its window as the chip proposes,\n"
    "      paints it into a picture and writes OUT.png. Prints the picture's path\n"
    "      and size.\n"
    "  kn-host info [--dll PATH]\n"
    "      Prints what DrawExSpecification writes and which exports the DLL has.\n"
    "  kn-host --help\n"
    "\n"
    "Render options:\n"
    "  --utf8               MEMO.txt is UTF-8 (else code page 932 bytes, as the\n"
    "                       host keeps memos); 〜 and − become the code page's\n"
    "                       own, and a character it cannot hold is named\n"
    "  --dll PATH           the plug-in DLL (default: kaleidonote.dll beside kn-host)\n"
    "  --size WxH           the window's outer size instead of the proposed one\n"
    "  --text-color RRGGBB  text colour (default 000000)\n"
    "  --back-color RRGGBB  background colour (default FFFFC8)\n"
    "  --font FACE          font face (default the Japanese Gothic face)\n"
    "  --font-height N      LOGFONT height: negative for the character height in\n"
    "                       pixels (default -12)\n"
    "  --bold               bold base font\n"
    "  --board              board mode: the memo lists text files to show\n"
    "  --scroll             scroll mode (framed by a bevel)\n"
    "  --link-color red|green|blue\n"
    "                       colour of link lines\n"
    "A mode option (--board, --scroll, --link-color) hands the chip a saved block\n"
    "with those modes, a 1-minute interval and blue links unless told otherwise;\n"
    "without one the chip gets an empty block and uses its defaults.\n"
    "\n"
    "Exit status: 0 done, 1 failed, 2 bad command line.\n";

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

int HexValue(wchar_t c) {
  if (IsDigit(c)) return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

bool ParseHex(const std::wstring& text, COLORREF& color) {
  std::wstring digits = text;
  if (!digits.empty() && digits[0] == L'#') digits.erase(0, 1);
  if (digits.size() != 6) return false;
  unsigned value = 0;
  for (wchar_t c : digits) {
    if (HexValue(c) < 0) return false;
    value = value * 16 + static_cast<unsigned>(HexValue(c));
  }
  color = RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
  return true;
}

bool ParseLong(const std::wstring& text, long low, long high, long& value) {
  if (text.empty() || text.size() > 9) return false;
  wchar_t* end = nullptr;
  const long parsed = std::wcstol(text.c_str(), &end, 10);
  if (*end != L'\0' || !(IsDigit(text[0]) || text[0] == L'-' || text[0] == L'+')) return false;
  if (parsed < low || parsed > high) return false;
  value = parsed;
  return true;
}

bool ParseSize(const std::wstring& text, SIZE& size) {
  const std::size_t x = text.find_first_of(L"xX");
  if (x == std::wstring::npos) return false;
  long width = 0;
  long height = 0;
  if (!ParseLong(text.substr(0, x), 1, kMaxWindowSide, width) ||
      !ParseLong(text.substr(x + 1), 1, kMaxWindowSide, height)) {
    return false;
  }
  size = SIZE{width, height};
  return true;
}

bool ParseLinkColor(const std::wstring& text, std::int32_t& id) {
  if (text == L"red") id = IDM_LINK_RED;
  else if (text == L"green") id = IDM_LINK_GREEN;
  else if (text == L"blue") id = IDM_LINK_BLUE;
  else return false;
  return true;
}

// Walks the arguments; options with a value take the next one.
class ArgReader {
 public:
  explicit ArgReader(const std::vector<std::wstring>& args) : args_(args) {}
  bool Done() const { return next_ >= args_.size(); }
  const std::wstring& Take() { return args_[next_++]; }
  bool TakeValue(const std::wstring& option, std::wstring& value, std::string& error) {
    if (Done()) {
      error = WideToUtf8(option) + " needs a value";
      return false;
    }
    value = Take();
    return true;
  }

 private:
  const std::vector<std::wstring>& args_;
  std::size_t next_ = 0;
};

bool Invalid(const std::wstring& option, const std::wstring& value, std::string& error) {
  error = "invalid value for " + WideToUtf8(option) + ": '" + WideToUtf8(value) + "'";
  return false;
}

bool ParseValueOption(const std::wstring& option, const std::wstring& value, HostOptions& options,
                      std::string& error) {
  long number = 0;
  std::int32_t link = 0;
  if (option == L"--dll") options.dllPath = value;
  else if (option == L"--font") options.face = value;
  else if (option == L"--size") {
    SIZE size{};
    if (!ParseSize(value, size)) return Invalid(option, value, error);
    options.outerSize = size;
  } else if (option == L"--text-color") {
    if (!ParseHex(value, options.textColor)) return Invalid(option, value, error);
  } else if (option == L"--back-color") {
    if (!ParseHex(value, options.backColor)) return Invalid(option, value, error);
  } else if (option == L"--font-height") {
    if (!ParseLong(value, -kMaxFontHeight, kMaxFontHeight, number)) {
      return Invalid(option, value, error);
    }
    options.fontHeight = number;
  } else if (option == L"--link-color") {
    if (!ParseLinkColor(value, link)) return Invalid(option, value, error);
    options.linkColor = link;
  }
  return true;
}

bool TakesValue(const std::wstring& option) {
  for (const wchar_t* name : {L"--dll", L"--font", L"--size", L"--text-color", L"--back-color",
                              L"--font-height", L"--link-color"}) {
    if (option == name) return true;
  }
  return false;
}

bool ParseOption(const std::wstring& option, ArgReader& reader, HostOptions& options,
                 std::string& error) {
  if (option == L"--utf8") options.utf8 = true;
  else if (option == L"--bold") options.bold = true;
  else if (option == L"--board") options.board = true;
  else if (option == L"--scroll") options.scroll = true;
  else if (TakesValue(option)) {
    std::wstring value;
    return reader.TakeValue(option, value, error) &&
           ParseValueOption(option, value, options, error);
  } else {
    error = "unknown option " + WideToUtf8(option);
    return false;
  }
  return true;
}

bool IsHelp(const std::wstring& arg) {
  return arg == L"--help" || arg == L"-h" || arg == L"/?" || arg == L"help";
}

bool ParseCommand(const std::wstring& word, HostCommand& command, std::string& error) {
  if (IsHelp(word)) command = HostCommand::kHelp;
  else if (word == L"render") command = HostCommand::kRender;
  else if (word == L"info") command = HostCommand::kInfo;
  else {
    error = "unknown command '" + WideToUtf8(word) + "' (try kn-host --help)";
    return false;
  }
  return true;
}

}  // namespace

bool ParseHostOptions(const std::vector<std::wstring>& args, HostOptions& options,
                      std::string& error) {
  options = HostOptions{};
  if (args.empty()) {
    error = "no command given (try kn-host --help)";
    return false;
  }
  ArgReader reader(args);
  if (!ParseCommand(reader.Take(), options.command, error)) return false;
  std::vector<std::wstring> positional;
  while (!reader.Done()) {
    const std::wstring& arg = reader.Take();
    if (IsHelp(arg)) {
      options.command = HostCommand::kHelp;
      return true;
    }
    if (arg.size() > 2 && arg.compare(0, 2, L"--") == 0) {
      if (!ParseOption(arg, reader, options, error)) return false;
    } else {
      positional.push_back(arg);
    }
  }
  const std::size_t wanted = options.command == HostCommand::kRender ? 2 : 0;
  if (options.command == HostCommand::kHelp) return true;
  if (positional.size() != wanted) {
    error = options.command == HostCommand::kRender
                ? "render needs MEMO.txt and OUT.png"
                : "unexpected argument '" + WideToUtf8(positional[0]) + "'";
    return false;
  }
  if (wanted == 2) {
    options.memoPath = positional[0];
    options.outPath = positional[1];
  }
  return true;
}

const char* HostUsage() { return kUsage; }

}  // namespace kn::host
