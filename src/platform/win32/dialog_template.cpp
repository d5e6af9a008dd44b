#include "platform/win32/dialog_template.h"

namespace qs::win32 {

// Layout of DLGTEMPLATEEX: the header fields, menu and class (none), title,
// then the font because the style carries DS_SETFONT.
DialogTemplate::DialogTemplate(DWORD style, short cx, short cy, std::wstring_view title,
                               WORD pointSize, std::wstring_view typeface) {
  Word(1);       // dlgVer
  Word(0xFFFF);  // signature of the extended form
  Dword(0);      // helpID
  Dword(0);      // exStyle
  Dword(style | DS_SETFONT);
  itemCountAt_ = words_.size();
  Word(0);  // cDlgItems, counted by AddControl
  Word(0);  // x, y: DS_CENTER places the dialog
  Word(0);
  Word(static_cast<WORD>(cx));
  Word(static_cast<WORD>(cy));
  Word(0);  // no menu
  Word(0);  // the standard dialog class
  String(title);
  Word(pointSize);
  Word(FW_NORMAL);
  Word(MAKEWORD(FALSE, DEFAULT_CHARSET));  // italic, charset
  String(typeface);
}

void DialogTemplate::AddControl(ControlClass cls, DWORD id, DWORD style, short x, short y, short cx,
                                short cy, std::wstring_view text) {
  AlignToDword();
  Dword(0);  // helpID
  Dword(0);  // exStyle
  Dword(style | WS_CHILD | WS_VISIBLE);
  Word(static_cast<WORD>(x));
  Word(static_cast<WORD>(y));
  Word(static_cast<WORD>(cx));
  Word(static_cast<WORD>(cy));
  Dword(id);
  Word(0xFFFF);  // class given by atom
  Word(static_cast<WORD>(cls));
  String(text);
  Word(0);  // no creation data
  ++words_[itemCountAt_];
}

void DialogTemplate::Dword(DWORD value) {
  Word(LOWORD(value));
  Word(HIWORD(value));
}

void DialogTemplate::String(std::wstring_view text) {
  for (wchar_t ch : text) Word(static_cast<WORD>(ch));
  Word(0);
}

// The vector's storage is aligned for any fundamental type, so an even
// number of WORDs puts the next item on a DWORD boundary.
void DialogTemplate::AlignToDword() {
  if (words_.size() % 2 != 0) Word(0);
}

}  // namespace qs::win32
