// The selected row of the settings window's entry list. The entry editor and
// the group manager read it to preselect that row's group.
#pragma once

#include <cstddef>
#include <optional>

namespace qs {

class ListSelection {
 public:
  virtual ~ListSelection() = default;
  // The selected row (the list allows one at most), or none.
  virtual std::optional<std::size_t> SelectedRow() const = 0;
};

}  // namespace qs
