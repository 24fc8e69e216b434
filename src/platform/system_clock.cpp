#include "platform/system_clock.h"

#include <ctime>

namespace kn {

BrokenDownTime SystemClock::LocalNow() const {
  BrokenDownTime now{};
  const std::time_t seconds = std::time(nullptr);
  // localtime's result is static storage; copied at once, on the one thread
  // the host calls us from.
  if (const std::tm* local = std::localtime(&seconds)) {
    now = {local->tm_sec,  local->tm_min,  local->tm_hour, local->tm_mday, local->tm_mon,
           local->tm_year, local->tm_wday, local->tm_yday, local->tm_isdst};
  }
  return now;
}

}  // namespace kn
