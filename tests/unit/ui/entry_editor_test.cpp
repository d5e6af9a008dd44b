#include "ui/entry_editor.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "ui/cp1251_check.h"
#include "ui_fixture.h"

namespace qs::test {
namespace {

using Texts = std::vector<std::string>;
constexpr unsigned kVkBack = 0x08;
constexpr KeysDown kCtrlBackspace{true, true};

class EntryEditorTest : public UiTest {
 protected:
  // The fields the user leaves in the dialog before pressing "Сохранить".
  void SaveWith(const std::string& menuText, const std::string& insertedText) {
    editorView.whileOpen = [=, this] {
      editorView.menuText = menuText;
      editorView.insertedText = insertedText;
      editor.btn1Click();
    };
  }
  std::string RowText(std::size_t i) const { return Cp1251ToUtf8(model.Row(i).longtext); }
  std::string RowGroup(std::size_t i) const {
    return Cp1251ToUtf8(model.Row(i).group.value_or(""));
  }
};

TEST_F(EntryEditorTest, SaveChecksTheTextsInOrder) {
  const std::string refused1F600 = Cp1251ToUtf8(OutsideCp1251Message(U'\U0001F600'));
  struct Case {
    const char* name;
    EditorMode mode;  // Edit works on row 1
    std::string menuText;
    std::string insertedText;
    const char* message;  // nullptr: accepted
    std::string storedMenu;
    std::string storedText;
  };
  const Case cases[] = {
      {"padded menu text", EditorMode::Add, "  Письмо  ", "x", nullptr, "Письмо", "x"},
      {"menu text in use", EditorMode::Add, "  Почта  ", "x", "Такой текст меню уже существует!",
       "", ""},
      {"another letter case", EditorMode::Add, "почта", "x", nullptr, "почта", "x"},
      {"capitals", EditorMode::Add, "ПОЧТА", "x", nullptr, "ПОЧТА", "x"},
      {"blank menu text", EditorMode::Add, " \t ", "x", "Не заполнен текст меню!", "", ""},
      {"both empty: menu text first", EditorMode::Add, "", "", "Не заполнен текст меню!", "", ""},
      {"spaces and line breaks", EditorMode::Add, "Новое", " \r\n  \r\n",
       "Не заполнен вставляемый текст!", "", ""},
      {"a single no-break space", EditorMode::Add, "Новое", "\u00A0", nullptr, "Новое", "\u00A0"},
      {"trailing line break", EditorMode::Add, "Новое", "line\r\n", nullptr, "Новое", "line"},
      {"inner breaks stay", EditorMode::Add, "Новое", " a  b\r\nc ", nullptr, "Новое", "a  b\r\nc"},
      {"edit to another row's menu text", EditorMode::Edit, "Почта", "y", nullptr, "Почта", "y"},
      {"edit keeps the emptiness check", EditorMode::Edit, "  ", "y", "Не заполнен текст меню!", "",
       ""},
      {"emoji in the menu text", EditorMode::Add, "😀", "x", refused1F600.c_str(), "", ""},
      {"menu text refused before inserted text", EditorMode::Add, "ā", "😀",
       "Символ «U+0101» нельзя сохранить: программа хранит тексты в кодировке Windows-1251", "",
       ""},
      {"emoji in the inserted text", EditorMode::Add, "ok", "x😀", refused1F600.c_str(), "", ""},
      {"refused before the duplicate check", EditorMode::Add, "Почта😀", "x", refused1F600.c_str(),
       "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    model = EntryModel();
    model.AppendEntry(Utf8ToCp1251("Почта"), "p", std::string(NoGroupName()));
    model.AppendEntry(Utf8ToCp1251("Дом"), "d", std::string(NoGroupName()));
    dialogs.messages.clear();
    SaveWith(c.menuText, c.insertedText);
    if (c.mode == EditorMode::Add)
      editor.OpenToAdd();
    else
      editor.OpenToEdit(1);

    if (c.message) {
      EXPECT_EQ(Messages(), Texts{c.message});
      EXPECT_TRUE(editorView.open);
      EXPECT_EQ(editorView.menuText, c.menuText);
      EXPECT_EQ(editorView.insertedText, c.insertedText);
      EXPECT_EQ(editor.mode(), c.mode);
      EXPECT_EQ(ModelMenuTexts(), (Texts{"Почта", "Дом"}));
      editor.BitBtn1Click();
      continue;
    }
    EXPECT_EQ(Messages(), Texts{});
    EXPECT_FALSE(editorView.open);
    EXPECT_EQ(editorView.menuText, "");
    EXPECT_EQ(editorView.insertedText, "");
    EXPECT_EQ(editor.mode(), EditorMode::None);
    const std::size_t row = c.mode == EditorMode::Add ? 2 : 1;
    ASSERT_EQ(model.RowCount(), c.mode == EditorMode::Add ? 3u : 2u);
    EXPECT_EQ(ModelMenuTexts()[row], c.storedMenu);
    EXPECT_EQ(RowText(row), c.storedText);
    EXPECT_EQ(RowGroup(row), "Без группы");
  }
}

TEST_F(EntryEditorTest, SavedEntryTakesTheGroupBoxSelectionAsItIs) {
  AddGroups({"Работа", " Дача"});
  editorView.whileOpen = [&] {
    ASSERT_TRUE(SelectGroupItem(editorView, " Дача"));
    editorView.menuText = "A";
    editorView.insertedText = "a";
    editor.btn1Click();
  };
  editor.OpenToAdd();
  ASSERT_EQ(model.RowCount(), 1u);
  EXPECT_EQ(RowGroup(0), " Дача");
}

TEST_F(EntryEditorTest, ShowingPreselectsTheSettingsRowsGroup) {
  struct Case {
    const char* name;
    const char* rowGroup;
    std::optional<std::size_t> selectedRow;
    const char* expected;
  };
  const Case cases[] = {
      {"nothing selected, another group sorts first", "Работа", std::nullopt, "Без группы"},
      {"the selected row's group", "Работа", 0, "Работа"},
      {"trimmed before the match", "  Работа ", 0, "Работа"},
      {"a group that is gone", "Старая", 0, "Без группы"},
      {"letter case must match", "работа", 0, "Без группы"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    model = EntryModel();
    AddGroups({"Работа", "Аптека", "Ёлка"});
    model.AppendEntry("A", "a", Utf8ToCp1251(c.rowGroup));
    listView.selected = c.selectedRow;
    editorView.whileOpen = [&] {
      EXPECT_EQ(editorView.groupItems, (Texts{"Аптека", "Без группы", "Ёлка", "Работа"}));
      EXPECT_EQ(editorView.SelectedGroupText(), c.expected);
      EXPECT_EQ(editorView.focus, FakeEditorFocus::MenuText);
      editor.BitBtn1Click();
    };
    editor.OpenToAdd();
    ASSERT_EQ(editorView.closed, editorView.shown);
  }
}

TEST_F(EntryEditorTest, EditingAnEntryWhoseGroupIsGoneMovesItToTheBuiltInGroup) {
  AddGroups({"Работа"});
  model.AppendEntry("A", "a", Utf8ToCp1251("Старая"));
  settings.ModelReloaded();
  listView.selected = 0;
  editorView.whileOpen = [&] { editor.btn1Click(); };
  settings.SpeedButton2Click();
  EXPECT_EQ(RowGroup(0), "Без группы");
  EXPECT_EQ(listView.rows[0].group, "Без группы");
}

TEST_F(EntryEditorTest, CancelEmptiesTheFieldsAndWritesNothing) {
  model.AppendEntry("A", "a", std::string(NoGroupName()));
  using Cancel = std::function<void()>;
  const Cancel cancels[] = {
      [&] { editor.BitBtn1Click(); }, [&] { EXPECT_TRUE(editor.FormKeyPress(27)); },
      [&] { editorView.Close(); },  // the title-bar close button
  };
  for (const auto& cancel : cancels) {
    editorView.whileOpen = [&] {
      EXPECT_FALSE(editor.FormKeyPress(U'x'));
      editorView.menuText = "B";
      editorView.insertedText = "b";
      cancel();
    };
    editor.OpenToEdit(0);
    EXPECT_FALSE(editorView.open);
    EXPECT_EQ(editorView.menuText, "");
    EXPECT_EQ(editorView.insertedText, "");
    EXPECT_EQ(editor.mode(), EditorMode::Edit);  // cancelling leaves the mode
    EXPECT_EQ(ModelMenuTexts(), Texts{"A"});
    EXPECT_EQ(RowText(0), "a");
  }
}

TEST_F(EntryEditorTest, TagButtonsInsertAtTheCaretOrOverTheSelection) {
  struct Case {
    const char* text;
    std::size_t selStart, selEnd;
    std::size_t button;
    const char* expected;
  };
  const Case cases[] = {
      {"ab", 1, 1, 3, "a[TAB]b"},    {"ab", 1, 2, 3, "a[TAB]"},
      {"", 0, 0, 0, "[ДД.ММ.ГГГГ]"}, {"x", 1, 1, 1, "x[ЧЧ:ММ]"},
      {"ab", 0, 2, 8, "[DOWN]"},     {"ab", 1, 1, 9, "ab"},  // no such button
  };
  for (const auto& c : cases) {
    editorView.insertedText = c.text;
    editorView.selStart = c.selStart;
    editorView.selEnd = c.selEnd;
    editorView.focus = FakeEditorFocus::MenuText;
    editor.SpeedButton1Click(c.button);
    EXPECT_EQ(editorView.insertedText, c.expected);
    EXPECT_EQ(editorView.focus, FakeEditorFocus::MenuText);
  }
  editorView.insertedText = "ab";
  editorView.selStart = editorView.selEnd = 1;
  editor.SpeedButton1Click(3);
  EXPECT_EQ(editorView.selStart, 6u);  // the caret ends up after the tag
  EXPECT_EQ(editorView.selEnd, 6u);
}

TEST_F(EntryEditorTest, CtrlASelectsAllOnlyWithA) {
  struct Case {
    unsigned key;
    KeysDown down;
    bool selectsAll;
  };
  const Case cases[] = {
      {0x41, {true, false}, true},
      {0x42, {true, false}, false},
      {0x41, {false, false}, false},
      {kVkBack, {true, false}, false},
  };
  for (const auto& c : cases) {
    editorView.SetInsertedText("some text");
    editor.mmo2KeyDown(c.key, c.down);
    EXPECT_EQ(editorView.selStart == 0 && editorView.selEnd == 9, c.selectsAll) << c.key;
    EXPECT_EQ(editorView.insertedText, "some text");
  }
}

TEST_F(EntryEditorTest, CtrlBackspaceCutsAWordAndTypesASpace) {
  // One press: the key-down cuts, then the character 127 arrives as a space.
  const auto press = [&] {
    editor.mmo2KeyDown(kVkBack, kCtrlBackspace);
    const char32_t typed = editor.mmo2KeyPress(127);
    ASSERT_EQ(typed, U' ');
    editorView.Type(" ");
  };
  editorView.SetInsertedText("one two three");
  editorView.selStart = editorView.selEnd = 3;  // the caret plays no part
  editor.mmo2KeyDown(kVkBack, kCtrlBackspace);
  EXPECT_EQ(editorView.insertedText, "one two ");
  EXPECT_EQ(editorView.selStart, 8u);
  editorView.Type(" ");
  EXPECT_EQ(editorView.insertedText, "one two  ");
  press();
  EXPECT_EQ(editorView.insertedText, "one  ");

  editorView.SetInsertedText("hello");
  press();
  EXPECT_EQ(editorView.insertedText, " ");

  editorView.SetInsertedText("");
  press();
  EXPECT_EQ(editorView.insertedText, " ");
}

TEST_F(EntryEditorTest, BackspaceAloneCutsNothing) {
  for (const KeysDown down : {KeysDown{false, true}, KeysDown{true, false}}) {
    editorView.SetInsertedText("one two");
    editor.mmo2KeyDown(kVkBack, down);
    EXPECT_EQ(editorView.insertedText, "one two");
  }
  EXPECT_EQ(editor.mmo2KeyPress(U'a'), U'a');
  EXPECT_EQ(editor.mmo2KeyPress(8), char32_t{8});
}

TEST_F(EntryEditorTest, CarriageReturnInTheMenuTextMovesToTheInsertedText) {
  editorView.focus = FakeEditorFocus::MenuText;
  editor.RzEdit1KeyPress(U'a');
  EXPECT_EQ(editorView.focus, FakeEditorFocus::MenuText);
  editor.RzEdit1KeyPress(13);
  EXPECT_EQ(editorView.focus, FakeEditorFocus::InsertedText);
}

TEST_F(EntryEditorTest, PlusOpensTheGroupManager) {
  AddGroups({"Работа", "Дом"});
  editor.SpeedButton7Click();
  EXPECT_EQ(groupView.shown, 1);
  EXPECT_EQ(groupView.cells, (Texts{"Работа", "Дом"}));
}

}  // namespace
}  // namespace qs::test
