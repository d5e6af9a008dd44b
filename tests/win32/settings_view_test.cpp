// The settings window's view over its real controls: rows, selection,
// options, command states, and where a dragged row would land.
#include "platform/win32/win32_settings_view.h"

#include <commctrl.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/win32_main_window.h"
#include "platform/win32/win32_view_layout.h"

namespace qs::win32 {
namespace {

HWND ChildWithText(HWND parent, const std::wstring& text) {
  struct Search {
    std::wstring text;
    HWND found = nullptr;
  } search{text};
  ::EnumChildWindows(
      parent,
      [](HWND child, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        if (WindowText(child) == s->text) s->found = child;
        return s->found == nullptr;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND ChildOfClass(HWND parent, const wchar_t* cls) {
  return ::FindWindowExW(parent, nullptr, cls, nullptr);
}

std::wstring CellText(HWND list, int row, int column) {
  wchar_t text[256] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 256;
  ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

std::vector<ListRow> FourRows() {
  return {{"A", "текст A", "Без группы"},
          {"B", "текст B", "Работа"},
          {"C", "текст C", "Дом"},
          {"D", "текст D", "Работа"}};
}

class SettingsViewTest : public testing::Test {
 protected:
  Win32MainWindow window{::GetModuleHandleW(nullptr)};
  Win32SettingsView& view = window.settingsView();
  HWND list = ChildOfClass(window.hwnd(), WC_LISTVIEWW);
};

TEST_F(SettingsViewTest, ShowsRowsAndKeepsSelectionByPosition) {
  view.ShowRows(FourRows());
  ASSERT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_EQ(CellText(list, 1, 0), L"B");
  EXPECT_EQ(CellText(list, 1, 1), L"текст B");
  EXPECT_EQ(CellText(list, 2, 2), L"Дом");
  EXPECT_EQ(view.SelectedRow(), std::nullopt);

  view.SelectRow(2);
  EXPECT_EQ(view.SelectedRow(), 2u);
  view.SelectRow(1);
  EXPECT_EQ(view.SelectedRow(), 1u) << "one selected row at most";
  view.SelectRow(std::nullopt);
  EXPECT_EQ(view.SelectedRow(), std::nullopt);

  view.SelectRow(3);
  view.ShowRows({{"X", "x", "Без группы"}});
  EXPECT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(view.SelectedRow(), std::nullopt) << "new rows start unselected";
}

TEST_F(SettingsViewTest, OptionsComeBackAsTheyWereShown) {
  const Options cases[] = {
      {0xC04B, false, false},
      {0x4025, true, false},  // Ctrl+Left: an extended key
      {0x0074, false, true},  // F5 alone
      {0, true, true},
  };
  for (const Options& shown : cases) {
    view.ShowOptions(shown);
    const auto edited = view.EditedOptions();
    ASSERT_TRUE(edited.has_value());
    EXPECT_EQ(*edited, shown) << "hotkey " << std::hex << shown.hotkey;
  }
}

TEST_F(SettingsViewTest, CommandStatesReachTheButtons) {
  HWND moveUp = ChildWithText(window.hwnd(), L"Переместить выше");
  HWND edit = ChildWithText(window.hwnd(), L"Редактировать");
  ASSERT_TRUE(moveUp && edit);
  EXPECT_TRUE(::IsWindowEnabled(moveUp)) << "every command starts enabled";
  view.SetCommandEnabled(RowCommand::MoveUp, false);
  EXPECT_FALSE(::IsWindowEnabled(moveUp));
  EXPECT_TRUE(::IsWindowEnabled(edit));
  view.SetCommandEnabled(RowCommand::MoveUp, true);
  EXPECT_TRUE(::IsWindowEnabled(moveUp));
}

TEST_F(SettingsViewTest, DropTargetIsTheRowAtTheHeightOfThePoint) {
  view.ShowRows(FourRows());
  ::SetWindowPos(window.hwnd(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
  ::UpdateWindow(window.hwnd());

  RECT row2{};
  row2.left = LVIR_BOUNDS;
  ASSERT_TRUE(::SendMessageW(list, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row2)));
  RECT client{};
  ::GetClientRect(list, &client);
  HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
  RECT headerRect{};
  ::GetWindowRect(header, &headerRect);
  RECT save{};
  ::GetWindowRect(ChildWithText(window.hwnd(), L"Сохранить"), &save);

  auto screen = [&](int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(list, &p);
    return p;
  };
  const int middle = (row2.top + row2.bottom) / 2;
  struct Case {
    const char* name;
    POINT at;
    bool onList;
    std::optional<std::size_t> row;
  };
  const Case cases[] = {
      {"first column", screen(row2.left + 5, middle), true, 2},
      {"right of the last column", screen(client.right - 3, middle), true, 2},
      {"below the last row", screen(5, client.bottom - 5), true, std::nullopt},
      {"the header", Centre(headerRect), false, std::nullopt},
      {"another control", Centre(save), false, std::nullopt},
  };
  for (const Case& c : cases) {
    const ListDropTarget target = DropTargetAt(list, c.at);
    EXPECT_EQ(target.onList, c.onList) << c.name;
    EXPECT_EQ(target.row, c.row) << c.name;
  }
  ::ShowWindow(window.hwnd(), SW_HIDE);
}

}  // namespace
}  // namespace qs::win32
