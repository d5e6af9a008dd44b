// The main window's four 100 ms timers, as WM_TIMER with the timer's number.
#pragma once

#include <windows.h>

#include <bitset>

#include "platform/timers.h"

namespace qs::win32 {

class Win32Timers final : public TimerPort {
 public:
  explicit Win32Timers(HWND window) : window_(window) {}
  void SetTimerEnabled(TimerId id, bool enabled) override;

 private:
  HWND window_;
  std::bitset<8> running_;
};

}  // namespace qs::win32
