#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <string>

#include "platform/win32/handle_types.h"
#include "platform/win32/text_convert.h"

namespace qs::win32 {
namespace {

// Each call asks only for the rights it uses, so a Run key that policy
// has made read-only still answers ValueExists.
unique_hkey OpenKey(std::string_view keyPath, REGSAM access) {
  unique_hkey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, Utf8ToWide(keyPath).c_str(), 0, access, key.put()) !=
      ERROR_SUCCESS) {
    key.release();  // the slot may hold garbage after a failure
  }
  return key;
}

}  // namespace

bool Win32Registry::WriteString(std::string_view keyPath, std::string_view name,
                                std::string_view value) {
  unique_hkey key;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, Utf8ToWide(keyPath).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS) {
    key.release();
    return false;
  }
  const std::wstring data = Utf8ToWide(value);
  const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));  // with the zero
  return ::RegSetValueExW(key.get(), Utf8ToWide(name).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(data.c_str()), bytes) == ERROR_SUCCESS;
}

bool Win32Registry::ValueExists(std::string_view keyPath, std::string_view name) {
  const unique_hkey key = OpenKey(keyPath, KEY_QUERY_VALUE);
  return key && ::RegQueryValueExW(key.get(), Utf8ToWide(name).c_str(), nullptr, nullptr, nullptr,
                                   nullptr) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteValue(std::string_view keyPath, std::string_view name) {
  const unique_hkey key = OpenKey(keyPath, KEY_SET_VALUE);
  return key && ::RegDeleteValueW(key.get(), Utf8ToWide(name).c_str()) == ERROR_SUCCESS;
}

}  // namespace qs::win32
