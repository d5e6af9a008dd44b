#include "fake_views.h"

#include <algorithm>
#include <utility>

#include "model/cp1251.h"

namespace qs::test {
namespace {

// Sort key of one character; see RussianLess.
std::uint32_t Rank(char32_t c) {
  constexpr std::u32string_view kAlphabet = U"абвгдеёжзийклмнопрстуфхцчшщъыьэюя";
  if (c >= U'А' && c <= U'Я') c += 0x20;
  if (c == U'Ё') c = U'ё';
  if (const auto at = kAlphabet.find(c); at != std::u32string_view::npos) {
    return 0x30000 + static_cast<std::uint32_t>(at);
  }
  if (c >= U'A' && c <= U'Z') c += 0x20;
  if (c >= U'a' && c <= U'z') return 0x20000 + c;
  if (c >= 0x400 && c < 0x530) return 0x40000 + c;  // other Cyrillic letters, after я
  return c;
}

std::vector<std::uint32_t> Key(std::string_view utf8, bool foldCase) {
  std::vector<std::uint32_t> key;
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t c = cp1251_detail::NextCodePoint(utf8, i);
    key.push_back(foldCase ? Rank(c) : c);
  }
  return key;
}

}  // namespace

bool RussianLess(std::string_view a, std::string_view b) {
  const auto ka = Key(a, true);
  const auto kb = Key(b, true);
  if (ka != kb) return ka < kb;
  return Key(a, false) < Key(b, false);
}

void FakeSettingsView::ShowRows(const std::vector<ListRow>& newRows) {
  rows = newRows;
  selected.reset();  // a refilled list view has no selection
  batchLog.push_back("Rows");
}

// A list view ignores a row that does not exist and keeps its selection.
void FakeSettingsView::SelectRow(std::optional<std::size_t> row) {
  if (row && *row >= rows.size()) return;
  selected = row;
}

void FakeSettingsView::SetCommandEnabled(RowCommand command, bool on) {
  enabled[command] = on;
  ++stateUpdates;
}

void FakeSettingsView::BeginUpdate() {
  ++updateDepth;
  batchLog.push_back("Begin");
}

void FakeSettingsView::EndUpdate() {
  --updateDepth;
  batchLog.push_back("End");
}

std::vector<std::string> FakeSettingsView::MenuTexts() const {
  std::vector<std::string> out;
  for (const auto& row : rows) out.push_back(row.menuText);
  return out;
}

// Like WM_SETTEXT on an edit: the caret goes to the start.
void FakeEntryEditorView::SetInsertedText(std::string_view utf8) {
  insertedText = utf8;
  selStart = selEnd = 0;
}

void FakeEntryEditorView::SelectAllInsertedText() {
  selStart = 0;
  selEnd = insertedText.size();
}

void FakeEntryEditorView::ReplaceInsertedSelection(std::string_view utf8) {
  insertedText.replace(selStart, selEnd - selStart, utf8);
  selStart = selEnd = selStart + utf8.size();
}

void FakeEntryEditorView::PutCaretAtEnd() { selStart = selEnd = insertedText.size(); }

void FakeEntryEditorView::ShowModal() {
  open = true;
  ++shown;
  if (onShow) onShow();
  if (whileOpen) whileOpen();
}

void FakeEntryEditorView::Close() {
  open = false;
  ++closed;
  if (onClose) onClose();
}

void FakeEntryEditorView::ClearGroupItems() {
  groupItems.clear();
  groupSelected.reset();
}

void FakeEntryEditorView::AddGroupItem(std::string_view utf8) {
  const auto at =
      std::upper_bound(groupItems.begin(), groupItems.end(), utf8,
                       [](std::string_view a, const std::string& b) { return RussianLess(a, b); });
  const auto index = static_cast<std::size_t>(at - groupItems.begin());
  groupItems.insert(at, std::string(utf8));
  if (groupSelected && *groupSelected >= index) ++*groupSelected;
}

void FakeEntryEditorView::SelectGroupIndex(std::size_t index) {
  groupSelected = index < groupItems.size() ? std::optional(index) : std::nullopt;
}

std::string FakeEntryEditorView::SelectedGroupText() const {
  return groupSelected ? groupItems.at(*groupSelected) : std::string();
}

void FakeGroupManagerView::ClearCells() {
  for (auto& cell : cells) cell.clear();
}

void FakeGroupManagerView::ShowModal() {
  open = true;
  ++shown;
  if (onShow) onShow();
  if (whileOpen) whileOpen();
}

void FakeGroupManagerView::Close() { open = false; }

}  // namespace qs::test
