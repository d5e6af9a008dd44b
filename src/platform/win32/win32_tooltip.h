// Hints: one tooltip window per top-level window, showing a text while the
// mouse rests on a control.
#pragma once

#include <windows.h>

#include <string_view>

namespace qs::win32 {

class Tooltips {
 public:
  // The tooltip window belongs to `owner` and goes with it.
  Tooltips(HINSTANCE instance, HWND owner);
  // Shows the hint (Windows-1251) over the control.
  void Add(HWND control, std::string_view cp1251Hint);
  HWND hwnd() const { return tooltip_; }

 private:
  HWND owner_;
  // Owned by `owner`: the system destroys it together with that window.
  HWND tooltip_;
};

}  // namespace qs::win32
