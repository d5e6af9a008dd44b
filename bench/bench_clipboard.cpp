// Clipboard poll: the cost of one tick while a large text sits unchanged on
// the clipboard, against the same tick with a tiny text, measured side by side.
#include <chrono>
#include <cstdio>
#include <string>

#include "app/main_window.h"
#include "fakes/fake_platform.h"
#include "settings/settings_file.h"

namespace {

using Clock = std::chrono::steady_clock;

// Nanoseconds per unchanged-clipboard tick once the text has been captured.
double NsPerTick(std::size_t textBytes, int ticks) {
  qs::test::FakePlatform fake;
  qs::Platform ports = fake.ports();
  qs::MainWindow app(ports);
  qs::EntryModel model;
  model.AppendEntry("a", "b", std::string(qs::NoGroupName()));
  model.options().hotkey = 0xC04B;
  model.options().monitorClipboard = true;
  fake.files.files[fake.files.folder + "Settings.xml"] = qs::WriteSettingsXml(model);
  app.FormCreate();
  app.Timer1Timer();
  fake.clipboard.SetText(std::string(textBytes, 'x'));
  for (int i = 0; i < 3; ++i) app.Timer4Timer();  // submenu, then the history item
  fake.log.clear();

  const auto start = Clock::now();
  for (int i = 0; i < ticks; ++i) app.Timer4Timer();
  const auto elapsed = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
  return elapsed / ticks;
}

}  // namespace

int main() {
  constexpr int kTicks = 200000;
  double small = 0, large = 0;
  // Alternate the two measurements so drift on a noisy machine hits both.
  for (int round = 0; round < 3; ++round) {
    small += NsPerTick(10, kTicks);
    large += NsPerTick(10u << 20, kTicks);
  }
  small /= 3;
  large /= 3;
  std::printf("clipboard poll tick, unchanged 10-byte text:  %8.1f ns\n", small);
  std::printf("clipboard poll tick, unchanged 10 MiB text:   %8.1f ns\n", large);
  std::printf("ratio 10 MiB / 10 B: %.2fx (goal: within 2x)\n", large / small);
  return 0;
}
