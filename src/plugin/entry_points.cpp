#include "plugin/entry_points.h"

#include <cstring>

#include "plugin/board_file_chooser.h"
#include "plugin/chip_logic.h"
#include "plugin/chip_menu.h"
#include "plugin/chip_paint.h"
#include "plugin/click_logic.h"
#include "plugin/host_texts.h"
#include "plugin/save_block.h"

namespace kn::entry {
namespace {

ChipEnv EnvOf(Services& services) {
  return ChipEnv{services.localMemory, services.clock, services.files, &services.encoder, services.reading};
}

// The host's settings record as the chip logic reads it. The record is
// copied first: the host's bytes need not be aligned.
ChipSettingsView ViewOf(const ChipSettings* settings) {
  ChipSettings record;
  std::memcpy(&record, settings, sizeof record);
  ChipSettingsView view{};
  view.memo = record.memo;
  view.textColor = record.textColor;
  view.backColor = record.backColor;
  view.font = record.font;
  view.zoomed = record.zoomed;
  view.saveData = static_cast<const std::uint8_t*>(record.saveData);
  return view;
}

void ShowAbout(Services& services) {
  services.desktop.ShowMessage(kAboutText, kAboutCaption, MessageIcon::kInformation);
}

// Writes one field of the host's record where it stands, touching nothing
// around it.
template <typename Value>
void WriteAt(ChipDescription* description, std::size_t offset, const Value& value) {
  std::memcpy(reinterpret_cast<unsigned char*>(description) + offset, &value, sizeof value);
}

}  // namespace

int DrawExSpecification(ChipDescription* description) {
  if (!description) return 0;
  WriteAt(description, offsetof(ChipDescription, value0), kDescriptionValues[0]);
  WriteAt(description, offsetof(ChipDescription, value4), kDescriptionValues[1]);
  WriteAt(description, offsetof(ChipDescription, title), kChipTitle);  // the title and its NUL
  WriteAt(description, offsetof(ChipDescription, value60), kDescriptionValues[2]);
  WriteAt(description, offsetof(ChipDescription, value64), kDescriptionValues[3]);
  WriteAt(description, offsetof(ChipDescription, value68), kDescriptionValues[4]);
  return 0;
}

int DrawExConfigure(Services& services) {
  services.desktop.ShowMessage(kConfigureText, kChipTitle, MessageIcon::kInformation);
  return 0;
}

int DrawExAbout(Services& services) {
  ShowAbout(services);
  return 0;
}

int InitializeChip(Services& services, ChipHandle* out, const ChipSettings* settings) {
  // Without a place for the handle the chip could never be freed: none is
  // made.
  if (!out) return kChipNotCreated;
  ChipEnv env = EnvOf(services);
  *out = settings ? CreateChip(env, ViewOf(settings)) : nullptr;
  return *out ? kChipCreated : kChipNotCreated;
}

int UnInitializeChip(Services& services, ChipHandle chip) {
  ChipEnv env = EnvOf(services);
  DestroyChip(env, chip);
  return 0;
}

int CalcDefaultRect(Services& services, ChipHandle chip, int* size) {
  if (!size) return kSizeAccepted;
  ChipEnv env = EnvOf(services);
  BlockLock lock(env.memory, chip);
  if (!lock) return kSizeAccepted;
  return ProposeSize(env, *lock.as<ChipState>(), services.desktop, size);
}

int DrawChip(Services& services, ChipHandle chip, DcHandle dc) {
  ChipEnv env = EnvOf(services);
  BlockLock lock(env.memory, chip);
  if (!lock) return 1;
  const std::unique_ptr<Canvas> canvas = services.desktop.OpenCanvas(dc);
  if (canvas) PaintChip(env, *lock.as<ChipState>(), services.desktop, *canvas);
  return 0;
}

int MouseClik(Services& services, ChipHandle chip, const ClickPoint* point) {
  const KeyState keys = services.desktop.Keys();
  if (!point) return kResultNothing;
  const Rect client = services.desktop.ClientRect();
  const ClickGeometry where{client, TextRectOf(services.desktop, client), point->x, point->y};
  ChipEnv env = EnvOf(services);
  return ClickChip(env, chip, keys, where, services.desktop);
}

int Zoom(Services& services, ChipHandle chip, int flag) {
  ChipEnv env = EnvOf(services);
  return ZoomChip(env, chip, flag);
}

int Update(Services& services, ChipHandle chip, const ChipSettings* settings) {
  if (!settings) return 1;
  ChipEnv env = EnvOf(services);
  UpdateChip(env, chip, ViewOf(settings));
  return 1;
}

MenuHandle GetDrawExMenu(Services& services, ChipHandle chip) {
  BlockLock lock(services.localMemory, chip);
  return services.desktop.BuildMenu(ChipMenuEntries(),
                                    CheckedMenuIds(lock ? lock.as<ChipState>() : nullptr));
}

int DoDrawExMenu(Services& services, ChipHandle chip, unsigned id) {
  ChipEnv env = EnvOf(services);
  const MenuOutcome outcome = ApplyMenuCommand(env, chip, id);
  if (outcome.showAbout) ShowAbout(services);
  return outcome.result;
}

int EditHelper(Services& services, EditRequest* request) {
  return ChooseBoardFile(services.desktop, services.hostMemory, request);
}

int GetSaveData(Services& services, ChipHandle chip, GlobalHandle* block) {
  std::uint8_t bytes[kSaveBlockSize];
  {
    BlockLock lock(services.localMemory, chip);
    PackSaveBlock(lock ? lock.as<ChipState>() : nullptr, bytes);
  }
  if (!block) return 0;
  HostMemory& memory = services.hostMemory;
  BlockHandle resized = memory.Resize(*block, kSaveBlockSize, true);
  if (!resized) return 0;
  *block = resized;
  BlockLock lock(memory, resized);
  if (!lock) return 0;
  std::memcpy(lock.get(), bytes, sizeof bytes);
  return 1;
}

int GetTimerSpan(Services& services, ChipHandle chip) {
  ChipEnv env = EnvOf(services);
  return GetChipTimerSpan(env, chip);
}

int DoTimer(Services& services, ChipHandle chip) {
  ChipEnv env = EnvOf(services);
  return RunTimerStep(env, chip);
}

}  // namespace kn::entry
