// The group manager TForm2, created hidden at start and shown modally over
// the entry editor; it lives for the whole run. Its caption is never
// displayed: the title label stands in for the missing title bar.
#pragma once

#include <windows.h>

#include <optional>

#include "platform/win32/win32_tooltip.h"
#include "platform/win32/win32_ui_metrics.h"
#include "platform/win32/win32_view_layout.h"
#include "ui/group_manager_view.h"

namespace qs {
class GroupManager;
}

namespace qs::win32 {

class Win32GroupsWindow final : public GroupManagerView {
 public:
  // `owner` is the entry editor, `centreOver` the main window. Throws
  // std::runtime_error when the window cannot be created.
  Win32GroupsWindow(HINSTANCE instance, HWND owner, HWND centreOver);
  Win32GroupsWindow(const Win32GroupsWindow&) = delete;
  Win32GroupsWindow& operator=(const Win32GroupsWindow&) = delete;

  HWND hwnd() const { return hwnd_.get(); }
  // The window's events reach the group manager's logic from now on.
  void Attach(GroupManager& logic) { logic_ = &logic; }

  // GroupManagerView: typeuslug_table
  void ClearCells() override;
  void SetRowCount(std::size_t rows) override;
  void SetCell(std::size_t row, std::string_view utf8) override;
  std::size_t SelectedRow() const override;
  void ShowModal() override;
  void Close() override;

 private:
  template <typename W>
  friend LRESULT CALLBACK ObjectWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool PreTranslateMessage(MSG& msg);
  void OnCommand(int id, int code);
  void OnGridNotify(const NMHDR& header);
  void Label1MouseDown(POINT client);
  void PaintBackground(HDC dc) const;
  void PaintTitle(HDC dc) const;
  void ShowSelection();

  void CreateControls(HINSTANCE instance);
  void ApplyDpi(UINT dpi);
  HWND Item(int id) const { return ::GetDlgItem(hwnd(), id); }
  HWND Grid() const;

  HWND owner_;
  HWND centreOver_;
  unique_hwnd hwnd_;
  GroupManager* logic_ = nullptr;
  ViewFonts fonts_;
  std::optional<Tooltips> tooltips_;
  FocusKeeper focus_;
  UINT dpi_ = kBaseDpi;
  // A string grid always has a selected row; the list view under it can
  // lose its selection to a click on empty space, so the row is kept here.
  std::size_t selectedRow_ = 0;
  bool modal_ = false;
  bool closed_ = false;
};

}  // namespace qs::win32
