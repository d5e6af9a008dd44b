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
#include "ui/entry_editor.h"
#include "ui/group_manager.h"
#include "ui/settings_window.h"

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

  // The hotkey belongs to the main window, which does not exist yet: it asks
  // for the handle when it needs it. Message boxes belong to whichever of
  // the three windows the user is working in.
  HWND mainHwnd = nullptr;
  HWND editorHwnd = nullptr;
  HWND groupsHwnd = nullptr;
  const WindowSource mainWindowHandle = [&mainHwnd] {
    return reinterpret_cast<WindowHandle>(mainHwnd);
  };
  const WindowSource dialogOwner = [&] {
    for (HWND modal : {groupsHwnd, editorHwnd}) {
      if (modal && ::IsWindowVisible(modal)) return reinterpret_cast<WindowHandle>(modal);
    }
    return reinterpret_cast<WindowHandle>(mainHwnd);
  };
  Win32Files files;
  Win32Registry registry;
  XmlLiteReader xml;
  Win32Clipboard clipboard;
  Win32Input input;
  Win32Hotkey hotkey(mainWindowHandle);
  Win32Clock clock;
  Win32Dialogs dialogs(dialogOwner);

  // The three windows, in this order, for the whole run.
  Win32MainWindow mainWindow(instance);
  mainHwnd = mainWindow.hwnd();
  Win32EditorWindow editorWindow(instance, mainHwnd);
  editorHwnd = editorWindow.hwnd();
  Win32GroupsWindow groupsWindow(instance, editorHwnd, mainHwnd);
  groupsHwnd = groupsWindow.hwnd();
  Win32Tray tray(instance, mainHwnd);
  Win32PopupMenu menus(instance, mainHwnd);
  Win32Timers timers(mainHwnd);

  MainWindow core(Platform{mainWindow, tray, menus, timers, files, registry, dialogs, xml, hotkey,
                           input, clipboard, clock});
  Win32SettingsView& settingsView = mainWindow.settingsView();
  GroupManager groupManager(core.model(), groupsWindow, editorWindow, dialogs, settingsView);
  EntryEditor editor(core.model(), editorWindow, dialogs, settingsView, groupManager);
  SettingsWindow settings(core.model(), settingsView, dialogs, editor,
                          [&core] { core.BitBtn2Click(); });
  groupsWindow.Attach(groupManager);
  editorWindow.Attach(editor);
  mainWindow.AttachSettings(settings);
  // Every reload shows the model in the list again.
  core.SetSettingsView(&settings);
  mainWindow.Attach(core, tray);
  core.FormCreate();

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
