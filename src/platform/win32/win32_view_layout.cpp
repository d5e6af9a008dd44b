#include "platform/win32/win32_view_layout.h"

namespace qs::win32 {

// Every control is a group of its own, so that the arrow keys never move
// the focus from one control to the next: Tab does that.
bool CreateControls(HWND parent, HINSTANCE instance, std::span<const ControlDef> controls) {
  bool all = true;
  for (const ControlDef& c : controls) {
    HWND control = ::CreateWindowExW(
        c.exStyle, c.windowClass, c.text, WS_CHILD | WS_VISIBLE | WS_GROUP | c.style, 0, 0, 0, 0,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
    if (!control) all = false;
  }
  return all;
}

ViewFonts::ViewFonts(std::span<const FontStyle> styles, UINT dpi) {
  fonts_.reserve(styles.size());
  for (const FontStyle& style : styles) fonts_.push_back(MakeUiFont(dpi, style.points, style.bold));
}

HFONT ViewFonts::operator[](int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= fonts_.size()) return nullptr;
  return fonts_[static_cast<std::size_t>(index)].get();
}

void PlaceControls(HWND parent, std::span<const ControlDef> controls, UINT dpi,
                   const ViewFonts& fonts) {
  for (const ControlDef& c : controls) {
    HWND control = ::GetDlgItem(parent, c.id);
    if (!control) continue;
    const RECT r = Scale(c.bounds96, dpi);
    ::SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[c.font]), TRUE);
  }
}

std::wstring WindowText(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

int TextWidth(HWND window, HFONT font, const wchar_t* text) {
  HDC dc = ::GetDC(window);
  if (!dc) return 0;
  HGDIOBJ old = ::SelectObject(dc, font);
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(window, dc);
  return size.cx;
}

void FocusKeeper::Deactivated(HWND window) {
  HWND focus = ::GetFocus();
  if (focus && ::IsChild(window, focus)) last_ = focus;
}

bool FocusKeeper::Activated(HWND window) const {
  if (!last_ || !::IsWindow(last_) || !::IsChild(window, last_)) return false;
  ::SetFocus(last_);
  return true;
}

}  // namespace qs::win32
