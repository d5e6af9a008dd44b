// The system-wide hotkey registered on the main window.
#pragma once

#include <string>

namespace qs {

class HotkeyPort {
 public:
  virtual ~HotkeyPort() = default;
  // mask: MOD_ALT 1 | MOD_CONTROL 2 | MOD_SHIFT 4. False when the system refused.
  virtual bool Register(int id, unsigned mask, unsigned vk) = 0;
  virtual void Unregister(int id) = 0;
  // The system's name of the key in the current layout (Windows-1251);
  // empty when it has none.
  virtual std::string KeyName(unsigned vk) = 0;
};

}  // namespace qs
