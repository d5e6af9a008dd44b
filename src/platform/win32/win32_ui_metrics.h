// Sizes and fonts of the program's windows at the screen's DPI, and the
// owners of windows and of the GDI objects made for them. Layouts are
// written for 96 DPI.
#pragma once

#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace qs::win32 {

template <typename T>
struct GdiObjectDeleter {
  static T invalid() noexcept { return nullptr; }
  static void close(T object) noexcept { ::DeleteObject(object); }
};
using unique_hfont = unique_handle<HFONT, GdiObjectDeleter<HFONT>>;
using unique_hbitmap = unique_handle<HBITMAP, GdiObjectDeleter<HBITMAP>>;

// A window procedure releases its handle on WM_NCDESTROY, so that a window
// the system already destroyed is not destroyed twice.
struct WindowDestroyer {
  static HWND invalid() noexcept { return nullptr; }
  static void close(HWND window) noexcept { ::DestroyWindow(window); }
};
using unique_hwnd = unique_handle<HWND, WindowDestroyer>;

inline constexpr UINT kBaseDpi = 96;

// The DPI the window is drawn at (per monitor when the system supports it).
UINT WindowDpi(HWND window);
// The DPI of the primary monitor when the user signed in.
UINT SystemDpi();

// A length of the 96 DPI layout at this DPI.
inline int Scale(int length96, UINT dpi) {
  return ::MulDiv(length96, static_cast<int>(dpi), kBaseDpi);
}
RECT Scale(const RECT& rect96, UINT dpi);

// The outer size of a window whose client area is client96 at 96 DPI.
SIZE WindowSizeFor(SIZE client96, DWORD style, DWORD exStyle, UINT dpi);

// Centres the window over `over`, or on its monitor's work area when `over`
// is null or hidden; the window stays inside that work area.
void CenterWindow(HWND window, HWND over);

// The program's face, Tahoma, at the size in points for this DPI.
unique_hfont MakeUiFont(UINT dpi, int points, bool bold = false);

}  // namespace qs::win32
