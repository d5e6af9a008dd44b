#include "expansion/computed_tags.h"

#include <gtest/gtest.h>

#include "expansion/expansion_run.h"
#include "fakes/fake_platform.h"
#include "model/cp1251.h"
#include "typing_log.h"

namespace qs {
namespace {

using namespace test;

constexpr TypingTarget kTarget{0x500, 77, kFocus};

// What a run of `text` types, as UTF-8 for readable failures.
std::string Typed(std::string_view text, FakeClipboard& clipboard, FakeClock& clock,
                  EventLog& log) {
  FakeInput input(log);
  EXPECT_EQ(RunExpansion(text, kTarget, input, clipboard, clock), RunOutcome::Completed);
  return Cp1251ToUtf8(TypedText(log));
}

TEST(DateTimeTags, FormatTheClockInTheTagsOrder) {
  struct Case {
    LocalDateTime now;
    std::string separator;
    std::string_view tag;
    std::string expected;
  };
  const LocalDateTime march{2024, 3, 5, 9, 7};
  const LocalDateTime december{2024, 12, 1, 14, 30};
  const Case cases[] = {
      {march, ":", "ДД.ММ.ГГГГ"_cp1251, "05.03.2024"},
      {march, ":", "ММ.ДД.ГГГГ"_cp1251, "03.05.2024"},
      {march, ":", "ГГГГ.ДД.ММ"_cp1251, "2024.05.03"},
      {march, ":", "ГГГГ.ММ.ДД"_cp1251, "2024.03.05"},
      {march, ":", "ЧЧ:ММ"_cp1251, "09:07"},
      {december, ":", "ДД.ММ.ГГГГ"_cp1251, "01.12.2024"},
      {december, ":", "ММ.ДД.ГГГГ"_cp1251, "12.01.2024"},
      {december, ":", "ГГГГ.ДД.ММ"_cp1251, "2024.01.12"},
      {december, ":", "ГГГГ.ММ.ДД"_cp1251, "2024.12.01"},
      {{2024, 1, 1, 0, 5}, ":", "ЧЧ:ММ"_cp1251, "00:05"},
      {{2024, 1, 1, 23, 59}, ":", "ЧЧ:ММ"_cp1251, "23:59"},
      {{2024, 1, 1, 23, 59}, ".", "ЧЧ:ММ"_cp1251, "23.59"},
      {{2024, 1, 1, 7, 0}, " h ", "ЧЧ:ММ"_cp1251, "07 h 00"},
      {december, ".", "ДД.ММ.ГГГГ"_cp1251, "01.12.2024"},  // dates keep their full stops
      {{987, 1, 2, 0, 0}, ":", "ГГГГ.ММ.ДД"_cp1251, "0987.01.02"},
  };
  for (const Case& c : cases) {
    EventLog log;
    FakeClipboard clipboard(log);
    FakeClock clock;
    clock.now = c.now;
    clock.separator = c.separator;
    EXPECT_EQ(Typed("[" + std::string(c.tag) + "]", clipboard, clock, log), c.expected)
        << Cp1251ToUtf8(c.tag) << " " << c.expected;
  }
}

TEST(DateTimeTags, OtherNamesGiveNothing) {
  EXPECT_EQ(DateTimeText("ЧЧ:ММ:СС"_cp1251, {}, ":"), "");
  EXPECT_EQ(DateTimeText("дд.мм.гггг"_cp1251, {}, ":"), "");
}

TEST(ExtractFirstNumber, TakesTheFirstRunOfDigits) {
  struct Case {
    std::string_view text;
    std::string_view expected;
  };
  const Case cases[] = {
      {"-42", "42"},
      {"3,14", "3"},
      {"1 000", "1"},
      {"x12y34", "12"},
      {"0042", "0042"},
      {"\xB2\xB3" "7", "7"},  // Windows-1251 letters are not digits
      {"abc", "В БУФЕРЕ ОБМЕНА НЕТ ЧИСЕЛ!"_cp1251},
      {"", "В БУФЕРЕ ОБМЕНА НЕТ ЧИСЕЛ!"_cp1251},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtractFirstNumber(c.text), c.expected) << c.text;
  }
}

TEST(ClipboardTags, TypeTheFirstNumberAsDigitsAndAsWords) {
  struct Case {
    std::optional<std::string> clipboard;  // none: no text on the clipboard
    std::string digits;                    // what "Ч. из буфера" types
    std::string words;                     // what "Ч. из буфера текстом" types
  };
  const std::string noNumber = "В БУФЕРЕ ОБМЕНА НЕТ ЧИСЕЛ!";
  const std::string noText = "БУФЕР ОБМЕНА НЕ СОДЕРЖИТ ТЕКСТ!";
  const std::string tooLong = "Извините, но программа понимает только числа до 15 знаков";
  const Case cases[] = {
      {"Итого: 1 234,56", "1", "один"},
      {"-42", "42", "сорок два"},
      {"0042", "0042", "сорок два"},
      {"0", "0", ""},
      {"abc", noNumber, noNumber},
      {"", noNumber, noNumber},
      {"   ", noNumber, noNumber},
      {std::nullopt, noText, noText},
      {"123456789012345", "123456789012345",
       "сто двадцать три триллиона четыреста пятьдесят шесть миллиардов семьсот восемьдесят "
       "девять миллионов двенадцать тысяч триста сорок пять"},
      {"1234567890123456", "1234567890123456", tooLong},
      {"0000000000000001", "0000000000000001", tooLong},
      {"000000000000001", "000000000000001", "один"},
  };
  for (const Case& c : cases) {
    EventLog log;
    FakeClipboard clipboard(log);
    FakeClock clock;
    if (c.clipboard) clipboard.SetText(Utf8ToCp1251(*c.clipboard));
    EXPECT_EQ(Typed("[Ч. из буфера]|[Ч. из буфера текстом]"_cp1251, clipboard, clock, log),
              c.digits + "|" + c.words)
        << c.clipboard.value_or("(no text)");
  }
}

}  // namespace
}  // namespace qs
