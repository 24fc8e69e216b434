// The wall clock, injected so that every field and countdown can be tested
// with a fixed time.
#pragma once

#include "system/types.h"

namespace kn {

class Clock {
 public:
  virtual ~Clock() = default;
  // The current local time, broken down as the C library's localtime gives it.
  virtual BrokenDownTime LocalNow() const = 0;
};

// A clock that always answers the same local time.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(const BrokenDownTime& now) : now_(now) {}
  BrokenDownTime LocalNow() const override { return now_; }
  void Set(const BrokenDownTime& now) { now_ = now; }

 private:
  BrokenDownTime now_;
};

}  // namespace kn
