#include "platform/win32/win32_popup_menu.h"

#include <string>

#include "platform/win32/text_convert.h"
#include "platform/win32/win32_pictures.h"

namespace qs::win32 {
namespace {

bool IsSeparator(const MenuItem& item) { return item.caption == "-"; }

HBITMAP PictureOf(MenuPicture picture, const MenuPictures& pictures) {
  switch (picture) {
    case MenuPicture::Folder: return pictures.folder;
    case MenuPicture::Clipboard: return pictures.clipboard;
    case MenuPicture::None: break;
  }
  return nullptr;
}

// AppendMenuW rather than InsertMenuItemW: under Wine it is many times
// faster on menus of thousands of items, which the user's entries can make.
void AppendItems(HMENU menu, const std::vector<MenuItem>& items, const MenuPictures& pictures,
                 std::vector<int>& tags) {
  UINT position = 0;
  for (const MenuItem& item : items) {
    if (IsSeparator(item)) {
      if (::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr)) ++position;
      continue;
    }

    UINT flags = MF_STRING;
    UINT_PTR id = 0;
    unique_hmenu submenu;
    if (!item.children.empty()) {
      submenu.reset(::CreatePopupMenu());
      if (submenu) {
        AppendItems(submenu.get(), item.children, pictures, tags);
        flags |= MF_POPUP;
        id = reinterpret_cast<UINT_PTR>(submenu.get());
      }
    } else if (item.tag) {
      tags.push_back(*item.tag);
      id = tags.size();
    }
    if (!::AppendMenuW(menu, flags, id, Cp1251ToWide(item.caption).c_str())) continue;
    submenu.release();  // the parent menu owns it now

    if (HBITMAP picture = PictureOf(item.picture, pictures)) {
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_BITMAP;
      info.hbmpItem = picture;
      ::SetMenuItemInfoW(menu, position, TRUE, &info);
    }
    ++position;
  }
}

// Windows draws a 32-bit item bitmap with its alpha channel; Wine copies it
// as it is, so there the pictures get the menu's colour behind them.
std::optional<COLORREF> PictureMatte() {
  HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  const bool wine = ntdll && ::GetProcAddress(ntdll, "wine_get_version");
  if (!wine) return std::nullopt;
  return ::GetSysColor(COLOR_MENU);
}

}  // namespace

unique_hmenu RenderMenu(const MenuItem& root, const MenuPictures& pictures,
                        std::vector<int>& tags) {
  tags.clear();
  unique_hmenu menu(::CreatePopupMenu());
  if (menu) AppendItems(menu.get(), root.children, pictures, tags);
  return menu;
}

std::optional<int> Win32PopupMenu::TrackPopup(const MenuItem& root, unsigned long long generation,
                                              ScreenPoint at) {
  // A hotkey handled inside the open menu's loop must not rebuild the menu
  // under it; the system would refuse a second menu anyway.
  if (tracking_) return std::nullopt;
  const UINT dpi = WindowDpi(owner_);
  if (!menu_ || builtGeneration_ != generation || builtDpi_ != dpi) Build(root, generation, dpi);
  if (!menu_) return std::nullopt;

  tracking_ = true;
  const UINT chosen = static_cast<UINT>(
      ::TrackPopupMenu(menu_.get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                       at.x, at.y, 0, owner_, nullptr));
  tracking_ = false;
  // Lets the next click after a dismissed menu reach its window at once.
  ::PostMessageW(owner_, WM_NULL, 0, 0);
  if (chosen == 0 || chosen > tags_.size()) return std::nullopt;
  return tags_[chosen - 1];
}

// A menu of many thousand entries takes a while to build, so a hotkey press
// only rebuilds it after the entries changed.
void Win32PopupMenu::Build(const MenuItem& root, unsigned long long generation, UINT dpi) {
  menu_.reset();  // before the pictures it shows
  builtGeneration_.reset();
  if (builtDpi_ != dpi) {
    const int size = PictureSize(dpi);
    const std::optional<COLORREF> matte = PictureMatte();
    folder_ = LoadPictureBitmap(instance_, Picture::Folder, size, matte);
    clipboard_ = LoadPictureBitmap(instance_, Picture::Clipboard, size, matte);
    builtDpi_ = dpi;
  }
  menu_ = RenderMenu(root, MenuPictures{folder_.get(), clipboard_.get()}, tags_);
  if (menu_) builtGeneration_ = generation;
}

}  // namespace qs::win32
