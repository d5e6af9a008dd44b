// Quipstream's entry point: one instance, three windows, one message loop.
#include <windows.h>
#include <commctrl.h>

#include <exception>

#include "app/main_window.h"
#include "app/single_instance.h"
#include "platform/win32/text_convert.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_editor_window.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_groups_window.h"
#include "platform/win32/win32_hotkey.h"
#include "platform/win32/win32_input.h"
#include "platform/win32/win32_main_window.h"
#include "platform/win32/win32_mutex.h"
#include "platform/win32/win32_popup_menu.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_timers.h"
#include "platform/win32/win32_tray.h"
#include "platform/win32/xmllite_reader.h"

namespace {

using namespace qs;
using namespace qs::win32;

int RunMessageLoop(Win32MainWindow& mainWindow) {
  MSG msg;
  BOOL got;
  while ((got = ::GetMessageW(&msg, nullptr, 0, 0)) != 0) {
    if (got == -1) return 1;
    if (mainWindow.PreTranslateMessage(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

int Run(HINSTANCE instance, int showCommand) {
  // Held while the program runs: it is what tells a second copy to leave.
  Win32InstanceMutex instanceMutex;
  if (AlreadyRunning(instanceMutex)) return 0;

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);

  // The hotkey and the message boxes belong to the main window, which does
  // not exist yet: they ask for its handle when they need it.
  HWND mainHwnd = nullptr;
  const WindowSource mainWindowHandle = [&mainHwnd] {
    return reinterpret_cast<WindowHandle>(mainHwnd);
  };
  Win32Files files;
  Win32Registry registry;
  XmlLiteReader xml;
  Win32Clipboard clipboard;
  Win32Input input;
  Win32Hotkey hotkey(mainWindowHandle);
  Win32Clock clock;
  Win32Dialogs dialogs(mainWindowHandle);

  Win32MainWindow mainWindow(instance);
  mainHwnd = mainWindow.hwnd();
  Win32Tray tray(instance, mainHwnd);
  Win32PopupMenu menus(instance, mainHwnd);
  Win32Timers timers(mainHwnd);

  MainWindow core(Platform{mainWindow, tray, menus, timers, files, registry, dialogs, xml, hotkey,
                           input, clipboard, clock});
  mainWindow.Attach(core, tray);
  core.FormCreate();

  Win32EditorWindow editor(instance, mainHwnd);
  Win32GroupsWindow groups(instance, editor.hwnd());

  // Visible during start-up; the first tick of the start-up timer hides it
  // when there are saved settings.
  ::ShowWindow(mainHwnd, showCommand == SW_HIDE ? SW_SHOWNORMAL : showCommand);
  ::UpdateWindow(mainHwnd);
  return RunMessageLoop(mainWindow);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  try {
    return Run(instance, showCommand);
  } catch (const std::exception& e) {
    ::MessageBoxW(nullptr, Cp1251ToWide(e.what()).c_str(), L"Quipstream", MB_OK | MB_ICONERROR);
    return 1;
  }
}
