// Board mode's displayed text: the contents of the text files that the memo
// lists, one name a line, with comment lines dropped and update stamps
// expanded, and the newest last-write time among the listed files.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "board/board_fingerprint.h"
#include "board/board_observer.h"
#include "system/cp932_encoder.h"
#include "system/file_system.h"
#include "system/types.h"

namespace kn {

// The longest name the platform can open (its path limit less the NUL);
// longer memo lines are treated as names of missing files.
constexpr std::size_t kMaxBoardFileName = 259;

// "データがありません。": no listed file gave a line.
constexpr std::string_view kBoardNoDataText =
    "\x83\x66\x81\x5b\x83\x5e\x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1\x81\x42";
// "データファイル読み込みエラー": the memo names no file at all.
constexpr std::string_view kBoardReadErrorText =
    "\x83\x66\x81\x5b\x83\x5e\x83\x74\x83\x40\x83\x43\x83\x8b\x93\xc7\x82\xdd\x8d\x9e\x82\xdd"
    "\x83\x47\x83\x89\x81\x5b";

// The next name of the memo from `cursor` on: CR, LF and TAB bytes are
// skipped, then the name runs to the next CR, LF, NUL or the end, where the
// cursor stops. False at the end of the memo.
bool NextMemoLine(std::size_t& cursor, std::string_view memo, std::string& name);

// Where the loader puts the board's text, in order.
class BoardOutput {
 public:
  virtual ~BoardOutput() = default;
  virtual void Append(std::string_view bytes) = 0;
  // About `bytes` more are coming (a file's size), so that room can be made
  // once, ahead.
  virtual void Expect(std::size_t bytes) { static_cast<void>(bytes); }
};

// A board's text gathered in blocks that never move once made: building a
// large board copies nothing it already holds, and holds no more than the
// text and one partly filled block.
class BoardText final : public BoardOutput {
 public:
  void Append(std::string_view bytes) override;
  std::size_t Size() const { return size_; }
  bool Equals(std::string_view other) const;
  // Writes the Size() bytes of the text to `out`.
  void CopyTo(char* out) const;
  std::string Join() const;

 private:
  std::vector<std::string> blocks_;  // each filled up to the capacity it was made with
  std::size_t size_ = 0;
};

// The board lines of every file the memo names, in memo order, joined by
// CR LF, into `out`. Names beginning with `;` are comments. Each file is
// decoded to code page 932 first (a UTF-8 or UTF-16 file through
// `encoder`), then read by the text-mode rules: its pieces beginning with
// `;` are dropped, each line is cut at its first NUL, an empty line becomes
// " ", and its stamps show that file's time. `newest` receives the time of
// the newest existing listed file (later date, then later time to the
// second; the earlier-listed file wins a tie) and is left alone when none
// exists. The memo ends at its first NUL. An `observer` is told what was
// decided for each name and read from each file (see board_observer.h).
// `consumed` receives the fingerprint of everything the build took in.
void LoadBoardInto(std::string_view memo, FileSystem& files, Cp932Encoder& encoder, SystemTime& newest,
                   BoardOutput& out, BoardObserver* observer = nullptr, BoardFingerprint* consumed = nullptr);
// A re-read of the board `built` is the fingerprint of, building nothing:
// true when the memo, the converter's class and every file the list
// reaches are as that build took them in, so that LoadBoardInto would give
// that board again; `newest` then receives what it would give. Each file
// is read through one small buffer and hashed, never held whole.
bool IsBoardAsBuilt(std::string_view memo, FileSystem& files, Cp932Encoder& encoder, const BoardFingerprint& built,
                    SystemTime& newest);
// The same, gathered in a BoardText or as one string.
BoardText LoadBoard(std::string_view memo, FileSystem& files, Cp932Encoder& encoder, SystemTime& newest,
                    BoardObserver* observer = nullptr);
std::string LoadBoardText(std::string_view memo, FileSystem& files, Cp932Encoder& encoder, SystemTime& newest,
                          BoardObserver* observer = nullptr);
// For lists of Shift-JIS files only: without the system's converter, a
// Unicode file shows only ASCII, half-width katakana and 〓.
std::string LoadBoardText(std::string_view memo, FileSystem& files, SystemTime& newest);

}  // namespace kn
