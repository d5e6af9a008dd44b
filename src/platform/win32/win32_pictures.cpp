#include "platform/win32/win32_pictures.h"

#include <cstring>

#include "../../../resources/resource_ids.h"

namespace qs::win32 {
namespace {

struct Strip {
  int size;
  WORD resource;
};
constexpr Strip kStrips[] = {
    {16, IDB_PICTURES16}, {20, IDB_PICTURES20}, {24, IDB_PICTURES24}, {32, IDB_PICTURES32}};

std::span<const std::uint8_t> StripResource(HINSTANCE instance, int size) {
  WORD id = 0;
  for (const Strip& s : kStrips) {
    if (s.size == size) id = s.resource;
  }
  if (id == 0) return {};
  HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(id), RT_BITMAP);
  HGLOBAL loaded = found ? ::LoadResource(instance, found) : nullptr;
  const auto* bytes = loaded ? static_cast<const std::uint8_t*>(::LockResource(loaded)) : nullptr;
  if (!bytes) return {};
  return {bytes, ::SizeofResource(instance, found)};
}

std::uint32_t Premultiplied(std::uint32_t bgra) {
  const std::uint32_t a = bgra >> 24;
  auto channel = [a](std::uint32_t v) { return (v * a + 127) / 255; };
  return (a << 24) | (channel((bgra >> 16) & 0xFF) << 16) | (channel((bgra >> 8) & 0xFF) << 8) |
         channel(bgra & 0xFF);
}

// Straight alpha over an opaque colour, as BGRA with alpha 255.
std::uint32_t Over(std::uint32_t bgra, COLORREF matte) {
  const std::uint32_t a = bgra >> 24;
  auto mix = [a](std::uint32_t fg, std::uint32_t bg) {
    return (fg * a + bg * (255 - a) + 127) / 255;
  };
  return 0xFF000000u | (mix((bgra >> 16) & 0xFF, GetRValue(matte)) << 16) |
         (mix((bgra >> 8) & 0xFF, GetGValue(matte)) << 8) | mix(bgra & 0xFF, GetBValue(matte));
}

unique_hbitmap MakeDib(int size, const std::vector<std::uint32_t>& pixels) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  unique_hbitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return {};
  std::memcpy(bits, pixels.data(), pixels.size() * sizeof(std::uint32_t));
  ::GdiFlush();
  return bitmap;
}

}  // namespace

int PictureSize(UINT dpi) {
  const int wanted = Scale(16, dpi);
  int best = kStrips[0].size;
  for (const Strip& s : kStrips) {
    if (s.size <= wanted) best = s.size;
  }
  return best;
}

std::vector<std::uint32_t> StripCell(std::span<const std::uint8_t> dib, Picture picture, int size) {
  BITMAPINFOHEADER header;
  if (size <= 0 || dib.size() < sizeof header) return {};
  std::memcpy(&header, dib.data(), sizeof header);
  const std::size_t side = static_cast<std::size_t>(size);
  const std::size_t rowPixels = side * kPictureCount;
  const LONG height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  if (header.biSize < sizeof header || header.biBitCount != 32 || header.biCompression != BI_RGB ||
      height != size || header.biWidth != static_cast<LONG>(rowPixels) ||
      dib.size() < header.biSize + rowPixels * side * 4) {
    return {};
  }
  const std::uint8_t* pixels = dib.data() + header.biSize;
  std::vector<std::uint32_t> cell(side * side);
  for (std::size_t y = 0; y < side; ++y) {
    const std::size_t sourceRow = header.biHeight < 0 ? y : side - 1 - y;
    const std::uint8_t* row =
        pixels + (sourceRow * rowPixels + static_cast<std::size_t>(picture) * side) * 4;
    std::memcpy(&cell[y * side], row, side * 4);
  }
  return cell;
}

unique_hbitmap MakePictureBitmap(const std::vector<std::uint32_t>& cell, int size,
                                 std::optional<COLORREF> matte) {
  if (size <= 0 || cell.size() != static_cast<std::size_t>(size) * size) return {};
  std::vector<std::uint32_t> pixels(cell.size());
  for (std::size_t i = 0; i < cell.size(); ++i) {
    pixels[i] = matte ? Over(cell[i], *matte) : Premultiplied(cell[i]);
  }
  return MakeDib(size, pixels);
}

unique_hbitmap LoadPictureBitmap(HINSTANCE instance, Picture picture, int size,
                                 std::optional<COLORREF> matte) {
  return MakePictureBitmap(StripCell(StripResource(instance, size), picture, size), size, matte);
}

unique_hicon LoadPictureIcon(HINSTANCE instance, Picture picture, int size) {
  const auto cell = StripCell(StripResource(instance, size), picture, size);
  if (cell.empty()) return {};
  unique_hbitmap colour = MakeDib(size, cell);  // icons take straight alpha
  // Drawing uses the alpha channel; the mask must exist all the same.
  const std::vector<std::uint8_t> clear(static_cast<std::size_t>((size + 15) / 16) * 2 * size, 0);
  unique_hbitmap mask(::CreateBitmap(size, size, 1, 1, clear.data()));
  if (!colour || !mask) return {};
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = colour.get();
  info.hbmMask = mask.get();
  return unique_hicon(::CreateIconIndirect(&info));
}

}  // namespace qs::win32
