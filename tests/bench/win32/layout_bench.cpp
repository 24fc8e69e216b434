// Paint, size and click of the real DLL against their floors, for plain and
// rich boards of every size, scrolled to the top, the middle and the end.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/win32/bench_boards.h"
#include "bench/win32/bench_chip.h"
#include "bench/win32/bench_floors.h"
#include "bench/win32/bench_options.h"
#include "bench/win32/bench_timing.h"

namespace kn::bench {
namespace {

wine::ChipSettings& WithMemo(wine::ChipSettings& settings, const std::string& memo) {
  settings.Memo(memo);
  return settings;
}

// Where a page-down click in scroll mode moves the first line: down by the
// lines the last paint drew, the last page ending with the last line.
int AfterPageDown(int first, int pageLines, int lineCount) {
  const int next = first + pageLines;
  const int lastLine = lineCount - 1;
  return next + pageLines > lastLine ? lastLine - pageLines + 1 : next;
}

// One board in one chip; the scroll position moves down through the run.
class LayoutScene {
 public:
  LayoutScene(BoardKind kind, int lines, const BenchOptions& options)
      : kind_(kind),
        options_(options),
        board_(MakeBoard(kind, lines)),
        chip_(WithMemo(settings_, board_.text)),
        fonts_(settings_.font()),
        floorCanvas_(chip_.client()),
        back_(CreateSolidBrush(settings_.backColor())) {}
  ~LayoutScene() {
    if (back_) DeleteObject(back_);
  }
  LayoutScene(const LayoutScene&) = delete;
  LayoutScene& operator=(const LayoutScene&) = delete;

  bool ok() const { return chip_.ok() && fonts_.ok() && floorCanvas_.ok() && back_; }

  // Scrolls down to `wanted` (or the last page, whichever comes first) and
  // measures the three figures there.
  void MeasureAt(const char* position, int wanted) {
    ScrollTowards(wanted);
    const std::string size = std::to_string(board_.Lines());
    MeasurePaint(position, size);
    MeasureSize(position, size);
    MeasureClick(position, size);
  }

 private:
  int FloorPaintHere() { return FloorPaint(chip_.hwnd(), floorCanvas_.dc(), back_, fonts_, board_, first_); }

  // The cost of the calls a floor makes besides drawing, for the notes.
  template <typename Fn>
  std::string EntryCost(Fn fn) const {
    std::vector<double> samples;
    for (int r = 0; r < options_.repetitions; ++r) samples.push_back(MicrosecondsPerCall(fn, 20));
    char text[48];
    std::snprintf(text, sizeof text, " entry=%.0fus", Median(samples));
    return text;
  }

  // Page-down clicks in scroll mode, exactly as a user scrolls; the chip's
  // own paint at the current position first sets the page size.
  void ScrollTowards(int wanted) {
    chip_.Paint();
    const int page = FloorPaintHere();
    if (page <= 0 || first_ >= wanted) return;
    chip_.ToggleScrollMode();
    while (first_ < wanted) {
      const int next = AfterPageDown(first_, page, board_.Lines());
      if (next <= first_) break;
      chip_.PageDown();
      first_ = next;
    }
    chip_.ToggleScrollMode();
  }

  void MeasurePaint(const char* position, const std::string& size) {
    // The chip and the floor must show the same pixels, or the floor is not
    // drawing what the chip draws.
    chip_.Paint();
    FloorPaintHere();
    const std::string difference = chip_.canvas().FirstDifference(floorCanvas_);
    const std::string note = "first=" + std::to_string(first_) +
                             (difference.empty() ? " pixels=same" : " pixels=DIFFER(" + difference + ")");
    const PairResult result = MeasurePair([this] { chip_.Paint(); }, [this] { FloorPaintHere(); },
                                          options_.repetitions, options_.sampleUs);
    Report("paint", NameOf(kind_), size, position, result, note);
  }

