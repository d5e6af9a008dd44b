// What the settings window's logic needs from its Win32 window: the entry
// list ListView1, the command buttons and right-click menu items, the
// hotkey field and the two check boxes. Texts are UTF-8.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "model/entry_model.h"
#include "ui/command_states.h"
#include "ui/list_selection.h"

namespace qs {

// One row of ListView1: caption, first and second sub-item.
struct ListRow {
  std::string menuText;
  std::string insertedText;
  std::string group;
  friend bool operator==(const ListRow&, const ListRow&) = default;
};

class SettingsView : public ListSelection {
 public:
  // Replaces every row of the list. The selection is not kept: the logic
  // selects again whatever it wants selected afterwards.
  virtual void ShowRows(const std::vector<ListRow>& rows) = 0;
  // Selects a row, or clears the selection with none.
  virtual void SelectRow(std::optional<std::size_t> row) = 0;
  // Enables or disables one command: its button (SpeedButton2, 3, 6, 7) and
  // its right-click menu item (N4, N5, N7, N8) together.
  virtual void SetCommandEnabled(RowCommand command, bool enabled) = 0;
  // Suspends and resumes redrawing the list around a batch of changes;
  // EndUpdate redraws.
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
  // The hotkey field HK0 and the check boxes CheckBox1, CheckBox2.
  virtual void ShowOptions(const Options& options) = 0;
  virtual void FocusHotkeyField() = 0;
};

}  // namespace qs
