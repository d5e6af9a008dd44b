#include "platform/win32/win32_groups_window.h"

#include <stdexcept>

#include "model/cp1251.h"
#include "platform/win32/text_convert.h"

namespace qs::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuipstreamGroupsWindow";
constexpr wchar_t kTitle[] = L"Управление группами";
constexpr DWORD kStyle = WS_POPUP | WS_CLIPCHILDREN;  // no title bar, no frame
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
constexpr SIZE kClientSize{393, 392};
constexpr int kFontPoints = 8;

}  // namespace

Win32GroupsWindow::Win32GroupsWindow(HINSTANCE instance, HWND owner) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &Win32GroupsWindow::WindowProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kClassName;
  ::RegisterClassExW(&wc);

  if (!::CreateWindowExW(kExStyle, kClassName, kTitle, kStyle, 0, 0, 0, 0, owner, nullptr, instance,
                         this)) {
    throw std::runtime_error(std::string("Не удалось создать окно групп: "_cp1251) +
                             LastErrorText());
  }
  const UINT dpi = WindowDpi(hwnd());
  const SIZE size = WindowSizeFor(kClientSize, kStyle, kExStyle, dpi);
  ::SetWindowPos(hwnd(), nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyDpi(dpi);
  CenterWindow(hwnd(), owner);
}

LRESULT CALLBACK Win32GroupsWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
  auto* self = reinterpret_cast<Win32GroupsWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self =
        static_cast<Win32GroupsWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_.reset(hwnd);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_.release();
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    return 0;  // nothing here throws yet; nothing may unwind into the system
  }
}

LRESULT Win32GroupsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      // The group manager is reused: closing only hides it.
      ::ShowWindow(hwnd(), SW_HIDE);
      return 0;
    case WM_DPICHANGED: {
      ApplyDpi(HIWORD(wParam));
      const RECT* r = reinterpret_cast<const RECT*>(lParam);
      ::SetWindowPos(hwnd(), nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    default: return ::DefWindowProcW(hwnd(), message, wParam, lParam);
  }
}

void Win32GroupsWindow::ApplyDpi(UINT dpi) { font_ = MakeUiFont(dpi, kFontPoints); }

}  // namespace qs::win32
