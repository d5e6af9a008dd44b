// The snippet menu: the core's MenuItem tree rendered into HMENUs and kept
// until the tree's generation or the screen's DPI changes.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "platform/popup_menu.h"
#include "platform/win32/handle_types.h"
#include "platform/win32/win32_ui_metrics.h"

namespace qs::win32 {

struct MenuPictures {
  HBITMAP folder = nullptr;
  HBITMAP clipboard = nullptr;
};

// The children of root as a popup menu. An item with a tag gets the command
// id n + 1 where tags[n] is its tag; other items without children get id 0
// and so do nothing. Captions pass as they stand ('&' marks the access key),
// and a caption of a lone hyphen is a separator line.
unique_hmenu RenderMenu(const MenuItem& root, const MenuPictures& pictures, std::vector<int>& tags);

class Win32PopupMenu final : public PopupMenuPort {
 public:
  Win32PopupMenu(HINSTANCE instance, HWND owner) : instance_(instance), owner_(owner) {}

  std::optional<int> TrackPopup(const MenuItem& root, unsigned long long generation,
                                ScreenPoint at) override;

 private:
  void Build(const MenuItem& root, unsigned long long generation, UINT dpi);

  HINSTANCE instance_;
  HWND owner_;
  // The pictures outlive the menu that shows them.
  unique_hbitmap folder_;
  unique_hbitmap clipboard_;
  unique_hmenu menu_;
  std::optional<unsigned long long> builtGeneration_;
  UINT builtDpi_ = 0;
  bool tracking_ = false;
  std::vector<int> tags_;  // command id - 1 -> the item's tag
};

}  // namespace qs::win32
