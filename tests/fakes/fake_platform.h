// Recording fakes of every platform service. Each call that changes the
// outside world appends one line to a shared log, so a test can compare the
// whole sequence (characters, key events, pauses, foreground switches,
// caption changes) with the one it expects.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/pugixml/pugixml_reader.h"

namespace qs::test {

using EventLog = std::vector<std::string>;

std::string Hex(unsigned value);

class FakeMainWindow : public MainWindowPort {
 public:
  explicit FakeMainWindow(EventLog& log) : log_(log) {}
  WindowHandle Handle() const override { return handle; }
  void ShowMainWindow() override;
  void HideMainWindow() override;
  bool IsVisible() const override { return visible; }
  void SetCaption(std::string_view cp1251) override;
  void FocusSaveButton() override;
  void RequestClose() override;
  void RepaintControls() override;

  WindowHandle handle = 0x100;
  bool visible = true;
  std::string caption = "Quipstream";
  int closeRequests = 0;

 private:
  EventLog& log_;
};

class FakeTray : public TrayPort {
 public:
  explicit FakeTray(EventLog& log) : log_(log) {}
  void ShowIcon(std::string_view hint) override;
  void SetHint(std::string_view hint) override;
  void ShowBalloon(std::string_view text) override;
  TrayCommand TrackTrayMenu(ScreenPoint at, bool showClearHistory) override;

  bool iconShown = false;
  std::string hint;
  std::vector<std::string> balloons;
  std::optional<bool> lastMenuHadClearHistory;
  TrayCommand nextChoice = TrayCommand::None;

 private:
  EventLog& log_;
};

class FakeMenus : public PopupMenuPort {
 public:
  explicit FakeMenus(EventLog& log) : log_(log) {}
  std::optional<int> TrackPopup(const MenuItem& root, unsigned long long generation,
                                ScreenPoint at) override;

  std::optional<MenuItem> lastShown;
  std::optional<int> nextChoice;

 private:
  EventLog& log_;
};

class FakeTimers : public TimerPort {
 public:
  explicit FakeTimers(EventLog& log) : log_(log) {}
  void SetTimerEnabled(TimerId id, bool enabled) override;
  bool IsEnabled(TimerId id) const { return enabled_.count(id) != 0; }

 private:
  EventLog& log_;
  std::set<TimerId> enabled_;
};

// An in-memory folder. Paths are "C:\\Quipstream\\" + name.
class FakeFiles : public FilePort {
 public:
  explicit FakeFiles(EventLog& log) : log_(log) {}
  std::string ExecutablePath() const override { return folder + "quipstream.exe"; }
  std::string ExecutableFolder() const override { return folder; }
  bool Exists(const std::string& path) const override { return files.count(path) != 0; }
  FileContents ReadAll(const std::string& path) const override;
  FileResult ReplaceAtomically(const std::string& path, std::string_view bytes) override;
  FileResult CopyFile(const std::string& from, const std::string& to) override;

  std::string folder = "C:\\Quipstream\\";
  std::map<std::string, std::string> files;
  bool failWrites = false;  // every write fails, as in a read-only folder
  bool failReads = false;

 private:
  EventLog& log_;
};

class FakeRegistry : public RegistryPort {
 public:
  explicit FakeRegistry(EventLog& log) : log_(log) {}
  bool WriteString(std::string_view keyPath, std::string_view name,
                   std::string_view value) override;
  bool ValueExists(std::string_view keyPath, std::string_view name) override;
  bool DeleteValue(std::string_view keyPath, std::string_view name) override;

  std::map<std::string, std::string> values;  // "key\\name" -> value
  bool failWrites = false;

 private:
  EventLog& log_;
};

class FakeDialogs : public DialogPort {
 public:
  explicit FakeDialogs(EventLog& log) : log_(log) {}
  void ShowMessage(std::string_view text) override;
  void ShowError(std::string_view text) override;
  bool Confirm(std::string_view text, std::string_view caption) override;
  std::optional<std::string> InputBox(std::string_view caption, std::string_view prompt,
                                      std::string_view initial) override;
  std::optional<std::string> InputBoxUtf8(std::string_view caption, std::string_view prompt,
                                          std::string_view initial) override;

  std::vector<std::string> messages;  // plain and error texts, in order
  std::deque<bool> confirmAnswers;    // default Yes when empty
  std::deque<std::optional<std::string>> inputAnswers;  // default cancel when empty
  // Answers of InputBoxUtf8, in UTF-8; default cancel when empty.
  std::deque<std::optional<std::string>> inputAnswersUtf8;

