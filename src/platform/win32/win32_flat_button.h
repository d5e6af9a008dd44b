// A flat button: an optional picture and a caption, no frame until the
// mouse is over it, a hand cursor. It never takes the keyboard focus, so the
// control that has it keeps its caret and selection; a tag button inserts
// right where the user left the caret. Clicks reach the parent as a push
// button's do: WM_COMMAND with BN_CLICKED.
#pragma once

#include <windows.h>

namespace qs::win32 {

inline constexpr wchar_t kFlatButtonClass[] = L"QuipstreamFlatButton";

// Registers the window class once per process.
void RegisterFlatButtonClass(HINSTANCE instance);

// A 32-bit picture with premultiplied alpha, drawn left of the caption; the
// caller keeps it alive while the button shows it. Null for none.
void SetFlatButtonPicture(HWND button, HBITMAP picture);
void SetFlatButtonTextColor(HWND button, COLORREF color);

// Draws such a picture at (x, y); a disabled one is faded rather than
// embossed, since the pictures are colour drawings with soft edges.
void DrawPicture(HDC dc, HBITMAP picture, int x, int y, bool enabled);

}  // namespace qs::win32
