#include "fakes/fake_platform.h"

#include <cstdio>

#include "model/cp1251.h"

namespace qs::test {

std::string Hex(unsigned value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%02X", value);
  return buf;
}

namespace {
std::string U(std::string_view cp1251) { return Cp1251ToUtf8(cp1251); }
std::string Point(ScreenPoint p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
}  // namespace

void FakeMainWindow::ShowMainWindow() {
  visible = true;
  log_.push_back("Show");
}
void FakeMainWindow::HideMainWindow() {
  visible = false;
  log_.push_back("Hide");
}
void FakeMainWindow::SetCaption(std::string_view cp1251) {
  caption = std::string(cp1251);
  log_.push_back("Caption " + U(cp1251));
}
void FakeMainWindow::FocusSaveButton() { log_.push_back("FocusSave"); }
void FakeMainWindow::RequestClose() {
  ++closeRequests;
  log_.push_back("Close");
}
void FakeMainWindow::RepaintControls() { log_.push_back("Repaint"); }

void FakeTray::ShowIcon(std::string_view h) {
  iconShown = true;
  hint = std::string(h);
  log_.push_back("TrayIcon " + U(h));
}
void FakeTray::SetHint(std::string_view h) {
  hint = std::string(h);
  log_.push_back("Hint " + U(h));
}
void FakeTray::ShowBalloon(std::string_view text) {
  balloons.emplace_back(text);
  log_.push_back("Balloon " + U(text));
}
TrayCommand FakeTray::TrackTrayMenu(ScreenPoint at, bool showClearHistory) {
  lastMenuHadClearHistory = showClearHistory;
  log_.push_back("TrayMenu " + Point(at) + (showClearHistory ? " N6" : ""));
  return nextChoice;
}

std::optional<int> FakeMenus::TrackPopup(const MenuItem& root, unsigned long long,
                                         ScreenPoint at) {
  lastShown = root;
  log_.push_back("Menu " + Point(at));
  auto choice = nextChoice;
  nextChoice.reset();
  return choice;
}

void FakeTimers::SetTimerEnabled(TimerId id, bool enabled) {
  if (enabled) {
    enabled_.insert(id);
  } else {
    enabled_.erase(id);
  }
  log_.push_back("Timer" + std::to_string(static_cast<int>(id)) + (enabled ? " on" : " off"));
}

FileContents FakeFiles::ReadAll(const std::string& path) const {
  auto it = files.find(path);
  if (failReads || it == files.end()) return {false, {}, "cannot open"};
  return {true, it->second, {}};
}
FileResult FakeFiles::ReplaceAtomically(const std::string& path, std::string_view bytes) {
  if (failWrites) {
    log_.push_back("ReplaceFailed " + path);
    return {false, "access denied"};
  }
  files[path] = std::string(bytes);
  log_.push_back("Replace " + path);
  return {true, {}};
}
FileResult FakeFiles::CopyFile(const std::string& from, const std::string& to) {
  auto it = files.find(from);
  if (failWrites || it == files.end()) return {false, "cannot copy"};
  files[to] = it->second;
  log_.push_back("Copy " + from + " -> " + to);
  return {true, {}};
}

bool FakeRegistry::WriteString(std::string_view keyPath, std::string_view name,
                               std::string_view value) {
  if (failWrites) return false;
  values[std::string(keyPath) + "\\" + std::string(name)] = std::string(value);
  log_.push_back("RegWrite " + std::string(name) + "=" + std::string(value));
  return true;
}
bool FakeRegistry::ValueExists(std::string_view keyPath, std::string_view name) {
  return values.count(std::string(keyPath) + "\\" + std::string(name)) != 0;
}
bool FakeRegistry::DeleteValue(std::string_view keyPath, std::string_view name) {
  log_.push_back("RegDelete " + std::string(name));
  return values.erase(std::string(keyPath) + "\\" + std::string(name)) != 0;
}

void FakeDialogs::ShowMessage(std::string_view text) {
  messages.emplace_back(text);
  log_.push_back("Message " + U(text));
}
void FakeDialogs::ShowError(std::string_view text) {
  messages.emplace_back(text);
  log_.push_back("Error " + U(text));
}
bool FakeDialogs::Confirm(std::string_view text, std::string_view caption) {
  log_.push_back("Confirm " + U(caption) + ": " + U(text));
  if (confirmAnswers.empty()) return true;
  const bool answer = confirmAnswers.front();
  confirmAnswers.pop_front();
  return answer;
}
std::optional<std::string> FakeDialogs::InputBox(std::string_view caption, std::string_view prompt,
                                                 std::string_view initial) {
  log_.push_back("Input " + U(caption) + " / " + U(prompt) + " / " + U(initial));
  if (inputAnswers.empty()) return std::nullopt;
  auto answer = inputAnswers.front();
  inputAnswers.pop_front();
  return answer;
}
std::optional<std::string> FakeDialogs::InputBoxUtf8(std::string_view caption,
                                                     std::string_view prompt,
                                                     std::string_view initial) {
  log_.push_back("Input " + U(caption) + " / " + U(prompt) + " / " + U(initial));
  if (inputAnswersUtf8.empty()) return std::nullopt;
  auto answer = inputAnswersUtf8.front();
  inputAnswersUtf8.pop_front();
  return answer;
}

bool FakeHotkey::Register(int id, unsigned mask, unsigned vk) {
  log_.push_back("Register " + std::to_string(id) + " mask " + std::to_string(mask) + " vk " +
                 Hex(vk) + (refuse ? " refused" : ""));
  if (refuse) return false;
  registered[id] = {mask, vk};
  return true;
}
void FakeHotkey::Unregister(int id) {
  registered.erase(id);
  log_.push_back("Unregister " + std::to_string(id));
}
std::string FakeHotkey::KeyName(unsigned vk) {
  auto it = keyNames.find(vk);
  return it == keyNames.end() ? std::string() : it->second;
}

WindowHandle FakeInput::ForegroundWindow() { return foreground; }
ThreadId FakeInput::WindowThread(WindowHandle window) {
  auto it = threads.find(window);
  return it == threads.end() ? 0 : it->second;
}
std::optional<WindowHandle> FakeInput::FocusWindowOf(ThreadId thread) {
  auto it = focusOfThread.find(thread);
  if (it == focusOfThread.end()) return std::nullopt;
  return it->second;
}
bool FakeInput::SetForegroundWindow(WindowHandle window) {
  foreground = window;
  log_.push_back("Foreground " + Hex(static_cast<unsigned>(window)));
  return true;
}
PostResult FakeInput::PostChar(WindowHandle window, unsigned char cp1251) {
  PostResult result = PostResult::Ok;
  if (!postResults.empty()) {
    result = postResults.front();
    postResults.pop_front();
  }
  static const char* const kNames[] = {"", " access-denied", " queue-full", " failed"};
  log_.push_back("Char " + Hex(static_cast<unsigned>(window)) + " " + Hex(cp1251) +
                 kNames[static_cast<int>(result)]);
  if (result == PostResult::Ok && slowTarget) {
    posted_.push_back(cp1251);
  } else if (result == PostResult::Ok) {
    handled += static_cast<char>(cp1251);
  }
  return result;
}
void FakeInput::KeyEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) {
  log_.push_back("Key " + Hex(vk) + " scan " + Hex(scan) + " flags " + std::to_string(flags));
  const bool down = (flags & 2) == 0;
  if (slowTarget) {
    input_.push_back({WindowThread(foreground), vk, down});
  } else if (down) {
    HandlePress(WindowThread(foreground), vk);
  }
}
void FakeInput::HandlePress(ThreadId thread, std::uint8_t vk) {
  handled += "{" + Hex(vk) + "}";
  auto it = focusAfterKey.find(vk);
  if (it != focusAfterKey.end()) focusOfThread[thread] = it->second;
}
bool FakeInput::HandleOne() {
  if (!posted_.empty()) {
    handled += static_cast<char>(posted_.front());
    posted_.pop_front();
    return true;
  }
  if (input_.empty()) return false;
  const QueuedKey key = input_.front();
  input_.pop_front();
  if (key.down) HandlePress(key.thread, key.vk);
  return true;
}
void FakeInput::HandleQueued() {
  while (HandleOne()) {
  }
}
bool FakeInput::RoundTrip(WindowHandle, int) {
  ++roundTrips;
  if (!targetAnswers) return false;
  HandleOne();
  return true;
}
std::uint8_t FakeInput::ScanCodeOf(std::uint8_t vk) { return vk == 0x11 ? 0x1D : 0; }
void FakeInput::Sleep(int milliseconds) {
  sleptMs += milliseconds;
  log_.push_back("Sleep " + std::to_string(milliseconds));
}
void FakeInput::ProcessMessages() {
  if (logProcessMessages) log_.push_back("Pump");
  if (onProcessMessages) {
    auto hook = std::move(onProcessMessages);  // runs once, like one waiting message
    hook();
  }
}
void FakeInput::ActivateRussianLayout() { log_.push_back("Layout 00000419"); }

ClipboardText FakeClipboard::ReadText() {
  ++reads;
  if (busy) return {ClipboardText::Status::Unavailable, {}};
  return content;
}
void FakeClipboard::SetText(std::string cp1251) {
  content = {ClipboardText::Status::Ok, std::move(cp1251)};
  ++sequence;
}
void FakeClipboard::SetNoText() {
  content = {ClipboardText::Status::NoText, {}};
  ++sequence;
}

Platform FakePlatform::ports() {
  return Platform{window, tray,  menus, timers, files,     registry,
                  dialogs, xml, hotkey, input, clipboard, clock};
}

}  // namespace qs::test
