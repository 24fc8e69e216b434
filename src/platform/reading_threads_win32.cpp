#include "platform/reading_threads_win32.h"

#include <windows.h>

#include <new>
#include <utility>

#include "platform/file_system_win32.h"
#include "platform/system_cp932_encoder.h"
#include "platform/win32_owners.h"

namespace kn {
namespace {

// A read needs little stack: its buffers are on the heap.
constexpr SIZE_T kReadingThreadStack = 256 * 1024;

class EventSignal final : public DoneSignal {
 public:
  explicit EventSignal(HANDLE event) : event_(event) {}
  void Set() override { SetEvent(event_.get()); }
  bool Wait(unsigned milliseconds) override { return WaitForSingleObject(event_.get(), milliseconds) == WAIT_OBJECT_0; }

 private:
  KernelHandle event_;
};

struct Launch {
  BoardReadTask task;
  HMODULE module;  // the thread's reference, given back as it exits
};

DWORD WINAPI ReadingThreadMain(void* parameter) {
  HMODULE module = nullptr;
  {
    const std::unique_ptr<Launch> launch(static_cast<Launch*>(parameter));
    module = launch->module;
    // The thread's own file access and converter, nothing of the call that
    // started it; neither allocates, so the task always runs.
    Win32FileSystem files;
    SystemCp932Encoder encoder;
    launch->task(files, encoder);
  }
  FreeLibraryAndExitThread(module, 0);
}

HMODULE ThisModule() {
  HMODULE module = nullptr;
  const auto address = reinterpret_cast<LPCWSTR>(reinterpret_cast<const void*>(&ReadingThreadMain));
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, address, &module)) return nullptr;
  return module;
}

}  // namespace

std::unique_ptr<DoneSignal> Win32ReadingThreads::MakeSignal() {
  KernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!event.ok()) return nullptr;
  auto signal = std::make_unique<EventSignal>(event.get());
  event.release();  // the signal closes it now
  return signal;
}

bool Win32ReadingThreads::Start(BoardReadTask task) {
  // Taken here, before the thread exists, so that the module cannot go
  // between this call's return and the thread's first instruction.
  ModuleReference module(ThisModule());
  if (!module.ok()) return false;
  auto launch = std::make_unique<Launch>(Launch{std::move(task), module.get()});
  KernelHandle thread(CreateThread(nullptr, kReadingThreadStack, ReadingThreadMain, launch.get(),
                                   STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
  if (!thread.ok()) return false;
  launch.release();  // the thread's now
  module.release();
  return true;
}

}  // namespace kn
