// A main window core wired to recording fakes, with helpers to lay down a
// Settings.xml and to read the log.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "fakes/fake_platform.h"
#include "model/cp1251.h"
#include "settings/settings_file.h"

namespace qs::test {

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : ports(fake.ports()), app(ports) {}

  std::string SettingsFile() const { return fake.files.folder + "Settings.xml"; }

  // Writes Settings.xml from a model built by the test.
  void WriteSettings(const EntryModel& model) {
    fake.files.files[SettingsFile()] = WriteSettingsXml(model);
  }

  // Two ungrouped entries, one group "G" with one entry, Ctrl+Alt+K.
  static EntryModel SampleModel(bool monitor = false, bool autostart = false) {
    EntryModel m;
    const std::string none(NoGroupName());
    m.AppendEntry("One", "first text", none);
    m.AppendEntry("Two", "  second\r\n", none);
    m.AppendEntry("Three", "third", "G");
    m.AppendGroup("G");
    m.options().hotkey = 0xC04B;
    m.options().monitorClipboard = monitor;
    m.options().autostart = autostart;
    return m;
  }

  // Start-up as the message loop would run it.
  void Start() {
    app.FormCreate();
    app.Timer1Timer();
  }

  bool Logged(const std::string& line) const {
    return std::find(fake.log.begin(), fake.log.end(), line) != fake.log.end();
  }

  FakePlatform fake;
  Platform ports;
  MainWindow app;
};

}  // namespace qs::test
