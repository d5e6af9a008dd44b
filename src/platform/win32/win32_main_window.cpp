#include "platform/win32/win32_main_window.h"
#include "platform/win32/win32_window_proc.h"

#include <commctrl.h>

#include <exception>
#include <stdexcept>

#include "../../../resources/resource_ids.h"
#include "app/main_window.h"
#include "model/cp1251.h"
#include "platform/win32/text_convert.h"
#include "platform/win32/win32_flat_button.h"
#include "platform/win32/win32_modal_view.h"
#include "platform/win32/win32_tray.h"
#include "ui/settings_window.h"

namespace qs::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuipstreamMainWindow";
constexpr wchar_t kTitle[] = L"Quipstream";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
constexpr SIZE kClientSize{802, 462};

enum FontIndex : int { kNormal, kBold };
constexpr FontStyle kFonts[] = {{8, false}, {8, true}};

// Enter and Esc arrive as IDOK and IDCANCEL from the keyboard interface, so
// the two bottom buttons carry those identifiers.
enum ControlId : int {
  kBitBtn1 = IDOK,      // "Сохранить", the default button
  kBitBtn2 = IDCANCEL,  // "Отменить"
  kBottomRule = 1001,
  kListView1,
  kSpeedButton1,
  kSpeedButton2,
  kSpeedButton3,
  kSpeedButton6,
  kSpeedButton7,
  kButtonsRule,
  kHotkeyLabel,
  kHK0,
  kCheckBox1,
  kCheckBox2,
};

constexpr DWORD kListStyle =
    WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER;

// Every control of the window. Those with WS_TABSTOP come in tab order: the
// list, "Сохранить", "Отменить", the hotkey field, autostart, monitoring.
constexpr ControlDef kControls[] = {
    {kListView1, WC_LISTVIEWW, L"", kListStyle, WS_EX_CLIENTEDGE, {0, 0, 802, 326}, kNormal},
    {kBitBtn1, L"BUTTON", L"Сохранить", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, {8, 422, 128, 454},
     kNormal},
    {kBitBtn2, L"BUTTON", L"Отменить", WS_TABSTOP | BS_PUSHBUTTON, 0, {674, 422, 794, 454},
     kNormal},
    {kHK0, HOTKEY_CLASSW, L"", WS_TABSTOP, WS_EX_CLIENTEDGE, {624, 337, 794, 359}, kNormal},
    {kCheckBox1, L"BUTTON", L"Запуск программы при загрузке Windows",
     WS_TABSTOP | BS_AUTOCHECKBOX, 0, {318, 388, 794, 406}, kNormal},
    {kCheckBox2, L"BUTTON", L"Отслеживать системный буфер обмена", WS_TABSTOP | BS_AUTOCHECKBOX,
     0, {318, 367, 794, 385}, kNormal},
    // The flat buttons never take the focus.
    {kSpeedButton1, kFlatButtonClass, L"Добавить", 0, 0, {8, 334, 96, 364}, kNormal},
    {kSpeedButton2, kFlatButtonClass, L"Редактировать", 0, 0, {100, 334, 212, 364}, kNormal},
    {kSpeedButton3, kFlatButtonClass, L"Удалить", 0, 0, {216, 334, 296, 364}, kNormal},
    {kSpeedButton6, kFlatButtonClass, L"Переместить выше", 0, 0, {8, 370, 150, 400}, kNormal},
    {kSpeedButton7, kFlatButtonClass, L"Переместить ниже", 0, 0, {154, 370, 296, 400}, kNormal},
    {kButtonsRule, L"STATIC", L"", SS_ETCHEDVERT, 0, {306, 334, 308, 404}, kNormal},
    {kHotkeyLabel, L"STATIC", L"Горячая клавиша для вызова контекстного меню",
     SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, 0, {318, 337, 620, 359}, kBold},
    {kBottomRule, L"STATIC", L"", SS_ETCHEDHORZ, 0, {0, 412, 802, 414}, kNormal},
};

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUIPSTREAM), IMAGE_ICON,
                                             0, 0, LR_DEFAULTSIZE | LR_SHARED));
  wc.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUIPSTREAM),
                                               IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                               ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kClassName;
  ::RegisterClassExW(&wc);  // fails harmlessly when already registered
}

