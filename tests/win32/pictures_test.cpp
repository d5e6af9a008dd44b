// The picture strips: one cell cut out whichever way the rows are stored,
// damaged data refused, and the alpha made ready for menus.
#include "platform/win32/win32_pictures.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace qs::win32 {
namespace {

constexpr int kSide = 2;

// A strip of 2-pixel cells; each pixel tells its cell, column and row.
std::uint32_t Marker(int cell, int x, int y) { return 0xFF000000u | (cell << 16) | (x << 8) | y; }

std::vector<std::uint8_t> Strip(bool topDown, int side = kSide, WORD bits = 32) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = side * kPictureCount;
  header.biHeight = topDown ? -side : side;
  header.biPlanes = 1;
  header.biBitCount = bits;
  header.biCompression = BI_RGB;
  std::vector<std::uint8_t> data(sizeof header);
  std::memcpy(data.data(), &header, sizeof header);
  for (int row = 0; row < side; ++row) {
    const int y = topDown ? row : side - 1 - row;
    for (int cell = 0; cell < kPictureCount; ++cell) {
      for (int x = 0; x < side; ++x) {
        const std::uint32_t value = Marker(cell, x, y);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(&value);
        data.insert(data.end(), bytes, bytes + 4);
      }
    }
  }
  return data;
}

TEST(StripCell, CellComesOutTopRowFirstEitherWayTheRowsAreStored) {
  const std::vector<std::uint32_t> expected = {Marker(3, 0, 0), Marker(3, 1, 0), Marker(3, 0, 1),
                                               Marker(3, 1, 1)};
  for (bool topDown : {true, false}) {
    EXPECT_EQ(StripCell(Strip(topDown), Picture::Edit, kSide), expected) << "top-down " << topDown;
  }
}

TEST(StripCell, DataThatIsNotAStripOfThatSizeIsRefused) {
  const std::vector<std::uint8_t> whole = Strip(true);
  const std::vector<std::uint8_t> truncated(whole.begin(), whole.end() - 1);
  const std::vector<std::uint8_t> headerOnly(whole.begin(),
                                             whole.begin() + sizeof(BITMAPINFOHEADER));
  struct Case {
    const char* name;
    std::vector<std::uint8_t> data;
    int size;
  };
  const Case cases[] = {
      {"other size", whole, 3},        {"24 bits", Strip(true, kSide, 24), kSide},
      {"truncated", truncated, kSide}, {"header only", headerOnly, kSide},
      {"nothing", {}, kSide},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(StripCell(c.data, Picture::Folder, c.size).empty()) << c.name;
  }
}

std::vector<std::uint32_t> BitsOf(HBITMAP bitmap) {
  DIBSECTION dib{};
  if (::GetObjectW(bitmap, sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBitsPixel != 32) return {};
  const auto* bits = static_cast<const std::uint32_t*>(dib.dsBm.bmBits);
  return {bits, bits + dib.dsBm.bmWidth * dib.dsBm.bmHeight};
}

TEST(MakePictureBitmap, AlphaIsPremultipliedOrTheMatteFillsIn) {
  // BGRA as one number: opaque red, half-transparent white, transparent blue.
  const std::vector<std::uint32_t> cell = {0xFFFF0000u, 0x80FFFFFFu, 0x000000FFu, 0x00000000u};
  struct Case {
    const char* name;
    std::optional<COLORREF> matte;
    std::vector<std::uint32_t> expected;
  };
  const Case cases[] = {
      {"premultiplied", std::nullopt, {0xFFFF0000u, 0x80808080u, 0, 0}},
      {"over a matte", RGB(0x10, 0x20, 0x30), {0xFFFF0000u, 0xFF889098u, 0xFF102030u, 0xFF102030u}},
  };
  for (const Case& c : cases) {
    const unique_hbitmap bitmap = MakePictureBitmap(cell, kSide, c.matte);
    ASSERT_TRUE(bitmap) << c.name;
    EXPECT_EQ(BitsOf(bitmap.get()), c.expected) << c.name;
  }
  EXPECT_FALSE(MakePictureBitmap({}, kSide, std::nullopt)) << "no cell, no bitmap";
}

TEST(PictureSize, LargestDrawnSizeThatFitsTheDpi) {
  const struct {
    UINT dpi;
    int size;
  } cases[] = {{72, 16}, {96, 16}, {120, 20}, {144, 24}, {168, 24}, {192, 32}, {288, 32}};
  for (const auto& c : cases) EXPECT_EQ(PictureSize(c.dpi), c.size) << c.dpi << " dpi";
}

}  // namespace
}  // namespace qs::win32
