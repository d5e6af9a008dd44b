// The code page 1251 boundary: every byte must come back as the core's own
// table says, whatever the process's ANSI code page (1252 under Wine here).
#include "platform/win32/text_convert.h"

#include <gtest/gtest.h>

#include <string>

#include "model/cp1251.h"

namespace qs::win32 {
namespace {

TEST(TextConvert, EveryCp1251ByteMapsToItsCodePointAndBack) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::wstring wide = Cp1251ToWide(all);
  ASSERT_EQ(wide.size(), 256u);
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(static_cast<char32_t>(wide[b]), Cp1251CodePoint(static_cast<unsigned char>(b)))
        << "byte 0x" << std::hex << b;
  }
  EXPECT_EQ(WideToCp1251(wide), all);
}

TEST(TextConvert, CharactersOutsideCp1251BecomeQuestionMarks) {
  struct Case {
    const wchar_t* wide;
    std::string_view cp1251;
  };
  const Case cases[] = {
      {L"\u0416\u0451\u2116\u20AC", "Жё№€"_cp1251},    // all in the code page
      {L"caf\u00E9", "caf?"},                          // no best fit to "cafe"
      {L"\u4E2D\u6587", "??"},                         // CJK
      {L"a\U0001F600b", "a?b"},                        // one '?' per surrogate pair
      {L"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WideToCp1251(c.wide), std::string(c.cp1251)) << Cp1251ToUtf8(c.cp1251);
  }
}

TEST(TextConvert, Utf8RoundTripsThroughUtf16) {
  const std::string utf8 = "Привет, \xF0\x9F\x98\x80 мир";  // with a character beyond the BMP
  const std::wstring wide = Utf8ToWide(utf8);
  EXPECT_EQ(wide, L"\u041F\u0440\u0438\u0432\u0435\u0442, \U0001F600 \u043C\u0438\u0440");
  EXPECT_EQ(WideToUtf8(wide), utf8);
  EXPECT_EQ(Utf8ToWide(""), L"");
}

TEST(TextConvert, ErrorTextNamesTheSystemReasonAndTheCode) {
  const std::string text = ErrorText(ERROR_FILE_NOT_FOUND);
  EXPECT_NE(text.find("(код 2)"_cp1251), std::string::npos) << text;
  EXPECT_GT(text.size(), std::string_view("(код 2)"_cp1251).size()) << "no system text: " << text;
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_EQ(text.find('\n'), std::string::npos);
}

}  // namespace
}  // namespace qs::win32
