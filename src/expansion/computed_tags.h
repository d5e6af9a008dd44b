// Tags whose text is computed when the run reaches them: the date and time
// tags and the two clipboard-number tags.
#pragma once

#include <string>
#include <string_view>

#include "expansion/run_outcome.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/input.h"

namespace qs {

// The date or time in the format of the tag ("ДД.ММ.ГГГГ" gives 05.03.2024,
// "ЧЧ:ММ" gives 09:07 with the user's separator); empty for any other name.
std::string DateTimeText(std::string_view tagName, const LocalDateTime& now,
                         std::string_view timeSeparator);

// The first run of ASCII digits, leading zeros kept; empty when there is none.
std::string_view FirstDigitRun(std::string_view text);
// The same run, or "В БУФЕРЕ ОБМЕНА НЕТ ЧИСЕЛ!" when the text holds no digit.
std::string ExtractFirstNumber(std::string_view text);

// What "Ч. из буфера" and "Ч. из буфера текстом" type for a clipboard that
// could be read (status Ok or NoText).
std::string ClipboardNumberText(const ClipboardText& clipboard);
std::string ClipboardNumberInWordsText(const ClipboardText& clipboard);

// Each types its text into `focus`. The clipboard is read when the tag is
// reached; when it cannot be opened nothing is typed and the result is
// ClipboardUnavailable.
RunOutcome TypeDateTime(InputPort& input, WindowHandle focus, ClockPort& clock,
                        std::string_view tagName);
RunOutcome TypeClipboardNumber(InputPort& input, WindowHandle focus, ClipboardPort& clipboard);
RunOutcome TypeClipboardNumberInWords(InputPort& input, WindowHandle focus,
                                      ClipboardPort& clipboard);

}  // namespace qs
