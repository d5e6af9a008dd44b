#include "platform/win32/win32_flat_button.h"

#include <uxtheme.h>

#include <string>

#include "platform/win32/win32_ui_metrics.h"
#include "platform/win32/win32_view_layout.h"

namespace qs::win32 {
namespace {

// The state lives in the window's extra bytes, so a button needs no memory
// of its own.
enum Slot : int { kPicture, kFont, kTextColor, kFlags, kSlotCount };
constexpr LONG_PTR kHover = 1, kPressed = 2, kCustomColor = 4;

LONG_PTR Get(HWND w, Slot slot) {
  return ::GetWindowLongPtrW(w, static_cast<int>(slot * sizeof(LONG_PTR)));
}
void Set(HWND w, Slot slot, LONG_PTR value) {
  ::SetWindowLongPtrW(w, static_cast<int>(slot * sizeof(LONG_PTR)), value);
}
bool Has(HWND w, LONG_PTR flag) { return (Get(w, kFlags) & flag) != 0; }
void SetFlag(HWND w, LONG_PTR flag, bool on) {
  const LONG_PTR flags = Get(w, kFlags);
  const LONG_PTR changed = on ? (flags | flag) : (flags & ~flag);
  if (changed == flags) return;
  Set(w, kFlags, changed);
  ::InvalidateRect(w, nullptr, FALSE);
}

bool CursorInside(HWND w, LPARAM lParam) {
  RECT client{};
  ::GetClientRect(w, &client);
  const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  return ::PtInRect(&client, p) != FALSE;
}

void NotifyClick(HWND w) {
  ::SendMessageW(::GetParent(w), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(w), BN_CLICKED),
                 reinterpret_cast<LPARAM>(w));
}

void FillRoundFrame(HDC dc, const RECT& r, COLORREF fill, COLORREF frame) {
  HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(DC_BRUSH));
  HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(DC_PEN));
  ::SetDCBrushColor(dc, fill);
  ::SetDCPenColor(dc, frame);
  ::RoundRect(dc, r.left, r.top, r.right, r.bottom, 4, 4);
  ::SelectObject(dc, oldPen);
  ::SelectObject(dc, oldBrush);
}

void Paint(HWND w, HDC dc) {
  RECT client{};
  ::GetClientRect(w, &client);
  ::DrawThemeParentBackground(w, dc, &client);

  const bool enabled = ::IsWindowEnabled(w) != FALSE;
  const bool pressed = enabled && Has(w, kPressed) && Has(w, kHover);
  if (pressed) {
    FillRoundFrame(dc, client, RGB(204, 228, 247), RGB(0, 84, 153));
  } else if (enabled && (Has(w, kHover) || Has(w, kPressed))) {
    FillRoundFrame(dc, client, RGB(229, 241, 251), RGB(0, 120, 215));
  }

  const std::wstring text = WindowText(w);
  HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HFONT>(Get(w, kFont)));
  SIZE textSize{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &textSize);

  const auto picture = reinterpret_cast<HBITMAP>(Get(w, kPicture));
  BITMAP pictureInfo{};
  const bool hasPicture = picture && ::GetObjectW(picture, sizeof pictureInfo, &pictureInfo);
  const int gap = hasPicture && !text.empty() ? Scale(4, WindowDpi(w)) : 0;
  const int contentWidth = (hasPicture ? pictureInfo.bmWidth : 0) + gap + textSize.cx;
  int x = client.left + (client.right - client.left - contentWidth) / 2;
  if (x < client.left + 2) x = client.left + 2;
  const int shift = pressed ? 1 : 0;
  if (hasPicture) {
    const int y = client.top + (client.bottom - client.top - pictureInfo.bmHeight) / 2;
    DrawPicture(dc, picture, x + shift, y + shift, enabled);
    x += pictureInfo.bmWidth + gap;
  }
  RECT textRect{x + shift, client.top + shift, client.right - 2 + shift, client.bottom + shift};
  const COLORREF color = !enabled               ? ::GetSysColor(COLOR_GRAYTEXT)
                         : Has(w, kCustomColor) ? static_cast<COLORREF>(Get(w, kTextColor))
                                                : ::GetSysColor(COLOR_BTNTEXT);
  ::SetTextColor(dc, color);
  ::SetBkMode(dc, TRANSPARENT);
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  ::SelectObject(dc, oldFont);
}

