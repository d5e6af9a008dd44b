// HK0, the system's hotkey-entry control, speaks HKM_GETHOTKEY's word: the
// virtual key in the low byte and HOTKEYF_* flags in the high byte. The
// program keeps the shortcut value: virtual key in the low byte, 0x2000
// Shift, 0x4000 Ctrl, 0x8000 Alt.
#pragma once

#include <windows.h>

#include <cstdint>

namespace qs::win32 {

// HOTKEYF_EXT has no place in the shortcut value and is dropped.
std::uint16_t ShortcutFromHotkeyField(WORD fieldValue);

// HOTKEYF_EXT is set again for the keys that only exist as extended keys
// (arrows, Insert, Delete, Home, End, Page Up, Page Down, ...), or the field
// would name them after their keypad twins ("Num 4" for the left arrow).
WORD HotkeyFieldFromShortcut(std::uint16_t shortcut);

}  // namespace qs::win32
