// The group manager, created hidden at start and shown modally over the
// entry editor; it lives for the whole run. Its caption is never displayed.
#pragma once

#include <windows.h>

#include "platform/win32/win32_ui_metrics.h"

namespace qs::win32 {

class Win32GroupsWindow {
 public:
  // Throws std::runtime_error when the window cannot be created.
  Win32GroupsWindow(HINSTANCE instance, HWND owner);
  Win32GroupsWindow(const Win32GroupsWindow&) = delete;
  Win32GroupsWindow& operator=(const Win32GroupsWindow&) = delete;

  HWND hwnd() const { return hwnd_.get(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void ApplyDpi(UINT dpi);

  unique_hwnd hwnd_;
  unique_hfont font_;
};

}  // namespace qs::win32
