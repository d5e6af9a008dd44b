// Ctrl+Backspace in the inserted-text field: cut the last word off the end.
#pragma once

#include <string>
#include <string_view>

namespace qs {

// The field's text (UTF-8) after one word cut. Works on characters, not
// bytes; the caret plays no part, the cut is always at the end.
std::string WordCut(std::string_view utf8);

}  // namespace qs
