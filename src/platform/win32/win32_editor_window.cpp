#include "platform/win32/win32_editor_window.h"
#include "platform/win32/win32_window_proc.h"

#include <commctrl.h>

#include <exception>
#include <stdexcept>

#include "model/cp1251.h"
#include "platform/win32/text_convert.h"
#include "platform/win32/win32_flat_button.h"
#include "platform/win32/win32_modal_view.h"
#include "ui/entry_editor.h"
#include "ui/tag_buttons.h"

namespace qs::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuipstreamEditorWindow";
constexpr wchar_t kTitle[] = L"Добавление записи";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr SIZE kClientSize{633, 290};

enum FontIndex : int { kNormal, kBold, kTitleFont };
constexpr FontStyle kFonts[] = {{8, false}, {8, true}, {10, true}};

// Enter and Esc arrive as IDOK and IDCANCEL from the keyboard interface.
enum ControlId : int {
  kBtn1 = IDOK,         // "Сохранить", the default button
  kBitBtn1 = IDCANCEL,  // "Отмена"
  kRzEdit1 = 1001,      // menu text
  kMmo2,                // inserted text
  kComboBox1,           // group
  kMenuLabel,
  kTextLabel,
  kGroupLabel,
  kCaretLabel,
  kSpeedButton7,  // "+": the group manager
  kTagButtonFirst = 1100,
};

constexpr WPARAM kCtrlBackspaceChar = 127;

constexpr DWORD kMmo2Style =
    WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_NOHIDESEL;

// Those with WS_TABSTOP come in tab order: menu text, inserted text,
// "Сохранить", "Отмена", group box. The tag buttons follow the table.
constexpr ControlDef kControls[] = {
    {kRzEdit1, L"EDIT", L"", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, {8, 26, 625, 48}, kNormal},
    {kMmo2, L"EDIT", L"", kMmo2Style, WS_EX_CLIENTEDGE, {8, 80, 625, 200}, kNormal},
    {kBtn1, L"BUTTON", L"Сохранить", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, {8, 256, 128, 284}, kNormal},
    {kBitBtn1, L"BUTTON", L"Отмена", WS_TABSTOP | BS_PUSHBUTTON, 0, {505, 256, 625, 284}, kNormal},
    // The height includes the dropped-down list.
    {kComboBox1, WC_COMBOBOXW, L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT, 0,
     {8, 226, 190, 426}, kNormal},
    {kMenuLabel, L"STATIC", L"Текст в меню", SS_CENTER | SS_NOPREFIX, 0, {8, 6, 625, 24},
     kTitleFont},
    // Narrower than the window, centred all the same, so that it stays clear
    // of the two tag buttons at the right end of its line.
    {kTextLabel, L"STATIC", L"Вставляемый текст", SS_CENTER | SS_NOPREFIX, 0, {158, 57, 475, 75},
     kTitleFont},
    {kGroupLabel, L"STATIC", L"Группа:", SS_LEFT | SS_NOPREFIX, 0, {8, 208, 190, 224}, kBold},
    {kCaretLabel, L"STATIC", L"Управление кареткой:", SS_LEFT | SS_NOPREFIX, 0,
     {236, 208, 625, 224}, kBold},
    {kSpeedButton7, kFlatButtonClass, L"+", 0, 0, {194, 226, 216, 248}, kTitleFont},
};

// Where the tag buttons go, at 96 DPI: the two beside the label of the
// inserted text end at the right margin, the caret row starts under its
// label.
constexpr int kRightMargin = 625;
constexpr RECT kTextLabelRow{0, 55, 0, 77};
constexpr RECT kCaretRow{236, 226, 0, 248};
constexpr int kTagGap = 3;
constexpr int kTagPadding = 12;

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kClassName;
  ::RegisterClassExW(&wc);
}

void SetText(HWND control, std::string_view utf8) {
  ::SetWindowTextW(control, Utf8ToWide(utf8).c_str());
}

