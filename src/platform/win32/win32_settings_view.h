// The settings window's view over its Win32 controls: the entry list
// ListView1, the command buttons and PopupMenu2's items, the hotkey field
// HK0 and the two check boxes.
#pragma once

#include <windows.h>

#include <array>
#include <optional>

#include "platform/win32/handle_types.h"
#include "platform/win32/win32_ui_metrics.h"
#include "ui/settings_view.h"

namespace qs::win32 {

struct SettingsControls {
  HWND list;        // ListView1
  HWND add;         // SpeedButton1
  HWND edit;        // SpeedButton2
  HWND remove;      // SpeedButton3
  HWND moveUp;      // SpeedButton6
  HWND moveDown;    // SpeedButton7
  HWND hotkey;      // HK0
  HWND autostart;   // CheckBox1
  HWND monitoring;  // CheckBox2
};

// The items of PopupMenu2, by command identifier.
enum class ListMenuItem : UINT { N3 = 1, N4, N5, N7, N8 };

class Win32SettingsView final : public SettingsView {
 public:
  Win32SettingsView(HINSTANCE instance, HWND window, const SettingsControls& controls);

  // ListSelection
  std::optional<std::size_t> SelectedRow() const override;
  // SettingsView
  void ShowRows(const std::vector<ListRow>& rows) override;
  void SelectRow(std::optional<std::size_t> row) override;
  void SetCommandEnabled(RowCommand command, bool enabled) override;
  void BeginUpdate() override;
  void EndUpdate() override;
  void ShowOptions(const Options& options) override;
  void FocusHotkeyField() override;

  // Column widths and the pictures of the buttons and menu items.
  void ApplyDpi(UINT dpi);
  // Opens PopupMenu2 at a screen point and returns the item picked.
  std::optional<ListMenuItem> TrackListMenu(POINT screen);
  // The menu's pictures are drawn by the window (HBMMENU_CALLBACK), with
  // their alpha channel on every system. True when the item was one of them.
  bool MeasureMenuPicture(MEASUREITEMSTRUCT& item) const;
  bool DrawMenuPicture(const DRAWITEMSTRUCT& item) const;
  // The options as the controls show them; none while ShowOptions is still
  // filling them in, when their change notices are not the user's.
  std::optional<Options> EditedOptions() const;

 private:
  void CreateListMenu();
  HBITMAP PictureOf(ListMenuItem item) const;

  HINSTANCE instance_;
  HWND window_;
  SettingsControls controls_;
  unique_hmenu listMenu_;
  // Add, Edit, Delete, MoveUp, MoveDown: shared by the buttons and the menu.
  std::array<unique_hbitmap, 5> pictures_;
  int pictureSize_ = 16;
  int updateDepth_ = 0;
  bool showingOptions_ = false;
};

}  // namespace qs::win32
