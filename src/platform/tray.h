// The notification-area icon and its menu.
#pragma once

#include <string_view>

#include "platform/handles.h"

namespace qs {

enum class TrayCommand { None, ClearHistory, Settings, Exit };  // N6, N2, N1

class TrayPort {
 public:
  virtual ~TrayPort() = default;

  // Shows the application's icon with the hint (Windows-1251). The
  // implementation keeps it shown: it retries a first add that the shell
  // refused and adds it again when Explorer restarts.
  virtual void ShowIcon(std::string_view hint) = 0;
  // Lines are joined by CR LF.
  virtual void SetHint(std::string_view hint) = 0;
  virtual void ShowBalloon(std::string_view text) = 0;
  // Opens the tray menu at the point and returns the chosen item. The first
  // item, "Очистить историю буфера", is present only when asked for.
  virtual TrayCommand TrackTrayMenu(ScreenPoint at, bool showClearHistory) = 0;
};

}  // namespace qs
