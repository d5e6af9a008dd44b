// The entry editor dialog (TNewOp): one entry's menu text, inserted text and
// group, written straight into the model when "Сохранить" passes its checks.
#pragma once

#include <cstddef>

#include "model/entry_model.h"
#include "platform/dialogs.h"
#include "ui/entry_editor_view.h"
#include "ui/group_manager.h"
#include "ui/list_selection.h"

namespace qs {

enum class EditorMode { None = 0, Add = 1, Edit = 2 };

// Keys held down at the moment of a key message (GetKeyState).
struct KeysDown {
  bool control = false;
  bool backspace = false;
};

class EntryEditor {
 public:
  EntryEditor(EntryModel& model, EntryEditorView& view, DialogPort& dialogs,
              const ListSelection& settingsList, GroupManager& groupManager);

  // The settings window's two ways in; both return when the dialog has closed.
  void OpenToAdd();
  void OpenToEdit(std::size_t row);

  void FormShow();
  void btn1Click();                 // "Сохранить"
  void BitBtn1Click();              // "Отмена"
  bool FormKeyPress(char32_t key);  // Esc cancels; true when the key was used
  void FormClose();
  // One of the tag buttons was clicked; an index into TagButtons().
  void SpeedButton1Click(std::size_t tagButton);
  void SpeedButton7Click();  // "+": the group manager
  void mmo2KeyDown(unsigned key, KeysDown down);
  // The character the inserted-text field should type in place of `typed`.
  char32_t mmo2KeyPress(char32_t typed) const;
  void RzEdit1KeyPress(char32_t typed);

  EditorMode mode() const { return mode_; }
  std::size_t editedRow() const { return editedRow_; }

 private:
  void SetCaptions(std::string_view title);
  void EmptyFields();

  EntryModel& model_;
  EntryEditorView& view_;
  DialogPort& dialogs_;
  const ListSelection& settingsList_;
  GroupManager& groupManager_;
  EditorMode mode_ = EditorMode::None;
  std::size_t editedRow_ = 0;
};

}  // namespace qs
