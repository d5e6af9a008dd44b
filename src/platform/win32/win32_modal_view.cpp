#include "platform/win32/win32_modal_view.h"

#include "platform/win32/text_convert.h"

namespace qs::win32 {

ModalScope::ModalScope(HWND window, HWND owner)
    : window_(window), owner_(owner), ownerWasEnabled_(owner && ::IsWindowEnabled(owner)) {
  if (ownerWasEnabled_) ::EnableWindow(owner_, FALSE);
}

ModalScope::~ModalScope() {
  if (ownerWasEnabled_ && ::IsWindow(owner_)) ::EnableWindow(owner_, TRUE);
  const bool wasActive = ::IsWindow(window_) && ::GetActiveWindow() == window_;
  if (::IsWindow(window_)) ::ShowWindow(window_, SW_HIDE);
  if (wasActive && ::IsWindow(owner_) && ::IsWindowVisible(owner_)) ::SetActiveWindow(owner_);
}

void PumpUntil(HWND window, const std::function<bool()>& done,
               const std::function<bool(MSG&)>& preTranslate) {
  MSG msg;
  while (!done() && ::IsWindow(window)) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (got == -1) return;
    if (preTranslate(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

LRESULT DefaultButtonId(HWND window) {
  HWND focus = ::GetFocus();
  if (focus && ::IsChild(window, focus)) {
    const LRESULT code = ::SendMessageW(focus, WM_GETDLGCODE, 0, 0);
    if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
      return MAKELRESULT(::GetDlgCtrlID(focus), DC_HASDEFID);
    }
  }
  return MAKELRESULT(IDOK, DC_HASDEFID);
}

bool IsFor(HWND window, const MSG& msg) {
  return msg.hwnd && (msg.hwnd == window || ::IsChild(window, msg.hwnd));
}

void ShowHandlerError(HWND owner, const char* cp1251Text) {
  ::MessageBoxW(owner, Cp1251ToWide(cp1251Text).c_str(), L"Quipstream", MB_OK | MB_ICONERROR);
}

}  // namespace qs::win32
