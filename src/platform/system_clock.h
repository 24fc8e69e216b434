// The real clock: the C library's current time in local broken-down form.
#pragma once

#include "system/clock.h"

namespace kn {

class SystemClock final : public Clock {
 public:
  BrokenDownTime LocalNow() const override;
};

}  // namespace kn
