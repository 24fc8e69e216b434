#include "explain/board_check.h"

#include <cstdio>

#include "board/board_loader.h"
#include "board/board_pieces.h"
#include "explain/terminal_text.h"
#include "platform/system_cp932_encoder.h"

namespace kn::explain {
namespace {

// Counts lines as SplitLines ends them: CR LF, a lone CR or a lone LF.
class LineCounter {
 public:
  explicit LineCounter(std::string_view text) : text_(text) {}
  int LineAt(std::size_t offset) {
    for (; at_ < offset && at_ < text_.size(); ++at_) {
      const char c = text_[at_];
      if (c == '\n' || (c == '\r' && (at_ + 1 >= text_.size() || text_[at_ + 1] != '\n'))) ++line_;
    }
    return line_;
  }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
  int line_ = 1;
};

// The mark a file read in `encoding` began with.
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

// Gathers the loader's account of each name into entries.
class EntryRecorder final : public BoardObserver {
 public:
  explicit EntryRecorder(std::string_view memo) : lines_(memo) {}

  void Entry(const BoardEntryFacts& facts) override {
    BoardEntry entry;
    entry.name = std::string(facts.name);
    entry.memoLine = lines_.LineAt(facts.memoOffset);
    entry.status = facts.status;
    entry.time = facts.time;
    entries_.push_back(std::move(entry));
    read_.clear();
  }

  void Piece(const BoardPieceFacts& piece) override {
    BoardEntry& entry = entries_.back();
    // The text as read, for the Shift-JIS check once the encoding is known.
    read_.append(piece.bytes);
    if (piece.endsLine) read_ += '\n';
    if (piece.column != 1 && entry.firstLongLine == 0) entry.firstLongLine = piece.line;
    if (piece.comment) {
      ++entry.commentLines;
      return;
    }
    ++entry.boardLines;
    if (piece.stamped && entry.stamps.size() < BoardEntry::kStampsListed) {
      entry.stamps.push_back(
          StampChange{piece.line, std::string(piece.bytes.substr(0, piece.shownSize)), std::string(piece.shown)});
    }
    for (const std::size_t byte : *piece.getas) {
      entry.getas.Add(GetaPlace{piece.line, static_cast<int>(piece.column + byte - 1),
                                static_cast<int>(piece.boardLine), static_cast<int>(byte)});
    }
  }

  void FileRead(const BoardFileFacts& file) override {
    BoardEntry& entry = entries_.back();
    entry.size = file.bytesRead;
    entry.fileEncoding = file.encoding;
    if (file.encoding == BoardEncoding::kShiftJis) {
      entry.encoding = CheckEncoding(read_);
    } else {
      entry.encoding.bom = MarkOf(file.encoding);
    }
    read_.clear();
  }

  std::vector<BoardEntry> Take() { return std::move(entries_); }

 private:
  LineCounter lines_;
  std::vector<BoardEntry> entries_;
  std::string read_;
};

const Words kShiftJisName = {"Shift-JIS", "\x83\x56\x83\x74\x83\x67JIS" /* シフトJIS */};

// The encoding's name, and the mark the chip drops, if any.
std::string EncodingName(BoardEncoding encoding, Language language) {
  const auto mark = [&](ByteOrderMark bom) {
    return HexBytes(ByteOrderMarkBytes(bom)) +
           In(language, {", dropped)", " \x82\xCD\x8F\x9C\x82\xAB\x82\xDC\x82\xB7\x81\x6A" /*  は除きます） */});
  };
  switch (encoding) {
    case BoardEncoding::kUtf8WithMark:
      return In(language, {"UTF-8 with mark (a UTF-8 byte-order mark, ",
                           "BOM \x95\x74\x82\xAB UTF-8\x81\x69UTF-8 \x82\xCC\x83\x6F\x83\x43\x83\x67\x8F\x87\x83\x7D\x81\x5B"
                           "\x83\x4E " /* BOM 付き UTF-8（UTF-8 のバイト順マーク  */}) +
             mark(ByteOrderMark::kUtf8);
    case BoardEncoding::kUtf8:
      return In(language, {"UTF-8 (no mark, and the whole file is valid UTF-8)",
                           "UTF-8\x81\x69" "BOM \x82\xC8\x82\xB5\x81\x41\x83\x74\x83\x40\x83\x43\x83\x8B\x91\x53\x91\xCC\x82\xAA"
                           "\x90\xB3\x82\xB5\x82\xA2 UTF-8\x81\x6A" /* UTF-8（BOM なし、ファイル全体が正しい UTF-8） */});
    case BoardEncoding::kUtf16LittleEndian:
      return In(language, {"UTF-16 LE (a UTF-16 byte-order mark, ",
                           "UTF-16 LE\x81\x69UTF-16 \x82\xCC\x83\x6F\x83\x43\x83\x67\x8F\x87\x83\x7D\x81\x5B\x83\x4E "
                           /* UTF-16 LE（UTF-16 のバイト順マーク  */}) +
             mark(ByteOrderMark::kUtf16LittleEndian);
    case BoardEncoding::kUtf16BigEndian:
      return In(language, {"UTF-16 BE (a UTF-16 byte-order mark, ",
                           "UTF-16 BE\x81\x69UTF-16 \x82\xCC\x83\x6F\x83\x43\x83\x67\x8F\x87\x83\x7D\x81\x5B\x83\x4E "
                           /* UTF-16 BE（UTF-16 のバイト順マーク  */}) +
             mark(ByteOrderMark::kUtf16BigEndian);
    case BoardEncoding::kShiftJis: break;
  }
  return In(language, kShiftJisName);
}

// "あります（最終更新 ": the time follows.
constexpr const char* kFoundSince = "\x82\xA0\x82\xE8\x82\xDC\x82\xB7\x81\x69\x8D\xC5\x8F\x49\x8D\x58\x90\x56 ";

std::string FileTimeText(const SystemTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", unsigned{t.wYear}, unsigned{t.wMonth},
                unsigned{t.wDay}, unsigned{t.wHour}, unsigned{t.wMinute}, unsigned{t.wSecond});
  return text;
}

bool HasOuterBlanks(const std::string& name) {
  return static_cast<unsigned char>(name.front()) <= 0x20 || static_cast<unsigned char>(name.back()) <= 0x20;
}

}  // namespace

