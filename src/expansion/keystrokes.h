// Key tags as keystrokes injected into the system's keyboard input.
#pragma once

#include <cstdint>

#include "platform/input.h"

namespace qs {

inline constexpr std::uint8_t kVkTab = 0x09;
inline constexpr std::uint8_t kVkReturn = 0x0D;
inline constexpr std::uint8_t kVkControl = 0x11;
inline constexpr std::uint8_t kVkLeft = 0x25;
inline constexpr std::uint8_t kVkUp = 0x26;
inline constexpr std::uint8_t kVkRight = 0x27;
inline constexpr std::uint8_t kVkDown = 0x28;

inline constexpr int kKeyTagPauseMs = 50;

// Release, press, release of the key, then the pause.
void PressKey(InputPort& input, std::uint8_t vk);
// Ctrl down, Enter as PressKey sends it, Ctrl up, then the pause.
void PressCtrlEnter(InputPort& input);

}  // namespace qs
