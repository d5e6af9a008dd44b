// Reading the clipboard's memory blocks, which need not hold what their
// format promises: a text may lack its closing zero, a flag may be short.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace qs::win32 {

// The UTF-16 text of a CF_UNICODETEXT block, up to the first zero or the
// end of the block, whichever comes first.
std::optional<std::wstring> ReadTextBlock(HANDLE block);
// A DWORD-valued block; none when it is smaller than a DWORD.
std::optional<DWORD> ReadDwordBlock(HANDLE block);

}  // namespace qs::win32
