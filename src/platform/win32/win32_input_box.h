// A modal box that asks for one line of text.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace qs::win32 {

inline constexpr int kInputBoxEditId = 100;
inline constexpr int kInputBoxPromptId = 101;
inline constexpr int kInputBoxMaxLength = 255;

// OK returns the edited text; Cancel, Esc and the close box return none.
std::optional<std::wstring> RunInputBox(HWND owner, std::wstring_view caption,
                                        std::wstring_view prompt, std::wstring_view initial);

}  // namespace qs::win32
