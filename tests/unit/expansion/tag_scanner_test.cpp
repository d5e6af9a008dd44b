#include "expansion/tag_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/cp1251.h"

namespace qs {
namespace {

Segment Lit(std::string_view s) { return {Segment::Kind::Literal, s}; }
Segment Tag(std::string_view s) { return {Segment::Kind::Tag, s}; }

// 'literal' <tag> ..., in UTF-8.
std::string Show(const std::vector<Segment>& segments) {
  std::string out;
  for (const Segment& s : segments) {
    out += s.kind == Segment::Kind::Tag ? "<" : "'";
    out += Cp1251ToUtf8(s.text);
    out += s.kind == Segment::Kind::Tag ? "> " : "' ";
  }
  return out;
}

TEST(TagScanner, SplitsLikeTheLazyBracketExpression) {
  struct Case {
    std::string_view text;  // UTF-8, scanned as Windows-1251
    std::string_view expected;
  };
  const Case cases[] = {
      {"Привет", "'Привет' "},
      {"", ""},
      {"[ENTER]", "<ENTER> "},
      {"a[TAB]b", "'a' <TAB> 'b' "},
      {"[TAB][TAB]", "<TAB> <TAB> "},
      {"a[tab]b", "'a' <tab> 'b' "},
      {"a[ TAB ]b", "'a' < TAB > 'b' "},
      {"a[]b", "'a' <> 'b' "},
      {"[]", "<> "},
      {"a[b", "'a[b' "},
      {"[", "'[' "},
      {"]", "']' "},
      {"a]b[TAB]c", "'a]b' <TAB> 'c' "},
      {"a[b[TAB]c", "'a' <b[TAB> 'c' "},
      {"[[TAB]]", "<[TAB> ']' "},
      {"x[TAB]y]z", "'x' <TAB> 'y]z' "},
      {"a[TAB]b[c", "'a' <TAB> 'b[c' "},
      {"a[TAB]b[[c", "'a' <TAB> 'b[[c' "},
      {"first\r\nsecond[ENTER]", "'first\r\nsecond' <ENTER> "},
      {"[x\r\ny]", "<x\r\ny> "},  // a tag name may span a line break too
      {"[ДД.ММ.ГГГГ] [ЧЧ:ММ]", "<ДД.ММ.ГГГГ> ' ' <ЧЧ:ММ> "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Show(ScanTags(Utf8ToCp1251(c.text))), c.expected) << c.text;
  }
}

TEST(TagScanner, SegmentsAreViewsIntoTheText) {
  const std::string text = "ab[TAB]cd[x";
  for (const Segment& s : ScanTags(text)) {
    EXPECT_GE(s.text.data(), text.data());
    EXPECT_LE(s.text.data() + s.text.size(), text.data() + text.size());
  }
}

// The expression "(.*?)[[](.*?)[]]" searched the way a backtracking engine
// does: shortest group 1 first, then shortest group 2. Slow, but obviously so.
std::vector<Segment> ReferenceSplit(std::string_view text) {
  std::vector<Segment> out;
  std::size_t p = 0;
  for (;;) {
    bool matched = false;
    for (std::size_t open = p; open < text.size() && !matched; ++open) {
      if (text[open] != '[') continue;
      for (std::size_t close = open + 1; close < text.size(); ++close) {
        if (text[close] != ']') continue;
        if (open > p) out.push_back(Lit(text.substr(p, open - p)));
        out.push_back(Tag(text.substr(open + 1, close - open - 1)));
        p = close + 1;
        matched = true;
        break;
      }
    }
    if (!matched) break;
  }
  if (p < text.size()) out.push_back(Lit(text.substr(p)));
  return out;
}

TEST(TagScanner, AgreesWithTheExpressionOnEveryShortText) {
  const char alphabet[] = {'a', '[', ']'};
  std::string text;
  for (int length = 0; length <= 8; ++length) {
    int combinations = 1;
    for (int i = 0; i < length; ++i) combinations *= 3;
    for (int n = 0; n < combinations; ++n) {
      text.clear();
      for (int i = 0, k = n; i < length; ++i, k /= 3) text += alphabet[k % 3];
      ASSERT_EQ(Show(ScanTags(text)), Show(ReferenceSplit(text))) << text;
    }
  }
}

TEST(TagScanner, LongTexts) {
  // Unclosed brackets everywhere: the whole text is one literal run.
  std::string brackets(100'000, '[');
  EXPECT_EQ(ScanTags(brackets), std::vector<Segment>{Lit(brackets)});

  std::string unclosed = "[" + std::string(99'999, 'a');
  EXPECT_EQ(ScanTags(unclosed), std::vector<Segment>{Lit(unclosed)});

  std::string manyTags;
  for (int i = 0; i < 10'000; ++i) manyTags += (i % 2 ? "xy[TAB]" : "z[[ENTER]");
  manyTags += "[end";
  const std::vector<Segment> segments = ScanTags(manyTags);
  ASSERT_EQ(segments.size(), 20'001u);
  for (int i = 0; i < 10'000; ++i) {
    EXPECT_EQ(segments[2 * i], i % 2 ? Lit("xy") : Lit("z")) << i;
    EXPECT_EQ(segments[2 * i + 1], i % 2 ? Tag("TAB") : Tag("[ENTER")) << i;
  }
  EXPECT_EQ(segments.back(), Lit("[end"));
}

}  // namespace
}  // namespace qs
