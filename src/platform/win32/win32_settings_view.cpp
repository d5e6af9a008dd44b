#include "platform/win32/win32_settings_view.h"

#include <commctrl.h>

#include <string>

#include "platform/win32/text_convert.h"
#include "platform/win32/win32_flat_button.h"
#include "platform/win32/win32_hotkey_field.h"
#include "platform/win32/win32_pictures.h"

namespace qs::win32 {
namespace {

struct Column {
  const wchar_t* caption;
  int width96;
};
constexpr Column kColumns[] = {
    {L"Текст в контекстном меню", 226},  // caption: the menu text
    {L"Вставляемый текст", 400},         // first sub-item
    {L"Группа", 155},                    // second sub-item
};

// PopupMenu2 in its order, each item with the picture of the button that
// has the same caption.
struct MenuDef {
  ListMenuItem item;
  const wchar_t* caption;
  Picture picture;
};
constexpr MenuDef kListMenu[] = {
    {ListMenuItem::N3, L"Добавить", Picture::Add},
    {ListMenuItem::N4, L"Редактировать", Picture::Edit},
    {ListMenuItem::N5, L"Удалить", Picture::Delete},
    {ListMenuItem::N7, L"Переместить выше", Picture::MoveUp},
    {ListMenuItem::N8, L"Переместить ниже", Picture::MoveDown},
};

std::size_t PictureSlot(ListMenuItem item) {
  return static_cast<std::size_t>(item) - static_cast<std::size_t>(ListMenuItem::N3);
}

ListMenuItem MenuItemOf(RowCommand command) {
  switch (command) {
    case RowCommand::Edit: return ListMenuItem::N4;
    case RowCommand::Delete: return ListMenuItem::N5;
    case RowCommand::MoveUp: return ListMenuItem::N7;
    case RowCommand::MoveDown: return ListMenuItem::N8;
  }
  return ListMenuItem::N3;
}

void SetItemText(HWND list, int row, int column, const std::wstring& text) {
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void SetRowState(HWND list, int row, UINT mask, UINT state) {
  LVITEMW item{};
  item.stateMask = mask;
  item.state = state;
  ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

bool IsChecked(HWND box) { return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Check(HWND box, bool on) {
  ::SendMessageW(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace

Win32SettingsView::Win32SettingsView(HINSTANCE instance, HWND window,
                                     const SettingsControls& controls)
    : instance_(instance), window_(window), controls_(controls) {
  constexpr DWORD kListExStyle = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;
  ::SendMessageW(controls_.list, LVM_SETEXTENDEDLISTVIEWSTYLE, kListExStyle, kListExStyle);
  int index = 0;
  for (const Column& c : kColumns) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(c.caption);
    column.cx = c.width96;
    column.iSubItem = index;
    ::SendMessageW(controls_.list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&column));
    ++index;
  }
  CreateListMenu();
}

void Win32SettingsView::CreateListMenu() {
  listMenu_.reset(::CreatePopupMenu());
  if (!listMenu_) return;
  for (const MenuDef& m : kListMenu) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP;
    info.wID = static_cast<UINT>(m.item);
    info.dwTypeData = const_cast<wchar_t*>(m.caption);
    info.hbmpItem = HBMMENU_CALLBACK;
    ::InsertMenuItemW(listMenu_.get(), ::GetMenuItemCount(listMenu_.get()), TRUE, &info);
  }
}

void Win32SettingsView::ApplyDpi(UINT dpi) {
  int index = 0;
  for (const Column& c : kColumns) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(c.caption);
    column.cx = Scale(c.width96, dpi);
    ::SendMessageW(controls_.list, LVM_SETCOLUMNW, static_cast<WPARAM>(index++),
                   reinterpret_cast<LPARAM>(&column));
  }
  pictureSize_ = PictureSize(dpi);
  std::array<unique_hbitmap, 5> pictures;
  const HWND buttons[] = {controls_.add, controls_.edit, controls_.remove, controls_.moveUp,
                          controls_.moveDown};
  for (const MenuDef& m : kListMenu) {
    const std::size_t slot = PictureSlot(m.item);
    pictures[slot] = LoadPictureBitmap(instance_, m.picture, pictureSize_);
    SetFlatButtonPicture(buttons[slot], pictures[slot].get());
  }
  pictures_ = std::move(pictures);  // the old ones go once nothing shows them
}

HBITMAP Win32SettingsView::PictureOf(ListMenuItem item) const {
  const std::size_t slot = PictureSlot(item);
  return slot < pictures_.size() ? pictures_[slot].get() : nullptr;
}

std::optional<std::size_t> Win32SettingsView::SelectedRow() const {
  const auto row =
      ::SendMessageW(controls_.list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  if (row < 0) return std::nullopt;
  return static_cast<std::size_t>(row);
}

void Win32SettingsView::ShowRows(const std::vector<ListRow>& rows) {
  BeginUpdate();
  HWND list = controls_.list;
  ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  ::SendMessageW(list, LVM_SETITEMCOUNT, rows.size(), 0);
  int index = 0;
  for (const ListRow& row : rows) {
    std::wstring caption = Utf8ToWide(row.menuText);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = caption.data();
    const auto inserted = ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (inserted < 0) break;
    SetItemText(list, static_cast<int>(inserted), 1, Utf8ToWide(row.insertedText));
    SetItemText(list, static_cast<int>(inserted), 2, Utf8ToWide(row.group));
    ++index;
  }
  EndUpdate();
}

// The selection and the focus mark go together, so that the arrow keys go
// on from the selected row.
void Win32SettingsView::SelectRow(std::optional<std::size_t> row) {
  HWND list = controls_.list;
  if (!row) {
    SetRowState(list, -1, LVIS_SELECTED, 0);
    return;
  }
  const int index = static_cast<int>(*row);
  SetRowState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ::SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

void Win32SettingsView::SetCommandEnabled(RowCommand command, bool enabled) {
  HWND button = nullptr;
  switch (command) {
    case RowCommand::Edit: button = controls_.edit; break;
    case RowCommand::Delete: button = controls_.remove; break;
    case RowCommand::MoveUp: button = controls_.moveUp; break;
    case RowCommand::MoveDown: button = controls_.moveDown; break;
  }
  ::EnableWindow(button, enabled ? TRUE : FALSE);
  ::EnableMenuItem(listMenu_.get(), static_cast<UINT>(MenuItemOf(command)),
                   MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void Win32SettingsView::BeginUpdate() {
  if (updateDepth_++ == 0) ::SendMessageW(controls_.list, WM_SETREDRAW, FALSE, 0);
}

void Win32SettingsView::EndUpdate() {
  if (updateDepth_ == 0 || --updateDepth_ != 0) return;
  ::SendMessageW(controls_.list, WM_SETREDRAW, TRUE, 0);
  ::RedrawWindow(controls_.list, nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// `options` may be the model's own, which the change notices of the
// controls would write to while they are being filled in: work on a copy,
// and let EditedOptions ignore those notices.
void Win32SettingsView::ShowOptions(const Options& options) {
  const Options shown = options;
  showingOptions_ = true;
  ::SendMessageW(controls_.hotkey, HKM_SETHOTKEY, HotkeyFieldFromShortcut(shown.hotkey), 0);
  Check(controls_.autostart, shown.autostart);
  Check(controls_.monitoring, shown.monitorClipboard);
  showingOptions_ = false;
}

std::optional<Options> Win32SettingsView::EditedOptions() const {
  if (showingOptions_) return std::nullopt;
  Options options;
  options.hotkey = ShortcutFromHotkeyField(
      static_cast<WORD>(::SendMessageW(controls_.hotkey, HKM_GETHOTKEY, 0, 0)));
  options.autostart = IsChecked(controls_.autostart);
  options.monitorClipboard = IsChecked(controls_.monitoring);
  return options;
}

void Win32SettingsView::FocusHotkeyField() { ::SetFocus(controls_.hotkey); }

std::optional<ListMenuItem> Win32SettingsView::TrackListMenu(POINT screen) {
  if (!listMenu_) return std::nullopt;
  const BOOL picked = ::TrackPopupMenu(
      listMenu_.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, screen.x,
      screen.y, 0, window_, nullptr);
  if (picked < static_cast<BOOL>(ListMenuItem::N3) ||
      picked > static_cast<BOOL>(ListMenuItem::N8)) {
    return std::nullopt;
  }
  return static_cast<ListMenuItem>(picked);
}

bool Win32SettingsView::MeasureMenuPicture(MEASUREITEMSTRUCT& item) const {
  if (item.CtlType != ODT_MENU || !PictureOf(static_cast<ListMenuItem>(item.itemID))) return false;
  // A little room on both sides, so that the caption does not touch it.
  item.itemWidth = static_cast<UINT>(pictureSize_ + 2 * Scale(3, WindowDpi(window_)));
  item.itemHeight = static_cast<UINT>(pictureSize_);
  return true;
}

bool Win32SettingsView::DrawMenuPicture(const DRAWITEMSTRUCT& item) const {
  if (item.CtlType != ODT_MENU) return false;
  HBITMAP picture = PictureOf(static_cast<ListMenuItem>(item.itemID));
  if (!picture) return false;
  BITMAP info{};
  if (!::GetObjectW(picture, sizeof info, &info)) return true;
  const bool disabled = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  const int x = item.rcItem.left + (item.rcItem.right - item.rcItem.left - info.bmWidth) / 2;
  const int y = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - info.bmHeight) / 2;
  DrawPicture(item.hDC, picture, x, y, !disabled);
  return true;
}

}  // namespace qs::win32
