// The main window: the settings window while visible, otherwise the hidden
// receiver of the tray icon's, the timers' and the hotkey's messages, which
// it hands to the core.
#pragma once

#include <windows.h>

#include <optional>

#include "platform/main_window.h"
#include "platform/win32/win32_list_drag.h"
#include "platform/win32/win32_settings_view.h"
#include "platform/win32/win32_ui_metrics.h"
#include "platform/win32/win32_view_layout.h"

namespace qs {
class MainWindow;
class SettingsWindow;
}  // namespace qs

namespace qs::win32 {

class Win32Tray;

class Win32MainWindow final : public MainWindowPort {
 public:
  // Creates the window hidden; throws std::runtime_error when it cannot.
  explicit Win32MainWindow(HINSTANCE instance);
  ~Win32MainWindow() override;
  Win32MainWindow(const Win32MainWindow&) = delete;
  Win32MainWindow& operator=(const Win32MainWindow&) = delete;

  HWND hwnd() const { return hwnd_.get(); }
  // The view of the settings window's controls, for the editing logic.
  Win32SettingsView& settingsView() { return *settingsView_; }
  // Messages reach the core from now on.
  void Attach(MainWindow& core, Win32Tray& tray);
  // The settings window's controls report to its logic from now on.
  void AttachSettings(SettingsWindow& settings);
  // The window's keyboard interface (Tab, Enter, Esc); true when the
  // message was handled and must not be dispatched again.
  bool PreTranslateMessage(MSG& msg);

  WindowHandle Handle() const override;
  void ShowMainWindow() override;
  void HideMainWindow() override;
  bool IsVisible() const override;
  void SetCaption(std::string_view cp1251) override;
  void FocusSaveButton() override;
  void RequestClose() override;
  void RepaintControls() override;

 private:
  template <typename W>
  friend LRESULT CALLBACK ObjectWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnTrayNotify(LPARAM lParam);
  void OnCommand(int id, int code);
  LRESULT OnListNotify(const NMHDR& header);
  void OnContextMenu(HWND control, LPARAM at);
  void OnDragMove(POINT screen);
  void OnDrop(POINT screen);
  void OnOptionsEdited();
  void OnActivate(bool active);
  void OnClose();

  void CreateControls();
  void ApplyDpi(UINT dpi);

  HINSTANCE instance_;
  unique_hwnd hwnd_;
  MainWindow* core_ = nullptr;
  SettingsWindow* settings_ = nullptr;
  Win32Tray* tray_ = nullptr;
  UINT taskbarCreated_ = 0;
  ViewFonts fonts_;
  std::optional<Win32SettingsView> settingsView_;
  ListDrag drag_;
  FocusKeeper focus_;
  bool focusSaveOnActivate_ = true;
};

}  // namespace qs::win32
