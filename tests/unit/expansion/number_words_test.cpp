#include "expansion/number_words.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "model/cp1251.h"

namespace qs {
namespace {

std::string Words(std::string_view digits) { return Cp1251ToUtf8(NumberToWords(digits)); }

TEST(NumberToWords, WorkedExamplesAndEdgeCases) {
  struct Case {
    std::string_view digits;
    std::string_view expected;
  };
  const Case cases[] = {
      {"1", "один"},
      {"21", "двадцать один"},
      {"112", "сто двенадцать"},
      {"0042", "сорок два"},
      {"1000", "одна тысяча"},
      {"2001", "две тысячи один"},
      {"11000", "одиннадцать тысяч"},
      {"21000", "двадцать одна тысяча"},
      {"123456", "сто двадцать три тысячи четыреста пятьдесят шесть"},
      {"1000000", "один миллион"},
      {"2000000", "два миллиона"},
      {"3000003", "три миллиона три"},
      {"5000000", "пять миллионов"},
      {"1000000000000", "один триллион"},
      {"999999999999999",
       "девятьсот девяносто девять триллионов девятьсот девяносто девять миллиардов девятьсот "
       "девяносто девять миллионов девятьсот девяносто девять тысяч девятьсот девяносто девять"},
      {"7", "семь"},
      {"007", "семь"},
      {"000000000000007", "семь"},
      {"10", "десять"},
      {"11", "одиннадцать"},
      {"19", "девятнадцать"},
      {"110", "сто десять"},
      {"111", "сто одиннадцать"},
      {"12000", "двенадцать тысяч"},
      {"14000000", "четырнадцать миллионов"},
      {"22000", "двадцать две тысячи"},
      {"22000000", "двадцать два миллиона"},
      {"1000001", "один миллион один"},
      {"2000000000", "два миллиарда"},
      {"1001000000", "один миллиард один миллион"},
      {"0", ""},
      {"000", ""},
      {"", ""},
      {"12a", "#Ошибка! переданная строка не является числом!"},
      {"-1", "#Ошибка! переданная строка не является числом!"},
      {" 1", "#Ошибка! переданная строка не является числом!"},
      {"\xB3", "#Ошибка! переданная строка не является числом!"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Words(c.digits), c.expected) << c.digits;
  }
}

TEST(DigitValue, DigitsAndEverythingElse) {
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    EXPECT_EQ(DigitValue(c), c >= '0' && c <= '9' ? b - '0' : 0) << b;
  }
}

// Words from an independent writer (see scripts/gen_number_words_fixture.py).
TEST(NumberToWords, AgreesWithTheFixture) {
  std::ifstream in(QS_FIXTURES_DIR "/number_words.tsv");
  ASSERT_TRUE(in) << "tests/fixtures/number_words.tsv";
  std::size_t rows = 0;
  std::size_t mismatches = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    const std::size_t tab = line.find('\t');
    ASSERT_NE(tab, std::string::npos) << line;
    const std::string digits = line.substr(0, tab);
    const std::string expected = line.substr(tab + 1);
    ++rows;
    if (NumberToWords(digits) != Utf8ToCp1251(expected) && ++mismatches <= 10) {
      ADD_FAILURE() << digits << ": " << Words(digits) << " != " << expected;
    }
  }
  EXPECT_EQ(mismatches, 0u);
  EXPECT_GE(rows, 2000u);  // the whole file was read
}

}  // namespace
}  // namespace qs
