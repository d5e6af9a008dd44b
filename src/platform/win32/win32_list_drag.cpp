#include "platform/win32/win32_list_drag.h"

#include <commctrl.h>

namespace qs::win32 {
namespace {

void SetDropMark(HWND list, int row, bool on) {
  LVITEMW item{};
  item.stateMask = LVIS_DROPHILITED;
  item.state = on ? LVIS_DROPHILITED : 0;
  ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

ListDropTarget DropTargetAt(HWND list, POINT screen) {
  ListDropTarget target;
  if (!list || ::WindowFromPoint(screen) != list) return target;
  target.onList = true;

  POINT client = screen;
  ::ScreenToClient(list, &client);
  // Every row has the same left edge; aim there so the column under the
  // point does not matter.
  RECT label{};
  label.left = LVIR_LABEL;
  if (!::SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&label))) return target;
  LVHITTESTINFO hit{};
  hit.pt = {label.left + 1, client.y};
  const auto row = ::SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  if (row >= 0) target.row = static_cast<std::size_t>(row);
  return target;
}

void ListDrag::Begin(HWND list, HWND holder) {
  list_ = list;
  marked_.reset();
  ::SetCapture(holder);
}

void ListDrag::Track(POINT screen, bool listAccepts) {
  if (!active()) return;
  const ListDropTarget target = DropTargetAt(list_, screen);
  const bool accepted = target.onList && listAccepts;
  MarkRow(accepted ? target.row : std::nullopt);
  ::SetCursor(::LoadCursorW(nullptr, accepted ? IDC_ARROW : IDC_NO));
}

ListDropTarget ListDrag::Drop(POINT screen) {
  if (!active()) return {};
  const ListDropTarget target = DropTargetAt(list_, screen);
  End();
  return target;
}

void ListDrag::Cancel() { End(); }

void ListDrag::End() {
  if (!active()) return;
  MarkRow(std::nullopt);
  list_ = nullptr;  // before the release: losing the capture then is no cancel
  ::ReleaseCapture();
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
}

void ListDrag::MarkRow(std::optional<std::size_t> row) {
  if (row == marked_) return;
  if (marked_) SetDropMark(list_, static_cast<int>(*marked_), false);
  if (row) SetDropMark(list_, static_cast<int>(*row), true);
  marked_ = row;
}

}  // namespace qs::win32
