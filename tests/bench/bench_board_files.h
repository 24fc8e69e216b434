// The board files the re-read benchmarks write, natively and under Wine:
// notice lines in ASCII, in Japanese as Shift-JIS, the same Japanese saved as
// UTF-8 without a mark (as Notepad saves it), and lines of Japanese prose
// in UTF-8, nearly all of them three-byte characters.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace kn::bench {

enum class BoardFileKind { kAscii, kShiftJis, kUtf8, kUtf8Japanese };

struct BoardFileCase {
  BoardFileKind kind;
  long long bytes;
};

// Every kind at every size asked for.
inline std::vector<BoardFileCase> BoardFileCases(const std::vector<long long>& sizes) {
  std::vector<BoardFileCase> cases;
  for (BoardFileKind kind :
       {BoardFileKind::kAscii, BoardFileKind::kShiftJis, BoardFileKind::kUtf8, BoardFileKind::kUtf8Japanese}) {
    for (long long bytes : sizes) cases.push_back({kind, bytes});
  }
  return cases;
}

// The benchmark rows' kind column: "file" stays the ASCII board's.
inline const char* KindName(BoardFileKind kind) {
  switch (kind) {
    case BoardFileKind::kShiftJis: return "sjis";
    case BoardFileKind::kUtf8: return "utf8";
    case BoardFileKind::kUtf8Japanese: return "utf8ja";
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
  } else if (kind == BoardFileKind::kUtf8Japanese) {
    // "第%07d号：本日の会議は午後三時から第二会議室で行います。資料を各自ご用意ください。"
    format = "\xe7\xac\xac%07d\xe5\x8f\xb7\xef\xbc\x9a\xe6\x9c\xac\xe6\x97\xa5\xe3\x81\xae\xe4\xbc\x9a"
             "\xe8\xad\xb0\xe3\x81\xaf\xe5\x8d\x88\xe5\xbe\x8c\xe4\xb8\x89\xe6\x99\x82\xe3\x81\x8b\xe3\x82\x89"
             "\xe7\xac\xac\xe4\xba\x8c\xe4\xbc\x9a\xe8\xad\xb0\xe5\xae\xa4\xe3\x81\xa7\xe8\xa1\x8c\xe3\x81\x84"
             "\xe3\x81\xbe\xe3\x81\x99\xe3\x80\x82\xe8\xb3\x87\xe6\x96\x99\xe3\x82\x92\xe5\x90\x84\xe8\x87\xaa"
             "\xe3\x81\x94\xe7\x94\xa8\xe6\x84\x8f\xe3\x81\x8f\xe3\x81\xa0\xe3\x81\x95\xe3\x81\x84\xe3\x80\x82\r\n";
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
