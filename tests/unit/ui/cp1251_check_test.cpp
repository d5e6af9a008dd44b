#include "ui/cp1251_check.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "model/cp1251.h"

namespace qs {
namespace {

TEST(Cp1251Check, FindsTheFirstCharacterWithoutAWindows1251Byte) {
  struct Case {
    const char* utf8;
    std::optional<char32_t> expected;
  };
  const Case cases[] = {
      {"", std::nullopt},
      {"Привет, Ёлка №5", std::nullopt},
      {"€ \xC2\xA0 «»", std::nullopt},  // euro sign, no-break space and guillemets have bytes
      {"aāb😀", U'ā'},
      {"ok 😀", U'\U0001F600'},
      {"日本", U'日'},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FirstCharOutsideCp1251(c.utf8), c.expected) << c.utf8;
  }
}

TEST(Cp1251Check, TheRefusalNamesTheCharacterByItsCode) {
  EXPECT_EQ(Cp1251ToUtf8(OutsideCp1251Message(U'\U0001F600')),
            "Символ «U+1F600» нельзя сохранить: программа хранит тексты в кодировке Windows-1251");
  EXPECT_EQ(Cp1251ToUtf8(OutsideCp1251Message(U'ā')),
            "Символ «U+0101» нельзя сохранить: программа хранит тексты в кодировке Windows-1251");
}

TEST(Cp1251Check, AcceptedTextComesBackAsWindows1251) {
  test::EventLog log;
  test::FakeDialogs dialogs(log);
  EXPECT_EQ(AcceptTypedText("Почта €", dialogs), std::string("Почта €"_cp1251));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(AcceptTypedText("Почта ā", dialogs), std::nullopt);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0], OutsideCp1251Message(U'ā'));
}

}  // namespace
}  // namespace qs
