#include "ui/entry_editor.h"

#include "model/cp1251.h"
#include "model/trim.h"
#include "ui/cp1251_check.h"
#include "ui/preselect_group.h"
#include "ui/tag_buttons.h"
#include "ui/word_cut.h"

namespace qs {
namespace {

constexpr unsigned kKeyA = 0x41;
constexpr char32_t kEsc = 27;
constexpr char32_t kCarriageReturn = 13;
constexpr char32_t kCtrlBackspaceChar = 127;

}  // namespace

EntryEditor::EntryEditor(EntryModel& model, EntryEditorView& view, DialogPort& dialogs,
                         const ListSelection& settingsList, GroupManager& groupManager)
    : model_(model),
      view_(view),
      dialogs_(dialogs),
      settingsList_(settingsList),
      groupManager_(groupManager) {}

void EntryEditor::SetCaptions(std::string_view title) {
  view_.SetTitle(Cp1251ToUtf8(title));
  view_.SetMenuLabel(Cp1251ToUtf8("Текст в меню"_cp1251));
  view_.SetTextLabel(Cp1251ToUtf8("Вставляемый текст"_cp1251));
}

// The fields start empty: the dialog empties them whenever it closes.
void EntryEditor::OpenToAdd() {
  SetCaptions("Добавление записи"_cp1251);
  mode_ = EditorMode::Add;
  view_.ShowModal();
}

void EntryEditor::OpenToEdit(std::size_t row) {
  SetCaptions("Редактирование записи"_cp1251);
  const TextEntry& entry = model_.Row(row);
  view_.SetMenuText(Cp1251ToUtf8(TrimView(entry.shorttext)));
  view_.SetInsertedText(Cp1251ToUtf8(TrimView(entry.longtext)));
  editedRow_ = row;
  mode_ = EditorMode::Edit;
  view_.ShowModal();
}

void EntryEditor::FormShow() {
  view_.ClearGroupItems();
  for (const auto& group : model_.Groups()) view_.AddGroupItem(Cp1251ToUtf8(group));
  PreselectGroup(view_, model_, settingsList_);
  view_.FocusMenuText();
}

// Refusals leave the dialog open with the fields as they are. A text that
// cannot be kept in Windows-1251 is refused before the other checks, since
// its '?' replacements would pass them.
void EntryEditor::btn1Click() {
  const auto menuText = AcceptTypedText(view_.MenuText(), dialogs_);
  if (!menuText) return;
  const auto insertedText = AcceptTypedText(view_.InsertedText(), dialogs_);
  if (!insertedText) return;

  std::string m = Trim(*menuText);
  std::string x = Trim(*insertedText);
  if (m.empty()) {
    dialogs_.ShowMessage("Не заполнен текст меню!"_cp1251);
    return;
  }
  if (x.empty()) {
    dialogs_.ShowMessage("Не заполнен вставляемый текст!"_cp1251);
    return;
  }
  // The box's items came from the model, so they convert back losslessly.
  std::string group = Utf8ToCp1251(SelectedGroupItem(view_));
  if (mode_ == EditorMode::Add) {
    for (const auto& row : model_.Rows()) {
      if (row.shorttext == m) {
        dialogs_.ShowMessage("Такой текст меню уже существует!"_cp1251);
        return;
      }
    }
    model_.AppendEntry(std::move(m), std::move(x), std::move(group));
  } else if (mode_ == EditorMode::Edit) {
    // Replacing an entry may give it another entry's menu text.
    model_.ReplaceEntry(editedRow_, std::move(m), std::move(x), std::move(group));
  }
  EmptyFields();
  mode_ = EditorMode::None;
  view_.Close();
}

void EntryEditor::EmptyFields() {
  view_.SetInsertedText("");
  view_.SetMenuText("");
}

void EntryEditor::BitBtn1Click() {
  EmptyFields();
  view_.Close();
}

bool EntryEditor::FormKeyPress(char32_t key) {
  if (key != kEsc) return false;
  BitBtn1Click();
  return true;
}

void EntryEditor::FormClose() { EmptyFields(); }

void EntryEditor::SpeedButton1Click(std::size_t tagButton) {
  const auto buttons = TagButtons();
  if (tagButton >= buttons.size()) return;
  view_.ReplaceInsertedSelection(Cp1251ToUtf8(buttons[tagButton].caption));
}

void EntryEditor::SpeedButton7Click() { groupManager_.ShowModal(); }

// Both tests run on every key-down. The word cut repeats with the key's
// auto-repeat while Ctrl and Backspace stay down; the 127 that Ctrl+Backspace
// also types becomes a space in mmo2KeyPress.
void EntryEditor::mmo2KeyDown(unsigned key, KeysDown down) {
  if (down.control && key == kKeyA) view_.SelectAllInsertedText();
  if (down.control && down.backspace) {
    const std::string text = view_.InsertedText();
    if (text.empty()) return;
    view_.SetInsertedText(WordCut(text));
    view_.PutCaretAtEnd();
  }
}

char32_t EntryEditor::mmo2KeyPress(char32_t typed) const {
  return typed == kCtrlBackspaceChar ? U' ' : typed;
}

// Enter itself never gets here (it presses "Сохранить"); Ctrl+M does.
void EntryEditor::RzEdit1KeyPress(char32_t typed) {
  if (typed == kCarriageReturn) view_.FocusInsertedText();
}

}  // namespace qs
