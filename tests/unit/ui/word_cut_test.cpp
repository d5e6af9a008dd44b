#include "ui/word_cut.h"

#include <gtest/gtest.h>

namespace qs {
namespace {

TEST(WordCut, CutsTheLastWordAtTheEnd) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"one two three", "one two "},
      {"hello, w", "hello"},  // a boundary before the last character is skipped, the comma goes too
      {"a,b,c", "a"},
      {"10:30", "10:"},
      {"x.y", ""},
      {"word", ""},
      {"w", ""},
      {"", ""},
      {"hello world", "hello "},
      {"hello, ", ""},  // the comma before the last character is skipped
      {"ab,.x", "ab"},
      {"ab,. ", "ab,"},  // ends in a space: the found comma stays
      {"a b, c", "a b"},
      {"one-two", "one-"},
      {"a;b", ""},
      {"a;bc", "a;"},
      {"line\r\nnext", ""},  // line breaks and tabs are no boundaries
      {"tab\there", ""},
      {"one two  ", "one "},  // a second cut after the typed space
      {"hello  ", ""},
      {"one\xC2\xA0two", "one\xC2\xA0"},  // the no-break space is a boundary
      {"x\xC2\xA0y", ""},                 // ...also as the one skipped before the last character
      {"да нет", "да "},                  // characters, not bytes
      {"пр.ив", "пр."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WordCut(c.text), c.expected) << "text: " << c.text;
  }
}

}  // namespace
}  // namespace qs
