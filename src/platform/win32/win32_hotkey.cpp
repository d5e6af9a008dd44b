#include "platform/win32/win32_hotkey.h"

#include <windows.h>

#include <iterator>

#include "platform/win32/text_convert.h"

namespace qs::win32 {
namespace {

HWND Window(const WindowSource& source) { return reinterpret_cast<HWND>(source ? source() : 0); }

// These keys share scan codes with the numeric keypad; only the extended
// bit tells "Home" from "Num 7" when the system names them.
bool IsExtendedKey(unsigned vk) {
  switch (vk) {
    case VK_PRIOR: case VK_NEXT: case VK_END: case VK_HOME:
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
    case VK_INSERT: case VK_DELETE: case VK_DIVIDE: case VK_NUMLOCK:
    case VK_SNAPSHOT: case VK_RCONTROL: case VK_RMENU:
    case VK_LWIN: case VK_RWIN: case VK_APPS:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool Win32Hotkey::Register(int id, unsigned mask, unsigned vk) {
  return ::RegisterHotKey(Window(window_), id, mask, vk) != FALSE;
}

void Win32Hotkey::Unregister(int id) { ::UnregisterHotKey(Window(window_), id); }

std::string Win32Hotkey::KeyName(unsigned vk) {
  const UINT scan = ::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  if (scan == 0) return {};
  LONG lParam = static_cast<LONG>((scan & 0xFF) << 16);
  if (IsExtendedKey(vk)) lParam |= 1L << 24;
  wchar_t name[64] = {};
  const int length = ::GetKeyNameTextW(lParam, name, static_cast<int>(std::size(name)));
  return length > 0 ? WideToCp1251({name, static_cast<std::size_t>(length)}) : std::string();
}

}  // namespace qs::win32
