// The board files the re-read benchmarks write, natively and under Wine:
// notice lines in ASCII (the largest sizes), in Japanese as Shift-JIS, and
// the same Japanese saved as UTF-8 without a mark.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace kn::bench {

enum class BoardFileKind { kAscii, kShiftJis, kUtf8 };

struct BoardFileCase {
  BoardFileKind kind;
  long long bytes;
};

// ASCII boards at 10 KB, 1 MB and 50 MB; Japanese ones at 10 KB and 1 MB.
inline std::vector<BoardFileCase> BoardFileCases(const std::vector<long long>& asciiBytes) {
  std::vector<BoardFileCase> cases;
  for (long long bytes : asciiBytes) cases.push_back({BoardFileKind::kAscii, bytes});
  for (BoardFileKind kind : {BoardFileKind::kShiftJis, BoardFileKind::kUtf8}) {
    for (long long bytes : asciiBytes) {
      if (bytes <= 1024LL * 1024) cases.push_back({kind, bytes});
    }
  }
  return cases;
}

// The benchmark rows' kind column: "file" stays the ASCII board's.
inline const char* KindName(BoardFileKind kind) {
  switch (kind) {
    case BoardFileKind::kShiftJis: return "sjis";
    case BoardFileKind::kUtf8: return "utf8";
    case BoardFileKind::kAscii: break;
  }
  return "file";
}

// CR LF lines of notice text, about `bytes` long.
inline std::string BoardFileText(BoardFileKind kind, long long bytes) {
  // "お知らせ %07d: 共有掲示板の一行です"
  const char* format = "notice %07d: a line of the shared board\r\n";
  if (kind == BoardFileKind::kShiftJis) {
    format = "\x82\xa8\x92\x6d\x82\xe7\x82\xb9 %07d: \x8b\xa4\x97\x4c\x8c\x66\x8e\xa6\x94\xc2\x82\xcc\x88\xea"
             "\x8d\x73\x82\xc5\x82\xb7\r\n";
  } else if (kind == BoardFileKind::kUtf8) {
    format = "\xe3\x81\x8a\xe7\x9f\xa5\xe3\x82\x89\xe3\x81\x9b %07d: \xe5\x85\xb1\xe6\x9c\x89\xe6\x8e\xb2\xe7"
             "\xa4\xba\xe6\x9d\xbf\xe3\x81\xae\xe4\xb8\x80\xe8\xa1\x8c\xe3\x81\xa7\xe3\x81\x99\r\n";
  }
  std::string text;
  text.reserve(static_cast<std::size_t>(bytes) + 96);
  char line[128];
  for (int i = 0; static_cast<long long>(text.size()) < bytes; ++i) {
    const int n = std::snprintf(line, sizeof line, format, i);
    text.append(line, static_cast<std::size_t>(n));
  }
  return text;
}

}  // namespace kn::bench
