#include "expansion/number_words.h"

#include <algorithm>
#include <array>

#include "model/cp1251.h"

namespace qs {

namespace {

using Words = std::array<std::string_view, 10>;

constexpr Words kHundredWords{
    "", "сто"_cp1251, "двести"_cp1251, "триста"_cp1251, "четыреста"_cp1251,
    "пятьсот"_cp1251, "шестьсот"_cp1251, "семьсот"_cp1251, "восемьсот"_cp1251,
    "девятьсот"_cp1251,
};

// 1 is left empty: a tens digit of 1 takes the teen word instead.
constexpr Words kTensWords{
    "", "", "двадцать"_cp1251, "тридцать"_cp1251, "сорок"_cp1251,
    "пятьдесят"_cp1251, "шестьдесят"_cp1251, "семьдесят"_cp1251, "восемьдесят"_cp1251,
    "девяносто"_cp1251,
};

constexpr Words kTeenWords{
    "десять"_cp1251, "одиннадцать"_cp1251, "двенадцать"_cp1251, "тринадцать"_cp1251,
    "четырнадцать"_cp1251, "пятнадцать"_cp1251, "шестнадцать"_cp1251, "семнадцать"_cp1251,
    "восемнадцать"_cp1251, "девятнадцать"_cp1251,
};

constexpr Words kUnitWordsMasculine{
    "", "один"_cp1251, "два"_cp1251, "три"_cp1251, "четыре"_cp1251,
    "пять"_cp1251, "шесть"_cp1251, "семь"_cp1251, "восемь"_cp1251, "девять"_cp1251,
};

// "тысяча" is feminine: одна тысяча, две тысячи.
constexpr Words kUnitWordsFeminine{
    "", "одна"_cp1251, "две"_cp1251, "три"_cp1251, "четыре"_cp1251,
    "пять"_cp1251, "шесть"_cp1251, "семь"_cp1251, "восемь"_cp1251, "девять"_cp1251,
};

struct ScaleForms {
  std::string_view plural;    // after 0, 5..9 and 10..19
  std::string_view singular;  // after 1
  std::string_view paucal;    // after 2, 3, 4
};

constexpr int kTriads = 5;
constexpr std::size_t kDigits = 3 * kTriads;
constexpr int kThousandsTriad = 3;
// Room for the longest result (under 200 bytes, e.g. 488 488 488 488 488), so
// the words are appended without growing the string.
constexpr std::size_t kLongestWords = 256;

// Highest triad first; the last one, the units, has no scale word.
constexpr std::array<ScaleForms, kTriads> kScaleWords{{
    {"триллионов"_cp1251, "триллион"_cp1251, "триллиона"_cp1251},
    {"миллиардов"_cp1251, "миллиард"_cp1251, "миллиарда"_cp1251},
    {"миллионов"_cp1251, "миллион"_cp1251, "миллиона"_cp1251},
    {"тысяч"_cp1251, "тысяча"_cp1251, "тысячи"_cp1251},
    {"", "", ""},
}};

std::string_view ScaleFor(const ScaleForms& forms, int units) {
  if (units == 1) return forms.singular;
  if (units >= 2 && units <= 4) return forms.paucal;
  return forms.plural;
}

void Append(std::string& result, std::string_view word) {
  if (word.empty()) return;
  if (!result.empty()) result += ' ';
  result += word;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int DigitValue(char c) { return IsDigit(c) ? c - '0' : 0; }

std::string NumberToWords(std::string_view digits) {
  if (!std::all_of(digits.begin(), digits.end(), IsDigit)) {
    return std::string("#Ошибка! переданная строка не является числом!"_cp1251);
  }
  // Five triads, zero-padded at the front. A longer input (callers refuse
  // one) is read by its first 15 digits.
  std::array<char, kDigits> padded;
  padded.fill('0');
  const std::size_t take = std::min(digits.size(), kDigits);
  std::copy_n(digits.begin(), take, padded.end() - static_cast<std::ptrdiff_t>(take));

  std::string result;
  result.reserve(kLongestWords);
  for (int j = 0; j < kTriads; ++j) {
    const int h = DigitValue(padded[3 * j]);
    const int t = DigitValue(padded[3 * j + 1]);
    const int u = DigitValue(padded[3 * j + 2]);
    if (h == 0 && t == 0 && u == 0) continue;
    Append(result, kHundredWords[h]);
    if (t == 1) {
      Append(result, kTeenWords[u]);
      Append(result, kScaleWords[j].plural);
    } else {
      Append(result, kTensWords[t]);
      Append(result, j == kThousandsTriad ? kUnitWordsFeminine[u] : kUnitWordsMasculine[u]);
      Append(result, ScaleFor(kScaleWords[j], u));
    }
  }
  return result;
}

}  // namespace qs
