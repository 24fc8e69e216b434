// kn-explain: tells memo authors how the Kaleidonote chip reads their memo.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "explain/explain_options.h"
#include "explain/explain_run.h"
#include "explain/system_language.h"
#include "explain/terminal_text.h"
#include "platform/std_file_system.h"
#include "platform/system_clock.h"

namespace {

std::optional<std::string> ReadStandardInput() {
#ifdef _WIN32
  _setmode(_fileno(stdin), _O_BINARY);
#endif
  std::string bytes;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, stdin)) != 0;) bytes.append(buffer, n);
  if (std::ferror(stdin)) return std::nullopt;
  return bytes;
}

void Write(std::FILE* stream, const std::string& text) { std::fwrite(text.data(), 1, text.size(), stream); }

int Run(int argc, char** argv) {
  using namespace kn::explain;
  ParsedArguments parsed = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
  // --hex asks for plain ASCII: the English words.
  parsed.options.language =
      parsed.options.encoding == OutputEncoding::kHex ? Language::kEnglish : SystemLanguage();
  if (!parsed.error.empty()) {
    Write(stderr, "kn-explain: " + parsed.error + "\n(kn-explain --help tells more)\n");
    return 2;
  }
  Cp932Decoder decoder;
  if (parsed.options.help) {
    WriteToTerminal(stdout, EncodeForTerminal(HelpText(parsed.options.language), parsed.options.encoding, decoder),
                    parsed.options.encoding == OutputEncoding::kUtf8);
    return 0;
  }
  kn::StdFileSystem files;
  const SourceReader read = [&files](const std::string& name) {
    return name == "-" ? ReadStandardInput() : ReadThrough(files, name);
  };
  // One reading of the clock: every line is explained for the same moment.
  const RunResult result = RunExplainer(parsed.options, files, read, kn::SystemClock().LocalNow());
  if (parsed.options.encoding == OutputEncoding::kUtf8 && !decoder.Available()) {
    Write(stderr, "kn-explain: no code page 932 converter here; printing \\xNN escapes\n");
  }
  WriteToTerminal(stdout, EncodeForTerminal(result.report, parsed.options.encoding, decoder),
                  parsed.options.encoding == OutputEncoding::kUtf8);
  std::fflush(stdout);
  Write(stderr, result.errors);
  return result.status;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kn-explain: %s\n", e.what());
    return 1;
  }
}