POINT ScreenPointOf(HWND window, LPARAM clientPoint) {
  POINT p{static_cast<short>(LOWORD(clientPoint)), static_cast<short>(HIWORD(clientPoint))};
  ::ClientToScreen(window, &p);
  return p;
}

// The modal window of ours that the user is working in, when the main
// window is disabled under one.
HWND ActiveModal(HWND main) {
  HWND window = main;
  for (int depth = 0; depth < 8; ++depth) {
    HWND popup = ::GetLastActivePopup(window);
    if (!popup || popup == window) break;
    window = popup;
  }
  return window;
}

}  // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance) : instance_(instance) {
  RegisterWindowClass(instance, &ObjectWindowProc<Win32MainWindow>);
  RegisterFlatButtonClass(instance);
  // WM_NCCREATE takes ownership of the handle.
  if (!::CreateWindowExW(kExStyle, kClassName, kTitle, kStyle, 0, 0, 0, 0, nullptr, nullptr,
                         instance, this)) {
    throw std::runtime_error(std::string("Не удалось создать главное окно: "_cp1251) +
                             LastErrorText());
  }
  taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  CreateControls();
  // Sized once it exists: only then is the DPI of its monitor known.
  const UINT dpi = WindowDpi(hwnd());
  const SIZE size = WindowSizeFor(kClientSize, kStyle, kExStyle, dpi);
  ::SetWindowPos(hwnd(), nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyDpi(dpi);
  CenterWindow(hwnd(), nullptr);
}

Win32MainWindow::~Win32MainWindow() {
  core_ = nullptr;
  settings_ = nullptr;
  tray_ = nullptr;
}

void Win32MainWindow::Attach(MainWindow& core, Win32Tray& tray) {
  core_ = &core;
  tray_ = &tray;
}

void Win32MainWindow::AttachSettings(SettingsWindow& settings) { settings_ = &settings; }

void Win32MainWindow::CreateControls() {
  if (!qs::win32::CreateControls(hwnd(), instance_, kControls)) {
    throw std::runtime_error(std::string("Не удалось создать элементы окна настроек: "_cp1251) +
                             LastErrorText());
  }
  auto item = [this](int id) { return ::GetDlgItem(hwnd(), id); };
  settingsView_.emplace(
      instance_, hwnd(),
      SettingsControls{item(kListView1), item(kSpeedButton1), item(kSpeedButton2),
                       item(kSpeedButton3), item(kSpeedButton6), item(kSpeedButton7), item(kHK0),
                       item(kCheckBox1), item(kCheckBox2)});
  focus_.Remember(item(kBitBtn1));
}

// Positions, fonts, column widths and pictures follow the DPI of the
// monitor the window is on.
void Win32MainWindow::ApplyDpi(UINT dpi) {
  ViewFonts fonts(kFonts, dpi);
  PlaceControls(hwnd(), kControls, dpi, fonts);
  settingsView_->ApplyDpi(dpi);
  fonts_ = std::move(fonts);  // the old fonts go once no control uses them
}

bool Win32MainWindow::PreTranslateMessage(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !hwnd_) return false;
  if (!IsFor(hwnd(), msg)) return false;
  // Key preview: Esc is the window's before any control sees it.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
    if (drag_.active()) {
      drag_.Cancel();
    } else if (settings_) {
      try {
        settings_->FormKeyPress(27);
      } catch (const std::exception& e) {
        ShowHandlerError(hwnd(), e.what());
      }
    }
    return true;
  }
  return ::IsDialogMessageW(hwnd(), &msg) != FALSE;
}

WindowHandle Win32MainWindow::Handle() const { return reinterpret_cast<WindowHandle>(hwnd()); }

void Win32MainWindow::ShowMainWindow() {
  if (::IsIconic(hwnd())) ::ShowWindow(hwnd(), SW_RESTORE);
  ::ShowWindow(hwnd(), SW_SHOW);
  ::SetForegroundWindow(hwnd());
}

// The taskbar button belongs to this window, so it goes with it.
void Win32MainWindow::HideMainWindow() { ::ShowWindow(hwnd(), SW_HIDE); }

bool Win32MainWindow::IsVisible() const { return ::IsWindowVisible(hwnd()) != FALSE; }

void Win32MainWindow::SetCaption(std::string_view cp1251) {
  ::SetWindowTextW(hwnd(), Cp1251ToWide(cp1251).c_str());
}

