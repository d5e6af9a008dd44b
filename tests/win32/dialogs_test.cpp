// Message boxes and the input box, answered by a timer of the test while
// their modal loop runs.
#include "platform/win32/win32_dialogs.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "model/cp1251.h"
#include "platform/win32/win32_input_box.h"
#include "win32/test_environment.h"

namespace qs::win32 {
namespace {

using test::WhenDialogShown;

std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  ::GetWindowTextW(window, text, 512);
  return text;
}

struct ChildSearch {
  std::wstring text;
  bool found = false;
};

BOOL CALLBACK MatchChildText(HWND child, LPARAM param) {
  auto* search = reinterpret_cast<ChildSearch*>(param);
  if (TextOf(child) == search->text) search->found = true;
  return !search->found;
}

bool HasChildWithText(HWND dialog, const std::wstring& text) {
  ChildSearch search{text};
  ::EnumChildWindows(dialog, MatchChildText, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Message boxes keep their icon control; only its picture tells.
BOOL CALLBACK FindIconPicture(HWND child, LPARAM param) {
  wchar_t cls[16] = {};
  ::GetClassNameW(child, cls, 16);
  if (_wcsicmp(cls, L"Static") == 0 && ::SendMessageW(child, STM_GETICON, 0, 0) != 0) {
    *reinterpret_cast<bool*>(param) = true;
    return FALSE;
  }
  return TRUE;
}

bool ShowsIcon(HWND dialog) {
  bool found = false;
  ::EnumChildWindows(dialog, FindIconPicture, reinterpret_cast<LPARAM>(&found));
  return found;
}

// A key as the user presses it on the focused control, so the dialog
// manager's default-button and Esc handling is what answers.
void PressKey(HWND dialog, WPARAM vk) {
  HWND focus = ::GetFocus();
  ::PostMessageW(focus ? focus : dialog, WM_KEYDOWN, vk, 1);
  ::PostMessageW(focus ? focus : dialog, WM_KEYUP, vk, 0xC0000001);
}

class Win32DialogsTest : public testing::Test {
 protected:
  test::ProbeWindow owner;
  Win32Dialogs dialogs{[this] { return reinterpret_cast<WindowHandle>(owner.hwnd()); }};
};

TEST_F(Win32DialogsTest, MessageAndErrorShowTheTextUnderTheProgramsTitle) {
  struct Case {
    const char* name;
    void (Win32Dialogs::*show)(std::string_view);
    bool icon;
  };
  const Case cases[] = {
      {"message", &Win32Dialogs::ShowMessage, false},
      {"error", &Win32Dialogs::ShowError, true},
  };
  for (const Case& c : cases) {
    WhenDialogShown(
        [&](HWND box) {
          EXPECT_EQ(TextOf(box), L"Quipstream") << c.name;
          EXPECT_TRUE(HasChildWithText(box, L"\u041D\u0435\u0442 \u0437\u0430\u043F\u0438\u0441\u0435\u0439"))
              << c.name;  // "Нет записей"
          EXPECT_EQ(::GetWindow(box, GW_OWNER), owner.hwnd()) << c.name;
          EXPECT_EQ(ShowsIcon(box), c.icon) << c.name;
          PressKey(box, VK_RETURN);
        },
        [&] { (dialogs.*c.show)("Нет записей"_cp1251); });
  }
}

TEST_F(Win32DialogsTest, ConfirmIsYesByDefaultAndNoOnRequest) {
  bool answer = false;
  WhenDialogShown(
      [&](HWND box) {
        EXPECT_EQ(TextOf(box), L"\u0423\u0434\u0430\u043B\u0435\u043D\u0438\u0435");  // "Удаление"
        EXPECT_FALSE(ShowsIcon(box));
        PressKey(box, VK_RETURN);
      },
      [&] { answer = dialogs.Confirm("Удалить группу?"_cp1251, "Удаление"_cp1251); });
  EXPECT_TRUE(answer);

  WhenDialogShown([](HWND box) { ::PostMessageW(box, WM_COMMAND, IDNO, 0); },
                  [&] { answer = dialogs.Confirm("Удалить группу?"_cp1251, "Удаление"_cp1251); });
  EXPECT_FALSE(answer);
}

TEST_F(Win32DialogsTest, InputBoxStartsSelectedAndReturnsTheEditedText) {
  std::optional<std::string> result;
  WhenDialogShown(
      [&](HWND box) {
        HWND edit = ::GetDlgItem(box, kInputBoxEditId);
        EXPECT_EQ(TextOf(box), L"\u0413\u0440\u0443\u043F\u043F\u0430");  // "Группа"
        EXPECT_EQ(TextOf(::GetDlgItem(box, kInputBoxPromptId)),
                  L"\u041D\u043E\u0432\u043E\u0435 \u0438\u043C\u044F:");  // "Новое имя:"
        EXPECT_EQ(TextOf(edit), L"\u0421\u0442\u0430\u0440\u043E\u0435");  // "Старое"
        EXPECT_EQ(::GetFocus(), edit);
        DWORD from = 1, to = 0;
        ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        EXPECT_EQ(from, 0u);
        EXPECT_EQ(to, 6u);
        EXPECT_EQ(::SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 255);
        EXPECT_EQ(::GetWindow(box, GW_OWNER), owner.hwnd());
        // Typed over the selection; one character has no Windows-1251 byte.
        ::SetWindowTextW(edit, L"\u041D\u043E\u0432\u0430\u044F \u20AC \u4E2D");
        PressKey(box, VK_RETURN);
      },
      [&] { result = dialogs.InputBox("Группа"_cp1251, "Новое имя:"_cp1251, "Старое"_cp1251); });
  EXPECT_EQ(result, std::string("Новая € ?"_cp1251));
}

TEST_F(Win32DialogsTest, InputBoxUtf8KeepsWhatCp1251CannotHold) {
  std::optional<std::string> result;
  WhenDialogShown(
      [](HWND box) {
        ::SetWindowTextW(::GetDlgItem(box, kInputBoxEditId), L"\u041D\u043E\u0432\u0430\u044F \u4E2D");
        PressKey(box, VK_RETURN);
      },
      [&] { result = dialogs.InputBoxUtf8("Группа"_cp1251, "Имя:"_cp1251, ""); });
  EXPECT_EQ(result, "Новая 中");
}

TEST_F(Win32DialogsTest, InputBoxCancelledByEscOrCloseGivesNothing) {
  const std::function<void(HWND)> answers[] = {
      [](HWND box) { PressKey(box, VK_ESCAPE); },
      [](HWND box) { ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0); },
      [](HWND box) { ::PostMessageW(box, WM_CLOSE, 0, 0); },
  };
  for (const auto& answer : answers) {
    std::optional<std::string> result = "not asked";
    WhenDialogShown(answer, [&] { result = dialogs.InputBox("Группа"_cp1251, "Имя:"_cp1251, "x"); });
    EXPECT_EQ(result, std::nullopt);
  }
}

TEST_F(Win32DialogsTest, InputBoxGrowsForALongPrompt) {
  std::string longPrompt;
  for (int i = 0; i < 60; ++i) longPrompt += "word ";
  WhenDialogShown(
      [&](HWND box) {
        RECT prompt{}, edit{};
        ::GetWindowRect(::GetDlgItem(box, kInputBoxPromptId), &prompt);
        ::GetWindowRect(::GetDlgItem(box, kInputBoxEditId), &edit);
        EXPECT_GT(prompt.bottom - prompt.top, 30) << "the prompt needs several lines";
        EXPECT_GE(edit.top, prompt.bottom) << "the field must stay below the prompt";
        PressKey(box, VK_ESCAPE);
      },
      [&] { dialogs.InputBox("Q", longPrompt, ""); });
}

}  // namespace
}  // namespace qs::win32
