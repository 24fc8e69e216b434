#include "explain/encoding_check.h"

#include "explain/terminal_text.h"
#include "markup/sjis_string.h"
#include "markup/unicode_to_cp932.h"

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
    const std::size_t markLength = report.bom == ByteOrderMark::kUtf8 ? 3 : 0;
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

const char* BomName(ByteOrderMark bom) {
  switch (bom) {
    case ByteOrderMark::kUtf8: return "a UTF-8 byte-order mark (EF BB BF)";
    case ByteOrderMark::kUtf16LittleEndian: return "a UTF-16 byte-order mark (FF FE)";
    case ByteOrderMark::kUtf16BigEndian: return "a UTF-16 byte-order mark (FE FF)";
    case ByteOrderMark::kNone: break;
  }
  return "no byte-order mark";
}

std::string ProblemText(const SjisProblem& p) {
  std::string where = "line " + std::to_string(p.line) + ", byte " + std::to_string(p.column) + ": ";
  if (p.fault == SjisFault::kLoneByte) return where + HexBytes(p.bytes) + " begins no Shift-JIS character";
  if (p.bytes.size() < 2) return where + "lead byte " + HexBytes(p.bytes) + " at the end of the file";
  return where + "lead byte " + HexBytes(p.bytes.substr(0, 1)) + " followed by " + HexBytes(p.bytes.substr(1)) +
         ", which cannot be its second byte";
}

}  // namespace

ByteOrderMark MarkOf(BoardEncoding encoding) {
  switch (encoding) {
    case BoardEncoding::kUtf8WithMark: return ByteOrderMark::kUtf8;
    case BoardEncoding::kUtf16LittleEndian: return ByteOrderMark::kUtf16LittleEndian;
    case BoardEncoding::kUtf16BigEndian: return ByteOrderMark::kUtf16BigEndian;
    case BoardEncoding::kShiftJis:
    case BoardEncoding::kUtf8: break;
  }
  return ByteOrderMark::kNone;
}

bool EncodingReport::Clean() const {
  return bom == ByteOrderMark::kNone && !utf8 && problemCount == 0 && firstNulLine == 0 && endOfFileLine == 0;
}

EncodingReport CheckEncoding(std::string_view bytes) {
  EncodingReport report;
  report.bom = MarkOf(DetectBoardEncoding(bytes).encoding);
  Scanner scanner(bytes);
  scanner.CheckUtf8(report);
  scanner.CheckSjis(report);
  return report;
}

std::string DescribeEncoding(const EncodingReport& r, const std::string& indent) {
  std::string out;
  const std::string saveAs = "save it as Shift-JIS (code page 932, \"ANSI\" on a Japanese Windows)";
  if (r.bom == ByteOrderMark::kUtf16LittleEndian || r.bom == ByteOrderMark::kUtf16BigEndian) {
    out += indent + "starts with " + BomName(r.bom) + ": the file is UTF-16, which the chip shows as garbage "
           "cut at the first 0 byte of every line; " + saveAs + "\n";
  } else if (r.bom == ByteOrderMark::kUtf8) {
    out += indent + "starts with " + BomName(r.bom) + ": the chip shows those three bytes as garbage at the "
           "start of line 1; " + saveAs + " without a byte-order mark\n";
  }
  if (r.utf8) {
    out += indent + "the text is valid UTF-8 with " + std::to_string(r.utf8Characters) +
           " characters beyond ASCII (the first on line " + std::to_string(r.utf8FirstLine) +
           "): the chip reads Shift-JIS and shows them as garbage; " + saveAs + "\n";
  }
  if (r.problemCount > 0) {
    out += indent + std::to_string(r.problemCount) + " byte(s) that are not valid Shift-JIS:\n";
    for (const SjisProblem& p : r.problems) out += indent + "  " + ProblemText(p) + "\n";
    if (r.problemCount > r.problems.size()) {
      out += indent + "  and " + std::to_string(r.problemCount - r.problems.size()) + " more\n";
    }
  }
  if (r.firstNulLine != 0) {
    out += indent + "line " + std::to_string(r.firstNulLine) + " holds a 0 byte: the chip's line ends there\n";
  }
  if (r.endOfFileLine != 0) {
    out += indent + "line " + std::to_string(r.endOfFileLine) +
           " holds the byte 1A: a board file ends there, nothing after it is shown\n";
  }
  return out;
}

}  // namespace kn::explain
