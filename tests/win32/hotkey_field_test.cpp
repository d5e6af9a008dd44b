// The hotkey field's word and the program's shortcut value, both ways.
#include "platform/win32/win32_hotkey_field.h"

#include <commctrl.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

namespace qs::win32 {
namespace {

struct Mapping {
  const char* name;
  WORD field;
  std::uint16_t shortcut;
};

// Pairs that map onto each other in both directions.
constexpr Mapping kBothWays[] = {
    {"none", 0, 0},
    {"key alone", MAKEWORD(VK_F5, 0), 0x0074},
    {"Ctrl+Alt+K", MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT), 0xC04B},
    {"Shift+F9", MAKEWORD(VK_F9, HOTKEYF_SHIFT), 0x2078},
    {"Ctrl+Shift+Alt+Z", MAKEWORD('Z', HOTKEYF_CONTROL | HOTKEYF_SHIFT | HOTKEYF_ALT), 0xE05A},
    {"modifier without key", MAKEWORD(0, HOTKEYF_CONTROL), 0x4000},
    // Keys that exist only as extended keys carry HOTKEYF_EXT in the field.
    {"Ctrl+Left", MAKEWORD(VK_LEFT, HOTKEYF_CONTROL | HOTKEYF_EXT), 0x4025},
    {"Alt+Insert", MAKEWORD(VK_INSERT, HOTKEYF_ALT | HOTKEYF_EXT), 0x802D},
    {"Home", MAKEWORD(VK_HOME, HOTKEYF_EXT), 0x0024},
    {"keypad 4", MAKEWORD(VK_NUMPAD4, HOTKEYF_CONTROL), 0x4064},
};

TEST(HotkeyField, MapsBothWays) {
  for (const Mapping& m : kBothWays) {
    EXPECT_EQ(ShortcutFromHotkeyField(m.field), m.shortcut) << m.name;
    EXPECT_EQ(HotkeyFieldFromShortcut(m.shortcut), m.field) << m.name;
  }
}

// What the field may report but the shortcut value cannot say.
TEST(HotkeyField, DropsWhatTheShortcutCannotHold) {
  const Mapping cases[] = {
      // A field set without HOTKEYF_EXT for an extended key still names it.
      {"Ctrl+Left without the extended flag", MAKEWORD(VK_LEFT, HOTKEYF_CONTROL), 0x4025},
      {"extended flag on an ordinary key", MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_EXT), 0x404B},
  };
  for (const Mapping& m : cases) EXPECT_EQ(ShortcutFromHotkeyField(m.field), m.shortcut) << m.name;
}

TEST(HotkeyField, IgnoresUnusedShortcutBits) {
  // Bits 0x0100 to 0x1000 mean nothing in a shortcut value.
  EXPECT_EQ(HotkeyFieldFromShortcut(0x1F4B), MAKEWORD('K', 0));
}

}  // namespace
}  // namespace qs::win32
