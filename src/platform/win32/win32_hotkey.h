// The system-wide hotkey, registered on the main window.
#pragma once

#include "platform/hotkey.h"
#include "platform/win32/window_source.h"

namespace qs::win32 {

class Win32Hotkey : public HotkeyPort {
 public:
  explicit Win32Hotkey(WindowSource window) : window_(std::move(window)) {}
  bool Register(int id, unsigned mask, unsigned vk) override;
  void Unregister(int id) override;
  std::string KeyName(unsigned vk) override;

 private:
  WindowSource window_;
};

}  // namespace qs::win32
