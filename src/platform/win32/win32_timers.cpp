#include "platform/win32/win32_timers.h"

namespace qs::win32 {

namespace {
constexpr UINT kIntervalMs = 100;
}

// Enabling a timer that already runs leaves its interval alone, so a second
// pick does not push back the tick the first one is waiting for.
void Win32Timers::SetTimerEnabled(TimerId id, bool enabled) {
  const auto number = static_cast<std::size_t>(id);
  if (number >= running_.size() || running_[number] == enabled) return;
  if (enabled) {
    if (::SetTimer(window_, number, kIntervalMs, nullptr) == 0) return;
  } else {
    ::KillTimer(window_, number);
  }
  running_[number] = enabled;
}

}  // namespace qs::win32
