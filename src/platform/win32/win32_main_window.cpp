#include "platform/win32/win32_main_window.h"

#include <exception>
#include <stdexcept>

#include "../../../resources/resource_ids.h"
#include "app/main_window.h"
#include "model/cp1251.h"
#include "platform/win32/text_convert.h"
#include "platform/win32/win32_tray.h"

namespace qs::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuipstreamMainWindow";
constexpr wchar_t kTitle[] = L"Quipstream";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
constexpr SIZE kClientSize{802, 462};
constexpr int kFontPoints = 8;

// Enter and Esc arrive as IDOK and IDCANCEL from the keyboard interface, so
// the two bottom buttons carry those identifiers.
enum ControlId : int {
  kBitBtn1 = IDOK,      // "Сохранить", the default button
  kBitBtn2 = IDCANCEL,  // "Отменить"
  kBottomRule = 1001,
};

struct ControlDef {
  int id;
  const wchar_t* windowClass;
  const wchar_t* text;
  DWORD style;
  RECT bounds96;  // client coordinates at 96 DPI
};

// Every control of the window, in tab order.
constexpr ControlDef kControls[] = {
    {kBottomRule, L"STATIC", L"", SS_ETCHEDHORZ, {0, 412, 802, 414}},
    {kBitBtn1, L"BUTTON", L"Сохранить", WS_TABSTOP | BS_DEFPUSHBUTTON, {8, 422, 128, 454}},
    {kBitBtn2, L"BUTTON", L"Отменить", WS_TABSTOP | BS_PUSHBUTTON, {674, 422, 794, 454}},
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

}  // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance) : instance_(instance) {
  RegisterWindowClass(instance, &Win32MainWindow::WindowProc);
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
  tray_ = nullptr;
}

void Win32MainWindow::Attach(MainWindow& core, Win32Tray& tray) {
  core_ = &core;
  tray_ = &tray;
}

void Win32MainWindow::CreateControls() {
  for (const ControlDef& c : kControls) {
    ::CreateWindowExW(0, c.windowClass, c.text, WS_CHILD | WS_VISIBLE | c.style, 0, 0, 0, 0, hwnd(),
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance_, nullptr);
  }
  lastFocus_ = ::GetDlgItem(hwnd(), kBitBtn1);
}

// Positions and font follow the DPI of the monitor the window is on.
void Win32MainWindow::ApplyDpi(UINT dpi) {
  unique_hfont font = MakeUiFont(dpi, kFontPoints);
  for (const ControlDef& c : kControls) {
    HWND control = ::GetDlgItem(hwnd(), c.id);
    const RECT r = Scale(c.bounds96, dpi);
    ::SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  }
  font_ = std::move(font);  // the old font goes once no control uses it
}

bool Win32MainWindow::PreTranslateMessage(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !hwnd_) return false;
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

LRESULT CALLBACK Win32MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  auto* self = reinterpret_cast<Win32MainWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<Win32MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_.reset(hwnd);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_.release();
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
  // The core catches the errors of its own handlers; whatever still escapes
  // must not unwind through the system's code.
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (const std::exception& e) {
    self->ReportError(e.what());
  } catch (...) {
    self->ReportError("unknown error");
  }
  return 0;
}

void Win32MainWindow::ReportError(const char* cp1251Text) {
  ::MessageBoxW(hwnd(), Cp1251ToWide(cp1251Text).c_str(), kTitle, MB_OK | MB_ICONERROR);
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

    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
      return 0;

    case WM_SHOWWINDOW:
      if (wParam && core_) core_->FormShow();
      break;

    case WM_ACTIVATE: OnActivate(LOWORD(wParam) != WA_INACTIVE); return 0;

    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      ::SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));

    case WM_DPICHANGED: {
      ApplyDpi(HIWORD(wParam));
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      ::SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }

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

void Win32MainWindow::OnCommand(int id) {
  if (!core_) return;
  switch (id) {
    case kBitBtn1:  // the button, and Enter
      core_->BitBtn1Click();
      break;
    case kBitBtn2:  // the button, and Esc
      core_->BitBtn2Click();
      break;
    default: break;
  }
}

// The focused control is remembered while the window is inactive or hidden;
// "Сохранить" takes the focus after a reload asked for it.
void Win32MainWindow::OnActivate(bool active) {
  if (!active) {
    HWND focus = ::GetFocus();
    if (focus && ::IsChild(hwnd(), focus)) lastFocus_ = focus;
    return;
  }
  if (focusSaveOnActivate_) {
    lastFocus_ = ::GetDlgItem(hwnd(), kBitBtn1);
    focusSaveOnActivate_ = false;
  }
  if (lastFocus_ && ::IsWindow(lastFocus_)) ::SetFocus(lastFocus_);
}

void Win32MainWindow::OnClose() {
  if (core_ && !core_->FormCloseQuery()) return;
  if (core_) core_->FormClose();
  ::DestroyWindow(hwnd());
}

}  // namespace qs::win32
