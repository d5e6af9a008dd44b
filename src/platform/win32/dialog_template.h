// An extended dialog template built in memory, so that small dialogs need
// no resource script.
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

namespace qs::win32 {

// Window classes of the predefined controls, by atom.
enum class ControlClass : WORD { Button = 0x0080, Edit = 0x0081, Static = 0x0082 };

class DialogTemplate {
 public:
  // Units are dialog units, which follow the font and so the screen's DPI.
  DialogTemplate(DWORD style, short cx, short cy, std::wstring_view title, WORD pointSize,
                 std::wstring_view typeface);
  void AddControl(ControlClass cls, DWORD id, DWORD style, short x, short y, short cx, short cy,
                  std::wstring_view text);
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Word(WORD value) { words_.push_back(value); }
  void Dword(DWORD value);
  void String(std::wstring_view text);
  void AlignToDword();

  std::vector<WORD> words_;
  std::size_t itemCountAt_ = 0;
};

}  // namespace qs::win32
