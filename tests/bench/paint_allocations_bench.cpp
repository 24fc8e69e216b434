// Counts the heap allocations of one paint walk natively, for boards of
// 100, 10,000 and 100,000 lines scrolled to the top, the middle and the end.
// Lines that are not drawn may cost one pass over their bytes and nothing
// else: a paint of a large board must allocate exactly as much as a paint
// of a small one at the same place. Prints KNBENCH rows for scripts/bench.sh.
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "system/clock.h"
#include "markup/civil_date.h"
#include "render/layout_walks.h"

namespace {

long allocations = 0;

void* CountedAllocate(std::size_t bytes) {
  ++allocations;
  if (void* block = std::malloc(bytes ? bytes : 1)) return block;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t bytes) { return CountedAllocate(bytes); }
void* operator new[](std::size_t bytes) { return CountedAllocate(bytes); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace {

constexpr int kRowHeight = 13;

// Every line is one row; nothing is kept. Like DrawTextA, it changes the
// rectangle only when measuring.
class RowSurface final : public kn::TextSurface {
 public:
  void UseFont(const kn::LogFont&) override {}
  void UseTextColor(kn::ColorRef) override {}
  int DrawWrapped(std::string_view, kn::Rect& rect, unsigned flags) override {
    if (flags & kn::kDtCalcRect) rect.bottom = rect.top + kRowHeight;
    return kRowHeight;
  }
};

// The lines of the plain and rich boards of the Wine benchmark.
std::string BoardLine(bool rich, int i) {
  char line[96];
  switch (rich ? i % 4 : 0) {
    case 1: std::snprintf(line, sizeof line, "$cFF0000b|prefixed line %d", i); break;
    case 2: std::snprintf(line, sizeof line, "#|line %d, today %%DATEYYYY/MM/DD%%", i); break;
    case 3: std::snprintf(line, sizeof line, "!=Open notes %d|notepad.exe notes.txt", i); break;
    default: std::snprintf(line, sizeof line, "plain line %d of the board", i); break;
  }
  return line;
}

// Lines [begin, end) joined by CR LF.
std::string Board(bool rich, int begin, int end) {
  std::string text;
  for (int i = begin; i < end; ++i) {
    if (i > begin) text += "\r\n";
    text += BoardLine(rich, i);
  }
  return text;
}

// Allocations of one paint of a 10-row chip whose first line is `first`
// (nine whole rows and the tenth clipped).
long PaintAllocations(const std::string& text, int first) {
  const kn::FixedClock clock(kn::MakeLocalTime(2026, 12, 8, 12, 0, 0));
  kn::LineContext context{};
  context.baseFont.lfHeight = -12;
  context.clock = &clock;
  RowSurface surface;
  const long before = allocations;
  const kn::DrawOutcome outcome =
      kn::DrawLines(text, first, {0, 0, 200, 10 * kRowHeight}, context, kn::MakeRgb(0, 0, 255), surface);
  const long made = allocations - before;
  if (outcome.linesDrawn != 9) {
    std::fprintf(stderr, "paint at %d drew %d whole lines, not 9\n", first, outcome.linesDrawn);
  }
  return made;
}

}  // namespace

int main() {
  constexpr int kShownLines = 10;
  for (const bool rich : {false, true}) {
    for (const int lines : {100, 10000, 100000}) {
      const std::string text = Board(rich, 0, lines);
      const int first[] = {0, lines / 2, lines - kShownLines};
      const char* positions[] = {"top", "middle", "end"};
      for (int p = 0; p < 3; ++p) {
        // The same visible lines as a board of their own: what the paint
        // needs when no other line exists.
        const std::string visible = Board(rich, first[p], first[p] + kShownLines);
        const long made = PaintAllocations(text, first[p]);
        const long reference = PaintAllocations(visible, 0);
        std::printf("KNBENCH\tallocs-native\t%s\t%d\t%s\t%ld\t%ld\t1\t1\tfirst=%d\n", rich ? "rich" : "plain",
                    lines, positions[p], made, reference, first[p]);
      }
    }
  }
  return 0;
}
