// The re-read that builds nothing: IsBoardAsBuilt says "as built" exactly
// when a build would give the board and the newest time that the
// fingerprint's build gave, and the hash does not depend on how the file
// was cut into reads.
#include "board/board_fingerprint.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "board/board_loader.h"
#include "markup/vector_scans.h"
#include "native/fake_file_system.h"
#include "platform/system_cp932_encoder.h"

namespace kn {
namespace {

const SystemTime kMonday = MakeSystemTime(2026, 12, 7, 1, 9, 5, 3);
const SystemTime kTuesday = MakeSystemTime(2026, 12, 8, 2, 9, 5, 3);

// "お知らせ\n本日" in UTF-8 without a mark, as today's editors save it.
const std::string kUtf8Notice = "\xE3\x81\x8A\xE7\x9F\xA5\xE3\x82\x89\xE3\x81\x9B\n\xE6\x9C\xAC\xE6\x97\xA5\n";

// Every case starts from the same three listed files, one of them
// missing, and a locked one; each changes one input, or none.
struct RereadCase {
  const char* name;
  std::function<void(FakeFileSystem&, std::string& memo)> change;
  bool asBuilt;  // the re-read may build nothing
};
void PrintTo(const RereadCase& c, std::ostream* out) { *out << c.name; }

const std::string kMemo = "a.txt\r\n;comment\r\nu.txt\r\nmissing.txt\r\nlocked.txt\r\nstamped.txt";

void AddBoardFiles(FakeFileSystem& files) {
  files.AddFile("a.txt", "first line\nsecond line\nthird line\n", kMonday);
  files.AddFile("u.txt", kUtf8Notice, kMonday);
  files.AddLockedFile("locked.txt", kMonday);
  files.AddFile("stamped.txt", "seen %UPDATEyyyy/MM/dd% %UPTIMEHH:mm%\n", kMonday);
}

class RereadTest : public ::testing::TestWithParam<RereadCase> {};

TEST_P(RereadTest, BuildsNothingOnlyWhereABuildGivesTheSameBoard) {
  for (const std::size_t chunk : {std::size_t{1}, std::size_t{7}, std::size_t{1} << 20}) {
    SCOPED_TRACE("read chunk " + std::to_string(chunk));
    FakeFileSystem files(chunk);
    AddBoardFiles(files);
    SystemCp932Encoder encoder;
    std::string memo = kMemo;
    SystemTime builtNewest{};
    BoardFingerprint built;
    BoardText shown;
    LoadBoardInto(memo, files, encoder, builtNewest, shown, nullptr, &built);
    ASSERT_TRUE(built.IsUsable());

    GetParam().change(files, memo);
    SystemTime fastNewest{};
    const bool asBuilt = IsBoardAsBuilt(memo, files, encoder, built, fastNewest);
    SystemTime fullNewest{};
    const std::string full = LoadBoardText(memo, files, encoder, fullNewest);
    EXPECT_EQ(asBuilt, GetParam().asBuilt);
    if (asBuilt) {
      EXPECT_EQ(full, shown.Join());
      EXPECT_TRUE(SameSystemTime(fastNewest, fullNewest));
      EXPECT_TRUE(SameSystemTime(fastNewest, builtNewest));
    } else {
      EXPECT_TRUE(SameSystemTime(fastNewest, SystemTime{})) << "newest is left alone when the files changed";
    }
  }
}

void Rewrite(FakeFileSystem& files, const std::string& name, std::string contents, const SystemTime& time = kMonday) {
  files.AddFile(name, std::move(contents), time);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, RereadTest,
    ::testing::Values(
        RereadCase{"Unchanged", [](FakeFileSystem&, std::string&) {}, true},
        RereadCase{"RewrittenWithTheSameBytesAndTime",
                   [](FakeFileSystem& f, std::string&) { Rewrite(f, "a.txt", "first line\nsecond line\nthird line\n"); },
                   true},
        RereadCase{"ByteChangedAtTheStart",
                   [](FakeFileSystem& f, std::string&) { Rewrite(f, "a.txt", "First line\nsecond line\nthird line\n"); },
                   false},
        RereadCase{"ByteChangedInTheMiddle",
                   [](FakeFileSystem& f, std::string&) { Rewrite(f, "a.txt", "first line\nsecond Line\nthird line\n"); },
                   false},
        RereadCase{"ByteChangedAtTheEnd",
                   [](FakeFileSystem& f, std::string&) { Rewrite(f, "a.txt", "first line\nsecond line\nthird lin\n\n"); },
                   false},
        RereadCase{"UnicodeCharacterChangedInPlace",
                   [](FakeFileSystem& f, std::string&) {
                     std::string text = kUtf8Notice;
                     text[text.size() - 2] = '\xA4';  // 日 becomes 旤: same size
                     Rewrite(f, "u.txt", text);
                   },
                   false},
        RereadCase{"Grown", [](FakeFileSystem& f, std::string&) { Rewrite(f, "u.txt", kUtf8Notice + "x"); }, false},
        RereadCase{"Truncated",
                   [](FakeFileSystem& f, std::string&) { Rewrite(f, "u.txt", kUtf8Notice.substr(0, 13)); }, false},
        RereadCase{"MarkAdded", [](FakeFileSystem& f, std::string&) { Rewrite(f, "u.txt", "\xEF\xBB\xBF" + kUtf8Notice); },
                   false},
        RereadCase{"TimeOfAStampedFileChanged",
                   [](FakeFileSystem& f, std::string&) {
                     Rewrite(f, "stamped.txt", "seen %UPDATEyyyy/MM/dd% %UPTIMEHH:mm%\n", kTuesday);
                   },
                   false},
        RereadCase{"TimeOfAPlainFileChanged",
                   [](FakeFileSystem& f, std::string&) {
                     Rewrite(f, "a.txt", "first line\nsecond line\nthird line\n", kTuesday);
                   },
                   false},
        RereadCase{"OnlyTheMillisecondsOfATimeChanged",
                   [](FakeFileSystem& f, std::string&) {
                     Rewrite(f, "a.txt", "first line\nsecond line\nthird line\n", MakeSystemTime(2026, 12, 7, 1, 9, 5, 4));
                   },
                   false},
        RereadCase{"FileVanished", [](FakeFileSystem& f, std::string&) { f.Remove("a.txt"); }, false},
        RereadCase{"FileVanishedAndCameBackAsItWas",
                   [](FakeFileSystem& f, std::string&) {
                     f.Remove("a.txt");
                     Rewrite(f, "a.txt", "first line\nsecond line\nthird line\n");
                   },
                   true},
        RereadCase{"MissingFileAppeared", [](FakeFileSystem& f, std::string&) { Rewrite(f, "missing.txt", "new\n"); },
                   false},
        RereadCase{"EmptyFileAppearedWhereNoneWas",
                   [](FakeFileSystem& f, std::string&) { Rewrite(f, "missing.txt", ""); }, false},
        RereadCase{"LockedFileOpened", [](FakeFileSystem& f, std::string&) { Rewrite(f, "locked.txt", ""); }, false},
        RereadCase{"FileBecameADirectory", [](FakeFileSystem& f, std::string&) { f.AddDirectory("a.txt", kMonday); },
                   false},
        RereadCase{"FileAddedToTheList", [](FakeFileSystem&, std::string& m) { m += "\r\nu.txt"; }, false},
        RereadCase{"FileRemovedFromTheList", [](FakeFileSystem&, std::string& m) { m = m.substr(0, m.rfind('\r')); },
                   false},
        RereadCase{"CommentOfTheListChanged",
                   [](FakeFileSystem&, std::string& m) { m.replace(m.find(";comment"), 8, ";remark!"); }, false},
        RereadCase{"TextAfterTheMemosNulIgnored", [](FakeFileSystem&, std::string& m) { m += std::string(1, '\0') + "x"; },
                   true}),
    [](const ::testing::TestParamInfo<RereadCase>& info) { return std::string(info.param.name); });

TEST(Reread, ConverterOfAnotherClassBuildsAgain) {
  FakeFileSystem files;
  AddBoardFiles(files);
  SystemCp932Encoder system;
  RefusingCp932Encoder refusing;
  SystemTime newest{};
  BoardFingerprint built;
  BoardText shown;
  LoadBoardInto(kMemo, files, system, newest, shown, nullptr, &built);
  EXPECT_TRUE(IsBoardAsBuilt(kMemo, files, system, built, newest));
  EXPECT_FALSE(IsBoardAsBuilt(kMemo, files, refusing, built, newest));
}

TEST(Reread, BuildThatStoppedBeforeTheEndIsNeverMatched) {
  // A 0x1A byte ends the reading: what follows was never hashed.
  FakeFileSystem files;
  files.AddFile("a.txt", "shown\n\x1A" "hidden\n", kMonday);
  SystemCp932Encoder encoder;
  SystemTime newest{};
  BoardFingerprint built;
  BoardText shown;
  LoadBoardInto("a.txt", files, encoder, newest, shown, nullptr, &built);
  EXPECT_EQ(shown.Join(), "shown");
  EXPECT_FALSE(built.IsUsable());
  EXPECT_FALSE(IsBoardAsBuilt("a.txt", files, encoder, built, newest));
}

TEST(Reread, EmptyAndClearedFingerprintsMatchNothing) {
  FakeFileSystem files;
  AddBoardFiles(files);
  SystemCp932Encoder encoder;
  SystemTime newest{};
  EXPECT_FALSE(IsBoardAsBuilt(kMemo, files, encoder, BoardFingerprint{}, newest));
  BoardFingerprint built;
  BoardText shown;
  LoadBoardInto(kMemo, files, encoder, newest, shown, nullptr, &built);
  built.Clear();
  EXPECT_FALSE(IsBoardAsBuilt(kMemo, files, encoder, built, newest));
  // The memo naming nothing: the read error's board, matched by its memo.
  LoadBoardInto("", files, encoder, newest, shown, nullptr, &built);
  EXPECT_TRUE(IsBoardAsBuilt("", files, encoder, built, newest));
}

TEST(ContentHash, DoesNotDependOnHowTheBytesWereCut) {
  std::string text;
  for (int i = 0; static_cast<int>(text.size()) < 300 * 1024; ++i) text += "line " + std::to_string(i * 7919) + "\n";
  ContentHash whole;
  {
    ContentHasher hasher;
    hasher.Add(text.data(), text.size());
    whole = hasher.Digest();
  }
  for (const std::size_t chunk : {std::size_t{1}, std::size_t{63}, std::size_t{64 * 1024 + 1}, text.size()}) {
    SCOPED_TRACE(chunk);
    FakeFileSystem files(chunk);
    files.AddFile("a.txt", text);
    std::uint64_t size = 0;
    ContentHash hashed;
    ASSERT_TRUE(HashWholeFile(*files.OpenForReading("a.txt"), size, hashed));
    EXPECT_EQ(size, text.size());
    EXPECT_TRUE(hashed == whole);
    const std::unique_ptr<FileReader> file = files.OpenForReading("a.txt");
    HashingReader reader(*file);
    std::string back(text.size() + 1, '\0');
    std::size_t at = 0;
    while (std::size_t got = reader.Read(&back[at], back.size() - at)) at += got;
    EXPECT_TRUE(reader.ReachedEnd());
    EXPECT_EQ(reader.Count(), text.size());
    EXPECT_TRUE(reader.Digest() == whole);
  }
  ContentHasher other;
  text[150 * 1024] ^= 1;
  other.Add(text.data(), text.size());
  EXPECT_FALSE(other.Digest() == whole);
}

ContentHash HashOf(const std::string& bytes, std::size_t piece) {
  ContentHasher hasher;
  for (std::size_t at = 0; at < bytes.size(); at += piece) hasher.Add(bytes.data() + at, std::min(piece, bytes.size() - at));
  return hasher.Digest();
}

TEST(ContentHash, BothFormsGiveTheSameHashes) {
  // Lengths on each side of XXH3's own boundaries (16, 128, 240 bytes, its
  // 1 KiB stripes and its 256-byte input buffer), fed whole and in pieces.
  std::string bytes;
  std::uint32_t seed = 12345;
  for (int i = 0; i < 70000; ++i) {
    seed = seed * 1103515245u + 12345u;
    bytes.push_back(static_cast<char>(seed >> 24));
  }
  for (const std::size_t length : {0, 1, 3, 4, 8, 9, 16, 17, 128, 129, 240, 241, 255, 256, 257, 1024, 1025, 70000}) {
    for (const std::size_t piece : {std::size_t{1}, std::size_t{100}, std::size_t{70000}}) {
      SCOPED_TRACE(std::to_string(length) + " bytes in pieces of " + std::to_string(piece));
      const std::string text = bytes.substr(0, length);
      ForcePlainScans(true);
      const ContentHash plain = HashOf(text, piece);
      ForcePlainScans(false);
      const ContentHash chosen = HashOf(text, piece);
      EXPECT_TRUE(plain == chosen);
      EXPECT_TRUE(plain == HashOf(text, 70000));
    }
  }
  // XXH3-128 of nothing, as its reference gives it.
  ForcePlainScans(true);
  const ContentHash empty = HashOf("", 1);
  ForcePlainScans(false);
  EXPECT_EQ(empty.low, 0x6001C324468D497FULL);
  EXPECT_EQ(empty.high, 0x99AA06D3014798D8ULL);
}

}  // namespace
}  // namespace kn
