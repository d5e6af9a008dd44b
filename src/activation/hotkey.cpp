#include "activation/hotkey.h"

#include <array>

namespace qs {

namespace {

constexpr unsigned kModAlt = 1;
constexpr unsigned kModControl = 2;
constexpr unsigned kModShift = 4;

struct NamedKey {
  std::string_view name;
  unsigned vk;
};

// Keys that the shortcut text names by a word of its own.
constexpr std::array<NamedKey, 15> kDisplayNames{{
    {"BkSp", 0x08}, {"Tab", 0x09},   {"Enter", 0x0D}, {"Esc", 0x1B},  {"Space", 0x20},
    {"PgUp", 0x21}, {"PgDn", 0x22},  {"End", 0x23},   {"Home", 0x24}, {"Left", 0x25},
    {"Up", 0x26},   {"Right", 0x27}, {"Down", 0x28},  {"Ins", 0x2D},  {"Del", 0x2E},
}};

// The names ApplyHotKey looks for, in the order it tests them. A later match
// wins, which is what makes "PgUp" beat "Up" and "F10" beat "F1".
constexpr std::array<NamedKey, 19> kKeyNameTable{{
    {"Right", 0x27}, {"Left", 0x25}, {"Up", 0x26},  {"Down", 0x28}, {"Ins", 0x2D},
    {"Home", 0x24},  {"End", 0x23},  {"PgUp", 0x21}, {"PgDn", 0x22}, {"F1", 0x70},
    {"F2", 0x71},    {"F3", 0x72},   {"F4", 0x73},  {"F5", 0x74},   {"F6", 0x75},
    {"F7", 0x76},    {"F8", 0x77},   {"F9", 0x78},  {"F10", 0x79},
}};

bool Contains(std::string_view text, std::string_view word) {
  return text.find(word) != std::string_view::npos;
}

bool InKeyNameTable(unsigned vk) {
  for (const NamedKey& row : kKeyNameTable) {
    if (row.vk == vk) return true;
  }
  return false;
}

std::string KeyText(unsigned vk, HotkeyPort& hotkey) {
  for (const NamedKey& key : kDisplayNames) {
    if (key.vk == vk) return std::string(key.name);
  }
  if (LetterOrDigitKey(static_cast<unsigned char>(vk)) != 0) return std::string(1, static_cast<char>(vk));
  if (vk >= 0x60 && vk <= 0x69) return std::string(1, static_cast<char>('0' + (vk - 0x60)));
  if (vk >= 0x70 && vk <= 0x87) return "F" + std::to_string(vk - 0x70 + 1);
  return hotkey.KeyName(vk);
}

}  // namespace

std::string ShortcutText(std::uint16_t value, HotkeyPort& hotkey) {
  const std::string key = KeyText(value & 0xFFu, hotkey);
  if (key.empty()) return {};
  std::string text;
  if (value & kShiftBit) text += "Shift+";
  if (value & kCtrlBit) text += "Ctrl+";
  if (value & kAltBit) text += "Alt+";
  return text + key;
}

unsigned LetterOrDigitKey(unsigned char code) {
  const bool digit = code >= 0x30 && code <= 0x39;
  const bool capital = code >= 0x41 && code <= 0x5A;
  return digit || capital ? code : 0;
}

std::optional<HotkeyRegistration> ParseHotKey(std::string_view text, int id, std::uint16_t value) {
  unsigned mask = 0;
  if (Contains(text, "Alt")) mask |= kModAlt;
  if (Contains(text, "Ctrl")) mask |= kModControl;
  if (Contains(text, "Shift")) mask |= kModShift;
  if (mask == 0) return std::nullopt;

  unsigned vk = 0;
  for (const NamedKey& row : kKeyNameTable) {
    if (Contains(text, row.name)) vk = row.vk;
  }
  if (id == kSnippetHotkeyId) {
    const unsigned own = value & 0xFFu;
    if (vk == 0) vk = LetterOrDigitKey(static_cast<unsigned char>(own));
    // The name search alone would turn F11..F24 into F1 or F2 and leave Space,
    // Tab, the keypad and the punctuation keys without a code; the field's
    // value knows the key, so register that.
    if (own != 0 && !InKeyNameTable(own) && LetterOrDigitKey(static_cast<unsigned char>(own)) == 0) {
      vk = own;
    }
  }
  return HotkeyRegistration{mask, vk};
}

HotkeyOutcome ApplyHotKey(HotkeyPort& hotkey, std::string_view text, int id, std::uint16_t value) {
  const std::optional<HotkeyRegistration> parsed = ParseHotKey(text, id, value);
  if (!parsed) return HotkeyOutcome::NotRegistered;
  hotkey.Unregister(id);
  return hotkey.Register(id, parsed->mask, parsed->vk) ? HotkeyOutcome::Registered
                                                      : HotkeyOutcome::Refused;
}

}  // namespace qs