LRESULT CALLBACK FlatButtonProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(w, &ps);
      Paint(w, dc);
      ::EndPaint(w, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: Paint(w, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_ERASEBKGND: return 1;  // WM_PAINT covers everything
    case WM_SETFONT:
      Set(w, kFont, static_cast<LONG_PTR>(wParam));
      if (LOWORD(lParam)) ::InvalidateRect(w, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return Get(w, kFont);
    case WM_SETCURSOR: ::SetCursor(::LoadCursorW(nullptr, IDC_HAND)); return TRUE;
    case WM_MOUSEMOVE:
      if (!Has(w, kHover)) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, w, 0};
        ::TrackMouseEvent(&track);
      }
      SetFlag(w, kHover, ::GetCapture() != w || CursorInside(w, lParam));
      return 0;
    case WM_MOUSELEAVE: SetFlag(w, kHover, false); return 0;
    case WM_LBUTTONDOWN:
      ::SetCapture(w);
      SetFlag(w, kPressed, true);
      SetFlag(w, kHover, true);
      return 0;
    case WM_LBUTTONUP: {
      const bool click = ::GetCapture() == w && Has(w, kPressed) && CursorInside(w, lParam);
      if (::GetCapture() == w) ::ReleaseCapture();
      SetFlag(w, kPressed, false);
      if (click) {
        NotifyClick(w);
        // The click may have opened a window over the button, which then
        // never hears that the mouse left.
        POINT cursor{};
        ::GetCursorPos(&cursor);
        if (::IsWindow(w) && ::WindowFromPoint(cursor) != w) SetFlag(w, kHover, false);
      }
      return 0;
    }
    case WM_SETFOCUS:
      // Handed the focus anyway (by the dialog manager, say): give it back.
      if (const auto previous = reinterpret_cast<HWND>(wParam); previous && ::IsWindow(previous)) {
        ::SetFocus(previous);
      }
      return 0;
    case WM_CAPTURECHANGED: SetFlag(w, kPressed, false); return 0;
    case WM_ENABLE:
      if (!wParam) {
        SetFlag(w, kPressed, false);
        SetFlag(w, kHover, false);
      }
      ::InvalidateRect(w, nullptr, FALSE);
      return 0;
    case WM_SETTEXT: {
      const LRESULT result = ::DefWindowProcW(w, message, wParam, lParam);
      ::InvalidateRect(w, nullptr, FALSE);
      return result;
    }
    case BM_CLICK:
      if (::IsWindowEnabled(w)) NotifyClick(w);
      return 0;
    case WM_GETDLGCODE: return DLGC_STATIC;  // never a tab stop, never the default button
    default: return ::DefWindowProcW(w, message, wParam, lParam);
  }
}

}  // namespace

void DrawPicture(HDC dc, HBITMAP picture, int x, int y, bool enabled) {
  BITMAP info{};
  if (!::GetObjectW(picture, sizeof info, &info)) return;
  HDC source = ::CreateCompatibleDC(dc);
  if (!source) return;
  HGDIOBJ old = ::SelectObject(source, picture);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(enabled ? 255 : 90), AC_SRC_ALPHA};
  ::GdiAlphaBlend(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, info.bmWidth, info.bmHeight,
                  blend);
  ::SelectObject(source, old);
  ::DeleteDC(source);
}

void RegisterFlatButtonClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;  // no CS_DBLCLKS: a quick second click is a click
  wc.lpfnWndProc = FlatButtonProc;
  wc.cbWndExtra = kSlotCount * sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_HAND);
  wc.lpszClassName = kFlatButtonClass;
  ::RegisterClassExW(&wc);  // fails harmlessly when already registered
}

void SetFlatButtonPicture(HWND button, HBITMAP picture) {
  Set(button, kPicture, reinterpret_cast<LONG_PTR>(picture));
  ::InvalidateRect(button, nullptr, FALSE);
}

void SetFlatButtonTextColor(HWND button, COLORREF color) {
  Set(button, kTextColor, static_cast<LONG_PTR>(color));
  SetFlag(button, kCustomColor, true);
  ::InvalidateRect(button, nullptr, FALSE);
}

}  // namespace qs::win32
