#include "activation/hotkey.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace qs {
namespace {

using test::EventLog;
using test::FakeHotkey;

TEST(ShortcutText, ModifiersInFixedOrderThenTheKeyName) {
  struct Case {
    std::uint16_t value;
    std::string expected;
  };
  const Case cases[] = {
      {0xC04B, "Ctrl+Alt+K"},
      {0xE079, "Shift+Ctrl+Alt+F10"},
      {0x2021, "Shift+PgUp"},
      {0x0074, "F5"},
      {0x4037, "Ctrl+7"},
      {0x4087, "Ctrl+F24"},
      {0x8065, "Alt+5"},  // keypad 5 reads as the digit
      {0x4060, "Ctrl+0"},
      {0x6008, "Shift+Ctrl+BkSp"},
      {0x8020, "Alt+Space"},
      {0x402E, "Ctrl+Del"},
      {0x401B, "Ctrl+Esc"},
      {0x40BA, "Ctrl+;"},            // named by the system
      {0x80C0, "Alt+\xB8"},          // a Cyrillic system name stays in Windows-1251
      {0x40BB, ""},                  // the system has no name: no text at all
      {0x0000, ""},
  };
  EventLog log;
  FakeHotkey hotkey(log);
  hotkey.keyNames = {{0xBA, ";"}, {0xC0, "\xB8"}};
  for (const Case& c : cases) {
    EXPECT_EQ(ShortcutText(c.value, hotkey), c.expected) << test::Hex(c.value);
  }
}

TEST(LetterOrDigitKey, OnlyDigitsAndCapitals) {
  for (int b = 0; b < 256; ++b) {
    const bool keeps = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z');
    EXPECT_EQ(LetterOrDigitKey(static_cast<unsigned char>(b)), keeps ? unsigned(b) : 0u) << b;
  }
}

// The settings loader's path: the field's value, its text, one registration.
TEST(ApplyHotKey, RegistersWhatTheShortcutNames) {
  struct Case {
    std::uint16_t value;
    std::optional<HotkeyRegistration> expected;  // none: nothing registered
  };
  const Case cases[] = {
      {0xC04B, HotkeyRegistration{3, 0x4B}},  // Ctrl+Alt+K, the letter from the value
      {0xE079, HotkeyRegistration{7, 0x79}},  // F10, not F1
      {0x2021, HotkeyRegistration{4, 0x21}},  // PgUp, not Up
      {0x8026, HotkeyRegistration{1, 0x26}},
      {0x4037, HotkeyRegistration{2, 0x37}},
      {0x4024, HotkeyRegistration{2, 0x24}},
      {0x2022, HotkeyRegistration{4, 0x22}},
      {0x4070, HotkeyRegistration{2, 0x70}},
      {0x0074, std::nullopt},  // F5 alone
      {0x004B, std::nullopt},
      // Keys the name search cannot tell: their own code from the value.
      {0x407A, HotkeyRegistration{2, 0x7A}},  // F11 ("F1" in its text)
      {0x4083, HotkeyRegistration{2, 0x83}},  // F20 ("F2" in its text)
      {0x4087, HotkeyRegistration{2, 0x87}},  // F24
      {0x8020, HotkeyRegistration{1, 0x20}},  // Space
      {0x4065, HotkeyRegistration{2, 0x65}},  // keypad 5
      {0x4060, HotkeyRegistration{2, 0x60}},  // keypad 0
      {0x4009, HotkeyRegistration{2, 0x09}},  // Tab
      {0x400D, HotkeyRegistration{2, 0x0D}},
      {0x201B, HotkeyRegistration{4, 0x1B}},
      {0xC008, HotkeyRegistration{3, 0x08}},
      {0x402E, HotkeyRegistration{2, 0x2E}},  // Del
      {0x40BA, HotkeyRegistration{2, 0xBA}},  // ";"
      {0x40DE, HotkeyRegistration{2, 0xDE}},  // "'"
      {0x405B, HotkeyRegistration{2, 0x5B}},  // "Left Windows" must not become Left
  };
  for (const Case& c : cases) {
    EventLog log;
    FakeHotkey hotkey(log);
    hotkey.keyNames = {{0xBA, ";"}, {0xDE, "'"}, {0x5B, "Left Windows"}};
    hotkey.registered[kSnippetHotkeyId] = {2, 0x51};  // an earlier registration
    const std::string text = ShortcutText(c.value, hotkey);
    const HotkeyOutcome outcome = ApplyHotKey(hotkey, text, kSnippetHotkeyId, c.value);
    SCOPED_TRACE(test::Hex(c.value) + " " + text);
    if (c.expected) {
      EXPECT_EQ(outcome, HotkeyOutcome::Registered);
      EXPECT_EQ(log, (EventLog{"Unregister 1", "Register 1 mask " + std::to_string(c.expected->mask) +
                                                   " vk " + test::Hex(c.expected->vk)}));
    } else {
      EXPECT_EQ(outcome, HotkeyOutcome::NotRegistered);
      EXPECT_TRUE(log.empty());
      EXPECT_EQ(hotkey.registered[kSnippetHotkeyId], (std::pair<unsigned, unsigned>{2, 0x51}));
    }
  }
}

TEST(ParseHotKey, SearchesTheWordsCaseSensitivelyAnywhere) {
  struct Case {
    std::string_view text;
    int id;
    std::uint16_t value;
    std::optional<HotkeyRegistration> expected;
  };
  const Case cases[] = {
      {"ctrl+alt+k", 1, 0xC04B, std::nullopt},
      {"CTRL+K", 1, 0x404B, std::nullopt},
      {"xAltx", 1, 0, HotkeyRegistration{1, 0}},
      {"Shift+Ctrl+Alt+PgDn", 1, 0, HotkeyRegistration{7, 0x22}},
      {"Ctrl+K", 2, 0x404B, HotkeyRegistration{2, 0}},    // the value speaks for id 1 only
      {"Ctrl+F11", 2, 0x407A, HotkeyRegistration{2, 0x70}},
      {"Ctrl+Up", 1, 0x4041, HotkeyRegistration{2, 0x26}},  // a table name wins over a letter
      {"", 1, 0x404B, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseHotKey(c.text, c.id, c.value), c.expected) << c.text;
  }
}

TEST(ApplyHotKey, ReportsARefusedCombination) {
  EventLog log;
  FakeHotkey hotkey(log);
  hotkey.refuse = true;
  EXPECT_EQ(ApplyHotKey(hotkey, "Ctrl+Alt+K", 1, 0xC04B), HotkeyOutcome::Refused);
  EXPECT_EQ(log, (EventLog{"Unregister 1", "Register 1 mask 3 vk 0x4B refused"}));
  EXPECT_TRUE(hotkey.registered.empty());
}

}  // namespace
}  // namespace qs
