// The window procedure shared by the program's own windows: each window is
// an object that owns its HWND (`hwnd_`), lays itself out for a DPI in
// ApplyDpi and handles its other messages in HandleMessage; the object
// arrives with WM_NCCREATE as the create parameter.
#pragma once

#include <windows.h>

#include <exception>

#include "platform/win32/win32_modal_view.h"

namespace qs::win32 {

// Runs one handler. An exception ends it and is shown to the user, so
// nothing unwinds through the system's code.
template <typename F>
void RunGuarded(HWND owner, F&& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    ShowHandlerError(owner, e.what());
  } catch (...) {
    ShowHandlerError(owner, "unknown error");
  }
}

template <typename Window>
LRESULT CALLBACK ObjectWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_.reset(hwnd);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_.release();
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
  if (message == WM_DPICHANGED) {
    // Moved to a monitor of another scale: lay out anew, take the size offered.
    RunGuarded(hwnd, [&] { self->ApplyDpi(HIWORD(wParam)); });
    const RECT* r = reinterpret_cast<const RECT*>(lParam);
    ::SetWindowPos(hwnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
  }
  LRESULT result = 0;
  RunGuarded(hwnd, [&] { result = self->HandleMessage(message, wParam, lParam); });
  return result;
}

}  // namespace qs::win32
