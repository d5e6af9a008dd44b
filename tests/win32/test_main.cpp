// The adapter tests' entry: GoogleTest's flags plus --fixtures=DIR.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/win32/handle_types.h"
#include "platform/win32/text_convert.h"
#include "win32/test_environment.h"

namespace qs::win32::test {
namespace {

std::string g_fixturesDir;

struct LocalFreer {
  static LPWSTR* invalid() noexcept { return nullptr; }
  static void close(LPWSTR* p) noexcept { ::LocalFree(p); }
};

// The wide command line: the narrow argv would lose a path outside the
// ANSI code page.
std::string FixturesFromCommandLine() {
  int count = 0;
  const unique_handle<LPWSTR*, LocalFreer> args(::CommandLineToArgvW(::GetCommandLineW(), &count));
  constexpr std::wstring_view kFlag = L"--fixtures=";
  for (int i = 1; args && i < count; ++i) {
    const std::wstring_view arg = args.get()[i];
    if (arg.substr(0, kFlag.size()) == kFlag) return WideToUtf8(arg.substr(kFlag.size()));
  }
  return {};
}

std::string FixturesFromEnvironment() {
  wchar_t value[4096] = {};
  const DWORD n = ::GetEnvironmentVariableW(L"QS_FIXTURES_DIR", value, 4096);
  return n > 0 && n < 4096 ? WideToUtf8({value, n}) : std::string();
}

std::string FixturesBesideExe() {
  wchar_t exe[4096] = {};
  const DWORD n = ::GetModuleFileNameW(nullptr, exe, 4096);
  std::wstring path(exe, n);
  path.erase(path.find_last_of(L"\\/") + 1);
  return WideToUtf8(path + L"fixtures");
}

}  // namespace

const std::string& FixturesDir() { return g_fixturesDir; }

void FindFixtures() {
  g_fixturesDir = FixturesFromCommandLine();
  if (g_fixturesDir.empty()) g_fixturesDir = FixturesFromEnvironment();
  if (g_fixturesDir.empty()) g_fixturesDir = FixturesBesideExe();
  while (!g_fixturesDir.empty() && (g_fixturesDir.back() == '\\' || g_fixturesDir.back() == '/')) {
    g_fixturesDir.pop_back();
  }
}

}  // namespace qs::win32::test

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  qs::win32::test::FindFixtures();
  return RUN_ALL_TESTS();
}
