#include "platform/win32/win32_hotkey_field.h"

#include <commctrl.h>

namespace qs::win32 {
namespace {

constexpr std::uint16_t kShift = 0x2000, kCtrl = 0x4000, kAlt = 0x8000;

struct ModifierBit {
  BYTE field;
  std::uint16_t shortcut;
};
constexpr ModifierBit kModifiers[] = {
    {HOTKEYF_SHIFT, kShift}, {HOTKEYF_CONTROL, kCtrl}, {HOTKEYF_ALT, kAlt}};

bool IsExtendedKey(BYTE vk) {
  switch (vk) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_INSERT:
    case VK_DELETE:
    case VK_DIVIDE:
    case VK_NUMLOCK:
    case VK_LWIN:
    case VK_RWIN:
    case VK_APPS: return true;
    default: return false;
  }
}

}  // namespace

std::uint16_t ShortcutFromHotkeyField(WORD fieldValue) {
  std::uint16_t shortcut = LOBYTE(fieldValue);
  for (const ModifierBit& m : kModifiers) {
    if (HIBYTE(fieldValue) & m.field) shortcut |= m.shortcut;
  }
  return shortcut;
}

WORD HotkeyFieldFromShortcut(std::uint16_t shortcut) {
  const BYTE vk = static_cast<BYTE>(shortcut & 0xFF);
  BYTE flags = IsExtendedKey(vk) ? HOTKEYF_EXT : 0;
  for (const ModifierBit& m : kModifiers) {
    if (shortcut & m.shortcut) flags |= m.field;
  }
  return MAKEWORD(vk, flags);
}

}  // namespace qs::win32
