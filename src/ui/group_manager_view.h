// What the group manager's logic needs from its Win32 window (TForm2): the
// one-column group grid typeuslug_table. Texts are UTF-8.
#pragma once

#include <cstddef>
#include <string_view>

namespace qs {

class GroupManagerView {
 public:
  virtual ~GroupManagerView() = default;
  virtual void ClearCells() = 0;  // empties every cell, keeps the row count
  virtual void SetRowCount(std::size_t rows) = 0;
  virtual void SetCell(std::size_t row, std::string_view utf8) = 0;
  // The grid always has a selected row, the first one until the user picks
  // another, as a string grid does.
  virtual std::size_t SelectedRow() const = 0;
  // Shows the window modally and returns when it has closed. The window
  // calls FormShow when it appears.
  virtual void ShowModal() = 0;
  virtual void Close() = 0;
};

}  // namespace qs
