#include "platform/win32/win32_mutex.h"

#include <string>

#include "platform/win32/text_convert.h"

namespace qs::win32 {

// Creating and testing in one call leaves no gap for two copies started
// together. Our handle keeps the mutex alive even when we were second.
bool Win32InstanceMutex::CreateAndCheckExisting(std::string_view name) {
  const std::wstring wideName = Utf8ToWide(name);
  HANDLE created = ::CreateMutexW(nullptr, FALSE, wideName.c_str());
  const DWORD error = ::GetLastError();
  if (created) {
    mutex_.reset(created);
    return error == ERROR_ALREADY_EXISTS;
  }
  // Denied: it exists, made by a copy running with other rights.
  return error == ERROR_ACCESS_DENIED;
}

}  // namespace qs::win32
