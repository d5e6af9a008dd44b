#include "settings/xml_declaration.h"

#include <gtest/gtest.h>

#include <string>

namespace qs {
namespace {

std::string Utf16Le(std::u16string_view text, bool bom) {
  std::string out = bom ? "\xFF\xFE" : "";
  for (const char16_t u : text) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>(u >> 8));
  }
  return out;
}

std::string Utf16Be(std::u16string_view text, bool bom) {
  std::string out = bom ? "\xFE\xFF" : "";
  for (const char16_t u : text) {
    out.push_back(static_cast<char>(u >> 8));
    out.push_back(static_cast<char>(u & 0xFF));
  }
  return out;
}

TEST(NormalizeXmlEncoding, RemovesAnyEncodingButUtf8FromTheDeclaration) {
  const struct {
    const char* name;
    std::string in;
    std::string out;
  } cases[] = {
      {"no declaration: untouched, high bytes too", "<a>\xC0</a>", "<a>\xC0</a>"},
      {"UTF-8 named", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xD0\x9F</a>",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xD0\x9F</a>"},
      {"utf-8 in lower case", "<?xml version=\"1.0\" encoding='utf-8'?><a/>",
       "<?xml version=\"1.0\" encoding='utf-8'?><a/>"},
      {"no encoding named", "<?xml version=\"1.0\" standalone=\"yes\"?><a>\xC0</a>",
       "<?xml version=\"1.0\" standalone=\"yes\"?><a>\xC0</a>"},
      {"windows-1251", "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<a>\xC0\xE1</a>",
       "<?xml version=\"1.0\"?>\r\n<a>?\?</a>"},
      {"single quotes, spaces around =, more after it",
       "<?xml version='1.0'  encoding = 'KOI8-R' standalone='yes'?><a/>",
       "<?xml version='1.0' standalone='yes'?><a/>"},
      {"UTF-16 named in an 8-bit file", "<?xml version=\"1.0\" encoding=\"UTF-16\"?><a>\x80</a>",
       "<?xml version=\"1.0\"?><a>?</a>"},
      {"UTF-8 byte order mark kept",
       "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"cp1251\"?><a>\xFF</a>",
       "\xEF\xBB\xBF<?xml version=\"1.0\"?><a>?</a>"},
      {"a processing instruction, not a declaration", "<?xml-stylesheet encoding=\"x\"?><a>\xC0</a>",
       "<?xml-stylesheet encoding=\"x\"?><a>\xC0</a>"},
      {"not at the start", " <?xml version=\"1.0\" encoding=\"cp1251\"?><a>\xC0</a>",
       " <?xml version=\"1.0\" encoding=\"cp1251\"?><a>\xC0</a>"},
      {"unterminated value", "<?xml version=\"1.0\" encoding=\"cp1251?><a>\xC0</a>",
       "<?xml version=\"1.0\" encoding=\"cp1251?><a>\xC0</a>"},
      {"declaration cut short", "<?xml version=\"1.0\" encoding", "<?xml version=\"1.0\" encoding"},
      {"empty", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(NormalizeXmlEncoding(c.in), c.out);
  }
}

TEST(NormalizeXmlEncoding, ConvertsUtf16ToUtf8AndDropsItsName) {
  const std::u16string doc = u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><a>\u041F\U0001F600</a>";
  const std::string utf8 = "<?xml version=\"1.0\"?><a>\xD0\x9F\xF0\x9F\x98\x80</a>";
  const struct {
    const char* name;
    std::string in;
    std::string out;
  } cases[] = {
      {"little-endian with mark", Utf16Le(doc, true), utf8},
      {"big-endian with mark", Utf16Be(doc, true), utf8},
      {"little-endian without mark", Utf16Le(doc, false), utf8},
      {"big-endian without mark", Utf16Be(doc, false), utf8},
      {"no declaration", Utf16Le(u"<a>\u0430</a>", true), "<a>\xD0\xB0</a>"},
      {"unpaired surrogates and an odd last byte",
       Utf16Le(u"<a>", true) + std::string("\x00\xD8", 2) + Utf16Le(u"x", false) +
           std::string("\x00\xDC", 2) + "\x41",
       "<a>\xEF\xBF\xBDx\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(NormalizeXmlEncoding(c.in), c.out);
  }
}

}  // namespace
}  // namespace qs
