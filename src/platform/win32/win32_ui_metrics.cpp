#include "platform/win32/win32_ui_metrics.h"

namespace qs::win32 {
namespace {

// The per-monitor functions exist from Windows 10 1607 on; earlier systems
// run the program at the system DPI.
template <typename Fn>
Fn User32Function(const char* name) {
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(user32, name)))
                : nullptr;
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();
using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

UINT LegacySystemDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

}  // namespace

UINT WindowDpi(HWND window) {
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow && window) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi != 0) return dpi;
  }
  return SystemDpi();
}

UINT SystemDpi() {
  static const auto getDpiForSystem = User32Function<GetDpiForSystemFn>("GetDpiForSystem");
  if (getDpiForSystem) return getDpiForSystem();
  return LegacySystemDpi();
}

RECT Scale(const RECT& r, UINT dpi) {
  return {Scale(r.left, dpi), Scale(r.top, dpi), Scale(r.right, dpi), Scale(r.bottom, dpi)};
}

SIZE WindowSizeFor(SIZE client96, DWORD style, DWORD exStyle, UINT dpi) {
  static const auto adjustForDpi = User32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
  RECT r{0, 0, Scale(client96.cx, dpi), Scale(client96.cy, dpi)};
  if (!adjustForDpi || !adjustForDpi(&r, style, FALSE, exStyle, dpi)) {
    ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
  }
  return {r.right - r.left, r.bottom - r.top};
}

void CenterWindow(HWND window, HWND over) {
  RECT self{};
  ::GetWindowRect(window, &self);
  const int width = self.right - self.left;
  const int height = self.bottom - self.top;

  const bool useOver = over && ::IsWindowVisible(over) && !::IsIconic(over);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoW(::MonitorFromWindow(useOver ? over : window, MONITOR_DEFAULTTOPRIMARY),
                    &monitor);
  const RECT work = monitor.rcWork;
  RECT frame = work;
  if (useOver) ::GetWindowRect(over, &frame);

  int x = frame.left + (frame.right - frame.left - width) / 2;
  int y = frame.top + (frame.bottom - frame.top - height) / 2;
  if (x + width > work.right) x = work.right - width;
  if (y + height > work.bottom) y = work.bottom - height;
  if (x < work.left) x = work.left;
  if (y < work.top) y = work.top;
  ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

unique_hfont MakeUiFont(UINT dpi, int points, bool bold) {
  LOGFONTW font{};
  font.lfHeight = -::MulDiv(points, static_cast<int>(dpi), 72);
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = RUSSIAN_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(font.lfFaceName, L"Tahoma", LF_FACESIZE);
  return unique_hfont(::CreateFontIndirectW(&font));
}

}  // namespace qs::win32
