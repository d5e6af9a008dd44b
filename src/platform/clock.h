// The local clock and the user's regional time separator.
#pragma once

#include <string>

namespace qs {

struct LocalDateTime {
  int year = 2000, month = 1, day = 1, hour = 0, minute = 0;
};

class ClockPort {
 public:
  virtual ~ClockPort() = default;
  virtual LocalDateTime Now() = 0;
  virtual std::string TimeSeparator() = 0;  // Windows-1251, ":" under Russian settings
};

}  // namespace qs
