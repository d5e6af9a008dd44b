// Windows, focus and synthetic input for the typing run.
#pragma once

#include "platform/input.h"

namespace qs::win32 {

class Win32Input : public InputPort {
 public:
  WindowHandle ForegroundWindow() override;
  ThreadId WindowThread(WindowHandle window) override;
  std::optional<WindowHandle> FocusWindowOf(ThreadId thread) override;
  bool SetForegroundWindow(WindowHandle window) override;
  ScreenPoint CursorPos() override;
  PostResult PostChar(WindowHandle window, unsigned char cp1251) override;
  void KeyEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) override;
  std::uint8_t ScanCodeOf(std::uint8_t vk) override;
  void Sleep(int milliseconds) override;
  bool RoundTrip(WindowHandle window, int timeoutMs) override;
  void ProcessMessages() override;
  void ActivateRussianLayout() override;
};

}  // namespace qs::win32
