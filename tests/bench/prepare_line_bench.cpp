// Cost of the portable per-line work: preparing one line of each kind, and a
// paint walk over large texts at different scroll positions (with a fake
// surface, so only our own logic is timed).
#include <benchmark/benchmark.h>

#include <string>

#include "native/fake_text_surface.h"
#include "render/layout_walks.h"
#include "render/prepare_line.h"
#include "markup/civil_date.h"

namespace {

const kn::FixedClock kClock(kn::MakeLocalTime(2000, 12, 25, 12, 0, 0));

kn::LineContext Context() {
  kn::LineContext context{};
  context.baseFont.lfHeight = -12;
  context.textColor = kn::MakeRgb(0, 0, 0);
  context.clock = &kClock;
  return context;
}

void PrepareOne(benchmark::State& state, const char* line) {
  const kn::LineContext context = Context();
  for (auto _ : state) {
    kn::PreparedLine prepared = kn::PrepareLine(line, context);
    benchmark::DoNotOptimize(prepared);
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_PreparePlain(benchmark::State& s) { PrepareOne(s, "a plain line of memo text, nothing special"); }
void BM_PreparePrefixed(benchmark::State& s) { PrepareOne(s, "$cFF8000bu+2|a formatted line of memo text"); }
void BM_PrepareFields(benchmark::State& s) { PrepareOne(s, "#|today %DATEYYYY/MM/DD(WWW)% now %TIMEHH:MM:SS%"); }
void BM_PrepareCountdown(benchmark::State& s) { PrepareOne(s, "#cFF0000|days left %!20301231-3% until the end"); }
void BM_PrepareLink(benchmark::State& s) { PrepareOne(s, "!=Open the editor|C:\\tools\\editor.exe a.txt"); }

BENCHMARK(BM_PreparePlain);
BENCHMARK(BM_PreparePrefixed);
BENCHMARK(BM_PrepareFields);
BENCHMARK(BM_PrepareCountdown);
BENCHMARK(BM_PrepareLink);

std::string Board(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    text += (i % 3 == 0) ? "#cFF0000b|prefixed line " : "plain line of the board ";
    text += std::to_string(i);
    text += "\r\n";
  }
  return text;
}

// A paint of a 10-row window at the top, the middle or the end of the text:
// only the visible lines are prepared, the rest costs one scan.
void BM_DrawWindow(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  const int first = static_cast<int>(state.range(1) * (lines - 10) / 2);
  const std::string text = Board(lines);
  const kn::LineContext context = Context();
  for (auto _ : state) {
    kn::testing::FakeTextSurface surface;
    const kn::DrawOutcome outcome =
        kn::DrawLines(text, first, {0, 0, 400, 120}, context, kn::MakeRgb(0, 0, 255), surface);
    benchmark::DoNotOptimize(outcome);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_DrawWindow)->ArgsProduct({{100, 10000, 100000}, {0, 1, 2}});

}  // namespace

BENCHMARK_MAIN();
