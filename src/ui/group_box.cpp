#include "ui/group_box.h"

namespace qs {

// Matching is done here rather than by the box: a combo box's own search
// (CB_FINDSTRINGEXACT) ignores letter case, and groups differ by case.
bool SelectGroupItem(GroupBox& box, std::string_view utf8) {
  for (std::size_t i = 0; i < box.GroupItemCount(); ++i) {
    if (box.GroupItem(i) == utf8) {
      box.SelectGroupIndex(i);
      return true;
    }
  }
  return false;
}

std::string SelectedGroupItem(const GroupBox& box) {
  const auto index = box.SelectedGroupIndex();
  return index ? box.GroupItem(*index) : std::string();
}

}  // namespace qs
