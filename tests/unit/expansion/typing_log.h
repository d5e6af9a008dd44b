// Helpers for reading and writing the fake input's log in typing tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "fakes/fake_platform.h"

namespace qs::test {

inline constexpr WindowHandle kFocus = 0x501;

// One "Char" line per byte, as TypeText posts them.
inline EventLog Chars(std::string_view bytes, WindowHandle window = kFocus) {
  EventLog out;
  for (const char c : bytes) {
    out.push_back("Char " + Hex(static_cast<unsigned>(window)) + " " +
                  Hex(static_cast<unsigned char>(c)));
  }
  return out;
}

// What PressKey sends for one key tag.
inline EventLog KeyTag(std::uint8_t vk) {
  const std::string key = "Key " + Hex(vk) + " scan 0x00 flags ";
  return {key + "3", key + "1", key + "3", "Sleep 50"};
}

inline EventLog Join(std::initializer_list<EventLog> parts) {
  EventLog out;
  for (const EventLog& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// The bytes the windows took, in order (refused posts left out).
inline std::string TypedText(const EventLog& log) {
  std::string out;
  for (const std::string& line : log) {
    if (line.rfind("Char ", 0) != 0) continue;
    const std::size_t byteAt = line.find(' ', 5) + 1;
    if (line.find(' ', byteAt) != std::string::npos) continue;
    out += static_cast<char>(std::stoul(line.substr(byteAt, 4), nullptr, 16));
  }
  return out;
}

}  // namespace qs::test
