// The local clock and the user's time separator.
#pragma once

#include "platform/clock.h"

namespace qs::win32 {

class Win32Clock : public ClockPort {
 public:
  LocalDateTime Now() override;
  std::string TimeSeparator() override;
};

}  // namespace qs::win32
