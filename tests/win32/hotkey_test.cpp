// The hotkey on a window that the service finds only when it needs it.
#include "platform/win32/win32_hotkey.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "win32/test_environment.h"

namespace qs::win32 {
namespace {

constexpr unsigned kCtrlAltShift = MOD_CONTROL | MOD_ALT | MOD_SHIFT;

WindowSource SourceOf(const test::ProbeWindow& window) {
  return [&window] { return reinterpret_cast<WindowHandle>(window.hwnd()); };
}

TEST(Win32Hotkey, CombinationIsHeldUntilUnregistered) {
  test::ProbeWindow mainWindow, otherWindow;
  Win32Hotkey ours(SourceOf(mainWindow));
  Win32Hotkey theirs(SourceOf(otherWindow));

  ASSERT_TRUE(ours.Register(1, kCtrlAltShift, VK_F12));
  EXPECT_FALSE(theirs.Register(1, kCtrlAltShift, VK_F12)) << "taken by the other window";
  ours.Unregister(1);
  EXPECT_TRUE(theirs.Register(1, kCtrlAltShift, VK_F12));
  theirs.Unregister(1);
}

TEST(Win32Hotkey, WindowIsAskedForAtRegistration) {
  test::ProbeWindow mainWindow;
  HWND current = nullptr;  // the main window does not exist yet
  Win32Hotkey hotkey([&current] { return reinterpret_cast<WindowHandle>(current); });
  current = mainWindow.hwnd();
  ASSERT_TRUE(hotkey.Register(1, kCtrlAltShift, VK_F11));
  // Only a registration on that very window can be undone there.
  EXPECT_TRUE(::UnregisterHotKey(mainWindow.hwnd(), 1));
}

TEST(Win32Hotkey, KeyNamesComeFromTheLayout) {
  Win32Hotkey hotkey(nullptr);
  EXPECT_EQ(hotkey.KeyName('K'), "K");
  EXPECT_EQ(hotkey.KeyName(VK_F5), "F5");
  // The navigation keys share scan codes with the keypad; the extended bit
  // must tell them apart.
  const std::string home = hotkey.KeyName(VK_HOME);
  const std::string num7 = hotkey.KeyName(VK_NUMPAD7);
  EXPECT_FALSE(home.empty());
  EXPECT_NE(home, num7);
  EXPECT_EQ(hotkey.KeyName(0xFF), "") << "a code without a key has no name";
}

}  // namespace
}  // namespace qs::win32
