#include "explain/encoding_check.h"

#include "explain/terminal_text.h"
#include "markup/sjis_string.h"
#include "markup/utf8_decode.h"

namespace kn::explain {
namespace {

bool IsTrailValue(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }
bool IsLoneInvalid(unsigned char b) { return b == 0x80 || b == 0xA0 || b >= 0xFD; }

unsigned char ByteAt(std::string_view bytes, std::size_t i) { return static_cast<unsigned char>(bytes[i]); }

// Walks the bytes once, keeping the line and column of every byte.
class Scanner {
 public:
  explicit Scanner(std::string_view bytes) : bytes_(bytes) {}

  // Whether the text (after a UTF-8 mark) is well-formed UTF-8 with
  // characters beyond ASCII; then how many, and where the first stands.
  void CheckUtf8(EncodingReport& report) {
    const std::size_t markLength = report.bom == ByteOrderMark::kUtf8 ? ByteOrderMarkBytes(report.bom).size() : 0;
    const Utf8Scan scan = ScanUtf8(bytes_.substr(markLength));
    report.utf8 = scan.wellFormed && scan.multibyte;
    if (!report.utf8) return;
    Walk([&](std::size_t i, int line) -> std::size_t {
      if (i < markLength) return markLength;  // the mark is reported on its own
      // In well-formed UTF-8 every byte from 0xC0 up begins a character.
      if (ByteAt(bytes_, i) >= 0xC0 && report.utf8Characters++ == 0) report.utf8FirstLine = line;
      return 1;
    });
  }

  void CheckSjis(EncodingReport& report) {
    report.lineCount = Walk([&](std::size_t i, int line) -> std::size_t {
      const unsigned char b = ByteAt(bytes_, i);
      if (b == 0 && report.firstNulLine == 0) report.firstNulLine = line;
      if (b == 0x1A && report.endOfFileLine == 0) report.endOfFileLine = line;
      if (IsLeadValue(b)) {
        if (i + 1 < bytes_.size() && IsTrailValue(ByteAt(bytes_, i + 1))) return 2;
        // The byte after a bad lead is read again on its own.
        Add(report, SjisFault::kLeadWithoutTrail, line, i, i + 1 < bytes_.size() ? 2 : 1);
        return 1;
      }
      if (IsLoneInvalid(b)) Add(report, SjisFault::kLoneByte, line, i, 1);
      return 1;
    });
  }

 private:
  // Calls step(i, line) for each unit; step says how many bytes it took.
  // Returns the number of lines.
  template <typename Step>
  int Walk(Step step) {
    int line = 1;
    lineStart_ = 0;
    std::size_t i = 0;
    while (i < bytes_.size()) {
      const char c = bytes_[i];
      if (c == '\r' || c == '\n') {
        i += (c == '\r' && i + 1 < bytes_.size() && bytes_[i + 1] == '\n') ? 2 : 1;
        if (i < bytes_.size()) ++line;
        lineStart_ = i;
        continue;
      }
      i += step(i, line);
    }
    return bytes_.empty() ? 0 : line;
  }

  void Add(EncodingReport& report, SjisFault fault, int line, std::size_t i, std::size_t length) {
    if (report.problemCount++ >= EncodingReport::kListed) return;
    report.problems.push_back(SjisProblem{fault, line, static_cast<int>(i - lineStart_) + 1,
                                          std::string(bytes_.substr(i, length))});
  }