std::string TextOf(HWND control) { return WideToUtf8(WindowText(control)); }

}  // namespace

Win32EditorWindow::Win32EditorWindow(HINSTANCE instance, HWND owner) : owner_(owner) {
  RegisterWindowClass(instance, &ObjectWindowProc<Win32EditorWindow>);
  RegisterFlatButtonClass(instance);
  if (!::CreateWindowExW(kExStyle, kClassName, kTitle, kStyle, 0, 0, 0, 0, owner, nullptr, instance,
                         this)) {
    throw std::runtime_error(std::string("Не удалось создать окно записи: "_cp1251) +
                             LastErrorText());
  }
  CreateControls(instance);
  const UINT dpi = WindowDpi(hwnd());
  const SIZE size = WindowSizeFor(kClientSize, kStyle, kExStyle, dpi);
  ::SetWindowPos(hwnd(), nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyDpi(dpi);
  CenterWindow(hwnd(), owner);
}

void Win32EditorWindow::CreateControls(HINSTANCE instance) {
  bool created = qs::win32::CreateControls(hwnd(), instance, kControls);
  tooltips_.emplace(instance, hwnd());
  int index = 0;
  for (const TagButton& tag : TagButtons()) {
    HWND button = ::CreateWindowExW(
        0, kFlatButtonClass, Cp1251ToWide(tag.caption).c_str(), WS_CHILD | WS_VISIBLE | WS_GROUP, 0,
        0, 0, 0, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTagButtonFirst + index)),
        instance, nullptr);
    if (!button) created = false;
    tooltips_->Add(button, tag.hint);
    ++index;
  }
  if (!created) {
    throw std::runtime_error(std::string("Не удалось создать элементы окна записи: "_cp1251) +
                             LastErrorText());
  }
  tooltips_->Add(Item(kSpeedButton7), "Добавить группу"_cp1251);
  for (HWND field : {Item(kRzEdit1), Item(kMmo2)}) {
    ::SetWindowSubclass(field, &Win32EditorWindow::FieldProc, 0, reinterpret_cast<DWORD_PTR>(this));
  }
  focus_.Remember(Item(kRzEdit1));
}

void Win32EditorWindow::ApplyDpi(UINT dpi) {
  ViewFonts fonts(kFonts, dpi);
  PlaceControls(hwnd(), kControls, dpi, fonts);
  fonts_ = std::move(fonts);
  PlaceTagButtons(dpi);
}

// Each tag button is as wide as its caption needs.
void Win32EditorWindow::PlaceTagButtons(UINT dpi) {
  const auto tags = TagButtons();
  const int gap = Scale(kTagGap, dpi);
  auto widthOf = [&](std::size_t i) {
    HWND button = Item(kTagButtonFirst + static_cast<int>(i));
    return TextWidth(button, fonts_[kNormal], Cp1251ToWide(tags[i].caption).c_str()) +
           Scale(kTagPadding, dpi);
  };
  auto place = [&](std::size_t i, int x, const RECT& row96, int width) {
    HWND button = Item(kTagButtonFirst + static_cast<int>(i));
    const int top = Scale(row96.top, dpi);
    ::SetWindowPos(button, nullptr, x, top, width, Scale(row96.bottom, dpi) - top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[kNormal]), TRUE);
  };

  int labelRowWidth = 0;
  for (std::size_t i = 0; i < tags.size(); ++i) {
    if (tags[i].place == TagButtonPlace::TextLabel) labelRowWidth += widthOf(i) + gap;
  }
  int labelX = Scale(kRightMargin, dpi) - labelRowWidth + gap;
  int caretX = Scale(kCaretRow.left, dpi);
  for (std::size_t i = 0; i < tags.size(); ++i) {
    const int width = widthOf(i);
    if (tags[i].place == TagButtonPlace::TextLabel) {
      place(i, labelX, kTextLabelRow, width);
      labelX += width + gap;
    } else {
      place(i, caretX, kCaretRow, width);
      caretX += width + gap;
    }
  }
}

