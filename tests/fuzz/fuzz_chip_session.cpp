// Drives a whole chip through its portable logic: a fuzzed memo, fuzzed
// board files and a fuzzed sequence of host calls (update, menu commands,
// clicks with any keys, timer ticks, zoom, drawing and sizing). Checks that
// nothing crashes, no lock is left held and no block leaks.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "native/fake_desktop.h"
#include "native/fake_file_system.h"
#include "native/fake_movable_memory.h"
#include "native/fake_text_surface.h"
#include "plugin/chip_logic.h"
#include "plugin/chip_text.h"
#include "plugin/chip_paint.h"
#include "plugin/click_logic.h"
#include "plugin/host_contract.h"
#include "plugin/save_block.h"
#include "render/layout_walks.h"
#include "markup/civil_date.h"

namespace {

using kn::testing::FakeMovableMemory;
using kn::testing::FakeTextSurface;

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return at_ >= size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::int32_t Int() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
    return static_cast<std::int32_t>(v);
  }
  // A text up to a 0xFF separator (or the end), at most `limit` bytes.
  std::string Text(std::size_t limit) {
    std::string text;
    while (at_ < size_ && data_[at_] != 0xFF && text.size() < limit) {
      const char c = static_cast<char>(data_[at_++]);
      if (c != 0) text.push_back(c);
    }
    if (at_ < size_) ++at_;
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// Launches fail, so every click that launches also shows the failure box.
class CheckingDesktop final : public kn::testing::FakeDesktop {
 public:
  CheckingDesktop() { shellResult = 2; }
  int ShellOpen(const std::string& program, const std::string&, const std::string&) override {
    if (program.empty()) std::abort();  // an empty program is never launched
    return shellResult;
  }
  void ShowMessage(const char* text, const char*, kn::MessageIcon) override {
    if (text == nullptr || *text == '\0') std::abort();
  }
};

constexpr std::int32_t kCommands[] = {
    kn::IDM_INTERVAL_1MIN, kn::IDM_INTERVAL_3MIN, kn::IDM_INTERVAL_10MIN, kn::IDM_LINK_RED,
    kn::IDM_LINK_GREEN,    kn::IDM_LINK_BLUE,     kn::IDM_BLINK,          kn::IDM_BOARD_MODE,
    kn::IDM_SCROLL_MODE,   kn::IDM_INTERVAL_1SEC, kn::IDM_INTERVAL_NONE};

void Paint(FakeMovableMemory& memory, const kn::Clock& clock, kn::BlockHandle chip, int height) {
  kn::BlockLock lock(memory, chip);
  if (!lock) return;
  kn::ChipState& state = *lock.as<kn::ChipState>();
  const kn::TextLock text(memory, state.displayText);
  if (!text.ok()) return;
  FakeTextSurface surface;
  const kn::LineContext context{state.baseFont, state.textColor, &clock};
  const kn::DrawOutcome outcome =
      kn::DrawLines(text.view(), state.firstLine, {4, 4, 200, 4 + height}, context,
                    kn::LinkColorFor(state.linkColor), surface);
  state.lastLine = outcome.lastLine;
  state.linesDrawn = outcome.linesDrawn;
  kn::MeasureLines(text.view(), state.firstLine, 300, 400, context, surface);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  FakeMovableMemory memory;
  kn::FixedClock clock(kn::MakeLocalTime(2000 + in.Byte() % 60, 1 + in.Byte() % 12, 1 + in.Byte() % 28));
  kn::FakeFileSystem files;
  files.AddFile("a", in.Text(4096), kn::MakeSystemTime(2001, 2, 3, 6, 4, 5, 6));
  files.AddFile("b", in.Text(4096), kn::MakeSystemTime(2000 + in.Byte() % 60, 1, 1, 0, 0, 0, 0));
  kn::ChipEnv env{memory, clock, files};
  CheckingDesktop desktop;

  std::string memo = in.Text(2048);
  std::uint8_t saved[kn::kSaveBlockSize] = {};
  for (std::size_t i = 0; i < sizeof saved && !in.Empty(); ++i) saved[i] = in.Byte();
  if (saved[0] & 1) {
    const std::int32_t sixty = 60;
    std::memcpy(saved, &sixty, 4);
  }
  kn::ChipSettingsView settings{};
  settings.memo = memo.c_str();
  settings.font.lfHeight = -12;
  settings.saveData = saved;
  kn::BlockHandle chip = kn::CreateChip(env, settings);
  if (!chip) return 0;

  for (int step = 0; step < 64 && !in.Empty(); ++step) {
    switch (in.Byte() % 9) {
      case 0:
        memo = in.Text(2048);
        settings.memo = (in.Byte() & 1) ? memo.c_str() : nullptr;
        kn::UpdateChip(env, chip, settings);
        break;
      case 1:
        kn::ApplyMenuCommand(env, chip, kCommands[in.Byte() % 11]);
        break;
      case 2: {
        const std::uint8_t keys = in.Byte();
        const int y = in.Byte() - 20;
        kn::ClickChip(env, chip, {(keys & 1) != 0, (keys & 2) != 0},
                      {{0, 0, 208, 208}, {4, 4, 204, 204}, in.Byte(), y}, desktop);
        break;
      }
      case 3:
        kn::RunTimerStep(env, chip);
        break;
      case 4:
        kn::ZoomChip(env, chip, in.Byte() & 1);
        break;
      case 5:
        Paint(memory, clock, chip, in.Byte());
        break;
      case 6:
        files.AddFile("a", in.Text(4096), kn::MakeSystemTime(2002, 3, 4, 1, 5, 6, 7));
        break;
      case 7: {
        kn::BlockLock lock(memory, chip);
        if (lock) lock.as<kn::ChipState>()->firstLine = in.Int();
        break;
      }
      default:
        kn::GetChipTimerSpan(env, chip);
        break;
    }
    if (memory.HeldLocks() != 0) std::abort();
  }
  kn::DestroyChip(env, chip);
  if (memory.LiveBlocks() != 0) std::abort();
  return 0;
}
