// The snippet menu's tree rendered into HMENUs: captions, separators,
// submenus, pictures, and command ids that lead back to the tags.
#include "platform/win32/win32_popup_menu.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/cp1251.h"
#include "platform/win32/text_convert.h"

namespace qs::win32 {
namespace {

MenuItem Entry(std::string_view caption, int tag) { return {std::string(caption), tag, {}, {}}; }

MenuItem Group(std::string_view caption, MenuPicture picture, std::vector<MenuItem> children) {
  return {std::string(caption), std::nullopt, picture, std::move(children)};
}

struct Pictures {
  unique_hbitmap folder{::CreateBitmap(1, 1, 1, 32, nullptr)};
  unique_hbitmap clipboard{::CreateBitmap(1, 1, 1, 32, nullptr)};
  MenuPictures handles() const { return {folder.get(), clipboard.get()}; }
};

// One line per item, depth-first: "path caption [picture] -> tag".
void Describe(HMENU menu, const std::string& path, const Pictures& pictures,
              const std::vector<int>& tags, std::vector<std::string>& out) {
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_ID | MIIM_SUBMENU | MIIM_BITMAP;
    info.dwTypeData = text;
    info.cch = 255;
    ASSERT_TRUE(::GetMenuItemInfoW(menu, i, TRUE, &info));
    std::string line = path + std::to_string(i) + " ";
    if (info.fType & MFT_SEPARATOR) {
      out.push_back(line + "separator");
      continue;
    }
    line += "'" + Cp1251ToUtf8(WideToCp1251(text)) + "'";
    if (info.hbmpItem == pictures.folder.get()) line += " [folder]";
    if (info.hbmpItem == pictures.clipboard.get()) line += " [clipboard]";
    if (info.hSubMenu) {
      out.push_back(line + " submenu");
      Describe(info.hSubMenu, path + std::to_string(i) + "/", pictures, tags, out);
    } else if (info.wID == 0) {
      out.push_back(line + " -> none");
    } else {
      ASSERT_LE(info.wID, tags.size()) << line;
      out.push_back(line + " -> " + std::to_string(tags[info.wID - 1]));
    }
  }
}

TEST(RenderMenu, TreeBecomesMenusWithPicturesAndTags) {
  const MenuItem root = Group(
      "", MenuPicture::None,
      {
          Entry("Привет"_cp1251, 0),
          Entry("&Адрес"_cp1251, 1),
          Entry("-", 2),
          Entry("", 3),
          Group("Работа"_cp1251, MenuPicture::Folder, {Entry("Письмо"_cp1251, 4), Entry("-x", 6)}),
          Group("Пустая"_cp1251, MenuPicture::Folder, {}),
          Group("Буфер обмена"_cp1251, MenuPicture::Clipboard, {Entry("текст"_cp1251, 19999)}),
      });
  Pictures pictures;
  std::vector<int> tags;
  const unique_hmenu menu = RenderMenu(root, pictures.handles(), tags);
  ASSERT_TRUE(menu);

  std::vector<std::string> lines;
  Describe(menu.get(), "", pictures, tags, lines);
  const std::vector<std::string> expected = {
      "0 'Привет' -> 0",
      "1 '&Адрес' -> 1",  // the access key marker stays for the menu to draw
      "2 separator",
      "3 '' -> 3",  // an empty caption is an item, not a separator
      "4 'Работа' [folder] submenu",
      "4/0 'Письмо' -> 4",
      "4/1 '-x' -> 6",
      "5 'Пустая' [folder] -> none",  // an empty group does nothing
      "6 'Буфер обмена' [clipboard] submenu",
      "6/0 'текст' -> 19999",
  };
  EXPECT_EQ(lines, expected);
}

TEST(RenderMenu, EmptyTreeGivesAnEmptyMenuAndForgetsEarlierTags) {
  Pictures pictures;
  std::vector<int> tags = {7, 8};
  const unique_hmenu menu = RenderMenu(MenuItem{}, pictures.handles(), tags);
  ASSERT_TRUE(menu);
  EXPECT_EQ(::GetMenuItemCount(menu.get()), 0);
  EXPECT_TRUE(tags.empty());
}

}  // namespace
}  // namespace qs::win32