  void MeasureSize(const char* position, const std::string& size) {
    const RECT window = chip_.client();
    auto subject = [this, &window] {
      int proposed[2] = {window.right, window.bottom};
      Api().CalcDefaultRect(chip_.handle(), chip_.hwnd(), proposed);
    };
    auto floor = [this] { FloorProposeSize(chip_.hwnd(), fonts_, board_, first_); };
    int proposed[2] = {0, 0};
    Api().CalcDefaultRect(chip_.handle(), chip_.hwnd(), proposed);
    const SIZE expected = FloorProposeSize(chip_.hwnd(), fonts_, board_, first_);
    const bool same = proposed[0] == expected.cx && proposed[1] == expected.cy;
    const HWND hwnd = chip_.hwnd();
    const std::string entry = EntryCost([hwnd] {
      RECT work{};
      SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
      { const WindowDc dc(hwnd); }
      RECT outer{0, 0, GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME)};
      AdjustWindowRectEx(&outer, WS_POPUP | WS_VISIBLE | WS_BORDER, FALSE, WS_EX_TOOLWINDOW);
    });
    const std::string note = std::to_string(proposed[0]) + "x" + std::to_string(proposed[1]) +
                             (same ? " size=same" : " size=DIFFER(floor " + std::to_string(expected.cx) +
                                                        "x" + std::to_string(expected.cy) + ")") + entry;
    Report("size", NameOf(kind_), size, position,
           MeasurePair(subject, floor, options_.repetitions, options_.sampleUs), note);
  }

  // A click on the row of the last whole visible line, right of its text:
  // the whole walk down to that line, and nothing launched.
  void MeasureClick(const char* position, const std::string& size) {
    chip_.Paint();
    const int whole = FloorPaintHere();
    const int target = first_ + (whole > 0 ? whole - 1 : 0);
    const RECT row = FloorHitWalk(chip_.hwnd(), fonts_, board_, first_, target);
    const int x = chip_.TextRect().right - 2;
    const int y = (row.top + row.bottom) / 2;
    wine::ScopedKeys none(false, false);
    const int result = chip_.Click(x, y);
    auto subject = [this, x, y] { chip_.Click(x, y); };
    auto floor = [this, target] { FloorHitWalk(chip_.hwnd(), fonts_, board_, first_, target); };
    const HWND hwnd = chip_.hwnd();
    const std::string entry = EntryCost([hwnd] {
      BYTE keys[256];
      GetKeyboardState(keys);
      RECT client{};
      GetClientRect(hwnd, &client);
      floorSink = static_cast<std::size_t>(FloorTextRect(client).left + keys[VK_SHIFT]);
      { const WindowDc dc(hwnd); }
    });
    const std::string note = "line=" + std::to_string(target) + " result=" + std::to_string(result) + entry;
    Report("click", NameOf(kind_), size, position,
           MeasurePair(subject, floor, options_.repetitions, options_.sampleUs), note);
  }

  BoardKind kind_;
  const BenchOptions& options_;
  Board board_;
  wine::ChipSettings settings_;
  BenchChip chip_;
  FloorFonts fonts_;
  wine::Canvas floorCanvas_;
  HBRUSH back_;
  int first_ = 0;
};

}  // namespace

void RunLayoutBenchmarks(const BenchOptions& options) {
  for (BoardKind kind : {BoardKind::kPlain, BoardKind::kRich}) {
    for (int lines : options.boardLines) {
      Progress(std::string("layout: ") + NameOf(kind) + " board of " + std::to_string(lines) + " lines");
      LayoutScene scene(kind, lines, options);
      if (!scene.ok()) {
        Progress("cannot set up the chip, its window or the floor's fonts");
        continue;
      }
      scene.MeasureAt("top", 0);
      scene.MeasureAt("middle", lines / 2);
      scene.MeasureAt("end", lines);
    }
  }
}

}  // namespace kn::bench
