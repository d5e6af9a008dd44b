// The notification-area icon (Shell_NotifyIconW, version 0 messages) and the
// tray menu. The main window hands over the messages that concern it.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/tray.h"
#include "platform/win32/handle_types.h"

namespace qs::win32 {

// The icon's callback message: lParam is the mouse message.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;
// The main window's timer that retries an icon the shell refused.
inline constexpr UINT_PTR kTrayRetryTimer = 101;

// szTip holds 127 characters; longer hints are cut without leaving half a
// line break or half a surrogate pair.
std::wstring FitTrayTip(std::wstring_view text, std::size_t capacity);

class Win32Tray final : public TrayPort {
 public:
  Win32Tray(HINSTANCE instance, HWND window);
  ~Win32Tray() override;
  Win32Tray(const Win32Tray&) = delete;
  Win32Tray& operator=(const Win32Tray&) = delete;

  void ShowIcon(std::string_view hint) override;
  void SetHint(std::string_view hint) override;
  void ShowBalloon(std::string_view text) override;
  TrayCommand TrackTrayMenu(ScreenPoint at, bool showClearHistory) override;

  // The shell (Explorer) started again and has forgotten every icon.
  void OnTaskbarCreated();
  void OnRetryTimer();
  // Takes the icon away; the main window does so as it is destroyed.
  void Remove();

 private:
  NOTIFYICONDATAW Data(UINT flags) const;
  void AddOrRetry();
  bool Add();
  void StopRetrying();

  HWND window_;
  unique_hicon icon_;
  std::wstring hint_;
  bool wanted_ = false;
  bool added_ = false;
  int retriesLeft_ = 0;
};

}  // namespace qs::win32
