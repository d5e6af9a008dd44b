#include "ui/group_manager.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "ui/cp1251_check.h"
#include "ui_fixture.h"

namespace qs::test {
namespace {

using Texts = std::vector<std::string>;
using Answer = std::optional<std::string>;

class GroupManagerTest : public UiTest {
 protected:
  // The editor is showing (its box filled) and the user opened the manager.
  void Open(std::initializer_list<const char*> names) {
    model = EntryModel();
    AddGroups(names);
    editor.FormShow();
    groups.FormShow();
    log.clear();
    dialogs.messages.clear();
  }
};

TEST_F(GroupManagerTest, ShowingFillsTheGridButNotTheEditorsBox) {
  Open({});
  EXPECT_EQ(groupView.cells, Texts{""});  // an empty grid still has one row
  editorView.groupItems = {"stale"};
  AddGroups({"Работа", "Дом"});
  groups.FormShow();
  EXPECT_EQ(groupView.cells, (Texts{"Работа", "Дом"}));
  EXPECT_EQ(editorView.groupItems, Texts{"stale"});
}

TEST_F(GroupManagerTest, AddChecksTheNameAndSelectsItInTheEditor) {
  const std::string emojiRefused = Cp1251ToUtf8(OutsideCp1251Message(U'\U0001F600'));
  struct Case {
    Answer answer;
    const char* message;  // nullptr: accepted
    Texts groupsAfter;
    const char* boxSelected;
  };
  const Case cases[] = {
      {"Работа", "Такая группа уже существует!", {"Работа", "Дом"}, "Без группы"},
      {"работа", nullptr, {"Работа", "Дом", "работа"}, "работа"},
      {" Работа", nullptr, {"Работа", "Дом", " Работа"}, " Работа"},  // kept as typed
      {"Ёлка", nullptr, {"Работа", "Дом", "Ёлка"}, "Ёлка"},
      {"Без группы", nullptr, {"Работа", "Дом", "Без группы"}, "Без группы"},
      {" \t ", "Не введено название группы!", {"Работа", "Дом"}, "Без группы"},
      {"", "Не введено название группы!", {"Работа", "Дом"}, "Без группы"},
      {"Дом😀", emojiRefused.c_str(), {"Работа", "Дом"}, "Без группы"},
      {std::nullopt, nullptr, {"Работа", "Дом"}, "Без группы"},  // cancelled
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer.value_or("(cancel)"));
    Open({"Работа", "Дом"});
    dialogs.inputAnswersUtf8 = {c.answer};
    groups.Add_type_buttonClick();
    EXPECT_EQ(log.front(), "Input Добавление группы / Название группы / ");
    EXPECT_EQ(Messages(), c.message ? Texts{c.message} : Texts{});
    EXPECT_EQ(UserGroups(), c.groupsAfter);
    EXPECT_EQ(groupView.cells, c.groupsAfter);
    EXPECT_EQ(editorView.SelectedGroupText(), c.boxSelected);
    EXPECT_EQ(model.Group(0), NoGroupName());
  }
}

TEST_F(GroupManagerTest, TheEditorsBoxSortsTheNewGroupIn) {
  Open({"Работа", "Дом"});
  dialogs.inputAnswersUtf8 = {"Ёлка"};
  groups.Add_type_buttonClick();
  EXPECT_EQ(editorView.groupItems, (Texts{"Без группы", "Дом", "Ёлка", "Работа"}));
  EXPECT_EQ(editorView.SelectedGroupText(), "Ёлка");

  dialogs.inputAnswersUtf8 = {"Без группы"};
  groups.Add_type_buttonClick();
  EXPECT_EQ(editorView.groupItems, (Texts{"Без группы", "Без группы", "Дом", "Ёлка", "Работа"}));
}

TEST_F(GroupManagerTest, RenameChecksTheNameAndKeepsTheEditorsSelection) {
  struct Case {
    const char* name;
    const char* boxSelectedBefore;
    Answer answer;
    const char* message;
    Texts groupsAfter;
    const char* boxSelectedAfter;
  };
  const Case cases[] = {
      {"to an existing group",
       "Работа",
       "Дом",
       "Такая группа уже существует!",
       {"Работа", "Дом"},
       "Работа"},
      {"unchanged",
       "Работа",
       "Работа",
       "Такая группа уже существует!",
       {"Работа", "Дом"},
       "Работа"},
      {"blank", "Работа", "  ", "Не введено название группы!", {"Работа", "Дом"}, "Работа"},
      {"cancelled", "Работа", std::nullopt, nullptr, {"Работа", "Дом"}, "Работа"},
      {"the selected group", "Работа", "Проекты", nullptr, {"Проекты", "Дом"}, "Проекты"},
      {"another group selected", "Дом", "Проекты", nullptr, {"Проекты", "Дом"}, "Дом"},
      {"the built-in group selected",
       "Без группы",
       "Проекты",
       nullptr,
       {"Проекты", "Дом"},
       "Без группы"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Open({"Работа", "Дом"});
    ASSERT_TRUE(SelectGroupItem(editorView, c.boxSelectedBefore));
    groupView.selectedRow = 0;
    dialogs.inputAnswersUtf8 = {c.answer};
    groups.Edit_type_buttonClick();
    EXPECT_EQ(log.front(), "Input Изменение группы / Название группы / Работа");
    EXPECT_EQ(Messages(), c.message ? Texts{c.message} : Texts{});
    EXPECT_EQ(UserGroups(), c.groupsAfter);
    EXPECT_EQ(groupView.cells, c.groupsAfter);
    EXPECT_EQ(editorView.SelectedGroupText(), c.boxSelectedAfter);
  }
}

TEST_F(GroupManagerTest, RenameChangesEveryEqualLineButNoEntry) {
  Open({"Работа", "Дом", "Работа"});
  model.AppendEntry("A", "a", Utf8ToCp1251("Работа"));
  groupView.selectedRow = 2;
  dialogs.inputAnswersUtf8 = {"Проекты"};
  groups.Edit_type_buttonClick();
  EXPECT_EQ(UserGroups(), (Texts{"Проекты", "Дом", "Проекты"}));
  EXPECT_EQ(model.Row(0).group, Utf8ToCp1251("Работа"));
  EXPECT_EQ(model.Group(0), NoGroupName());
}

TEST_F(GroupManagerTest, RenameRefusesCharactersOutsideWindows1251) {
  Open({"Работа"});
  dialogs.inputAnswersUtf8 = {"Работаā"};
  groups.Edit_type_buttonClick();
  EXPECT_EQ(Messages(), Texts{Cp1251ToUtf8(OutsideCp1251Message(U'ā'))});
  EXPECT_EQ(UserGroups(), Texts{"Работа"});
}

TEST_F(GroupManagerTest, DeleteAsksWithTheNameOnItsOwnLine) {
  struct Case {
    bool yes;
    Texts groupsAfter;
    Texts boxItems;
  };
  for (const Case& c : {Case{false, {"Работа", "Дом"}, {"Без группы", "Дом", "Работа"}},
                       Case{true, {"Дом"}, {"Без группы", "Дом"}}}) {
    Open({"Работа", "Дом"});
    groupView.selectedRow = 0;
    dialogs.confirmAnswers = {c.yes};
    groups.Delete_type_buttonClick();
    EXPECT_EQ(log, EventLog{"Confirm Подтверждение удаления: "
                            "Вы действительно хотите удалить группу\r\nРабота?"});
    EXPECT_EQ(UserGroups(), c.groupsAfter);
    EXPECT_EQ(groupView.cells, c.groupsAfter);
    EXPECT_EQ(editorView.groupItems, c.boxItems);
  }
}

TEST_F(GroupManagerTest, DeleteSelectsTheSettingsRowsGroupAgain) {
  struct Case {
    std::optional<std::size_t> settingsRow;
    const char* boxSelected;
  };
  for (const Case& c : {Case{std::nullopt, "Без группы"}, Case{0, "Дом"}}) {
    Open({"Работа", "Дом"});
    model.AppendEntry("A", "a", Utf8ToCp1251(" Дом "));
    listView.selected = c.settingsRow;
    ASSERT_TRUE(SelectGroupItem(editorView, "Работа"));
    groupView.selectedRow = 0;
    groups.Delete_type_buttonClick();
    EXPECT_EQ(editorView.SelectedGroupText(), c.boxSelected);
  }
}

TEST_F(GroupManagerTest, DeleteRemovesOnlyUserLines) {
  Open({"Работа", "Без группы", "Работа"});
  groupView.selectedRow = 1;
  groups.Delete_type_buttonClick();
  EXPECT_EQ(UserGroups(), (Texts{"Работа", "Работа"}));
  EXPECT_EQ(model.Group(0), NoGroupName());
  EXPECT_EQ(editorView.groupItems, (Texts{"Без группы", "Работа", "Работа"}));

  groupView.selectedRow = 0;
  groups.Delete_type_buttonClick();  // every equal line goes
  EXPECT_EQ(UserGroups(), Texts{});
  EXPECT_EQ(groupView.cells, Texts{""});
  EXPECT_EQ(editorView.groupItems, Texts{"Без группы"});
  EXPECT_EQ(editorView.SelectedGroupText(), "Без группы");
}

TEST_F(GroupManagerTest, DeleteOnTheEmptyRowAsksButChangesNothing) {
  Open({});
  groups.Delete_type_buttonClick();
  EXPECT_EQ(log, EventLog{"Confirm Подтверждение удаления: "
                          "Вы действительно хотите удалить группу\r\n?"});
  EXPECT_EQ(model.Groups(), std::vector<std::string>{std::string(NoGroupName())});
  EXPECT_EQ(groupView.cells, Texts{""});
}

TEST_F(GroupManagerTest, KeysRunTheirCommandsOnce) {
  struct Case {
    const char* name;
    std::function<bool()> press;
    bool used;
    EventLog logged;
  };
  const Case cases[] = {
      {"Enter in the grid",
       [&] { return groups.typeuslug_tableKeyDown(13); },
       true,
       {"Input Изменение группы / Название группы / Работа"}},
      {"Delete in the grid",
       [&] { return groups.typeuslug_tableKeyDown(0x2E); },
       true,
       {"Confirm Подтверждение удаления: Вы действительно хотите удалить группу\r\nРабота?"}},
      {"Insert in the grid", [&] { return groups.typeuslug_tableKeyDown(0x2D); }, false, {}},
      {"Insert anywhere",
       [&] { return groups.FormKeyDown(0x2D); },
       true,
       {"Input Добавление группы / Название группы / "}},
      {"Delete on a button", [&] { return groups.FormKeyDown(0x2E); }, false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Open({"Работа"});
    dialogs.confirmAnswers = {false};
    EXPECT_EQ(c.press(), c.used);
    EXPECT_EQ(log, c.logged);
  }
}

TEST_F(GroupManagerTest, EscAndTheCloseButtonClose) {
  for (const auto& close : std::vector<std::function<void()>>{
           [&] { EXPECT_TRUE(groups.FormKeyPress(27)); }, [&] { groups.AdvGlassButton1Click(); }}) {
    groupView.whileOpen = [&] {
      EXPECT_FALSE(groups.FormKeyPress(U'q'));
      EXPECT_TRUE(groupView.open);
      close();
    };
    groups.ShowModal();
    EXPECT_FALSE(groupView.open);
  }
}

}  // namespace
}  // namespace qs::test