  std::string_view bytes_;
  std::size_t lineStart_ = 0;
};

std::string BomName(ByteOrderMark bom, Language language) {
  const Words name = bom == ByteOrderMark::kUtf8
                         ? Words{"a UTF-8 byte-order mark (",
                                 "UTF-8 \x82\xCC\x83\x6F\x83\x43\x83\x67\x8F\x87\x83\x7D\x81\x5B\x83\x4E\x81\x69"
                                 /* UTF-8 のバイト順マーク（ */}
                         : Words{"a UTF-16 byte-order mark (",
                                 "UTF-16 \x82\xCC\x83\x6F\x83\x43\x83\x67\x8F\x87\x83\x7D\x81\x5B\x83\x4E\x81\x69"
                                 /* UTF-16 のバイト順マーク（ */};
  return In(language, name) + HexBytes(ByteOrderMarkBytes(bom)) + In(language, {")", "\x81\x6A" /* ） */});
}

std::string ProblemText(const SjisProblem& p, Language language) {
  const auto say = [language](const Words& words) { return std::string(In(language, words)); };
  // The Japanese texts write a byte as 0x92, the English ones as 92.
  const auto byte = [language](std::string_view b) {
    return (language == Language::kJapanese ? "0x" : "") + HexBytes(b);
  };
  const std::string where = say({"line ", ""}) + std::to_string(p.line) +
                            say({", byte ", "\x8D\x73\x96\xDA " /* 行目  */}) + std::to_string(p.column) +
                            say({": ", "\x83\x6F\x83\x43\x83\x67\x96\xDA: " /* バイト目:  */});
  if (p.fault == SjisFault::kLoneByte) {
    return where + byte(p.bytes) +
           say({" begins no Shift-JIS character",
                " \x82\xC5\x8E\x6E\x82\xDC\x82\xE9\x83\x56\x83\x74\x83\x67JIS \x82\xCC\x95\xB6\x8E\x9A\x82\xCD\x82\xA0"
                "\x82\xE8\x82\xDC\x82\xB9\x82\xF1" /*  で始まるシフトJIS の文字はありません */});
  }
  if (p.bytes.size() < 2) {
    return where +
           say({"lead byte ", "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x8F\x49\x82\xED\x82\xE8\x82\xC9\x90\xE6\x93\xAA"
                              "\x83\x6F\x83\x43\x83\x67 " /* ファイルの終わりに先頭バイト  */}) +
           byte(p.bytes) + say({" at the end of the file", ""});
  }
  return where + say({"lead byte ", "\x90\xE6\x93\xAA\x83\x6F\x83\x43\x83\x67 " /* 先頭バイト  */}) +
         byte(p.bytes.substr(0, 1)) + say({" followed by ", " \x82\xCC\x8C\xE3\x82\xCC " /*  の後の  */}) +
         byte(p.bytes.substr(1)) +
         say({", which cannot be its second byte",
              " \x82\xCD" "2\x83\x6F\x83\x43\x83\x67\x96\xDA\x82\xC9\x82\xC8\x82\xEA\x82\xDC\x82\xB9\x82\xF1"
              /*  は2バイト目になれません */});
}

}  // namespace

bool EncodingReport::Clean() const {
  return bom == ByteOrderMark::kNone && !utf8 && problemCount == 0 && firstNulLine == 0 && endOfFileLine == 0;
}

EncodingReport CheckEncoding(std::string_view bytes) {
  EncodingReport report;
  report.bom = DetectByteOrderMark(bytes);
  Scanner scanner(bytes);
  scanner.CheckUtf8(report);
  scanner.CheckSjis(report);
  return report;
}

std::string DescribeEncoding(const EncodingReport& r, const std::string& indent, Language language) {
  const auto say = [language](const Words& words) { return std::string(In(language, words)); };
  std::string out;
  const std::string saveAs =
      say({"save it as Shift-JIS (code page 932, \"ANSI\" on a Japanese Windows)",
           "\x83\x56\x83\x74\x83\x67JIS\x81\x69\x83\x52\x81\x5B\x83\x68\x83\x79\x81\x5B\x83\x57 932\x81\x41\x93\xFA"
           "\x96\x7B\x8C\xEA Windows \x82\xCC\x81\x75" "ANSI\x81\x76\x81\x6A\x82\xC5\x95\xDB\x91\xB6\x82\xB5\x82\xC4"
           "\x82\xAD\x82\xBE\x82\xB3\x82\xA2" /* シフトJIS（コードページ 932、日本語 Windows の「ANSI」）で保存してください */});
  const Words startsWith = {"starts with ", ""};
  if (r.bom == ByteOrderMark::kUtf16LittleEndian || r.bom == ByteOrderMark::kUtf16BigEndian) {
    out += indent + say(startsWith) + BomName(r.bom, language) +
           say({": the file is UTF-16, which the chip shows as garbage cut at the first 0 byte of every line; ",
                " \x82\xC5\x8E\x6E\x82\xDC\x82\xE8\x82\xDC\x82\xB7: UTF-16 \x82\xCC\x83\x74\x83\x40\x83\x43\x83\x8B"
                "\x82\xC5\x81\x41\x83\x60\x83\x62\x83\x76\x82\xC5\x82\xCD\x8A\x65\x8D\x73\x82\xCC\x8D\xC5\x8F\x89"
                "\x82\xCC\x92\x6C 0 \x82\xCC\x83\x6F\x83\x43\x83\x67\x81\x69NUL\x81\x6A\x82\xC5\x90\xD8\x82\xEA\x82\xBD"
                "\x95\xB6\x8E\x9A\x89\xBB\x82\xAF\x82\xC9\x82\xC8\x82\xE8\x82\xDC\x82\xB7\x81\x42"
                /*  で始まります: UTF-16 のファイルで、チップでは各行の最初の値 0 のバイト（NUL）で切れた文字化けになります。 */}) +
           saveAs + "\n";
  } else if (r.bom == ByteOrderMark::kUtf8) {
    out += indent + say(startsWith) + BomName(r.bom, language) +
           say({": the chip shows those three bytes as garbage at the start of line 1; ",
                " \x82\xC5\x8E\x6E\x82\xDC\x82\xE8\x82\xDC\x82\xB7: \x83\x60\x83\x62\x83\x76\x82\xC5\x82\xCD 1 \x8D\x73\x96\xDA"
                "\x82\xCC\x90\xE6\x93\xAA\x82\xC9\x82\xBB\x82\xCC 3 \x83\x6F\x83\x43\x83\x67\x82\xAA\x95\xB6\x8E\x9A\x89\xBB"
                "\x82\xAF\x82\xB5\x82\xC4\x8F\x6F\x82\xDC\x82\xB7\x81\x42"
                /*  で始まります: チップでは 1 行目の先頭にその 3 バイトが文字化けして出ます。 */}) +
           say({"", "\x83\x6F\x83\x43\x83\x67\x8F\x87\x83\x7D\x81\x5B\x83\x4E\x82\xF0\x95\x74\x82\xAF\x82\xB8\x82\xC9 "
                    /* バイト順マークを付けずに  */}) +
           saveAs + say({" without a byte-order mark", ""}) + "\n";
  }
  if (r.utf8) {
    out += indent +
           say({"the text is valid UTF-8 with ",
                "\x96\x7B\x95\xB6\x82\xCD\x90\xB3\x82\xB5\x82\xA2 UTF-8 \x82\xC5\x81\x41" "ASCII \x88\xC8\x8A\x4F\x82\xCC"
                "\x95\xB6\x8E\x9A\x82\xAA " /* 本文は正しい UTF-8 で、ASCII 以外の文字が  */}) +
           std::to_string(r.utf8Characters) +
           say({" characters beyond ASCII (the first on line ",
                " \x8C\xC2\x82\xA0\x82\xE8\x82\xDC\x82\xB7\x81\x69\x8D\xC5\x8F\x89\x82\xCD " /*  個あります（最初は  */}) +
           std::to_string(r.utf8FirstLine) +
           say({"): the chip reads Shift-JIS and shows them as garbage; ",
                "\x8D\x73\x96\xDA\x81\x6A: \x83\x60\x83\x62\x83\x76\x82\xCD\x83\x56\x83\x74\x83\x67JIS \x82\xC6\x82\xB5"
                "\x82\xC4\x93\xC7\x82\xDE\x82\xCC\x82\xC5\x95\xB6\x8E\x9A\x89\xBB\x82\xAF\x82\xB5\x82\xDC\x82\xB7"
                "\x81\x42" /* 行目）: チップはシフトJIS として読むので文字化けします。 */}) +
           saveAs + "\n";
  }
  if (r.problemCount > 0) {
    out += indent +
           say({"", "\x83\x56\x83\x74\x83\x67JIS \x82\xC6\x82\xB5\x82\xC4\x90\xB3\x82\xB5\x82\xAD\x82\xC8\x82\xA2"
                    "\x83\x6F\x83\x43\x83\x67\x82\xAA " /* シフトJIS として正しくないバイトが  */}) +
           std::to_string(r.problemCount) +
           say({" byte(s) that are not valid Shift-JIS:\n", " \x8C\xC2:\n" /*  個: */});
    for (const SjisProblem& p : r.problems) out += indent + "  " + ProblemText(p, language) + "\n";
    if (r.problemCount > r.problems.size()) {
      out += indent + "  " + say({"and ", "\x82\xD9\x82\xA9 " /* ほか  */}) +
             std::to_string(r.problemCount - r.problems.size()) + say({" more\n", " \x8C\xC2\n" /*  個 */});
    }
  }
  if (r.firstNulLine != 0) {
    out += indent + say({"line ", ""}) + std::to_string(r.firstNulLine) +
           say({" holds a 0 byte: the chip's line ends there\n",
                "\x8D\x73\x96\xDA\x82\xC9\x92\x6C 0 \x82\xCC\x83\x6F\x83\x43\x83\x67\x81\x69NUL\x81\x6A\x82\xAA\x82\xA0"
                "\x82\xE8\x82\xDC\x82\xB7: \x83\x60\x83\x62\x83\x76\x82\xCC\x8D\x73\x82\xCD\x82\xBB\x82\xB1\x82\xC5"
                "\x8F\x49\x82\xED\x82\xE8\x82\xDC\x82\xB7\n" /* 行目に値 0 のバイト（NUL）があります: チップの行はそこで終わります */});
  }
  if (r.endOfFileLine != 0) {
    out += indent + say({"line ", ""}) + std::to_string(r.endOfFileLine) +
           say({" holds the byte 1A: a board file ends there, nothing after it is shown\n",
                "\x8D\x73\x96\xDA\x82\xC9\x83\x6F\x83\x43\x83\x67 0x1A \x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7: "
                "\x8C\x66\x8E\xA6\x94\xC2\x82\xCC\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCD\x82\xBB\x82\xB1\x82\xC5"
                "\x8F\x49\x82\xED\x82\xE8\x81\x41\x82\xBB\x82\xCC\x8C\xE3\x82\xCD\x95\x5C\x8E\xA6\x82\xB3\x82\xEA"
                "\x82\xDC\x82\xB9\x82\xF1\n" /* 行目にバイト 0x1A があります: 掲示板のファイルはそこで終わり、その後は表示されません */});
  }
  return out;
}

}  // namespace kn::explain
