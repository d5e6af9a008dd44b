// The registry under a scratch key of HKCU, removed before and after.
#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace qs::win32 {
namespace {

constexpr const wchar_t* kScratchKey = L"Software\\QuipstreamTests";
constexpr std::string_view kScratchPath = "Software\\QuipstreamTests\\Run";

class Win32RegistryTest : public testing::Test {
 protected:
  void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kScratchKey); }
  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kScratchKey); }

  // The raw value as the system stores it, type included.
  static std::wstring RawValue(const wchar_t* name, DWORD& type) {
    wchar_t data[512] = {};
    DWORD size = sizeof data;
    type = REG_NONE;
    if (::RegGetValueW(HKEY_CURRENT_USER, L"Software\\QuipstreamTests\\Run", name,
                       RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size) != ERROR_SUCCESS) {
      return L"<missing>";
    }
    return std::wstring(data, size / sizeof(wchar_t)).c_str();  // up to the stored zero
  }

  Win32Registry registry;
};

TEST_F(Win32RegistryTest, WriteCreatesKeyAndStoresUtf16String) {
  // A path with spaces and Cyrillic, stored as it stands: no quotes.
  const std::string path = "C:\\Program Files\\Квип\\quipstream.exe";
  ASSERT_TRUE(registry.WriteString(kScratchPath, "Quipstream", path));
  DWORD type = 0;
  EXPECT_EQ(RawValue(L"Quipstream", type),
            L"C:\\Program Files\\\u041A\u0432\u0438\u043F\\quipstream.exe");
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_TRUE(registry.ValueExists(kScratchPath, "Quipstream"));

  // Writing again replaces the value.
  ASSERT_TRUE(registry.WriteString(kScratchPath, "Quipstream", "D:\\q.exe"));
  EXPECT_EQ(RawValue(L"Quipstream", type), L"D:\\q.exe");
}

TEST_F(Win32RegistryTest, DeleteRemovesOnlyAnExistingValue) {
  ASSERT_TRUE(registry.WriteString(kScratchPath, "Quipstream", "x"));
  ASSERT_TRUE(registry.WriteString(kScratchPath, "Other", "y"));
  EXPECT_TRUE(registry.DeleteValue(kScratchPath, "Quipstream"));
  EXPECT_FALSE(registry.ValueExists(kScratchPath, "Quipstream"));
  EXPECT_TRUE(registry.ValueExists(kScratchPath, "Other"));
  EXPECT_FALSE(registry.DeleteValue(kScratchPath, "Quipstream"));
}

TEST_F(Win32RegistryTest, MissingKeyHasNoValuesAndIsNotCreatedByQueries) {
  EXPECT_FALSE(registry.ValueExists(kScratchPath, "Quipstream"));
  EXPECT_FALSE(registry.DeleteValue(kScratchPath, "Quipstream"));
  HKEY key = nullptr;
  EXPECT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, kScratchKey, 0, KEY_READ, &key),
            ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace qs::win32
