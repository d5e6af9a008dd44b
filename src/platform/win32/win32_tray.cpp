#include "platform/win32/win32_tray.h"

#include <algorithm>
#include <cwchar>

#include "../../../resources/resource_ids.h"
#include "platform/win32/text_convert.h"

namespace qs::win32 {
namespace {

constexpr UINT kIconId = 1;
// At log-on the shell may come up after the program: try every 2 s for a minute.
constexpr UINT kRetryIntervalMs = 2000;
constexpr int kRetryCount = 30;

enum MenuCommand : UINT { kClearHistory = 1, kSettings, kExit };

template <std::size_t N>
void CopyField(wchar_t (&field)[N], std::wstring_view text) {
  const std::wstring fitted = FitTrayTip(text, N - 1);
  std::wmemcpy(field, fitted.data(), fitted.size());
  field[fitted.size()] = L'\0';
}

}  // namespace

std::wstring FitTrayTip(std::wstring_view text, std::size_t capacity) {
  if (text.size() <= capacity) return std::wstring(text);
  std::size_t n = capacity;
  if (n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;  // lead surrogate
  if (n > 0 && text[n - 1] == L'\r') --n;                            // CR of a CR LF
  return std::wstring(text.substr(0, n));
}

Win32Tray::Win32Tray(HINSTANCE instance, HWND window) : window_(window) {
  // The notification area shows small icons at the system DPI.
  icon_.reset(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUIPSTREAM),
                                              IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                              ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
}

Win32Tray::~Win32Tray() { Remove(); }

NOTIFYICONDATAW Win32Tray::Data(UINT flags) const {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window_;
  data.uID = kIconId;
  data.uFlags = flags;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = icon_.get();
  CopyField(data.szTip, hint_);
  return data;
}

bool Win32Tray::Add() {
  NOTIFYICONDATAW data = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  // An icon left over from an earlier add counts as added.
  added_ = ::Shell_NotifyIconW(NIM_ADD, &data) || ::Shell_NotifyIconW(NIM_MODIFY, &data);
  return added_;
}

void Win32Tray::AddOrRetry() {
  if (Add()) {
    StopRetrying();
  } else if (retriesLeft_ == 0) {
    retriesLeft_ = kRetryCount;
    ::SetTimer(window_, kTrayRetryTimer, kRetryIntervalMs, nullptr);
  }
}

void Win32Tray::StopRetrying() {
  if (retriesLeft_ > 0) ::KillTimer(window_, kTrayRetryTimer);
  retriesLeft_ = 0;
}

void Win32Tray::OnRetryTimer() {
  if (!wanted_ || Add() || --retriesLeft_ <= 0) {
    ::KillTimer(window_, kTrayRetryTimer);
    retriesLeft_ = 0;
  }
}

void Win32Tray::OnTaskbarCreated() {
  if (!wanted_) return;
  added_ = false;
  AddOrRetry();
}

void Win32Tray::ShowIcon(std::string_view hint) {
  wanted_ = true;
  hint_ = Cp1251ToWide(hint);
  if (added_) {
    NOTIFYICONDATAW data = Data(NIF_ICON | NIF_TIP);
    if (::Shell_NotifyIconW(NIM_MODIFY, &data)) return;
    added_ = false;
  }
  AddOrRetry();
}

void Win32Tray::SetHint(std::string_view hint) {
  hint_ = Cp1251ToWide(hint);
  if (!added_) return;  // the next add carries it
  NOTIFYICONDATAW data = Data(NIF_TIP);
  ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

void Win32Tray::ShowBalloon(std::string_view text) {
  if (!added_) return;
  NOTIFYICONDATAW data = Data(NIF_INFO);
  CopyField(data.szInfo, Cp1251ToWide(text));
  CopyField(data.szInfoTitle, L"Quipstream");
  data.dwInfoFlags = NIIF_INFO;
  ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

void Win32Tray::Remove() {
  StopRetrying();
  wanted_ = false;
  if (!added_) return;
  NOTIFYICONDATAW data = Data(0);
  ::Shell_NotifyIconW(NIM_DELETE, &data);
  added_ = false;
}

TrayCommand Win32Tray::TrackTrayMenu(ScreenPoint at, bool showClearHistory) {
  unique_hmenu menu(::CreatePopupMenu());
  if (!menu) return TrayCommand::None;
  if (showClearHistory) {
    ::AppendMenuW(menu.get(), MF_STRING, kClearHistory, L"Очистить историю буфера");
  }
  ::AppendMenuW(menu.get(), MF_STRING, kSettings, L"Настройки");
  ::AppendMenuW(menu.get(), MF_STRING, kExit, L"Выход");

  // Without the window in front the menu would not close when the user
  // clicks elsewhere; the posted message lets the next click work at once.
  ::SetForegroundWindow(window_);
  const UINT chosen = static_cast<UINT>(::TrackPopupMenu(
      menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, window_, nullptr));
  ::PostMessageW(window_, WM_NULL, 0, 0);

  switch (chosen) {
    case kClearHistory: return TrayCommand::ClearHistory;
    case kSettings: return TrayCommand::Settings;
    case kExit: return TrayCommand::Exit;
    default: return TrayCommand::None;
  }
}

}  // namespace qs::win32
