// The road of one insertion: hotkey, capture, snippet menu, pick, typing run.
#include "main_window_fixture.h"

namespace qs::test {
namespace {

using Log = std::vector<std::string>;

Log CharsTo(WindowHandle focus, std::string_view cp1251) {
  Log out;
  for (const char c : cp1251) {
    out.push_back("Char " + Hex(static_cast<unsigned>(focus)) + " " +
                  Hex(static_cast<unsigned char>(c)));
  }
  return out;
}

Log Concat(std::initializer_list<Log> parts) {
  Log out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

class InsertionTest : public MainWindowTest {
 protected:
  void SetUp() override {
    WriteSettings(SampleModel());
    Start();
    fake.log.clear();
  }
};

TEST_F(InsertionTest, HotkeyCapturesOpensTheMenuAndAPickTypesTheTrimmedText) {
  fake.menus.nextChoice = 1;  // "Two": "  second\r\n"
  app.WMHotKey(1);
  EXPECT_EQ(fake.log, (Log{"Foreground 0x100", "Menu 300,200", "Caption second",
                           "Foreground 0x500", "Timer3 on"}));
  EXPECT_EQ(app.target().window, 0x500u);
  EXPECT_EQ(app.target().focus, 0x501u);

  fake.log.clear();
  app.OnTimer(TimerId::Typing);
  EXPECT_EQ(fake.log, Concat({{"Timer3 off", "Foreground 0x500"},
                              CharsTo(0x501, "second"),
                              {"Caption Quipstream"}}));
}

TEST_F(InsertionTest, OtherHotkeyIdsOnlyCapture) {
  fake.input.foreground = 0x600;
  fake.input.threads[0x600] = 88;
  fake.input.focusOfThread[88] = 0x601;
  app.WMHotKey(2);
  EXPECT_TRUE(fake.log.empty());
  EXPECT_EQ(app.target().window, 0x600u);
  EXPECT_EQ(app.target().focus, 0x601u);
}

TEST_F(InsertionTest, AFailedFocusQueryKeepsTheLastFocusWindow) {
  app.WMHotKey(2);
  fake.input.focusOfThread.clear();
  app.WMHotKey(2);
  EXPECT_EQ(app.target().focus, 0x501u);
}

TEST_F(InsertionTest, ADismissedMenuBringsNothingBack) {
  app.WMHotKey(1);
  EXPECT_EQ(fake.log, (Log{"Foreground 0x100", "Menu 300,200"}));
  EXPECT_FALSE(fake.timers.IsEnabled(TimerId::Typing));
}

TEST_F(InsertionTest, APickDuringARunWaitsForItsEnd) {
  fake.menus.nextChoice = 0;  // "first text"
  app.WMHotKey(1);
  // While the first run types, the user picks "Three" from the menu again.
  fake.input.onProcessMessages = [&] {
    fake.menus.nextChoice = 2;
    app.WMHotKey(1);
  };
  fake.log.clear();
  app.OnTimer(TimerId::Typing);
  EXPECT_EQ(fake.log,
            Concat({{"Timer3 off", "Foreground 0x500"},
                    CharsTo(0x501, "f"),
                    {"Foreground 0x100", "Menu 300,200"},  // the second pick, queued
                    CharsTo(0x501, "irst text"),
                    {"Caption Quipstream", "Caption third", "Foreground 0x500", "Timer3 on"}}));
  fake.log.clear();
  app.OnTimer(TimerId::Typing);
  EXPECT_EQ(fake.log, Concat({{"Timer3 off", "Foreground 0x500"},
                              CharsTo(0x501, "third"),
                              {"Caption Quipstream"}}));
}

TEST_F(InsertionTest, AWindowThatRefusesInputIsToldInABalloon) {
  fake.menus.nextChoice = 0;
  app.WMHotKey(1);
  fake.input.postResults = {PostResult::Ok, PostResult::AccessDenied};
  app.OnTimer(TimerId::Typing);
  ASSERT_EQ(fake.tray.balloons.size(), 1u);
  EXPECT_EQ(Cp1251ToUtf8(fake.tray.balloons[0]),
            "Не удалось вставить текст: окно программы, запущенной от имени администратора, "
            "не принимает ввод");
  EXPECT_EQ(fake.window.caption, "Quipstream");
}

TEST_F(InsertionTest, TheMenuItemsPointAtTheirRows) {
  const MenuItem& menu = app.snippetMenu();
  ASSERT_EQ(menu.children.size(), 3u);
  EXPECT_EQ(menu.children[0].tag, std::optional<int>(0));
  EXPECT_EQ(menu.children[1].tag, std::optional<int>(1));
  EXPECT_EQ(menu.children[2].picture, MenuPicture::Folder);
  EXPECT_EQ(menu.children[2].children.at(0).tag, std::optional<int>(2));
  // A stale tag (the menu cannot offer one, but a message could) types nothing.
  app.SnippetItemClick(99);
  EXPECT_FALSE(fake.timers.IsEnabled(TimerId::Typing));
}

}  // namespace
}  // namespace qs::test
