// What XmlLite's error codes mean, for the user (Windows-1251).
#pragma once

#include <windows.h>

#include <string>

namespace qs::win32 {

// A short Russian description with the code, e.g. "... (0xC00CEE01)".
std::string XmlLiteErrorText(HRESULT code);

}  // namespace qs::win32
