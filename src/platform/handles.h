// Opaque values that cross the platform boundary. The core never looks into
// a window handle; it only stores it and hands it back.
#pragma once

#include <cstdint>

namespace qs {

using WindowHandle = std::uintptr_t;  // an HWND on Windows; 0 is none
using ThreadId = std::uint32_t;

struct ScreenPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

}  // namespace qs
