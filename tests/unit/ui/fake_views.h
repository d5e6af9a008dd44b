// Fake views of the three editing windows. They keep what a Win32 control
// would keep (rows, selection, caret, focus, sorted items) so that tests see
// what the user would see.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/entry_editor_view.h"
#include "ui/group_manager_view.h"
#include "ui/settings_view.h"

namespace qs::test {

// Order of a sorted combo box on a Russian Windows: letter case ignored,
// Russian alphabetical order with Ё right after Е, digits and punctuation
// before Latin letters, Latin before Cyrillic. Neither Windows-1251 byte
// order nor UTF-8 order will do: both put Ё before А. Items equal but for
// case are ordered by code point, which is enough for the tests.
bool RussianLess(std::string_view utf8a, std::string_view utf8b);

class FakeSettingsView : public SettingsView {
 public:
  std::optional<std::size_t> SelectedRow() const override { return selected; }
  void ShowRows(const std::vector<ListRow>& newRows) override;
  void SelectRow(std::optional<std::size_t> row) override;
  void SetCommandEnabled(RowCommand command, bool enabled) override;
  void BeginUpdate() override;
  void EndUpdate() override;
  void ShowOptions(const Options& options) override { shownOptions = options; }
  void FocusHotkeyField() override { ++hotkeyFocused; }

  std::vector<std::string> MenuTexts() const;
  bool Enabled(RowCommand command) const { return enabled.at(command); }

  std::vector<ListRow> rows;
  std::optional<std::size_t> selected;
  // The design state: every command enabled.
  std::map<RowCommand, bool> enabled{{RowCommand::Edit, true},
                                     {RowCommand::Delete, true},
                                     {RowCommand::MoveUp, true},
                                     {RowCommand::MoveDown, true}};
  int stateUpdates = 0;  // calls of SetCommandEnabled
  int updateDepth = 0;
  std::vector<std::string> batchLog;  // "Begin", "Rows", "End"
  std::optional<Options> shownOptions;
  int hotkeyFocused = 0;
};

enum class FakeEditorFocus { None, MenuText, InsertedText };

class FakeEntryEditorView : public EntryEditorView {
 public:
  using Focus = FakeEditorFocus;

  void SetTitle(std::string_view utf8) override { title = utf8; }
  void SetMenuLabel(std::string_view utf8) override { menuLabel = utf8; }
  void SetTextLabel(std::string_view utf8) override { textLabel = utf8; }
  std::string MenuText() const override { return menuText; }
  void SetMenuText(std::string_view utf8) override { menuText = utf8; }
  void FocusMenuText() override { focus = Focus::MenuText; }
  std::string InsertedText() const override { return insertedText; }
  void SetInsertedText(std::string_view utf8) override;
  void SelectAllInsertedText() override;
  void ReplaceInsertedSelection(std::string_view utf8) override;
  void PutCaretAtEnd() override;
  void FocusInsertedText() override { focus = Focus::InsertedText; }
  void ShowModal() override;
  void Close() override;

  void ClearGroupItems() override;
  void AddGroupItem(std::string_view utf8) override;
  std::size_t GroupItemCount() const override { return groupItems.size(); }
  std::string GroupItem(std::size_t index) const override { return groupItems.at(index); }
  std::optional<std::size_t> SelectedGroupIndex() const override { return groupSelected; }
  void SelectGroupIndex(std::size_t index) override;

  // The user types one character at the caret; mmo2KeyPress decides which.
  void Type(std::string_view utf8) { ReplaceInsertedSelection(utf8); }
  std::string SelectedGroupText() const;

  std::string title, menuLabel, textLabel;
  std::string menuText, insertedText;
  std::size_t selStart = 0, selEnd = 0;  // byte offsets into insertedText
  Focus focus = Focus::None;
  std::vector<std::string> groupItems;
  std::optional<std::size_t> groupSelected;
  bool open = false;
  int shown = 0;
  int closed = 0;
  // What the window does around its modal loop: the logic's FormShow and
  // FormClose, and the test's user actions while it is open.
  std::function<void()> onShow, onClose, whileOpen;
};

class FakeGroupManagerView : public GroupManagerView {
 public:
  void ClearCells() override;
  void SetRowCount(std::size_t count) override { cells.resize(count); }
  void SetCell(std::size_t row, std::string_view utf8) override { cells.at(row) = utf8; }
  std::size_t SelectedRow() const override { return selectedRow; }
  void ShowModal() override;
  void Close() override;

  std::vector<std::string> cells;  // one per grid row
  std::size_t selectedRow = 0;
  bool open = false;
  int shown = 0;
  std::function<void()> onShow, whileOpen;
};

}  // namespace qs::test
