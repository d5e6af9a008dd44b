// Dragging a row of ListView1 to another place in the same list. The list
// starts the drag (LVN_BEGINDRAG); its parent window then holds the mouse
// until the button is released and asks what the row was dropped on.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>

namespace qs::win32 {

// What lies under a screen point for a drop: the list itself or something
// else, and on the list the row under the point, none below the last row.
struct ListDropTarget {
  bool onList = false;
  std::optional<std::size_t> row;
};

// Only the list's own client area and frame count as the list: its header
// is a control of its own. Rows are found by height alone, so that a point
// right of the last column still names its row.
ListDropTarget DropTargetAt(HWND list, POINT screen);

class ListDrag {
 public:
  // `holder` captures the mouse for the length of the drag.
  void Begin(HWND list, HWND holder);
  bool active() const { return list_ != nullptr; }
  // Marks the row under the point and shows with the cursor whether a drop
  // there would be taken: only on the list, and only when the list accepts
  // what is dragged.
  void Track(POINT screen, bool listAccepts);
  // Ends the drag where the button was released.
  ListDropTarget Drop(POINT screen);
  // Esc, or the mouse was taken away.
  void Cancel();

 private:
  void End();
  void MarkRow(std::optional<std::size_t> row);

  HWND list_ = nullptr;
  std::optional<std::size_t> marked_;
};

}  // namespace qs::win32