LRESULT Win32EditorWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_CLOSE:
      // The close button acts as "Отмена"; the editor is reused, so closing
      // only hides it.
      if (modal_) {
        Close();
      } else {
        ::ShowWindow(hwnd(), SW_HIDE);
      }
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        focus_.Deactivated(hwnd());
      } else {
        focus_.Activated(hwnd());
      }
      return 0;
    case DM_GETDEFID: return DefaultButtonId(hwnd());
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      ::SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
    default: return ::DefWindowProcW(hwnd(), message, wParam, lParam);
  }
}

void Win32EditorWindow::OnCommand(int id, int code) {
  if (!logic_ || code != BN_CLICKED) return;
  switch (id) {
    case kBtn1: logic_->btn1Click(); return;
    case kBitBtn1: logic_->BitBtn1Click(); return;
    case kSpeedButton7: logic_->SpeedButton7Click(); return;
    default: break;
  }
  const int tag = id - kTagButtonFirst;
  if (tag >= 0 && static_cast<std::size_t>(tag) < TagButtons().size()) {
    logic_->SpeedButton1Click(static_cast<std::size_t>(tag));
  }
}

// Key preview: Esc is the dialog's before any control sees it, except while
// the group box has its list open, which Esc then closes.
bool Win32EditorWindow::PreTranslateMessage(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !IsFor(hwnd(), msg)) return false;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE &&
      !::SendMessageW(Item(kComboBox1), CB_GETDROPPEDSTATE, 0, 0)) {
    if (logic_) RunGuarded(hwnd(), [&] { logic_->FormKeyPress(27); });
    return true;
  }
  return ::IsDialogMessageW(hwnd(), &msg) != FALSE;
}

LRESULT CALLBACK Win32EditorWindow::FieldProc(HWND field, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR, DWORD_PTR self) {
  auto* editor = reinterpret_cast<Win32EditorWindow*>(self);
  if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(field, &Win32EditorWindow::FieldProc, 0);
    return ::DefSubclassProc(field, message, wParam, lParam);
  }
  LRESULT result = 0;
  RunGuarded(editor->hwnd(), [&] { result = editor->OnFieldMessage(field, message, wParam, lParam); });
  return result;
}

// The two text fields tell the logic about their keys before they handle
// them themselves.
LRESULT Win32EditorWindow::OnFieldMessage(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool inserted = field == Item(kMmo2);
  if (inserted && message == WM_GETDLGCODE) {
    // A multi-line field wants every key, Tab included; Tab moves on here.
    LRESULT code = ::DefSubclassProc(field, message, wParam, lParam);
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_TAB) {
      code &= ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    }
    return code;
  }
  if (logic_ && inserted && message == WM_KEYDOWN) {
    const KeysDown down{::GetKeyState(VK_CONTROL) < 0, ::GetKeyState(VK_BACK) < 0};
    logic_->mmo2KeyDown(static_cast<unsigned>(wParam), down);
  }
  if (logic_ && inserted && message == WM_CHAR) {
    // Windows types Ctrl+Backspace as 127; Wine types it as 8, a backspace
    // that the field then ignores. Ctrl+H, the other way to type 8, does
    // not hold Backspace down.
    if (wParam == '\b' && ::GetKeyState(VK_CONTROL) < 0 && ::GetKeyState(VK_BACK) < 0) {
      wParam = kCtrlBackspaceChar;
    }
    wParam = static_cast<WPARAM>(logic_->mmo2KeyPress(static_cast<char32_t>(wParam)));
    if (wParam == 0) return 0;
  }
  if (logic_ && !inserted && message == WM_CHAR && wParam == '\r') {
    // Only Ctrl+M gets here: Enter itself presses "Сохранить".
    logic_->RzEdit1KeyPress(U'\r');
    return 0;
  }
  return ::DefSubclassProc(field, message, wParam, lParam);
}

