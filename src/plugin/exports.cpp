// The entry points the DLL exports (the export table, written by the build
// from KN_ENTRY_POINTS, names each twice: plain and with a leading underscore). Each binds the platform's services for
// this one call to the body in entry_points.cpp and answers its neutral
// value if anything is thrown.
#include <type_traits>

#include "platform/win32_system.h"
#include "plugin/chip_logic.h"
#include "plugin/chip_modes.h"
#include "plugin/entry_points.h"
#include "plugin/guarded_call.h"
#include "plugin/host_contract.h"

#define KN_EXPORT extern "C"

using namespace kn;

KN_EXPORT int KN_CDECL DrawExSpecification(ChipDescription* description) {
  return GuardedCall(0, [&] { return entry::DrawExSpecification(description); });
}

KN_EXPORT int KN_CDECL DrawExConfigure(WindowHandle owner) {
  return GuardedCall(0, [&] { return entry::DrawExConfigure(Win32System(owner).services()); });
}

KN_EXPORT int KN_CDECL DrawExAbout(WindowHandle owner) {
  return GuardedCall(0, [&] { return entry::DrawExAbout(Win32System(owner).services()); });
}

KN_EXPORT int KN_CDECL InitializeChip(ChipHandle* out, int /*value*/, const ChipSettings* settings) {
  return GuardedCall(kChipNotCreated,
                     [&] { return entry::InitializeChip(Win32System().services(), out, settings); });
}

KN_EXPORT int KN_CDECL UnInitializeChip(ChipHandle chip) {
  return GuardedCall(0, [&] { return entry::UnInitializeChip(Win32System().services(), chip); });
}

KN_EXPORT int KN_CDECL CalcDefaultRect(ChipHandle chip, WindowHandle window, int* size) {
  return GuardedCall(kSizeAccepted,
                     [&] { return entry::CalcDefaultRect(Win32System(window).services(), chip, size); });
}

KN_EXPORT int KN_CDECL DrawChip(ChipHandle chip, WindowHandle window, DcHandle dc) {
  return GuardedCall(1, [&] { return entry::DrawChip(Win32System(window).services(), chip, dc); });
}

KN_EXPORT int KN_CDECL MouseClik(ChipHandle chip, WindowHandle window, ClickPoint* point) {
  return GuardedCall(kResultNothing,
                     [&] { return entry::MouseClik(Win32System(window).services(), chip, point); });
}

KN_EXPORT int KN_CDECL Resize() { return 1; }
KN_EXPORT int KN_CDECL ExchangeSendString() { return 0; }
KN_EXPORT int KN_CDECL GetMemoString() { return 0; }

KN_EXPORT int KN_CDECL Zoom(ChipHandle chip, int /*value*/, int flag) {
  return GuardedCall(kResultNothing, [&] { return entry::Zoom(Win32System().services(), chip, flag); });
}

KN_EXPORT int KN_CDECL Update(ChipHandle chip, int /*value*/, const ChipSettings* settings) {
  return GuardedCall(1, [&] { return entry::Update(Win32System().services(), chip, settings); });
}

KN_EXPORT MenuHandle KN_CDECL GetDrawExMenu(ChipHandle chip) {
  return GuardedCall<MenuHandle>(nullptr,
                                 [&] { return entry::GetDrawExMenu(Win32System().services(), chip); });
}

KN_EXPORT int KN_CDECL DoDrawExMenu(ChipHandle chip, WindowHandle window, unsigned id) {
  return GuardedCall(kResultNothing,
                     [&] { return entry::DoDrawExMenu(Win32System(window).services(), chip, id); });
}

KN_EXPORT int KN_CDECL EditHelper(WindowHandle owner, EditRequest* request) {
  return GuardedCall(kFileNotAppended,
                     [&] { return entry::EditHelper(Win32System(owner).services(), request); });
}

KN_EXPORT int KN_CDECL GetSaveData(ChipHandle chip, int /*value*/, GlobalHandle* block) {
  return GuardedCall(0, [&] { return entry::GetSaveData(Win32System().services(), chip, block); });
}

KN_EXPORT int KN_CDECL GetTimerSpan(ChipHandle chip) {
  return GuardedCall(TimerPeriodOf(kDefaultModes.interval),
                     [&] { return entry::GetTimerSpan(Win32System().services(), chip); });
}

KN_EXPORT int KN_CDECL DoTimer(ChipHandle chip) {
  return GuardedCall(kResultNothing, [&] { return entry::DoTimer(Win32System().services(), chip); });
}

// Every export has the signature the contract gives it.
#define KN_CHECK_SIGNATURE(name) \
  static_assert(std::is_same_v<decltype(&::name), kn::name##Fn>, #name " matches the contract");
KN_ENTRY_POINTS(KN_CHECK_SIGNATURE)
#undef KN_CHECK_SIGNATURE
