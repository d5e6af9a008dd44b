#include "expansion/computed_tags.h"

#include <algorithm>
#include <array>

#include "expansion/number_words.h"
#include "expansion/type_text.h"
#include "model/cp1251.h"

namespace qs {

namespace {

constexpr std::string_view kNoText = "БУФЕР ОБМЕНА НЕ СОДЕРЖИТ ТЕКСТ!"_cp1251;
constexpr std::string_view kNoNumber = "В БУФЕРЕ ОБМЕНА НЕТ ЧИСЕЛ!"_cp1251;
constexpr std::string_view kTooLong =
    "Извините, но программа понимает только числа до 15 знаков"_cp1251;
constexpr std::size_t kMaxWordsDigits = 15;

struct DateTimeTag {
  std::string_view name;
  std::string_view format;
};

// Full stops are written as they stand whatever the regional settings say;
// only the time's colon follows them.
constexpr std::array<DateTimeTag, 5> kDateTimeTags{{
    {"ДД.ММ.ГГГГ"_cp1251, "dd.mm.yyyy"},
    {"ММ.ДД.ГГГГ"_cp1251, "mm.dd.yyyy"},
    {"ГГГГ.ДД.ММ"_cp1251, "yyyy.dd.mm"},
    {"ГГГГ.ММ.ДД"_cp1251, "yyyy.mm.dd"},
    {"ЧЧ:ММ"_cp1251, "hh:nn"},
}};

void AppendPadded(std::string& out, int value, int width) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), '0');
  out += digits;
}

std::string Format(std::string_view format, const LocalDateTime& now, std::string_view separator) {
  struct Field {
    std::string_view letters;
    int value;
  };
  const std::array<Field, 5> fields{{
      {"yyyy", now.year}, {"dd", now.day}, {"mm", now.month}, {"hh", now.hour}, {"nn", now.minute},
  }};
  std::string out;
  while (!format.empty()) {
    const auto field = std::find_if(fields.begin(), fields.end(), [&](const Field& f) {
      return format.starts_with(f.letters);
    });
    if (field != fields.end()) {
      AppendPadded(out, field->value, static_cast<int>(field->letters.size()));
      format.remove_prefix(field->letters.size());
      continue;
    }
    if (format.front() == ':') {
      out += separator;
    } else {
      out += format.front();
    }
    format.remove_prefix(1);
  }
  return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string DateTimeText(std::string_view tagName, const LocalDateTime& now,
                         std::string_view timeSeparator) {
  for (const DateTimeTag& tag : kDateTimeTags) {
    if (tag.name == tagName) return Format(tag.format, now, timeSeparator);
  }
  return {};
}

std::string_view FirstDigitRun(std::string_view text) {
  const auto first = std::find_if(text.begin(), text.end(), IsDigit);
  const auto end = std::find_if_not(first, text.end(), IsDigit);
  return {first, end};
}

std::string ExtractFirstNumber(std::string_view text) {
  const std::string_view run = FirstDigitRun(text);
  return std::string(run.empty() ? kNoNumber : run);
}

std::string ClipboardNumberText(const ClipboardText& clipboard) {
  if (clipboard.status != ClipboardText::Status::Ok) return std::string(kNoText);
  return ExtractFirstNumber(clipboard.text);
}

// The limit counts the run as found, leading zeros included.
std::string ClipboardNumberInWordsText(const ClipboardText& clipboard) {
  if (clipboard.status != ClipboardText::Status::Ok) return std::string(kNoText);
  const std::string_view run = FirstDigitRun(clipboard.text);
  if (run.empty()) return std::string(kNoNumber);
  if (run.size() > kMaxWordsDigits) return std::string(kTooLong);
  return NumberToWords(run);
}

RunOutcome TypeDateTime(InputPort& input, WindowHandle focus, ClockPort& clock,
                        std::string_view tagName) {
  return TypeText(input, focus, DateTimeText(tagName, clock.Now(), clock.TimeSeparator()));
}

RunOutcome TypeClipboardNumber(InputPort& input, WindowHandle focus, ClipboardPort& clipboard) {
  const ClipboardText content = clipboard.ReadText();
  if (content.status == ClipboardText::Status::Unavailable) return RunOutcome::ClipboardUnavailable;
  return TypeText(input, focus, ClipboardNumberText(content));
}

RunOutcome TypeClipboardNumberInWords(InputPort& input, WindowHandle focus,
                                      ClipboardPort& clipboard) {
  const ClipboardText content = clipboard.ReadText();
  if (content.status == ClipboardText::Status::Unavailable) return RunOutcome::ClipboardUnavailable;
  return TypeText(input, focus, ClipboardNumberInWordsText(content));
}

}  // namespace qs
