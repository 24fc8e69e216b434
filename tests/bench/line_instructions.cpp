// Prepares COUNT lines of one kind, for instruction counts under
// valgrind --tool=callgrind: scripts/bench.sh runs it with two counts and
// divides the difference by the difference of the counts, so start-up and
// exit cancel out and what remains is the cost of one line.
//
//   line_instructions plain|prefixed|fields|countdown|link COUNT
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "system/clock.h"
#include "markup/civil_date.h"
#include "render/prepare_line.h"

namespace {

struct LineKind {
  const char* name;
  const char* line;
};

// The same lines as the Google Benchmark of line preparation.
constexpr LineKind kKinds[] = {
    {"plain", "a plain line of memo text, nothing special"},
    {"prefixed", "$cFF8000bu+2|a formatted line of memo text"},
    {"fields", "#|today %DATEYYYY/MM/DD(WWW)% now %TIMEHH:MM:SS%"},
    {"countdown", "#cFF0000|days left %!20301231-3% until the end"},
    {"link", "!=Open the editor|C:\\tools\\editor.exe a.txt"},
};

}  // namespace

int main(int argc, char** argv) {
  const LineKind* kind = nullptr;
  for (const LineKind& k : kKinds) {
    if (argc == 3 && std::strcmp(argv[1], k.name) == 0) kind = &k;
  }
  const long count = argc == 3 ? std::strtol(argv[2], nullptr, 10) : -1;
  if (!kind || count < 0) {
    std::fprintf(stderr, "usage: line_instructions plain|prefixed|fields|countdown|link COUNT\n");
    return 2;
  }
  const kn::FixedClock clock(kn::MakeLocalTime(2000, 12, 25, 12, 0, 0));
  kn::LineContext context{};
  context.baseFont.lfHeight = -12;
  context.clock = &clock;
  std::size_t drawn = 0;
  for (long i = 0; i < count; ++i) drawn += kn::PrepareLine(kind->line, context).Drawn().size();
  std::printf("%s: %ld lines, %zu bytes to draw\n", kind->name, count, drawn);
  return 0;
}
