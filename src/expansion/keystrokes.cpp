#include "expansion/keystrokes.h"

namespace qs {

namespace {

constexpr std::uint32_t kExtendedKey = 0x0001;
constexpr std::uint32_t kKeyUp = 0x0002;

// Release, press, release, every one marked extended and without a scan
// code, Tab and Enter included: the sequence the receiving programs have
// always been sent. The leading release does nothing when the key is up.
void SendKeyTriple(InputPort& input, std::uint8_t vk) {
  input.KeyEvent(vk, 0, kExtendedKey | kKeyUp);
  input.KeyEvent(vk, 0, kExtendedKey);
  input.KeyEvent(vk, 0, kExtendedKey | kKeyUp);
}

}  // namespace

void PressKey(InputPort& input, std::uint8_t vk) {
  SendKeyTriple(input, vk);
  input.Sleep(kKeyTagPauseMs);
}

void PressCtrlEnter(InputPort& input) {
  input.KeyEvent(kVkControl, input.ScanCodeOf(kVkControl), 0);
  SendKeyTriple(input, kVkReturn);
  input.KeyEvent(kVkControl, input.ScanCodeOf(kVkControl), kKeyUp);
  input.Sleep(kKeyTagPauseMs);
}

}  // namespace qs
