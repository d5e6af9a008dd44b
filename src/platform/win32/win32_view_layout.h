// The child controls of the program's windows, described as tables: created
// once in tab order, then placed and given their fonts at the window's DPI.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "platform/win32/win32_ui_metrics.h"

namespace qs::win32 {

struct FontStyle {
  int points;
  bool bold;
};

struct ControlDef {
  int id;
  const wchar_t* windowClass;
  const wchar_t* text;
  DWORD style;  // WS_CHILD | WS_VISIBLE | WS_GROUP are implied
  DWORD exStyle;
  RECT bounds96;  // client coordinates at 96 DPI
  int font;       // index into the window's FontStyle table
};

// Creates the controls in table order, which is their tab order. False when
// one of them could not be created.
bool CreateControls(HWND parent, HINSTANCE instance, std::span<const ControlDef> controls);

// The fonts of one window at one DPI, by FontStyle index.
class ViewFonts {
 public:
  ViewFonts() = default;
  ViewFonts(std::span<const FontStyle> styles, UINT dpi);
  HFONT operator[](int index) const;

 private:
  std::vector<unique_hfont> fonts_;
};

// Moves and sizes every control of the table for the DPI and gives it its
// font. The caller keeps the previous fonts until this has returned.
void PlaceControls(HWND parent, std::span<const ControlDef> controls, UINT dpi,
                   const ViewFonts& fonts);

// The whole text of a window or control.
std::wstring WindowText(HWND window);

// The width in pixels of a text drawn in this font.
int TextWidth(HWND window, HFONT font, const wchar_t* text);

// The keyboard focus inside a top-level window, remembered while the window
// is inactive and handed back when it is activated again. Without it the
// window itself would take the focus on activation and no control would
// have it.
class FocusKeeper {
 public:
  void Deactivated(HWND window);
  // True when a control got the focus back.
  bool Activated(HWND window) const;
  void Remember(HWND control) { last_ = control; }

 private:
  HWND last_ = nullptr;
};

}  // namespace qs::win32
