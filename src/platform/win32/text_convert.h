// Text at the boundary to the system: the core's Windows-1251 and UTF-8
// strings on one side, the W functions' UTF-16 on the other.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace qs::win32 {

std::wstring Cp1251ToWide(std::string_view cp1251);
// Characters without a Windows-1251 byte become '?'.
std::string WideToCp1251(std::wstring_view wide);

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

// The system's description of an error code, in Windows-1251, with the code.
std::string ErrorText(DWORD code);
// ErrorText(GetLastError()).
std::string LastErrorText();

}  // namespace qs::win32
