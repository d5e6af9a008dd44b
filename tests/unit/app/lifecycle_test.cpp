// Start-up, the reload routine, the tray menu and the ways out.
#include "main_window_fixture.h"
#include "settings/autostart.h"

namespace qs::test {
namespace {

using Log = std::vector<std::string>;

TEST_F(MainWindowTest, StartWithoutSettingsKeepsTheWindowOpenForTheFirstConfiguration) {
  Start();
  EXPECT_EQ(fake.log, (Log{"TrayIcon Quipstream", "Timer1 on", "Timer1 off"}));
  EXPECT_TRUE(fake.window.visible);
  EXPECT_TRUE(fake.hotkey.registered.empty());
  EXPECT_TRUE(app.snippetMenu().children.empty());

  // Cancel does nothing; closing ends the program.
  app.BitBtn2Click();
  EXPECT_TRUE(fake.window.visible);
  EXPECT_TRUE(app.FormCloseQuery());
  app.FormClose();
  EXPECT_TRUE(Logged("Unregister 1"));
}

TEST_F(MainWindowTest, StartWithSettingsRunsTheReloadStepsInOrder) {
  WriteSettings(SampleModel(/*monitor=*/false, /*autostart=*/true));
  Start();
  EXPECT_EQ(fake.log, (Log{
                          "TrayIcon Quipstream",
                          "Timer1 on",
                          "Timer1 off",
                          "FocusSave",
                          "Hide",
                          "TrayIcon Quipstream",
                          "Unregister 1",
                          "Register 1 mask 3 vk 0x4B",
                          "RegWrite Quipstream=C:\\Quipstream\\quipstream.exe",
                          "Timer4 off",
                          "Hint Quipstream\r\n[основных записей: 3]",
                          "Layout 00000419",
                      }));
  EXPECT_FALSE(fake.window.visible);
  ASSERT_EQ(app.model().RowCount(), 3u);
  EXPECT_EQ(app.model().Row(1).longtext, "second");  // trimmed on the way in
  ASSERT_EQ(app.snippetMenu().children.size(), 3u);   // One, Two, folder G
}

TEST_F(MainWindowTest, AutostartFollowsTheFileAtEveryLoad) {
  fake.registry.values[std::string(kRunKeyPath) + "\\Quipstream"] = "C:\\old\\quipstream.exe";
  WriteSettings(SampleModel(false, /*autostart=*/true));
  Start();
  EXPECT_EQ(fake.registry.values.at(std::string(kRunKeyPath) + "\\Quipstream"),
            "C:\\Quipstream\\quipstream.exe");

  WriteSettings(SampleModel(false, /*autostart=*/false));
  app.BitBtn2Click();
  EXPECT_TRUE(fake.registry.values.empty());
}

TEST_F(MainWindowTest, ABrokenSettingsFileIsReportedOnceAndKept) {
  fake.files.files[SettingsFile()] = "<Config><Texts>";
  Start();
  ASSERT_EQ(fake.dialogs.messages.size(), 1u);
  const std::string message = Cp1251ToUtf8(fake.dialogs.messages[0]);
  EXPECT_NE(message.find("Settings.xml.bad"), std::string::npos) << message;
  EXPECT_EQ(fake.files.files.at(SettingsFile()), "<Config><Texts>");
  EXPECT_EQ(fake.files.files.at(SettingsFile() + ".bad"), "<Config><Texts>");
  EXPECT_FALSE(fake.timers.IsEnabled(TimerId::Startup));
  // The steps after the failure did not run.
  EXPECT_FALSE(Logged("Layout 00000419"));
  EXPECT_TRUE(fake.hotkey.registered.empty());

  // "Настройки" reports it again but still opens the window, so the user can
  // set things right; the broken file stays beside.
  app.N2Click();
  EXPECT_EQ(fake.dialogs.messages.size(), 2u);
  EXPECT_TRUE(fake.window.visible);
}

TEST_F(MainWindowTest, ClosingTheSettingsWindowGoesBackToTheTray) {
  WriteSettings(SampleModel());
  Start();
  app.N2Click();
  EXPECT_TRUE(fake.window.visible);
  EXPECT_TRUE(fake.hotkey.registered.empty());  // no hotkey while the window is shown
  EXPECT_FALSE(fake.timers.IsEnabled(TimerId::ClipboardPoll));

  app.model().DeleteEntry(0);  // an unsaved edit
  EXPECT_FALSE(app.FormCloseQuery());
  EXPECT_FALSE(fake.window.visible);
  EXPECT_EQ(app.model().RowCount(), 3u);  // the edit is dropped
  EXPECT_EQ(fake.hotkey.registered.at(1), std::make_pair(3u, 0x4Bu));
}

TEST_F(MainWindowTest, ExitEndsTheProgramWhetherOrNotTheFileExists) {
  for (const bool withFile : {false, true}) {
    FakePlatform f;
    Platform p = f.ports();
    MainWindow a(p);
    if (withFile) f.files.files[f.files.folder + "Settings.xml"] = WriteSettingsXml(SampleModel());
    a.FormCreate();
    a.Timer1Timer();
    a.N1Click();
    EXPECT_EQ(f.window.closeRequests, 1);
    EXPECT_TRUE(a.FormCloseQuery()) << withFile;
    a.FormClose();
    EXPECT_TRUE(f.hotkey.registered.empty()) << withFile;
  }
}

TEST_F(MainWindowTest, LogOffIsNeverRefused) {
  WriteSettings(SampleModel());
  Start();
  EXPECT_TRUE(app.QueryEndSession());
  app.EndSession();
  EXPECT_TRUE(app.exitRequested());
  EXPECT_TRUE(app.FormCloseQuery());
  EXPECT_TRUE(fake.hotkey.registered.empty());
}

TEST_F(MainWindowTest, TrayMenuShowsClearHistoryOnlyWhileMonitoring) {
  struct Case {
    bool monitor;
    MouseButton button;
    bool menuOpens;
  };
  const Case cases[] = {
      {false, MouseButton::Right, true},
      {true, MouseButton::Right, true},
      {true, MouseButton::Left, false},
      {true, MouseButton::Middle, false},
  };
  for (const auto& c : cases) {
    FakePlatform f;
    Platform p = f.ports();
    MainWindow a(p);
    f.files.files[f.files.folder + "Settings.xml"] = WriteSettingsXml(SampleModel(c.monitor));
    a.FormCreate();
    a.Timer1Timer();
    a.IconTrayMouseDown(c.button, {10, 20});
    ASSERT_EQ(f.tray.lastMenuHadClearHistory.has_value(), c.menuOpens);
    if (c.menuOpens) EXPECT_EQ(*f.tray.lastMenuHadClearHistory, c.monitor);
  }
}

TEST_F(MainWindowTest, TrayMenuCommandsAndDoubleClickDoWhatTheySay) {
  WriteSettings(SampleModel());
  Start();
  fake.tray.nextChoice = TrayCommand::Settings;
  app.IconTrayMouseDown(MouseButton::Right, {1, 1});
  EXPECT_TRUE(fake.window.visible);

  app.BitBtn2Click();
  EXPECT_FALSE(fake.window.visible);
  app.IconTrayDblClick();
  EXPECT_TRUE(fake.window.visible);
  EXPECT_TRUE(fake.hotkey.registered.empty());

  fake.tray.nextChoice = TrayCommand::Exit;
  app.IconTrayMouseDown(MouseButton::Right, {1, 1});
  EXPECT_TRUE(app.exitRequested());
  EXPECT_EQ(fake.window.closeRequests, 1);
}

TEST_F(MainWindowTest, SettingsFileDeletedWhileInTheTray) {
  WriteSettings(SampleModel());
  Start();
  fake.files.files.clear();
  app.N2Click();
  EXPECT_TRUE(fake.window.visible);
  EXPECT_EQ(app.model().RowCount(), 3u);  // the lists as they are in memory
  app.BitBtn2Click();
  EXPECT_TRUE(fake.window.visible);  // Cancel leaves it open
  EXPECT_TRUE(app.FormCloseQuery());
}

TEST_F(MainWindowTest, ARefusedHotkeyIsToldInABalloonOncePerLoad) {
  fake.hotkey.refuse = true;
  WriteSettings(SampleModel());
  Start();
  ASSERT_EQ(fake.tray.balloons.size(), 1u);
  EXPECT_EQ(Cp1251ToUtf8(fake.tray.balloons[0]),
            "Не удалось назначить горячую клавишу Ctrl+Alt+K: она занята другой программой");
}

TEST_F(MainWindowTest, SaveChecksThenWritesThenReloads) {
  Start();  // first configuration: no file
  app.BitBtn1Click();
  EXPECT_EQ(Cp1251ToUtf8(fake.dialogs.messages.back()), "Добавьте хотя бы одну запись!");

  app.model().AppendEntry("A", "text", std::string(NoGroupName()));
  app.BitBtn1Click();
  EXPECT_EQ(Cp1251ToUtf8(fake.dialogs.messages.back()),
            "Программа не будет работать без назначенной горячей клавиши!");
  EXPECT_FALSE(fake.files.Exists(SettingsFile()));

  app.model().options().hotkey = 0xC04B;
  app.BitBtn1Click();
  EXPECT_TRUE(fake.files.Exists(SettingsFile()));
  EXPECT_FALSE(fake.window.visible);
  EXPECT_EQ(fake.hotkey.registered.at(1), std::make_pair(3u, 0x4Bu));
}

TEST_F(MainWindowTest, AFailedSaveKeepsTheWindowOpenWithEveryEdit) {
  WriteSettings(SampleModel());
  const std::string before = fake.files.files.at(SettingsFile());
  Start();
  app.N2Click();
  app.model().AppendEntry("New", "new text", std::string(NoGroupName()));
  fake.files.failWrites = true;
  app.BitBtn1Click();
  EXPECT_EQ(fake.files.files.at(SettingsFile()), before);
  EXPECT_TRUE(fake.window.visible);
  EXPECT_EQ(app.model().RowCount(), 4u);
  ASSERT_FALSE(fake.dialogs.messages.empty());
}

}  // namespace
}  // namespace qs::test
