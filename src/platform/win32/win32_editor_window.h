// The entry editor, created hidden at start and shown modally over the
// settings window; it lives for the whole run.
#pragma once

#include <windows.h>

#include "platform/win32/win32_ui_metrics.h"

namespace qs::win32 {

class Win32EditorWindow {
 public:
  // Throws std::runtime_error when the window cannot be created.
  Win32EditorWindow(HINSTANCE instance, HWND owner);
  Win32EditorWindow(const Win32EditorWindow&) = delete;
  Win32EditorWindow& operator=(const Win32EditorWindow&) = delete;

  HWND hwnd() const { return hwnd_.get(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void ApplyDpi(UINT dpi);

  unique_hwnd hwnd_;
  unique_hfont font_;
};

}  // namespace qs::win32
