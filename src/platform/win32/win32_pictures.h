// The program's small pictures (resources/pictures*.bmp): for menu items as
// alpha bitmaps and for buttons as icons, at the size the DPI asks for.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/win32/handle_types.h"
#include "platform/win32/win32_ui_metrics.h"

namespace qs::win32 {

// The cells of the picture strips, in this order.
enum class Picture { Folder, Clipboard, Add, Edit, Delete, MoveUp, MoveDown };
inline constexpr int kPictureCount = 7;

// The side in pixels of a 16-pixel picture at this DPI, among the sizes the
// strips are drawn at (16, 20, 24, 32): the largest that is not too big.
int PictureSize(UINT dpi);

// A 32-bit top-down DIB section with premultiplied alpha, as menus and
// AlphaBlend take it; or, with a matte, opaque over that colour. Null when
// the resource is missing or damaged.
unique_hbitmap LoadPictureBitmap(HINSTANCE instance, Picture picture, int size,
                                 std::optional<COLORREF> matte = std::nullopt);

// The same picture as an icon (straight alpha), for buttons.
unique_hicon LoadPictureIcon(HINSTANCE instance, Picture picture, int size);

// The steps of the above, apart for testing.
// One cell of a strip (a packed 32-bit DIB, top-down or bottom-up) as
// straight-alpha BGRA pixels, top row first; empty when the data is not a
// strip of pictures of this size.
std::vector<std::uint32_t> StripCell(std::span<const std::uint8_t> packedDib, Picture picture,
                                     int size);
unique_hbitmap MakePictureBitmap(const std::vector<std::uint32_t>& cell, int size,
                                 std::optional<COLORREF> matte);

}  // namespace qs::win32
