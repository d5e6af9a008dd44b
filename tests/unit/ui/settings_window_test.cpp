#include "ui/settings_window.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "settings/settings_file.h"
#include "ui_fixture.h"

namespace qs::test {
namespace {

using Order = std::vector<std::string>;
constexpr CommandStates kAllOff{};
constexpr CommandStates kAllOn{true, true, true, true};

CommandStates Shown(const FakeSettingsView& view) {
  return {view.Enabled(RowCommand::Edit), view.Enabled(RowCommand::Delete),
          view.Enabled(RowCommand::MoveUp), view.Enabled(RowCommand::MoveDown)};
}

class SettingsWindowTest : public UiTest {
 protected:
  void Abcd() { SetRows({"A", "B", "C", "D"}); }
  // The user clicks a row (or empty space with none).
  void Click(std::optional<std::size_t> row) {
    listView.selected = row;
    settings.ListView1Click();
  }
};

TEST_F(SettingsWindowTest, CommandStatesFollowTheSelection) {
  struct Case {
    std::size_t rows;
    std::optional<std::size_t> selected;
    CommandStates expected;
  };
  const Case cases[] = {
      {0, std::nullopt, kAllOff},
      {4, std::nullopt, kAllOff},
      {1, 0, {true, true, false, false}},  // the only row is first and last
      {4, 0, {true, true, false, true}},
      {4, 3, {true, true, true, false}},
      {4, 1, kAllOn},
      {4, 2, kAllOn},
  };
  for (const auto& c : cases) {
    model.ClearEntries();
    for (std::size_t i = 0; i < c.rows; ++i) model.AppendEntry("r", "t", "g");
    settings.ModelReloaded();
    Click(c.selected);
    EXPECT_EQ(Shown(listView), c.expected)
        << c.rows << " rows, selected " << c.selected.value_or(99);
  }
}

TEST_F(SettingsWindowTest, OpeningTheRightClickMenuRecomputesStaleStates) {
  SetRows({"A"});
  Click(std::nullopt);
  listView.selected = 0;  // selected with the keyboard: no click
  settings.PopupMenu2Popup();
  EXPECT_EQ(Shown(listView), (CommandStates{true, true, false, false}));
}

TEST_F(SettingsWindowTest, MovesByButtonAndByMenu) {
  using Handler = void (SettingsWindow::*)();
  struct Case {
    const char* name;
    Handler handler;
    std::optional<std::size_t> selected;
    Order order;
    std::optional<std::size_t> selectedAfter;
    std::optional<CommandStates> states;  // none: not recomputed
  };
  const Case cases[] = {
      {"button down from B",
       &SettingsWindow::SpeedButton7Click,
       1,
       {"A", "C", "B", "D"},
       2,
       kAllOn},
      {"menu down from B", &SettingsWindow::N8Click, 1, {"A", "C", "B", "D"}, 1, std::nullopt},
      {"button up from B",
       &SettingsWindow::SpeedButton6Click,
       1,
       {"B", "A", "C", "D"},
       0,
       CommandStates{true, true, false, true}},
      {"menu up from B", &SettingsWindow::N7Click, 1, {"B", "A", "C", "D"}, 1, std::nullopt},
      {"button up from the first row",
       &SettingsWindow::SpeedButton6Click,
       0,
       {"A", "B", "C", "D"},
       std::nullopt,
       kAllOff},
      {"button down from the last row",
       &SettingsWindow::SpeedButton7Click,
       3,
       {"A", "B", "C", "D"},
       3,
       CommandStates{true, true, true, false}},
      {"menu up from the first row",
       &SettingsWindow::N7Click,
       0,
       {"A", "B", "C", "D"},
       0,
       std::nullopt},
      {"menu down from the last row",
       &SettingsWindow::N8Click,
       3,
       {"A", "B", "C", "D"},
       3,
       std::nullopt},
      {"button up, nothing selected",
       &SettingsWindow::SpeedButton6Click,
       std::nullopt,
       {"A", "B", "C", "D"},
       std::nullopt,
       std::nullopt},
      {"menu down, nothing selected",
       &SettingsWindow::N8Click,
       std::nullopt,
       {"A", "B", "C", "D"},
       std::nullopt,
       std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    model.ClearEntries();
    Abcd();
    Click(c.selected);
    listView.stateUpdates = 0;
    (settings.*c.handler)();
    EXPECT_EQ(ModelMenuTexts(), c.order);
    EXPECT_EQ(listView.MenuTexts(), c.order);
    EXPECT_EQ(listView.selected, c.selectedAfter);
    if (c.states) {
      EXPECT_EQ(Shown(listView), *c.states);
    } else {
      EXPECT_EQ(listView.stateUpdates, 0);
    }
  }
}

TEST_F(SettingsWindowTest, ExchangeOutsideTheListChangesNothing) {
  Abcd();
  listView.selected = 1;
  EXPECT_FALSE(settings.ExchangeRows(0, -1));
  EXPECT_FALSE(settings.ExchangeRows(4, 3));
  EXPECT_EQ(listView.MenuTexts(), (Order{"A", "B", "C", "D"}));
  EXPECT_TRUE(settings.ExchangeRows(1, 3));
  EXPECT_EQ(listView.MenuTexts(), (Order{"A", "D", "C", "B"}));
  EXPECT_EQ(listView.selected, 1u);  // the mark stays on its position
}

TEST_F(SettingsWindowTest, StaleStatesAfterADeleteAreHarmless) {
  Abcd();
  Click(1);
  dialogs.confirmAnswers = {true};
  settings.SpeedButton3Click();
  ASSERT_EQ(listView.selected, std::nullopt);
  EXPECT_EQ(Shown(listView), kAllOn);  // not recomputed

  settings.SpeedButton2Click();
  EXPECT_EQ(Messages(), (Order{"Не выделена запись"}));
  EXPECT_EQ(editorView.shown, 0);
  settings.SpeedButton6Click();
  settings.SpeedButton7Click();
  settings.N7Click();
  settings.N8Click();
  EXPECT_EQ(listView.MenuTexts(), (Order{"A", "C", "D"}));
}

TEST_F(SettingsWindowTest, DeleteAsksFirst) {
  const std::string question = "Confirm Quipstream: Вы действительно хотите удалить запись?";
  struct Case {
    bool yes;
    Order order;
    std::optional<std::size_t> selectedAfter;
  };
  for (const Case& c :
       {Case{true, {"A", "C", "D"}, std::nullopt}, Case{false, {"A", "B", "C", "D"}, 1}}) {
    model.ClearEntries();
    log.clear();
    Abcd();
    Click(1);
    dialogs.confirmAnswers = {c.yes};
    settings.SpeedButton3Click();
    EXPECT_EQ(log, (EventLog{question}));
    EXPECT_EQ(ModelMenuTexts(), c.order);
    EXPECT_EQ(listView.MenuTexts(), c.order);
    EXPECT_EQ(listView.selected, c.selectedAfter);
  }
}

TEST_F(SettingsWindowTest, EditAndDeleteWithNothingSelectedSayWhy) {
  Abcd();
  settings.SpeedButton2Click();
  settings.ListView1DblClick();
  settings.SpeedButton3Click();
  EXPECT_EQ(Messages(), (Order{"Не выделена запись", "Не выделена запись", "Не выделена запись"}));
  EXPECT_EQ(editorView.shown, 0);
  EXPECT_EQ(log, (EventLog{"Message Не выделена запись", "Message Не выделена запись",
                           "Message Не выделена запись"}));  // no confirmation asked
  EXPECT_EQ(ModelMenuTexts(), (Order{"A", "B", "C", "D"}));
}

TEST_F(SettingsWindowTest, DragAndDropPutsTheRowAfterTheTarget) {
  struct Case {
    const char* name;
    std::optional<std::size_t> dragged;
    std::optional<std::size_t> target;
    Order order;
    std::vector<std::string> batch;
  };
  const std::vector<std::string> moved{"Begin", "Rows", "End"};
  const Case cases[] = {
      {"B onto D", 1, 3, {"A", "C", "D", "B"}, moved},
      {"D onto A", 3, 0, {"A", "D", "B", "C"}, moved},
      {"A below the last row", 0, std::nullopt, {"B", "C", "D", "A"}, moved},
      {"C onto C", 2, 2, {"A", "B", "C", "D"}, moved},
      {"nothing selected", std::nullopt, 1, {"A", "B", "C", "D"}, {"Begin", "End"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    model.ClearEntries();
    Abcd();
    Click(c.dragged);
    listView.stateUpdates = 0;
    listView.batchLog.clear();
    ASSERT_TRUE(settings.ListView1DragOver(DragSource::ListView1));
    settings.ListView1DragDrop(c.target);
    EXPECT_EQ(ModelMenuTexts(), c.order);
    EXPECT_EQ(listView.MenuTexts(), c.order);
    EXPECT_EQ(listView.selected, std::nullopt);
    EXPECT_EQ(listView.stateUpdates, 0);
    EXPECT_EQ(listView.batchLog, c.batch);
    EXPECT_EQ(listView.updateDepth, 0);
  }
}

TEST_F(SettingsWindowTest, DropsFromOtherControlsAreRefused) {
  EXPECT_FALSE(settings.ListView1DragOver(DragSource::OtherControl));
}

TEST_F(SettingsWindowTest, DoubleClickOpensTheEditorOnTheRowTrimmed) {
  model.AppendEntry("A", "a", std::string(NoGroupName()));
  model.AppendEntry(Utf8ToCp1251("  Почта  "), "\t mail\r\n", std::string(NoGroupName()));
  settings.ModelReloaded();
  Click(1);
  editorView.whileOpen = [&] {
    EXPECT_EQ(editorView.title, "Редактирование записи");
    EXPECT_EQ(editorView.menuLabel, "Текст в меню");
    EXPECT_EQ(editorView.textLabel, "Вставляемый текст");
    EXPECT_EQ(editorView.menuText, "Почта");
    EXPECT_EQ(editorView.insertedText, "mail");
    EXPECT_EQ(editor.mode(), EditorMode::Edit);
    EXPECT_EQ(editor.editedRow(), 1u);
    editorView.menuText = "Письмо";
    editor.btn1Click();
  };
  settings.ListView1DblClick();
  ASSERT_EQ(editorView.shown, 1);
  EXPECT_EQ(listView.MenuTexts(), (Order{"A", "Письмо"}));
  EXPECT_EQ(listView.rows[1].insertedText, "mail");
  EXPECT_EQ(listView.selected, 1u);
}

TEST_F(SettingsWindowTest, AddOpensAnEmptyEditorAndKeepsTheSelection) {
  SetRows({"A", "B"});
  Click(0);
  editorView.whileOpen = [&] {
    EXPECT_EQ(editorView.title, "Добавление записи");
    EXPECT_EQ(editorView.menuLabel, "Текст в меню");
    EXPECT_EQ(editorView.textLabel, "Вставляемый текст");
    EXPECT_EQ(editorView.menuText, "");
    EXPECT_EQ(editorView.insertedText, "");
    EXPECT_EQ(editor.mode(), EditorMode::Add);
    editorView.menuText = "C";
    editorView.insertedText = "c";
    editor.btn1Click();
  };
  settings.SpeedButton1Click();
  ASSERT_EQ(editorView.shown, 1);
  EXPECT_EQ(listView.MenuTexts(), (Order{"A", "B", "C"}));
  EXPECT_EQ(listView.selected, 0u);  // the new row is not selected
}

TEST_F(SettingsWindowTest, EscRunsTheReloadRoutine) {
  EXPECT_FALSE(settings.FormKeyPress(U'a'));
  EXPECT_EQ(reloads, 0);
  EXPECT_TRUE(settings.FormKeyPress(27));
  EXPECT_EQ(reloads, 1);
}

TEST_F(SettingsWindowTest, OptionsEditedGoToTheModel) {
  const Options edited{0xC04B, true, false};
  settings.OptionsEdited(edited);
  EXPECT_EQ(model.options(), edited);
}

// The main window tells the settings window when its model was reloaded.
TEST(SettingsWindowHook, FollowsTheMainWindowsReloadsAndSaveChecks) {
  FakePlatform fake;
  const Platform ports = fake.ports();
  MainWindow app(ports);
  FakeSettingsView listView;
  FakeEntryEditorView editorView;
  FakeGroupManagerView groupView;
  GroupManager groups(app.model(), groupView, editorView, fake.dialogs, listView);
  EntryEditor editor(app.model(), editorView, fake.dialogs, listView, groups);
  SettingsWindow settings(app.model(), listView, fake.dialogs, editor, [&] { app.BitBtn2Click(); });
  app.SetSettingsView(&settings);

  EntryModel saved;
  saved.AppendEntry("One", "1", std::string(NoGroupName()));
  saved.AppendEntry("Two", "2", std::string(NoGroupName()));
  saved.options().hotkey = 0xC04B;
  fake.files.files[fake.files.folder + "Settings.xml"] = WriteSettingsXml(saved);

  app.FormCreate();
  app.Timer1Timer();
  EXPECT_EQ(listView.MenuTexts(), (Order{"One", "Two"}));
  EXPECT_EQ(listView.shownOptions, saved.options());
  EXPECT_EQ(Shown(listView), kAllOff);

  app.N2Click();
  listView.selected = 0;
  settings.SpeedButton3Click();  // confirmed by default
  EXPECT_EQ(listView.MenuTexts(), (Order{"Two"}));
  EXPECT_TRUE(settings.FormKeyPress(27));  // Esc discards the delete
  EXPECT_EQ(listView.MenuTexts(), (Order{"One", "Two"}));

  settings.OptionsEdited({});
  app.BitBtn1Click();
  EXPECT_EQ(listView.hotkeyFocused, 1);
}

}  // namespace
}  // namespace qs::test