void Win32MainWindow::FocusSaveButton() {
  focusSaveOnActivate_ = true;
  if (::GetActiveWindow() == hwnd()) OnActivate(true);
}

void Win32MainWindow::RequestClose() { ::PostMessageW(hwnd(), WM_CLOSE, 0, 0); }

void Win32MainWindow::RepaintControls() {
  ::RedrawWindow(hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

LRESULT Win32MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == taskbarCreated_ && taskbarCreated_ != 0) {
    if (tray_) tray_->OnTaskbarCreated();
    return 0;
  }
  switch (message) {
    case kTrayCallbackMessage: return OnTrayNotify(lParam);

    case WM_TIMER:
      if (wParam == kTrayRetryTimer) {
        if (tray_) tray_->OnRetryTimer();
      } else if (core_ && wParam >= static_cast<WPARAM>(TimerId::Startup) &&
                 wParam <= static_cast<WPARAM>(TimerId::ClipboardPoll)) {
        core_->OnTimer(static_cast<TimerId>(wParam));
      }
      return 0;

    case WM_HOTKEY:
      if (core_) core_->WMHotKey(static_cast<int>(wParam));
      return 0;

    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;

    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == static_cast<UINT_PTR>(kListView1)) return OnListNotify(*header);
      break;
    }

    case WM_CONTEXTMENU: OnContextMenu(reinterpret_cast<HWND>(wParam), lParam); return 0;

    case WM_MEASUREITEM:
      if (settingsView_ &&
          settingsView_->MeasureMenuPicture(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) {
        return TRUE;
      }
      break;

    case WM_DRAWITEM:
      if (settingsView_ &&
          settingsView_->DrawMenuPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
        return TRUE;
      }
      break;

    case WM_MOUSEMOVE:
      if (drag_.active()) OnDragMove(ScreenPointOf(hwnd(), lParam));
      return 0;

    case WM_LBUTTONUP:
      if (drag_.active()) OnDrop(ScreenPointOf(hwnd(), lParam));
      return 0;

    case WM_CAPTURECHANGED:
      if (drag_.active()) drag_.Cancel();
      return 0;

    case DM_GETDEFID: return DefaultButtonId(hwnd());

    case WM_SHOWWINDOW:
      if (wParam && core_) core_->FormShow();
      break;

    case WM_ACTIVATE: OnActivate(LOWORD(wParam) != WA_INACTIVE); return 0;

    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      ::SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));


    case WM_CLOSE: OnClose(); return 0;

    case WM_QUERYENDSESSION: return core_ ? core_->QueryEndSession() : TRUE;

    case WM_ENDSESSION:
      // The process may be ended any time after this returns: leave now.
      if (wParam) {
        if (core_) core_->EndSession();
        ::DestroyWindow(hwnd());
      }
      return 0;

    case WM_DESTROY:
      if (tray_) tray_->Remove();
      ::PostQuitMessage(0);
      return 0;

    default: break;
  }
  return ::DefWindowProcW(hwnd(), message, wParam, lParam);
}

// Version 0 notifications: lParam is the mouse message over the icon.
LRESULT Win32MainWindow::OnTrayNotify(LPARAM lParam) {
  if (!core_) return 0;
  const auto mouseMessage = static_cast<UINT>(lParam);
  // While the entry editor or the group manager is open, a reload from the
  // tray would pull the model from under it: show that window instead.
  if (!::IsWindowEnabled(hwnd())) {
    if (mouseMessage == WM_LBUTTONDBLCLK || mouseMessage == WM_RBUTTONDOWN) {
      ::SetForegroundWindow(ActiveModal(hwnd()));
    }
    return 0;
  }
  if (mouseMessage == WM_LBUTTONDBLCLK) {
    core_->IconTrayDblClick();
    return 0;
  }
  MouseButton button;
  switch (mouseMessage) {
    case WM_LBUTTONDOWN: button = MouseButton::Left; break;
    case WM_RBUTTONDOWN: button = MouseButton::Right; break;
    case WM_MBUTTONDOWN: button = MouseButton::Middle; break;
    default: return 0;
  }
  POINT cursor{};
  ::GetCursorPos(&cursor);
  core_->IconTrayMouseDown(button, ScreenPoint{cursor.x, cursor.y});
  return 0;
}

