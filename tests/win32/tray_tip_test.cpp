// The tray hint cut to the 127 characters the notification area holds.
#include "platform/win32/win32_tray.h"

#include <gtest/gtest.h>

#include <string>

namespace qs::win32 {
namespace {

TEST(FitTrayTip, LongHintsAreCutWithoutBreakingPairs) {
  const std::wstring a126(126, L'a');
  struct Case {
    const char* name;
    std::wstring text;
    std::wstring expected;
  };
  const Case cases[] = {
      {"short", L"Quipstream\r\n[1]", L"Quipstream\r\n[1]"},
      {"exactly full", a126 + L"b", a126 + L"b"},
      {"one too long", a126 + L"bc", a126 + L"b"},
      {"cut inside CR LF", a126 + L"\r\nnext", a126},
      {"cut after a CR LF", a126.substr(1) + L"\r\nnext", a126.substr(1) + L"\r\n"},
      {"cut inside a surrogate pair", a126 + L"\U0001F600", a126},
      {"whole surrogate pair fits", a126.substr(1) + L"\U0001F600z",
       a126.substr(1) + L"\U0001F600"},
      {"empty", L"", L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FitTrayTip(c.text, 127), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace qs::win32
