// The entry editor's window under its logic: the sorted group box, and the
// keys of the inserted-text field as Windows and Wine deliver them.
#include "platform/win32/win32_editor_window.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "model/entry_model.h"
#include "platform/win32/win32_groups_window.h"
#include "ui/entry_editor.h"
#include "ui/group_manager.h"
#include "ui/tag_buttons.h"

namespace qs::win32 {
namespace {

class SilentDialogs : public DialogPort {
 public:
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  void ShowError(std::string_view text) override { messages.emplace_back(text); }
  bool Confirm(std::string_view, std::string_view) override { return false; }
  std::optional<std::string> InputBox(std::string_view, std::string_view,
                                      std::string_view) override {
    return std::nullopt;
  }
  std::vector<std::string> messages;
};

class NoSelection : public ListSelection {
 public:
  std::optional<std::size_t> SelectedRow() const override { return std::nullopt; }
};

HWND MultiLineField(HWND window) {
  for (HWND child = ::FindWindowExW(window, nullptr, L"Edit", nullptr); child;
       child = ::FindWindowExW(window, child, L"Edit", nullptr)) {
    if (::GetWindowLongPtrW(child, GWL_STYLE) & ES_MULTILINE) return child;
  }
  return nullptr;
}

// Keys held down for the thread, as GetKeyState reads them; released again
// at the end.
class HeldKeys {
 public:
  explicit HeldKeys(std::initializer_list<BYTE> keys) {
    ::GetKeyboardState(saved_.data());
    std::array<BYTE, 256> state = saved_;
    for (BYTE key : keys) state[key] = 0x80;
    ::SetKeyboardState(state.data());
  }
  ~HeldKeys() { ::SetKeyboardState(saved_.data()); }

 private:
  std::array<BYTE, 256> saved_{};
};

std::size_t TagIndex(std::string_view caption) {
  const auto tags = TagButtons();
  for (std::size_t i = 0; i < tags.size(); ++i) {
    if (tags[i].caption == caption) return i;
  }
  ADD_FAILURE() << "no tag button " << caption;
  return tags.size();
}

class EditorWindowTest : public testing::Test {
 protected:
  EditorWindowTest() { window.Attach(editor); }

  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  Win32EditorWindow window{instance, nullptr};
  Win32GroupsWindow groupsWindow{instance, window.hwnd(), nullptr};
  EntryModel model;
  SilentDialogs dialogs;
  NoSelection noSelection;
  GroupManager groups{model, groupsWindow, window, dialogs, noSelection};
  EntryEditor editor{model, window, dialogs, noSelection, groups};
  HWND insertedField = MultiLineField(window.hwnd());
};

TEST_F(EditorWindowTest, GroupBoxKeepsItsSelectionWhenAnItemSortsBeforeIt) {
  window.AddGroupItem("Работа");
  ASSERT_TRUE(SelectGroupItem(window, "Работа"));
  window.AddGroupItem("Дом");
  window.AddGroupItem("Ёлка");
  EXPECT_EQ(window.GroupItemCount(), 3u);
  EXPECT_EQ(SelectedGroupItem(window), "Работа");
  EXPECT_EQ(window.GroupItem(0), "Дом");

  window.ClearGroupItems();
  EXPECT_EQ(window.GroupItemCount(), 0u);
  EXPECT_EQ(window.SelectedGroupIndex(), std::nullopt);
}

// Windows types Ctrl+Backspace as 127, Wine as 8: either way the last word
// goes and one space is typed.
TEST_F(EditorWindowTest, CtrlBackspaceCutsTheLastWordAndTypesASpace) {
  ASSERT_NE(insertedField, nullptr);
  for (const WPARAM typed : {WPARAM{127}, WPARAM{'\b'}}) {
    window.SetInsertedText("hello world");
    const HeldKeys held{VK_CONTROL, VK_BACK};
    ::SendMessageW(insertedField, WM_KEYDOWN, VK_BACK, 1);
    ::SendMessageW(insertedField, WM_CHAR, typed, 1);
    EXPECT_EQ(window.InsertedText(), "hello  ") << "typed as " << typed;
  }
}

TEST_F(EditorWindowTest, CtrlHIsNoCtrlBackspace) {
  ASSERT_NE(insertedField, nullptr);
  window.SetInsertedText("hello world");
  window.PutCaretAtEnd();
  const HeldKeys held{VK_CONTROL};
  ::SendMessageW(insertedField, WM_KEYDOWN, 'H', 1);
  ::SendMessageW(insertedField, WM_CHAR, '\b', 1);
  const std::string text = window.InsertedText();
  EXPECT_EQ(text.substr(0, 10), "hello worl") << "no word cut";
  EXPECT_EQ(text.find("  "), std::string::npos) << "no space typed";
}

TEST_F(EditorWindowTest, TagGoesInPlaceOfTheSelection) {
  ASSERT_NE(insertedField, nullptr);
  struct Case {
    const char* name;
    int from, to;
    const char* expected;
  };
  const Case cases[] = {
      {"caret between a and b", 1, 1, "a[TAB]b"},
      {"b selected", 1, 2, "a[TAB]"},
  };
  for (const Case& c : cases) {
    window.SetInsertedText("ab");
    ::SendMessageW(insertedField, EM_SETSEL, c.from, c.to);
    editor.SpeedButton1Click(TagIndex("[TAB]"));
    EXPECT_EQ(window.InsertedText(), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace qs::win32
