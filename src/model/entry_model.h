// The data the whole program shares: entry list (entries and clipboard
// history rows), group list, options and the snippet menu's bookkeeping.
// The windows show it; they do not own it. All texts are Windows-1251.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qs {

// One row of the entry list. A clipboard history row has no group at all,
// which is what tells it from an entry.
struct TextEntry {
  std::string shorttext;             // menu text
  std::string longtext;              // inserted text, may hold CR LF and tags
  std::optional<std::string> group;  // group name; none for a history row

  bool IsHistoryRow() const { return !group.has_value(); }
  friend bool operator==(const TextEntry&, const TextEntry&) = default;
};

struct Options {
  std::uint16_t hotkey = 0;      // shortcut value: vk | 0x2000 Shift | 0x4000 Ctrl | 0x8000 Alt
  bool autostart = false;        // "Запуск программы при загрузке Windows"
  bool monitorClipboard = false; // "Отслеживать системный буфер обмена"
  friend bool operator==(const Options&, const Options&) = default;
};

class EntryModel {
 public:
  EntryModel();

  // Entry list.
  std::size_t RowCount() const { return rows_.size(); }
  const TextEntry& Row(std::size_t i) const { return rows_.at(i); }
  const std::vector<TextEntry>& Rows() const { return rows_; }
  void ClearEntries() { rows_.clear(); }
  void AppendEntry(std::string shorttext, std::string longtext, std::string group);
  void AppendHistoryRow(std::string cutText, std::string wholeText);
  // Replaces the three fields of row i; false when there is no such row.
  bool ReplaceEntry(std::size_t i, std::string shorttext, std::string longtext, std::string group);
  bool DeleteEntry(std::size_t i);
  // Swaps two rows; false (and nothing changes) when either index is outside the list.
  bool ExchangeRows(long long i, long long j);
  // Drag and drop placement: a copy of row `from` is inserted at position
  // target + 1 of the current order (at the end when target is -1), then the
  // original row is removed. False when `from` is not a row.
  bool MoveRowAfter(std::size_t from, long long target);

  // Group list: line 0 is always "Без группы".
  std::size_t GroupCount() const { return groups_.size(); }
  const std::string& Group(std::size_t j) const { return groups_.at(j); }
  const std::vector<std::string>& Groups() const { return groups_; }
  void ResetGroups();
  void AppendGroup(std::string name);
  // Replaces every line from line 1 on that equals oldName.
  void RenameGroup(std::string_view oldName, const std::string& newName);
  // Removes every line from line 1 on that equals name.
  void DeleteGroup(std::string_view name);

  Options& options() { return options_; }
  const Options& options() const { return options_; }

  // Position of the clipboard submenu among the snippet menu's top-level
  // items; none while there is no clipboard submenu.
  std::optional<std::size_t> clipboardMenuIndex;

 private:
  std::vector<TextEntry> rows_;
  std::vector<std::string> groups_;
  Options options_;
};

// The built-in group, line 0 of the group list.
std::string_view NoGroupName();

}  // namespace qs
