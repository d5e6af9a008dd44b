// Fields of the editing windows hand their texts over as UTF-8, so that a
// character the program cannot keep is caught before it turns into '?'.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/dialogs.h"

namespace qs {

// The first character of a UTF-8 text that has no Windows-1251 byte.
std::optional<char32_t> FirstCharOutsideCp1251(std::string_view utf8);

// The refusal, in Windows-1251. The character itself cannot be shown in that
// code page, so it is named by its code: «U+1F600».
std::string OutsideCp1251Message(char32_t character);

// The Windows-1251 bytes of a typed text, or none after telling the user
// which character cannot be kept.
std::optional<std::string> AcceptTypedText(std::string_view utf8, DialogPort& dialogs);

}  // namespace qs
