#include "model/entry_model.h"

#include <algorithm>

#include "model/cp1251.h"

namespace qs {

std::string_view NoGroupName() { return "Без группы"_cp1251; }

EntryModel::EntryModel() { ResetGroups(); }

void EntryModel::AppendEntry(std::string shorttext, std::string longtext, std::string group) {
  rows_.push_back({std::move(shorttext), std::move(longtext), std::move(group)});
}

void EntryModel::AppendHistoryRow(std::string cutText, std::string wholeText) {
  rows_.push_back({std::move(cutText), std::move(wholeText), std::nullopt});
}

bool EntryModel::ReplaceEntry(std::size_t i, std::string shorttext, std::string longtext,
                              std::string group) {
  if (i >= rows_.size()) return false;
  rows_[i] = {std::move(shorttext), std::move(longtext), std::move(group)};
  return true;
}

bool EntryModel::DeleteEntry(std::size_t i) {
  if (i >= rows_.size()) return false;
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(i));
  return true;
}

bool EntryModel::ExchangeRows(long long i, long long j) {
  const auto n = static_cast<long long>(rows_.size());
  if (i < 0 || j < 0 || i >= n || j >= n) return false;
  std::swap(rows_[static_cast<std::size_t>(i)], rows_[static_cast<std::size_t>(j)]);
  return true;
}

bool EntryModel::MoveRowAfter(std::size_t from, long long target) {
  if (from >= rows_.size()) return false;
  const auto n = static_cast<long long>(rows_.size());
  const std::size_t insertAt =
      (target < 0 || target >= n) ? rows_.size() : static_cast<std::size_t>(target + 1);
  TextEntry copy = rows_[from];
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(copy));
  const std::size_t original = insertAt <= from ? from + 1 : from;
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(original));
  return true;
}

void EntryModel::ResetGroups() {
  groups_.clear();
  groups_.emplace_back(NoGroupName());
}

void EntryModel::AppendGroup(std::string name) { groups_.push_back(std::move(name)); }

void EntryModel::RenameGroup(std::string_view oldName, const std::string& newName) {
  for (std::size_t j = 1; j < groups_.size(); ++j) {
    if (groups_[j] == oldName) groups_[j] = newName;
  }
}

void EntryModel::DeleteGroup(std::string_view name) {
  for (std::size_t j = groups_.size(); j-- > 1;) {
    if (groups_[j] == name) groups_.erase(groups_.begin() + static_cast<std::ptrdiff_t>(j));
  }
}

}  // namespace qs
