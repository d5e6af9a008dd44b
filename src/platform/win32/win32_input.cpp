#include "platform/win32/win32_input.h"

#include <windows.h>

namespace qs::win32 {
namespace {

HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle FromHwnd(HWND window) { return reinterpret_cast<WindowHandle>(window); }

}  // namespace

WindowHandle Win32Input::ForegroundWindow() { return FromHwnd(::GetForegroundWindow()); }

ThreadId Win32Input::WindowThread(WindowHandle window) {
  return ::GetWindowThreadProcessId(ToHwnd(window), nullptr);
}

std::optional<WindowHandle> Win32Input::FocusWindowOf(ThreadId thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;  // the 64-bit size; a 32-bit one is refused
  if (!::GetGUIThreadInfo(thread, &info)) return std::nullopt;
  return FromHwnd(info.hwndFocus);
}

bool Win32Input::SetForegroundWindow(WindowHandle window) {
  return ::SetForegroundWindow(ToHwnd(window)) != FALSE;
}

ScreenPoint Win32Input::CursorPos() {
  POINT p{};
  if (!::GetCursorPos(&p)) return {};
  return {p.x, p.y};
}

// The byte becomes the UTF-16 character it stands for in Windows-1251, so
// the target sees Cyrillic whatever its own ANSI code page is.
PostResult Win32Input::PostChar(WindowHandle window, unsigned char cp1251) {
  const char byte = static_cast<char>(cp1251);
  wchar_t ch = 0;
  if (::MultiByteToWideChar(1251, 0, &byte, 1, &ch, 1) != 1) return PostResult::Failed;
  if (::PostMessageW(ToHwnd(window), WM_CHAR, ch, 0)) return PostResult::Ok;
  switch (::GetLastError()) {
    case ERROR_ACCESS_DENIED:  // a window of a higher integrity level
      return PostResult::AccessDenied;
    case ERROR_NOT_ENOUGH_QUOTA:  // the target's queue holds 10000 messages
      return PostResult::QueueFull;
    default:
      return PostResult::Failed;
  }
}

void Win32Input::KeyEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = scan;
  input.ki.dwFlags = flags;
  ::SendInput(1, &input, sizeof input);
}

std::uint8_t Win32Input::ScanCodeOf(std::uint8_t vk) {
  return static_cast<std::uint8_t>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
}

void Win32Input::Sleep(int milliseconds) {
  ::Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0);
}

// SMTO_NORMAL: messages other threads send to us are still handled while we
// wait; a hung window is given up at once.
bool Win32Input::RoundTrip(WindowHandle window, int timeoutMs) {
  DWORD_PTR answer = 0;
  return ::SendMessageTimeoutW(ToHwnd(window), WM_NULL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                               timeoutMs > 0 ? static_cast<UINT>(timeoutMs) : 0, &answer) != 0;
}

// A WM_QUIT met here belongs to the main loop: put it back so the program
// still ends once the typing run has returned.
void Win32Input::ProcessMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

void Win32Input::ActivateRussianLayout() { ::LoadKeyboardLayoutW(L"00000419", KLF_ACTIVATE); }

}  // namespace qs::win32