void Win32MainWindow::OnCommand(int id, int code) {
  if (id == kHK0) {
    if (code == EN_CHANGE) OnOptionsEdited();
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case kBitBtn1:  // the button, and Enter
      // The hotkey field does not report every change (Wine's says nothing
      // when Backspace clears it): the save reads it once more.
      OnOptionsEdited();
      if (core_) core_->BitBtn1Click();
      return;
    case kBitBtn2:  // the button, and Esc
      if (core_) core_->BitBtn2Click();
      return;
    case kCheckBox1:
    case kCheckBox2: OnOptionsEdited(); return;
    default: break;
  }
  if (!settings_) return;
  switch (id) {
    case kSpeedButton1: settings_->SpeedButton1Click(); break;
    case kSpeedButton2: settings_->SpeedButton2Click(); break;
    case kSpeedButton3: settings_->SpeedButton3Click(); break;
    case kSpeedButton6: settings_->SpeedButton6Click(); break;
    case kSpeedButton7: settings_->SpeedButton7Click(); break;
    default: break;
  }
}

void Win32MainWindow::OnOptionsEdited() {
  if (!settings_ || !settingsView_) return;
  if (const auto options = settingsView_->EditedOptions()) settings_->OptionsEdited(*options);
}

LRESULT Win32MainWindow::OnListNotify(const NMHDR& header) {
  if (!settings_) return 0;
  switch (header.code) {
    case NM_CLICK: settings_->ListView1Click(); break;
    case NM_DBLCLK: settings_->ListView1DblClick(); break;
    case LVN_BEGINDRAG: drag_.Begin(header.hwndFrom, hwnd()); break;
    default: break;
  }
  return 0;
}

// PopupMenu2 belongs to the list alone. Opened from the keyboard, it shows
// under the selected row, or at the list's corner.
void Win32MainWindow::OnContextMenu(HWND control, LPARAM at) {
  HWND list = ::GetDlgItem(hwnd(), kListView1);
  if (control != list || !settings_ || !settingsView_) return;
  POINT screen{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  if (at == -1) {
    RECT row{};
    row.left = LVIR_BOUNDS;
    const auto selected = settingsView_->SelectedRow();
    if (selected &&
        ::SendMessageW(list, LVM_GETITEMRECT, *selected, reinterpret_cast<LPARAM>(&row))) {
      screen = {row.left, row.bottom};
    } else {
      screen = {0, 0};
    }
    ::ClientToScreen(list, &screen);
  }
  settings_->PopupMenu2Popup();
  const auto item = settingsView_->TrackListMenu(screen);
  if (!item) return;
  switch (*item) {
    case ListMenuItem::N3: settings_->SpeedButton1Click(); break;
    case ListMenuItem::N4: settings_->SpeedButton2Click(); break;
    case ListMenuItem::N5: settings_->SpeedButton3Click(); break;
    case ListMenuItem::N7: settings_->N7Click(); break;
    case ListMenuItem::N8: settings_->N8Click(); break;
  }
}

void Win32MainWindow::OnDragMove(POINT screen) {
  drag_.Track(screen, settings_ && settings_->ListView1DragOver(DragSource::ListView1));
}

// Only the list takes the drop; released anywhere else, the drag ends with
// nothing changed.
void Win32MainWindow::OnDrop(POINT screen) {
  const ListDropTarget target = drag_.Drop(screen);
  if (!target.onList || !settings_ || !settings_->ListView1DragOver(DragSource::ListView1)) return;
  settings_->ListView1DragDrop(target.row);
}

// The focused control is remembered while the window is inactive or hidden;
// "Сохранить" takes the focus after a reload asked for it.
void Win32MainWindow::OnActivate(bool active) {
  if (!active) {
    focus_.Deactivated(hwnd());
    return;
  }
  if (focusSaveOnActivate_) {
    focus_.Remember(::GetDlgItem(hwnd(), kBitBtn1));
    focusSaveOnActivate_ = false;
  }
  focus_.Activated(hwnd());
}

void Win32MainWindow::OnClose() {
  if (core_ && !core_->FormCloseQuery()) return;
  if (core_) core_->FormClose();
  ::DestroyWindow(hwnd());
}

}  // namespace qs::win32
