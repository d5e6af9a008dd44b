// The global hotkey: the shortcut value, its text, and its registration.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/hotkey.h"

namespace qs {

inline constexpr int kSnippetHotkeyId = 1;
inline constexpr std::uint16_t kShiftBit = 0x2000;
inline constexpr std::uint16_t kCtrlBit = 0x4000;
inline constexpr std::uint16_t kAltBit = 0x8000;

// "Shift+", "Ctrl+", "Alt+" as set, then the key's name (Windows-1251); the
// whole text is empty when the key has no name.
std::string ShortcutText(std::uint16_t value, HotkeyPort& hotkey);

// The byte itself for the digits 0x30..0x39 and the capitals 0x41..0x5A, else 0.
unsigned LetterOrDigitKey(unsigned char code);

struct HotkeyRegistration {
  unsigned mask = 0;  // MOD_ALT 1 | MOD_CONTROL 2 | MOD_SHIFT 4
  unsigned vk = 0;
  friend bool operator==(const HotkeyRegistration&, const HotkeyRegistration&) = default;
};

// What ApplyHotKey would register for the text; none when the text has no
// modifier. `value` is the current shortcut value of the hotkey field.
std::optional<HotkeyRegistration> ParseHotKey(std::string_view text, int id, std::uint16_t value);

enum class HotkeyOutcome { NotRegistered, Registered, Refused };

// Unregisters id and registers it again with what ParseHotKey gives.
HotkeyOutcome ApplyHotKey(HotkeyPort& hotkey, std::string_view text, int id, std::uint16_t value);

}  // namespace qs
