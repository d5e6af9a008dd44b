// Whole numbers of up to 15 digits written out in Russian words.
#pragma once

#include <string>
#include <string_view>

namespace qs {

// Lower-case Russian words (Windows-1251), single spaces between them: the
// empty text for a run of zeros or an empty input, and
// "#Ошибка! переданная строка не является числом!" when the input holds
// anything but the ASCII digits. The caller keeps the input to 15 digits.
std::string NumberToWords(std::string_view digits);

// 0..9 for '0'..'9', 0 for any other character.
int DigitValue(char c);

}  // namespace qs
