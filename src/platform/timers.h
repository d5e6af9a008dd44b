// The main window's 100 ms timers.
#pragma once

namespace qs {

enum class TimerId { Startup = 1, TrayHint = 2, Typing = 3, ClipboardPoll = 4 };  // Timer1..Timer4

class TimerPort {
 public:
  virtual ~TimerPort() = default;
  virtual void SetTimerEnabled(TimerId id, bool enabled) = 0;
};

}  // namespace qs
