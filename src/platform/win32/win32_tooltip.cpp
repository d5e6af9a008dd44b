#include "platform/win32/win32_tooltip.h"

#include <commctrl.h>

#include <string>

#include "platform/win32/text_convert.h"

namespace qs::win32 {

Tooltips::Tooltips(HINSTANCE instance, HWND owner)
    : owner_(owner),
      tooltip_(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                 instance, nullptr)) {}

void Tooltips::Add(HWND control, std::string_view cp1251Hint) {
  if (!tooltip_ || !control) return;
  std::wstring text = Cp1251ToWide(cp1251Hint);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  // The tooltip watches the control's mouse messages itself.
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = owner_;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text.data();  // copied by the tooltip
  ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace qs::win32