 private:
  EventLog& log_;
};

class FakeHotkey : public HotkeyPort {
 public:
  explicit FakeHotkey(EventLog& log) : log_(log) {}
  bool Register(int id, unsigned mask, unsigned vk) override;
  void Unregister(int id) override;
  std::string KeyName(unsigned vk) override;

  std::map<int, std::pair<unsigned, unsigned>> registered;  // id -> (mask, vk)
  std::map<unsigned, std::string> keyNames;                 // what the "system" calls a key
  bool refuse = false;                                      // the combination is taken

 private:
  EventLog& log_;
};

class FakeInput : public InputPort {
 public:
  explicit FakeInput(EventLog& log) : log_(log) {}
  WindowHandle ForegroundWindow() override;
  ThreadId WindowThread(WindowHandle window) override;
  std::optional<WindowHandle> FocusWindowOf(ThreadId thread) override;
  bool SetForegroundWindow(WindowHandle window) override;
  ScreenPoint CursorPos() override { return cursor; }
  PostResult PostChar(WindowHandle window, unsigned char cp1251) override;
  void KeyEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) override;
  std::uint8_t ScanCodeOf(std::uint8_t vk) override;
  void Sleep(int milliseconds) override;
  bool RoundTrip(WindowHandle window, int timeoutMs) override;
  void ProcessMessages() override;
  void ActivateRussianLayout() override;
  // A slow target handles everything still in its queue.
  void HandleQueued();

  WindowHandle foreground = 0x500;
  std::map<WindowHandle, ThreadId> threads{{0x500, 77}};
  std::map<ThreadId, WindowHandle> focusOfThread{{77, 0x501}};
  ScreenPoint cursor{300, 200};
  // Results for the next posts, consumed in order; Ok when empty.
  std::deque<PostResult> postResults;
  // When set, a key event with this vk moves the thread's focus there
  // (as Tab moves the focus between fields).
  std::map<std::uint8_t, WindowHandle> focusAfterKey;
  // A target slower than the run: posted characters and key events wait in
  // its queue, and each round trip lets it handle one, posted characters
  // before input as Windows takes them; focusAfterKey acts when the key is
  // handled. `handled` lists what it took: the characters themselves and
  // "{vk}" for each key press.
  bool slowTarget = false;
  bool targetAnswers = true;  // false: a hung or vanished window
  int roundTrips = 0;
  std::string handled;
  long long sleptMs = 0;
  bool logProcessMessages = false;  // off by default: one per character is noise
  // Runs inside ProcessMessages, as the program's own waiting messages would
  // (a timer tick, a tray click, a hotkey) while a run is typing.
  std::function<void()> onProcessMessages;

 private:
  struct QueuedKey {
    ThreadId thread;
    std::uint8_t vk;
    bool down;
  };
  void HandlePress(ThreadId thread, std::uint8_t vk);
  bool HandleOne();

  EventLog& log_;
  std::deque<unsigned char> posted_;
  std::deque<QueuedKey> input_;
};

class FakeClipboard : public ClipboardPort {
 public:
  explicit FakeClipboard(EventLog& log) : log_(log) {}
  std::uint32_t SequenceNumber() override { return sequence; }
  ClipboardText ReadText() override;
  bool IsPrivate() override { return isPrivate; }
  // Puts a text on the clipboard (bumps the sequence number).
  void SetText(std::string cp1251);
  void SetNoText();

  std::uint32_t sequence = 1;
  ClipboardText content{ClipboardText::Status::NoText, {}};
  bool isPrivate = false;
  bool busy = false;  // held open by another program
  int reads = 0;

 private:
  EventLog& log_;
};

class FakeClock : public ClockPort {
 public:
  LocalDateTime Now() override { return now; }
  std::string TimeSeparator() override { return separator; }
  LocalDateTime now{2024, 3, 5, 9, 7};
  std::string separator = ":";
};

// Every fake wired together, with one log.
struct FakePlatform {
  EventLog log;
  FakeMainWindow window{log};
  FakeTray tray{log};
  FakeMenus menus{log};
  FakeTimers timers{log};
  FakeFiles files{log};
  FakeRegistry registry{log};
  FakeDialogs dialogs{log};
  PugiXmlReader xml;  // the real reader serves the tests
  FakeHotkey hotkey{log};
  FakeInput input{log};
  FakeClipboard clipboard{log};
  FakeClock clock;
  Platform ports();
};

}  // namespace qs::test
