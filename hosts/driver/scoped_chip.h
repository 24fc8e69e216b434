// A chip made by InitializeChip and freed by UnInitializeChip when the
// scope ends (unless it was freed before).
#pragma once

#include "plugin_library.h"

namespace kn::driver {

class ScopedChip {
 public:
  ScopedChip(const EntryPoints& api, const ChipSettings* settings)
      : api_(api), result_(api.InitializeChip(&handle_, 0, settings)) {}
  ~ScopedChip() { Free(); }
  ScopedChip(const ScopedChip&) = delete;
  ScopedChip& operator=(const ScopedChip&) = delete;

  ChipHandle get() const { return handle_; }
  int initResult() const { return result_; }
  bool ok() const { return handle_ && result_ == kChipCreated; }
  int Update(const ChipSettings* settings) const { return api_.Update(handle_, 0, settings); }
  void Free() {
    if (handle_) api_.UnInitializeChip(handle_);
    handle_ = nullptr;
  }

 private:
  const EntryPoints& api_;
  ChipHandle handle_ = nullptr;
  int result_;
};

}  // namespace kn::driver