BoardCheck CheckBoard(std::string_view memo, FileSystem& files, Cp932Encoder& encoder) {
  BoardCheck check;
  EntryRecorder recorder(memo);
  check.text = LoadBoardText(memo, files, encoder, check.newest, &recorder);
  check.entries = recorder.Take();
  return check;
}

std::vector<BoardEntry> CheckBoardList(std::string_view memo, FileSystem& files, Cp932Encoder& encoder) {
  return CheckBoard(memo, files, encoder).entries;
}

std::vector<BoardEntry> CheckBoardList(std::string_view memo, FileSystem& files) {
  SystemCp932Encoder encoder;
  return CheckBoardList(memo, files, encoder);
}

std::string DescribeBoardEntry(const BoardEntry& e, Language language) {
  const auto say = [language](const Words& words) { return std::string(In(language, words)); };
  const std::string indent = "  ";
  std::string out = say({"board list line ", "\x88\xEA\x97\x97\x82\xCC " /* 一覧の  */}) +
                    std::to_string(e.memoLine) + say({": ", "\x8D\x73\x96\xDA: " /* 行目:  */}) + Quote(e.name) + "\n";
  switch (e.status) {
    case BoardEntryStatus::kComment:
      return out + indent +
             say({"comment (begins with ';'): names no file",
                  "\x83\x52\x83\x81\x83\x93\x83\x67\x81\x69; \x82\xC5\x8E\x6E\x82\xDC\x82\xE9\x81\x6A: \x83\x74\x83\x40\x83\x43"
                  "\x83\x8B\x82\xF0\x8E\x77\x82\xB5\x82\xDC\x82\xB9\x82\xF1" /* コメント（; で始まる）: ファイルを指しません */}) +
             "\n";
    case BoardEntryStatus::kTooLong:
      return out + indent + say({"longer than ", ""}) + std::to_string(kMaxBoardFileName) +
             say({" bytes: no file can have this name, the chip skips it",
                  " \x83\x6F\x83\x43\x83\x67\x82\xE6\x82\xE8\x92\xB7\x82\xA2\x96\xBC\x91\x4F: \x82\xB1\x82\xCC\x96\xBC\x91\x4F"
                  "\x82\xCC\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCD\x82\xC8\x82\xA2\x82\xCC\x82\xC5\x81\x41\x83\x60\x83\x62"
                  "\x83\x76\x82\xCD\x94\xF2\x82\xCE\x82\xB5\x82\xDC\x82\xB7"
                  /*  バイトより長い名前: この名前のファイルはないので、チップは飛ばします */}) +
             "\n";
    case BoardEntryStatus::kMissing:
      out += indent + say({"not found: the chip skips it",
                           "\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1: \x83\x60\x83\x62\x83\x76\x82\xCD"
                           "\x94\xF2\x82\xCE\x82\xB5\x82\xDC\x82\xB7" /* 見つかりません: チップは飛ばします */});
      if (HasOuterBlanks(e.name)) {
        out += say({" (blanks before or after the name are part of it)",
                    "\x81\x69\x96\xBC\x91\x4F\x82\xCC\x91\x4F\x8C\xE3\x82\xCC\x8B\xF3\x94\x92\x82\xE0\x96\xBC\x91\x4F\x82\xCC"
                    "\x82\xA4\x82\xBF\x82\xC5\x82\xB7\x81\x6A" /* （名前の前後の空白も名前のうちです） */});
      }
      return out + "\n";
    case BoardEntryStatus::kUnreadable:
      return out + indent + say({"found, last written ", kFoundSince}) + FileTimeText(e.time) +
             say({", but cannot be read (a directory, a name with wildcards, or a locked file): its time counts for "
                  "the update alert, no lines come from it",
                  "\x81\x6A\x82\xAA\x81\x41\x93\xC7\x82\xDF\x82\xDC\x82\xB9\x82\xF1\x81\x69\x83\x74\x83\x48\x83\x8B"
                  "\x83\x5F\x81\x5B\x81\x41\x83\x8F\x83\x43\x83\x8B\x83\x68\x83\x4A\x81\x5B\x83\x68\x82\xF0\x8A\xDC"
                  "\x82\xDE\x96\xBC\x91\x4F\x81\x41\x82\xDC\x82\xBD\x82\xCD\x83\x8D\x83\x62\x83\x4E\x82\xB3\x82\xEA"
                  "\x82\xBD\x83\x74\x83\x40\x83\x43\x83\x8B\x81\x6A: \x8D\x58\x90\x56\x93\xFA\x8E\x9E\x82\xCD\x8D\x58"
                  "\x90\x56\x82\xCC\x8A\x6D\x94\x46\x82\xC9\x8E\x67\x82\xED\x82\xEA\x82\xDC\x82\xB7\x82\xAA\x81\x41"
                  "\x93\xE0\x97\x65\x82\xCD\x95\x5C\x8E\xA6\x82\xB3\x82\xEA\x82\xDC\x82\xB9\x82\xF1"
                  /* ）が、読めません（フォルダー、ワイルドカードを含む名前、またはロックされたファイル）: 更新日時は更新の確認に使われますが、内容は表示されません */}) +
             "\n";
    case BoardEntryStatus::kRead:
      break;
  }
  out += indent + say({"found, last written ", kFoundSince}) + FileTimeText(e.time) +
         say({"; ", "\x81\x6A\x81\x42" /* ）。 */}) + std::to_string(e.size) +
         say({" bytes; ", " \x83\x6F\x83\x43\x83\x67\x81\x41\x95\x5C\x8E\xA6\x82\xB7\x82\xE9\x8D\x73 " /*  バイト、表示する行  */}) +
         std::to_string(e.boardLines) + say({" board line(s)", " \x8D\x73" /*  行 */});
  if (e.commentLines > 0) {
    out += say({", ", "\x81\x41\x95\x5C\x8E\xA6\x82\xB5\x82\xC8\x82\xA2\x83\x52\x83\x81\x83\x93\x83\x67\x8D\x73 "
                      /* 、表示しないコメント行  */}) +
           std::to_string(e.commentLines) + say({" comment line(s) not shown", " \x8D\x73" /*  行 */});
  }
  out += "\n";
  if (e.firstLongLine != 0) {
    const std::string piece = std::to_string(kBoardPieceSize);
    out += indent + say({"line ", ""}) + std::to_string(e.firstLongLine) +
           say({" is longer than ", "\x8D\x73\x96\xDA\x82\xCD " /* 行目は  */}) + piece +
           say({" bytes: the chip shows each ",
                " \x83\x6F\x83\x43\x83\x67\x82\xE6\x82\xE8\x92\xB7\x82\xA2\x82\xCC\x82\xC5\x81\x41\x83\x60\x83\x62\x83\x76"
                "\x82\xCD " /*  バイトより長いので、チップは  */}) +
           piece +
           say({" bytes of it as a line of its own",
                " \x83\x6F\x83\x43\x83\x67\x82\xB2\x82\xC6\x82\xC9\x95\xCA\x82\xCC\x8D\x73\x82\xC6\x82\xB5\x82\xC4\x95\x5C"
                "\x8E\xA6\x82\xB5\x82\xDC\x82\xB7" /*  バイトごとに別の行として表示します */}) +
           "\n";
  }
  for (const StampChange& stamp : e.stamps) {
    out += indent + say({"stamp on line ", ""}) + std::to_string(stamp.line) +
           say({": ", "\x8D\x73\x96\xDA\x82\xCC\x8D\x58\x90\x56\x93\xFA\x8E\x9E: " /* 行目の更新日時:  */}) +
           Quote(stamp.before) + " -> " + Quote(stamp.after) + "\n";
  }
  const Words encodingIs = {"encoding: ", "\x95\xB6\x8E\x9A\x83\x52\x81\x5B\x83\x68: " /* 文字コード:  */};
  if (e.fileEncoding != BoardEncoding::kShiftJis) {
    out += indent + say(encodingIs) + EncodingName(e.fileEncoding, language) +
           say({"; the chip converts it to Shift-JIS",
                "\x81\x42\x83\x60\x83\x62\x83\x76\x82\xAA\x83\x56\x83\x74\x83\x67JIS \x82\xC9\x95\xCF\x8A\xB7\x82\xB5"
                "\x82\xDC\x82\xB7" /* 。チップがシフトJIS に変換します */}) +
           "\n";
    return out + DescribeGetas(e.getas, indent, language);
  }
  const std::string encoding = DescribeEncoding(e.encoding, indent, language);
  out += indent + say(encodingIs) + say(kShiftJisName) +
         (encoding.empty() ? say({", nothing wrong\n", "\x81\x41\x96\xE2\x91\xE8\x82\xC8\x82\xB5\n" /* 、問題なし */}) : "\n" + encoding);
  return out;
}

}  // namespace kn::explain
