// All the services the core reaches the operating system through.
#pragma once

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/hotkey.h"
#include "platform/input.h"
#include "platform/main_window.h"
#include "platform/popup_menu.h"
#include "platform/registry.h"
#include "platform/timers.h"
#include "platform/tray.h"
#include "platform/xml_reader.h"

namespace qs {

struct Platform {
  MainWindowPort& window;
  TrayPort& tray;
  PopupMenuPort& menus;
  TimerPort& timers;
  FilePort& files;
  RegistryPort& registry;
  DialogPort& dialogs;
  XmlReaderPort& xml;
  HotkeyPort& hotkey;
  InputPort& input;
  ClipboardPort& clipboard;
  ClockPort& clock;
};

}  // namespace qs
