// Windows and input: the target capture, posted characters, injected keys.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/handles.h"

namespace qs {

enum class PostResult { Ok, AccessDenied, QueueFull, Failed };

class InputPort {
 public:
  virtual ~InputPort() = default;

  virtual WindowHandle ForegroundWindow() = 0;
  virtual ThreadId WindowThread(WindowHandle window) = 0;
  // hwndFocus of GetGUIThreadInfo for the thread; none when the query failed.
  virtual std::optional<WindowHandle> FocusWindowOf(ThreadId thread) = 0;
  virtual bool SetForegroundWindow(WindowHandle window) = 0;
  virtual ScreenPoint CursorPos() = 0;

  // One WM_CHAR for one Windows-1251 byte (converted to UTF-16 by the platform).
  virtual PostResult PostChar(WindowHandle window, unsigned char cp1251) = 0;
  // One keybd_event.
  virtual void KeyEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) = 0;
  // MapVirtualKey with map type 0.
  virtual std::uint8_t ScanCodeOf(std::uint8_t vk) = 0;
  virtual void Sleep(int milliseconds) = 0;
  // Sends the window a message that does nothing (WM_NULL) and waits for its
  // answer, which comes when the window's thread is back at its message
  // queue: a round trip takes it through at most one more of its queued
  // messages. False when the window is gone or did not answer in time.
  virtual bool RoundTrip(WindowHandle window, int timeoutMs) = 0;
  // Handles every message waiting in the program's own queue.
  virtual void ProcessMessages() = 0;
  // LoadKeyboardLayout("00000419", KLF_ACTIVATE).
  virtual void ActivateRussianLayout() = 0;
};

}  // namespace qs
