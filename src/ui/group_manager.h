// The group manager (TForm2): adds, renames and deletes the user's groups,
// lines 1 onward of the group list, and keeps the entry editor's group box
// in step. Entries are never touched: they refer to groups by name only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/entry_model.h"
#include "platform/dialogs.h"
#include "ui/group_box.h"
#include "ui/group_manager_view.h"
#include "ui/list_selection.h"

namespace qs {

class GroupManager {
 public:
  GroupManager(EntryModel& model, GroupManagerView& view, GroupBox& editorGroups,
               DialogPort& dialogs, const ListSelection& settingsList);

  void ShowModal();  // the editor's "+" button
  void FormShow();
  void Add_type_buttonClick();
  void Edit_type_buttonClick();
  void Delete_type_buttonClick();
  // Keys in the grid: Enter renames, Delete deletes. True when used.
  bool typeuslug_tableKeyDown(unsigned key);
  // Insert anywhere in the window adds. True when used, so that the focused
  // control does not see the key as well.
  bool FormKeyDown(unsigned key);
  bool FormKeyPress(char32_t key);  // Esc closes
  void AdvGlassButton1Click();      // "X"

 private:
  void FillGrid();
  void Refill();
  std::string SelectedGroup() const;
  // Asks for a name; none when cancelled or refused (after saying why).
  std::optional<std::string> AskName(std::string_view caption, std::string_view initial);

  EntryModel& model_;
  GroupManagerView& view_;
  GroupBox& editorGroups_;
  DialogPort& dialogs_;
  const ListSelection& settingsList_;
};

}  // namespace qs
