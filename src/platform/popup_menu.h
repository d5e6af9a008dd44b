// Popup menus as a tree of data; the platform renders them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/handles.h"

namespace qs {

enum class MenuPicture { None, Folder, Clipboard };

struct MenuItem {
  std::string caption;      // Windows-1251, passed to the menu as it stands
  std::optional<int> tag;   // row index; none for group and clipboard items
  MenuPicture picture = MenuPicture::None;
  std::vector<MenuItem> children;  // a submenu when not empty

  friend bool operator==(const MenuItem&, const MenuItem&) = default;
};

class PopupMenuPort {
 public:
  virtual ~PopupMenuPort() = default;
  // Opens the menu (the children of root) with its top-left corner at the
  // point and returns the tag of the chosen item, or none when the menu was
  // dismissed or an item without tag was chosen. Returns when it has closed.
  // `generation` changes whenever the tree does, so a renderer may cache.
  virtual std::optional<int> TrackPopup(const MenuItem& root, unsigned long long generation,
                                        ScreenPoint at) = 0;
};

}  // namespace qs
