// Characters posted to a window of our own, and the message pump.
#include "platform/win32/win32_input.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "model/cp1251.h"
#include "win32/test_environment.h"

namespace qs::win32 {
namespace {

WindowHandle Handle(HWND hwnd) { return reinterpret_cast<WindowHandle>(hwnd); }

TEST(Win32Input, EveryByteArrivesAsItsUtf16Character) {
  test::ProbeWindow probe;
  Win32Input input;
  std::wstring expected;
  for (int b = 1; b < 256; ++b) {
    ASSERT_EQ(input.PostChar(Handle(probe.hwnd()), static_cast<unsigned char>(b)), PostResult::Ok);
    expected.push_back(static_cast<wchar_t>(Cp1251CodePoint(static_cast<unsigned char>(b))));
  }
  input.ProcessMessages();
  ASSERT_EQ(probe.chars.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(probe.chars[i], expected[i]) << "byte 0x" << std::hex << (i + 1);
  }
}

TEST(Win32Input, PostToAWindowThatIsGoneFails) {
  HWND gone = nullptr;
  {
    test::ProbeWindow probe;
    gone = probe.hwnd();
  }
  EXPECT_EQ(Win32Input().PostChar(Handle(gone), 0xC0), PostResult::Failed);
}

TEST(Win32Input, RoundTripNeedsAWindowThatAnswers) {
  HWND gone = nullptr;
  {
    test::ProbeWindow probe;
    gone = probe.hwnd();
    EXPECT_TRUE(Win32Input().RoundTrip(Handle(probe.hwnd()), 1000));
  }
  EXPECT_FALSE(Win32Input().RoundTrip(Handle(gone), 1000));
}

TEST(Win32Input, ProcessMessagesLeavesTheQuitRequestForTheMainLoop) {
  test::ProbeWindow probe;
  Win32Input input;
  ASSERT_EQ(input.PostChar(Handle(probe.hwnd()), 'a'), PostResult::Ok);
  ::PostQuitMessage(7);
  input.ProcessMessages();
  EXPECT_EQ(probe.chars, L"a");

  MSG msg{};
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST(Win32Input, WindowThreadAndFocusQuery) {
  test::ProbeWindow probe;
  Win32Input input;
  const ThreadId thread = input.WindowThread(Handle(probe.hwnd()));
  EXPECT_EQ(thread, ::GetCurrentThreadId());
  // The record's size must be right for the query to succeed at all.
  EXPECT_TRUE(input.FocusWindowOf(thread).has_value());
  EXPECT_FALSE(input.FocusWindowOf(0xFFFFFFF0u).has_value());
}

TEST(Win32Input, CtrlHasItsPcScanCode) {
  EXPECT_EQ(Win32Input().ScanCodeOf(VK_CONTROL), 0x1D);
}

}  // namespace
}  // namespace qs::win32
