// The main window's lifecycle: start-up, the reload routine, the tray icon
// and its menu, the hotkey, the snippet menu, the typing run and the
// clipboard poll. The Win32 window forwards its messages to these handlers;
// each handler catches what ends it and shows it in the error report.
#pragma once

#include <deque>
#include <string>

#include "activation/clipboard_history.h"
#include "expansion/expansion_run.h"
#include "model/entry_model.h"
#include "platform/platform.h"
#include "platform/popup_menu.h"

namespace qs {

enum class MouseButton { Left, Right, Middle };

// Hooks for the settings window: the core tells it when to show the model
// again. The default does nothing (no settings window yet, or a test).
class SettingsViewHook {
 public:
  virtual ~SettingsViewHook() = default;
  virtual void ModelReloaded() {}
  virtual void ResetCommandStates() {}  // ListView1Click with no row selected
  virtual void FocusHotkeyField() {}
};

class MainWindow {
 public:
  explicit MainWindow(const Platform& platform);

  void SetSettingsView(SettingsViewHook* view) { view_ = view ? view : &noView_; }

  // Start-up and lifecycle.
  void FormCreate();
  void Timer1Timer();
  void BitBtn2Click();     // the reload routine
  bool FormCloseQuery();   // true: the window may close and the program ends
  void FormClose();
  void FormShow();
  void N1Click();          // "Выход"
  void N2Click();          // "Настройки"
  void N6Click();          // "Очистить историю буфера"
  void IconTrayDblClick();
  void IconTrayMouseDown(MouseButton button, ScreenPoint at);
  // Log-off and shut-down are never refused; the program leaves as "Выход" does.
  bool QueryEndSession() { return true; }
  void EndSession();

  // Settings file.
  void LoadSettings();
  // Writes Settings.xml; false (after telling the user why) when it failed.
  bool SaveSettings();
  // "Сохранить": checks, writes Settings.xml, then the reload routine. A
  // failed write leaves the window open with every edit in place.
  void BitBtn1Click();

  // Hotkey and snippet menu.
  void WMHotKey(int id);
  void Button1Click();  // fills the snippet menu from the model
  void SnippetItemClick(int tag);
  void SnippetMenuPopup();

  // Timers.
  void OnTimer(TimerId id);
  void Timer2Timer();  // tray hint
  void Timer3Timer();  // typing run
  void Timer4Timer();  // clipboard poll

  EntryModel& model() { return model_; }
  const EntryModel& model() const { return model_; }
  const MenuItem& snippetMenu() const { return snippetMenu_; }
  const TypingTarget& target() const { return target_; }
  bool exitRequested() const { return exitRequested_; }

 private:
  struct QueuedRun {
    std::string text;
    TypingTarget target;
  };

  template <typename F>
  void Guarded(F&& body);
  void Reload();
  void Load();
  void OpenSettingsWindow();
  void ReplaceSnippetMenu(MenuItem menu);
  void Arm(QueuedRun run);
  void RefreshTrayHint();

  Platform platform_;
  SettingsViewHook noView_;
  SettingsViewHook* view_ = &noView_;
  EntryModel model_;
  MenuItem snippetMenu_;
  unsigned long long menuGeneration_ = 0;
  ClipboardHistory history_;
  TypingTarget target_;
  bool exitRequested_ = false;
  std::string trayHint_;
  // Typing runs: one armed (Timer3 enabled) or typing at a time; picks made
  // meanwhile wait their turn, so two runs never interleave.
  bool armed_ = false;
  bool typing_ = false;
  QueuedRun armedRun_;
  std::deque<QueuedRun> queuedRuns_;
};

}  // namespace qs
