#include "app/main_window.h"

#include <exception>
#include <optional>
#include <utility>

#include "activation/hotkey.h"
#include "activation/snippet_menu.h"
#include "model/cp1251.h"
#include "model/handler_error.h"
#include "model/trim.h"
#include "settings/autostart.h"
#include "settings/settings_file.h"

namespace qs {

namespace {

constexpr std::string_view kAppTitle = "Quipstream";

bool SettingsFileExists(const FilePort& files) { return files.Exists(SettingsPath(files)); }

}  // namespace

MainWindow::MainWindow(const Platform& platform) : platform_(platform) {}

// Every handler ends at the first error and shows it; the program goes on.
template <typename F>
void MainWindow::Guarded(F&& body) {
  try {
    body();
  } catch (const std::exception& e) {
    platform_.dialogs.ShowError(e.what());
  }
}

// ---------------------------------------------------------------------------
// Start-up and lifecycle

void MainWindow::FormCreate() {
  exitRequested_ = false;
  history_.ForgetLastText();
  trayHint_ = std::string(kAppTitle);
  platform_.tray.ShowIcon(trayHint_);
  platform_.timers.SetTimerEnabled(TimerId::Startup, true);
}

void MainWindow::Timer1Timer() {
  // The start-up timer fires once. It is stopped before the reload, so that a
  // broken Settings.xml reports its error once rather than every 100 ms.
  platform_.timers.SetTimerEnabled(TimerId::Startup, false);
  Guarded([&] { Reload(); });
}

void MainWindow::BitBtn2Click() {
  Guarded([&] { Reload(); });
}

// The reload routine: every way out of the settings window ends here, so the
// snippet menu always mirrors the saved file, never unsaved edits.
void MainWindow::Reload() {
  if (!SettingsFileExists(platform_.files)) return;
  platform_.window.FocusSaveButton();
  platform_.window.HideMainWindow();
  platform_.tray.ShowIcon(trayHint_);
  model_.ClearEntries();
  ReplaceSnippetMenu(MenuItem{});
  history_.ForgetLastText();
  model_.clipboardMenuIndex.reset();
  Load();
  platform_.input.ActivateRussianLayout();
  Button1Click();
  view_->ResetCommandStates();
}

bool MainWindow::FormCloseQuery() {
  if (!SettingsFileExists(platform_.files)) exitRequested_ = true;
  if (exitRequested_) return true;
  BitBtn2Click();
  return false;
}

void MainWindow::FormClose() { platform_.hotkey.Unregister(kSnippetHotkeyId); }

void MainWindow::FormShow() { platform_.window.RepaintControls(); }

void MainWindow::N1Click() {
  exitRequested_ = true;
  platform_.window.RequestClose();
}

void MainWindow::EndSession() {
  exitRequested_ = true;
  FormClose();
}

void MainWindow::N2Click() { OpenSettingsWindow(); }

void MainWindow::IconTrayDblClick() { OpenSettingsWindow(); }

void MainWindow::OpenSettingsWindow() {
  // A file that fails to load is reported, but the window still opens: the
  // broken file has been kept as Settings.xml.bad, and the user needs the
  // window to set things right.
  Guarded([&] { Load(); });
  platform_.timers.SetTimerEnabled(TimerId::ClipboardPoll, false);
  platform_.hotkey.Unregister(kSnippetHotkeyId);
  platform_.window.ShowMainWindow();
}

void MainWindow::N6Click() {
  Guarded([&] {
    Load();
    Reload();
  });
}

void MainWindow::IconTrayMouseDown(MouseButton button, ScreenPoint at) {
  if (button != MouseButton::Right) return;
  switch (platform_.tray.TrackTrayMenu(at, model_.options().monitorClipboard)) {
    case TrayCommand::ClearHistory: N6Click(); break;
    case TrayCommand::Settings: N2Click(); break;
    case TrayCommand::Exit: N1Click(); break;
    case TrayCommand::None: break;
  }
}

// ---------------------------------------------------------------------------
// Settings file

void MainWindow::LoadSettings() {
  Guarded([&] { Load(); });
}

void MainWindow::Load() {
  if (!SettingsFileExists(platform_.files)) return;
  model_.ClearEntries();
  model_.ResetGroups();
  model_.clipboardMenuIndex.reset();
  ReplaceSnippetMenu(MenuItem{});

  const LoadResult result = ReadSettingsFile(platform_.files, platform_.xml, model_);
  view_->ModelReloaded();
  if (result.status == LoadStatus::Failed) throw HandlerError(result.error);
  if (result.status == LoadStatus::Missing) return;  // removed between the two looks

  const Options& options = model_.options();
  if (options.hotkey != 0) {
    const std::string text = ShortcutText(options.hotkey, platform_.hotkey);
    if (ApplyHotKey(platform_.hotkey, text, kSnippetHotkeyId, options.hotkey) ==
        HotkeyOutcome::Refused) {
      platform_.tray.ShowBalloon(std::string("Не удалось назначить горячую клавишу "_cp1251) + text +
                                 std::string(": она занята другой программой"_cp1251));
    }
  }
  if (options.autostart) {
    SetAutostart(platform_.registry, kAutostartValueName, platform_.files.ExecutablePath());
  } else {
    RemoveAutostart(platform_.registry, kAutostartValueName);
  }
  platform_.timers.SetTimerEnabled(TimerId::ClipboardPoll, options.monitorClipboard);
  RefreshTrayHint();
}

bool MainWindow::SaveSettings() {
  const FileResult result = SaveSettingsFile(platform_.files, model_);
  if (!result.ok) platform_.dialogs.ShowError(result.error);
  return result.ok;
}

void MainWindow::BitBtn1Click() {
  Guarded([&] {
    if (model_.RowCount() == 0) {
      platform_.dialogs.ShowMessage("Добавьте хотя бы одну запись!"_cp1251);
      return;
    }
    if (model_.options().hotkey == 0) {
      platform_.dialogs.ShowMessage("Программа не будет работать без назначенной горячей клавиши!"_cp1251);
      view_->FocusHotkeyField();
      return;
    }
    if (!SaveSettings()) return;
    Reload();
  });
}

// ---------------------------------------------------------------------------
// Hotkey and snippet menu

void MainWindow::WMHotKey(int id) {
  Guarded([&] {
    InputPort& input = platform_.input;
    const ThreadId thread = input.WindowThread(input.ForegroundWindow());
    // A failed query leaves the focus window of the last capture in place.
    if (const auto focus = input.FocusWindowOf(thread)) target_.focus = *focus;
    target_.thread = thread;
    target_.window = input.ForegroundWindow();
    if (id != kSnippetHotkeyId) return;

    const ScreenPoint at = input.CursorPos();
    SnippetMenuPopup();
    if (const auto tag = platform_.menus.TrackPopup(snippetMenu_, menuGeneration_, at)) {
      SnippetItemClick(*tag);
    }
  });
}

void MainWindow::SnippetMenuPopup() { platform_.input.SetForegroundWindow(platform_.window.Handle()); }

void MainWindow::Button1Click() { ReplaceSnippetMenu(BuildSnippetMenu(model_)); }

void MainWindow::ReplaceSnippetMenu(MenuItem menu) {
  snippetMenu_ = std::move(menu);
  ++menuGeneration_;
}

void MainWindow::SnippetItemClick(int tag) {
  if (tag < 0 || static_cast<std::size_t>(tag) >= model_.RowCount()) return;
  QueuedRun run{Trim(model_.Row(static_cast<std::size_t>(tag)).longtext), target_};
  if (armed_ || typing_) {
    queuedRuns_.push_back(std::move(run));
    return;
  }
  Arm(std::move(run));
}

// Puts the text into the caption as the pending text, brings the target
// back and lets Timer3 start the run 100 ms later.
void MainWindow::Arm(QueuedRun run) {
  armedRun_ = std::move(run);
  armed_ = true;
  platform_.window.SetCaption(armedRun_.text);
  platform_.input.SetForegroundWindow(armedRun_.target.window);
  platform_.timers.SetTimerEnabled(TimerId::Typing, true);
}

// ---------------------------------------------------------------------------
// Timers

void MainWindow::OnTimer(TimerId id) {
  switch (id) {
    case TimerId::Startup: Timer1Timer(); break;
    case TimerId::TrayHint: Timer2Timer(); break;
    case TimerId::Typing: Timer3Timer(); break;
    case TimerId::ClipboardPoll: Timer4Timer(); break;
  }
}

void MainWindow::Timer3Timer() {
  platform_.timers.SetTimerEnabled(TimerId::Typing, false);
  if (!armed_ || typing_) return;
  armed_ = false;
  const QueuedRun run = std::move(armedRun_);

  platform_.input.SetForegroundWindow(run.target.window);
  std::optional<RunOutcome> outcome;
  typing_ = true;
  try {
    outcome = RunExpansion(run.text, run.target, platform_.input, platform_.clipboard,
                           platform_.clock);
  } catch (const std::exception& e) {
    // Ends the run like a failed clipboard tag: reported, caption kept.
    platform_.dialogs.ShowError(e.what());
  }
  typing_ = false;

  if (outcome) {
    switch (*outcome) {
      case RunOutcome::Completed:
        platform_.window.SetCaption(kAppTitle);
        break;
      case RunOutcome::TargetRefused:
        platform_.window.SetCaption(kAppTitle);
        platform_.tray.ShowBalloon(
            "Не удалось вставить текст: окно программы, запущенной от имени администратора, не принимает ввод"_cp1251);
        break;
      case RunOutcome::ClipboardUnavailable:
        // The run ends where the clipboard tag stood; the caption keeps the text.
        platform_.dialogs.ShowError("Cannot open clipboard");
        break;
    }
  }

  if (!queuedRuns_.empty() && !armed_) {
    QueuedRun next = std::move(queuedRuns_.front());
    queuedRuns_.pop_front();
    Arm(std::move(next));
  }
}

void MainWindow::Timer4Timer() {
  // Errors of the poll are swallowed: the next tick starts afresh.
  try {
    bool menuChanged = false;
    const bool hadText = history_.Tick(platform_.clipboard, model_, snippetMenu_, menuChanged);
    if (menuChanged) ++menuGeneration_;
    if (hadText) RefreshTrayHint();
  } catch (const std::exception&) {
  }
}

void MainWindow::Timer2Timer() {
  Guarded([&] { RefreshTrayHint(); });
}

// The tray hint: the number of main entries (top-level items other than the
// clipboard submenu) and, while monitoring, the number of history items.
void MainWindow::RefreshTrayHint() {
  const std::string mainEntries = std::string("[основных записей: "_cp1251) +
                                  std::to_string(TopLevelEntryItemCount(model_)) + "]";
  std::string hint;
  if (!model_.options().monitorClipboard) {
    hint = std::string(kAppTitle) + "\r\n" + mainEntries;
  } else if (model_.clipboardMenuIndex) {
    hint = std::string(kAppTitle) + "\r\n" + mainEntries + "\r\n" +
           std::string("[буфера обмена: "_cp1251) +
           std::to_string(HistoryItemCount(model_, snippetMenu_)) + "]";
  } else {
    return;  // monitoring, but nothing captured yet: the hint stays as it is
  }
  if (hint == trayHint_) return;
  trayHint_ = std::move(hint);
  platform_.tray.SetHint(trayHint_);
}

}  // namespace qs
