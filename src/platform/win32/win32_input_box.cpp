#include "platform/win32/win32_input_box.h"

#include "platform/win32/dialog_template.h"
#include "platform/win32/unique_handle.h"

namespace qs::win32 {
namespace {

struct MemoryDcDeleter {
  static HDC invalid() noexcept { return nullptr; }
  static void close(HDC dc) noexcept { ::DeleteDC(dc); }
};

struct InputBoxState {
  std::wstring_view initial;
  std::wstring result;
};

// Dialog units of the layout; the prompt grows downward when it needs more
// than one line, and everything under it moves along.
constexpr short kWidth = 200, kMargin = 7, kLineHeight = 8;
constexpr short kEditTop = kMargin + kLineHeight + 4, kEditHeight = 12;
constexpr short kButtonTop = kEditTop + kEditHeight + 8, kButtonWidth = 50, kButtonHeight = 14;
constexpr short kHeight = kButtonTop + kButtonHeight + kMargin;

void MoveDown(HWND dialog, int id, int dy) {
  HWND control = ::GetDlgItem(dialog, id);
  RECT r{};
  ::GetWindowRect(control, &r);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  ::SetWindowPos(control, nullptr, r.left, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void FitPrompt(HWND dialog) {
  HWND prompt = ::GetDlgItem(dialog, kInputBoxPromptId);
  RECT current{};
  ::GetClientRect(prompt, &current);
  const int length = ::GetWindowTextLengthW(prompt);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  ::GetWindowTextW(prompt, text.data(), length + 1);

  const unique_handle<HDC, MemoryDcDeleter> dc(::CreateCompatibleDC(nullptr));
  if (!dc) return;
  HGDIOBJ oldFont = ::SelectObject(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(prompt, WM_GETFONT, 0, 0)));
  RECT needed = current;
  ::DrawTextW(dc.get(), text.c_str(), length, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  ::SelectObject(dc.get(), oldFont);

  const int dy = needed.bottom - current.bottom;
  if (dy <= 0) return;
  ::SetWindowPos(prompt, nullptr, 0, 0, current.right, needed.bottom, SWP_NOMOVE | SWP_NOZORDER);
  for (int id : {kInputBoxEditId, IDOK, IDCANCEL}) MoveDown(dialog, id, dy);
  RECT frame{};
  ::GetWindowRect(dialog, &frame);
  ::SetWindowPos(dialog, nullptr, frame.left, frame.top - dy / 2, frame.right - frame.left,
                 frame.bottom - frame.top + dy, SWP_NOZORDER);
}

INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      const auto* state = reinterpret_cast<const InputBoxState*>(lParam);
      HWND edit = ::GetDlgItem(dialog, kInputBoxEditId);
      ::SendMessageW(edit, EM_SETLIMITTEXT, kInputBoxMaxLength, 0);
      ::SetWindowTextW(edit, std::wstring(state->initial).c_str());
      FitPrompt(dialog);
      ::SetFocus(edit);
      ::SendMessageW(edit, EM_SETSEL, 0, -1);
      return FALSE;  // we placed the focus ourselves
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        auto* state = reinterpret_cast<InputBoxState*>(::GetWindowLongPtrW(dialog, DWLP_USER));
        HWND edit = ::GetDlgItem(dialog, kInputBoxEditId);
        const int length = ::GetWindowTextLengthW(edit);
        state->result.assign(static_cast<std::size_t>(length) + 1, L'\0');
        state->result.resize(static_cast<std::size_t>(
            ::GetWindowTextW(edit, state->result.data(), length + 1)));
        ::EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

// No exception may unwind through the dialog manager: a failure (out of
// memory, in practice) ends the box as if cancelled.
INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return HandleMessage(dialog, message, wParam, lParam);
  } catch (...) {
    ::EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
}

}  // namespace

// DS_SHELLFONT with "MS Shell Dlg" gives the system's dialog face (Tahoma
// at 8 pt on the systems this program knows); the units follow it.
std::optional<std::wstring> RunInputBox(HWND owner, std::wstring_view caption,
                                        std::wstring_view prompt, std::wstring_view initial) {
  DialogTemplate dialog(DS_SHELLFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                        kWidth, kHeight, caption, 8, L"MS Shell Dlg");
  constexpr short kInner = kWidth - 2 * kMargin;
  dialog.AddControl(ControlClass::Static, kInputBoxPromptId, SS_LEFT | SS_NOPREFIX, kMargin,
                    kMargin, kInner, kLineHeight, prompt);
  dialog.AddControl(ControlClass::Edit, kInputBoxEditId, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
                    kMargin, kEditTop, kInner, kEditHeight, L"");
  dialog.AddControl(ControlClass::Button, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP,
                    kWidth - kMargin - 2 * kButtonWidth - 4, kButtonTop, kButtonWidth, kButtonHeight,
                    L"OK");
  dialog.AddControl(ControlClass::Button, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP,
                    kWidth - kMargin - kButtonWidth, kButtonTop, kButtonWidth, kButtonHeight,
                    L"\u041E\u0442\u043C\u0435\u043D\u0430");  // "Отмена"

  InputBoxState state{initial, {}};
  const INT_PTR answer = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialog.get(), owner,
                                                   InputBoxProc, reinterpret_cast<LPARAM>(&state));
  if (answer != IDOK) return std::nullopt;
  return std::move(state.result);
}

}  // namespace qs::win32