void Win32EditorWindow::SetTitle(std::string_view utf8) { SetText(hwnd(), utf8); }
void Win32EditorWindow::SetMenuLabel(std::string_view utf8) { SetText(Item(kMenuLabel), utf8); }
void Win32EditorWindow::SetTextLabel(std::string_view utf8) { SetText(Item(kTextLabel), utf8); }

std::string Win32EditorWindow::MenuText() const { return TextOf(Item(kRzEdit1)); }
void Win32EditorWindow::SetMenuText(std::string_view utf8) { SetText(Item(kRzEdit1), utf8); }
void Win32EditorWindow::FocusMenuText() { ::SetFocus(Item(kRzEdit1)); }

std::string Win32EditorWindow::InsertedText() const { return TextOf(Item(kMmo2)); }
void Win32EditorWindow::SetInsertedText(std::string_view utf8) { SetText(Item(kMmo2), utf8); }

void Win32EditorWindow::SelectAllInsertedText() { ::SendMessageW(Item(kMmo2), EM_SETSEL, 0, -1); }

void Win32EditorWindow::ReplaceInsertedSelection(std::string_view utf8) {
  const std::wstring text = Utf8ToWide(utf8);
  ::SendMessageW(Item(kMmo2), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void Win32EditorWindow::PutCaretAtEnd() {
  HWND field = Item(kMmo2);
  const int end = ::GetWindowTextLengthW(field);
  ::SendMessageW(field, EM_SETSEL, static_cast<WPARAM>(end), end);
  ::SendMessageW(field, EM_SCROLLCARET, 0, 0);
}

void Win32EditorWindow::FocusInsertedText() { ::SetFocus(Item(kMmo2)); }

// The owner takes no input until the dialog is closed, by any way; every
// way runs FormClose once.
void Win32EditorWindow::ShowModal() {
  if (modal_) return;
  modal_ = true;
  closed_ = false;
  CenterWindow(hwnd(), owner_);
  {
    ModalScope scope(hwnd(), owner_);
    ::ShowWindow(hwnd(), SW_SHOW);
    ::SetForegroundWindow(hwnd());
    if (logic_) RunGuarded(hwnd(), [&] { logic_->FormShow(); });
    PumpUntil(
        hwnd(), [this] { return closed_; }, [this](MSG& msg) { return PreTranslateMessage(msg); });
  }
  modal_ = false;
}

void Win32EditorWindow::Close() {
  if (!modal_ || closed_) return;
  closed_ = true;
  if (logic_) logic_->FormClose();
}

void Win32EditorWindow::ClearGroupItems() {
  ::SendMessageW(Item(kComboBox1), CB_RESETCONTENT, 0, 0);
}

void Win32EditorWindow::AddGroupItem(std::string_view utf8) {
  const std::wstring text = Utf8ToWide(utf8);
  ::SendMessageW(Item(kComboBox1), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::size_t Win32EditorWindow::GroupItemCount() const {
  const auto count = ::SendMessageW(Item(kComboBox1), CB_GETCOUNT, 0, 0);
  return count > 0 ? static_cast<std::size_t>(count) : 0;
}

std::string Win32EditorWindow::GroupItem(std::size_t index) const {
  HWND box = Item(kComboBox1);
  const auto length = ::SendMessageW(box, CB_GETLBTEXTLEN, index, 0);
  if (length < 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const auto copied =
      ::SendMessageW(box, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return WideToUtf8(text);
}

std::optional<std::size_t> Win32EditorWindow::SelectedGroupIndex() const {
  const auto index = ::SendMessageW(Item(kComboBox1), CB_GETCURSEL, 0, 0);
  if (index < 0) return std::nullopt;
  return static_cast<std::size_t>(index);
}

void Win32EditorWindow::SelectGroupIndex(std::size_t index) {
  ::SendMessageW(Item(kComboBox1), CB_SETCURSEL, index, 0);
}

}  // namespace qs::win32
