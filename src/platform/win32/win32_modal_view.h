// Showing one of the program's own windows modally, and the keyboard
// interface those windows share. They are plain windows rather than dialog
// boxes, so the dialog manager's help (IsDialogMessage) is asked for here.
#pragma once

#include <windows.h>

#include <functional>

namespace qs::win32 {

// While it lives, `owner` takes no input; afterwards the owner is enabled
// again, `window` hidden and the owner active. The owner is enabled before
// the window hides, so that the system does not activate some other
// program's window in between.
class ModalScope {
 public:
  ModalScope(HWND window, HWND owner);
  ~ModalScope();
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

 private:
  HWND window_;
  HWND owner_;
  bool ownerWasEnabled_;
};

// Pumps the thread's messages until done() or until `window` is destroyed,
// offering each first to preTranslate (true: handled, not dispatched). A
// WM_QUIT met meanwhile is posted again for the outer loop.
void PumpUntil(HWND window, const std::function<bool()>& done,
               const std::function<bool(MSG&)>& preTranslate);

// The answer to DM_GETDEFID: Enter presses the focused push button, and
// otherwise the default button, IDOK.
LRESULT DefaultButtonId(HWND window);

// True when the message is meant for the window or one of its controls.
bool IsFor(HWND window, const MSG& msg);

// Shows the text of an error that ended a handler, as the program's error
// report does: error icon, caption "Quipstream". The text is Windows-1251.
void ShowHandlerError(HWND owner, const char* cp1251Text);

}  // namespace qs::win32
