#include "platform/win32/win32_clock.h"

#include <windows.h>

#include <iterator>

#include "platform/win32/text_convert.h"

namespace qs::win32 {

LocalDateTime Win32Clock::Now() {
  SYSTEMTIME t{};
  ::GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute};
}

// LOCALE_STIME is kept by Windows for compatibility; it still reports what
// the user chose, and "hh:nn" is all the time tag asks of it.
std::string Win32Clock::TimeSeparator() {
  wchar_t buffer[8] = {};
  const int length = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STIME, buffer,
                                       static_cast<int>(std::size(buffer)));
  std::string separator = length > 1 ? WideToCp1251({buffer, static_cast<std::size_t>(length - 1)})
                                     : std::string();
  return separator.empty() ? std::string(":") : separator;
}

}  // namespace qs::win32
