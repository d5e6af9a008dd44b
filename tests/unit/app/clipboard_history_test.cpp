// The clipboard poll as the main window runs it: history items, history
// rows, the submenu, the tray hint.
#include "activation/clipboard_history.h"

#include "main_window_fixture.h"

namespace qs::test {
namespace {

class ClipboardPollTest : public MainWindowTest {
 protected:
  void StartMonitoring() {
    WriteSettings(SampleModel(/*monitor=*/true));
    Start();
    ASSERT_TRUE(fake.timers.IsEnabled(TimerId::ClipboardPoll));
  }
  void Copy(const std::string& utf8) { fake.clipboard.SetText(Utf8ToCp1251(utf8)); }
  std::vector<std::string> HistoryCaptions() const {
    std::vector<std::string> out;
    const auto& menu = app.snippetMenu();
    if (!app.model().clipboardMenuIndex) return out;
    for (const auto& item : menu.children[*app.model().clipboardMenuIndex].children) {
      out.push_back(Cp1251ToUtf8(item.caption));
    }
    return out;
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) app.Timer4Timer();
  }
};

TEST_F(ClipboardPollTest, FirstTickCreatesTheSubmenuTheNextAddsTheText) {
  Copy("A");
  StartMonitoring();
  app.Timer4Timer();
  ASSERT_EQ(app.model().clipboardMenuIndex, std::optional<std::size_t>(3));
  EXPECT_EQ(Cp1251ToUtf8(app.snippetMenu().children[3].caption), "Буфер обмена");
  EXPECT_EQ(app.snippetMenu().children[3].picture, MenuPicture::Clipboard);
  EXPECT_TRUE(HistoryCaptions().empty());
  app.Timer4Timer();
  EXPECT_EQ(HistoryCaptions(), (std::vector<std::string>{"A"}));
}

TEST_F(ClipboardPollTest, OnlyTheLastCapturedTextIsCompared) {
  StartMonitoring();
  Copy("A");
  Ticks(2);
  Copy("  B\r\n");
  Ticks(1);
  Copy("B ");  // same text with other spaces: nothing new
  Ticks(1);
  Copy("A");
  Ticks(1);
  EXPECT_EQ(HistoryCaptions(), (std::vector<std::string>{"A", "B", "A"}));
  // History rows follow the entries and carry the row index as tag.
  ASSERT_EQ(app.model().RowCount(), 6u);
  EXPECT_TRUE(app.model().Row(4).IsHistoryRow());
  EXPECT_EQ(app.model().Row(4).longtext, "B");
  const auto& items = app.snippetMenu().children[3].children;
  EXPECT_EQ(items[1].tag, std::optional<int>(4));
}

TEST_F(ClipboardPollTest, LongTextsShowThirtyCharactersAndTypeWhole) {
  StartMonitoring();
  const std::string text = "Съешь же ещё этих мягких французских булок";
  Copy(text);
  Ticks(2);
  ASSERT_EQ(HistoryCaptions().size(), 1u);
  EXPECT_EQ(Utf8ToCp1251(HistoryCaptions()[0]), Utf8ToCp1251(text).substr(0, 30));
  EXPECT_EQ(app.model().Row(3).longtext, Utf8ToCp1251(text));
  EXPECT_EQ(app.model().Row(3).shorttext, Utf8ToCp1251(text).substr(0, 30));
}

TEST_F(ClipboardPollTest, TheHintCountsMainEntriesAndHistoryItems) {
  StartMonitoring();
  // Monitoring on, no submenu yet: the hint is left as it was.
  EXPECT_EQ(fake.tray.hint, "Quipstream");
  Copy("A");
  Ticks(2);
  EXPECT_EQ(Cp1251ToUtf8(fake.tray.hint),
            "Quipstream\r\n[основных записей: 3]\r\n[буфера обмена: 1]");
}

TEST_F(ClipboardPollTest, ABusyClipboardOrAPictureIsIgnored) {
  StartMonitoring();
  fake.clipboard.busy = true;
  Copy("A");
  Ticks(3);
  EXPECT_FALSE(app.model().clipboardMenuIndex.has_value());
  fake.clipboard.busy = false;
  fake.clipboard.SetNoText();
  Ticks(3);
  EXPECT_FALSE(app.model().clipboardMenuIndex.has_value());
  EXPECT_EQ(fake.tray.hint, "Quipstream");
  EXPECT_TRUE(fake.dialogs.messages.empty());
}

TEST_F(ClipboardPollTest, PrivateTextsNeverEnterTheHistory) {
  StartMonitoring();
  Copy("A");
  Ticks(2);
  fake.clipboard.isPrivate = true;
  Copy("secret password");
  Ticks(3);
  fake.clipboard.isPrivate = false;
  Copy("B");
  Ticks(1);
  EXPECT_EQ(HistoryCaptions(), (std::vector<std::string>{"A", "B"}));
}

TEST_F(ClipboardPollTest, AnUnchangedClipboardIsNotReadAgain) {
  StartMonitoring();
  Copy(std::string(1 << 20, 'x'));
  Ticks(10);
  EXPECT_EQ(fake.clipboard.reads, 1);
  EXPECT_EQ(HistoryCaptions().size(), 1u);
}

TEST_F(ClipboardPollTest, SpacesOnlyAfterATextAddsAnEmptyItem) {
  StartMonitoring();
  Copy("A");
  Ticks(2);
  Copy(" \r\n ");
  Ticks(1);
  EXPECT_EQ(HistoryCaptions(), (std::vector<std::string>{"A", ""}));
}

TEST_F(ClipboardPollTest, ClearingTheHistoryStartsAfreshFromTheClipboard) {
  StartMonitoring();
  Copy("A");
  Ticks(2);
  Copy("B");
  Ticks(1);
  fake.tray.nextChoice = TrayCommand::ClearHistory;
  app.IconTrayMouseDown(MouseButton::Right, {0, 0});
  EXPECT_FALSE(app.model().clipboardMenuIndex.has_value());
  EXPECT_EQ(app.model().RowCount(), 3u);
  Ticks(2);
  EXPECT_EQ(HistoryCaptions(), (std::vector<std::string>{"B"}));
}

TEST_F(ClipboardPollTest, NothingIsCapturedWhileTheSettingsWindowIsOpen) {
  StartMonitoring();
  app.N2Click();
  EXPECT_FALSE(fake.timers.IsEnabled(TimerId::ClipboardPoll));
  EXPECT_EQ(app.model().RowCount(), 3u);
}

TEST_F(ClipboardPollTest, TheSubmenuTakesPositionZeroInAnEmptyMenu) {
  EntryModel m;
  m.options().hotkey = 0xC04B;
  m.options().monitorClipboard = true;
  WriteSettings(m);
  Start();
  Copy("A");
  Ticks(2);
  Copy("B");
  Ticks(1);
  EXPECT_EQ(app.model().clipboardMenuIndex, std::optional<std::size_t>(0));
  EXPECT_EQ(app.snippetMenu().children.size(), 1u);
  EXPECT_EQ(HistoryCaptions(), (std::vector<std::string>{"A", "B"}));
}

}  // namespace
}  // namespace qs::test
