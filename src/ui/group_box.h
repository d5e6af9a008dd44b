// The entry editor's group box (ComboBox1): a drop-down list that accepts no
// typed text and keeps its items sorted by itself, as a sorted combo box does
// in the user's locale. The group manager fills it too. Texts are UTF-8.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qs {

class GroupBox {
 public:
  virtual ~GroupBox() = default;
  virtual void ClearGroupItems() = 0;  // also clears the selection
  // Inserts the item at its sorted place; an existing selection stays on its item.
  virtual void AddGroupItem(std::string_view utf8) = 0;
  virtual std::size_t GroupItemCount() const = 0;
  virtual std::string GroupItem(std::size_t index) const = 0;
  virtual std::optional<std::size_t> SelectedGroupIndex() const = 0;
  virtual void SelectGroupIndex(std::size_t index) = 0;
};

// Selects the first item equal to the text exactly (same letters, same
// case); false, and the selection unchanged, when there is none.
bool SelectGroupItem(GroupBox& box, std::string_view utf8);

// The selected item's text; empty when nothing is selected.
std::string SelectedGroupItem(const GroupBox& box);

}  // namespace qs
