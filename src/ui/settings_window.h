// The settings window's list commands: add, edit, delete, move by button,
// by right-click menu and by drag and drop, and the rule that enables them.
// The model is the truth; the list shows its rows, and the selection and the
// command states are the view's.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>

#include "app/main_window.h"
#include "model/entry_model.h"
#include "platform/dialogs.h"
#include "ui/entry_editor.h"
#include "ui/settings_view.h"

namespace qs {

// Where a drag that reaches ListView1 comes from.
enum class DragSource { ListView1, OtherControl };

class SettingsWindow : public SettingsViewHook {
 public:
  // `reload` is the main window's reload routine, BitBtn2Click.
  SettingsWindow(EntryModel& model, SettingsView& view, DialogPort& dialogs, EntryEditor& editor,
                 std::function<void()> reload);

  void ListView1Click();  // the command-state rule
  void PopupMenu2Popup();
  void SpeedButton1Click();  // add (also N3)
  void SpeedButton2Click();  // edit (also N4)
  void ListView1DblClick();
  void SpeedButton3Click();  // delete (also N5)
  void SpeedButton6Click();  // move up, the selection follows
  void SpeedButton7Click();  // move down, the selection follows
  void N7Click();            // move up, the selection stays on its position
  void N8Click();            // move down, the selection stays on its position
  // Swaps two rows; false, and nothing changes, when either index is not a
  // row (-1 or the row count). The selection stays on its position.
  bool ExchangeRows(long long index1, long long index2);
  bool ListView1DragOver(DragSource source) const;
  // The row under the drop point, or none below the last row.
  void ListView1DragDrop(std::optional<std::size_t> rowUnderPoint);
  // Esc runs the reload routine; true when the key was used.
  bool FormKeyPress(char32_t key);
  // The hotkey field or a check box changed.
  void OptionsEdited(const Options& options);

  // SettingsViewHook
  void ModelReloaded() override;
  void ResetCommandStates() override;
  void FocusHotkeyField() override;

 private:
  std::optional<std::size_t> Selected() const;
  void ShowRows(std::optional<std::size_t> select);
  void MoveByButton(long long step);
  void MoveByMenu(long long step);

  EntryModel& model_;
  SettingsView& view_;
  DialogPort& dialogs_;
  EntryEditor& editor_;
  std::function<void()> reload_;
};

}  // namespace qs
