#include "activation/snippet_menu.h"

#include <string_view>
#include <unordered_map>
#include <vector>

namespace qs {

namespace {

MenuItem EntryItem(const EntryModel& model, std::size_t row) {
  return MenuItem{model.Row(row).shorttext, static_cast<int>(row), MenuPicture::None, {}};
}

}  // namespace

MenuItem BuildSnippetMenu(const EntryModel& model) {
  MenuItem root;
  const std::string_view noGroup = NoGroupName();

  // One pass over the rows, so a large list with many groups stays linear.
  std::unordered_map<std::string_view, std::vector<std::size_t>> rowsByGroup;
  for (std::size_t i = 0; i < model.RowCount(); ++i) {
    const auto& group = model.Row(i).group;
    if (!group) continue;  // history rows belong to the clipboard submenu only
    if (*group == noGroup) root.children.push_back(EntryItem(model, i));
    // A user group may carry the built-in name too; its submenu repeats them.
    rowsByGroup[*group].push_back(i);
  }

  for (std::size_t j = 1; j < model.GroupCount(); ++j) {
    MenuItem groupItem{model.Group(j), std::nullopt, MenuPicture::Folder, {}};
    if (auto it = rowsByGroup.find(model.Group(j)); it != rowsByGroup.end()) {
      groupItem.children.reserve(it->second.size());
      for (const std::size_t row : it->second) groupItem.children.push_back(EntryItem(model, row));
    }
    root.children.push_back(std::move(groupItem));
  }
  return root;
}

std::size_t TopLevelEntryItemCount(const EntryModel& model) {
  std::size_t count = model.GroupCount() - 1;
  for (const auto& row : model.Rows()) {
    if (row.group && *row.group == NoGroupName()) ++count;
  }
  return count;
}

}  // namespace qs
