// The XmlLite reader: the node tree it builds, the files it refuses, and
// the shared settings fixtures that the pugixml reader is held to as well.
#include "platform/win32/xmllite_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "model/cp1251.h"
#include "fixtures/settings/fixture_expectations.h"
#include "win32/test_environment.h"

namespace qs::win32 {
namespace {

// One line per tree: name[children], @attr=value, "text", #comment, ?other.
std::string Dump(const XmlNode& node) {
  switch (node.kind) {
    case XmlNode::Kind::Attribute:
      return "@" + std::string(node.name) + "=" + std::string(node.value);
    case XmlNode::Kind::Text:
      return "\"" + std::string(node.value) + "\"";
    case XmlNode::Kind::Comment:
      return "#" + std::string(node.value);
    case XmlNode::Kind::Other:
      return "?";
    case XmlNode::Kind::Element:
      break;
  }
  std::string out = std::string(node.name) + "[";
  for (std::size_t i = 0; i < node.children.size(); ++i) {
    if (i > 0) out += " ";
    out += Dump(node.children[i]);
  }
  return out + "]";
}

std::string Nested(int depth, const std::string& innermost) {
  std::string doc;
  for (int i = 0; i < depth - 1; ++i) doc += "<e>";
  doc += innermost;
  for (int i = 0; i < depth - 1; ++i) doc += "</e>";
  return doc;
}

TEST(XmlLiteReader, BuildsTheNodeTree) {
  struct Case {
    const char* name;
    std::string document;
    std::string tree;
  };
  const Case cases[] = {
      {"attributes first, then children in order",
       "<a y='2' x=\"1\">t1<b/><!--c--><?pi data?><![CDATA[<raw> ]]>t2</a>",
       "a[@y=2 @x=1 \"t1\" b[] #c ? \"<raw> \" \"t2\"]"},
      {"whitespace between elements left out", "<a>\n  <b>  </b>\r\n\t<c/>\n</a>", "a[b[] c[]]"},
      {"blank CDATA kept", "<a><![CDATA[ ]]></a>", "a[\" \"]"},
      {"empty forms", "<a><b/><c></c></a>", "a[b[] c[]]"},
      {"entities and character references",
       "<a t=\"&lt;&amp;&quot;&apos;\">&#1046;&#x416;&gt;</a>", "a[@t=<&\"' \"ЖЖ>\"]"},
      {"UTF-8 text", "<a>Привет</a>", "a[\"Привет\"]"},
      {"line ends made LF", "<a>1\r\n2</a>", "a[\"1\n2\"]"},
      {"outside the root left out", "<?xml version=\"1.0\"?><!--x--><?p?>\n<a/><!--y-->", "a[]"},
      {"prefixed names as written", "<n:a xmlns:n=\"urn:q\" n:k=\"v\"/>", "n:a[@xmlns:n=urn:q @n:k=v]"},
      {"a single-byte declaration", "<?xml version=\"1.0\" encoding=\"windows-1251\"?><a>x</a>",
       "a[\"x\"]"},
      {"UTF-16 with byte order mark",
       std::string("\xFF\xFE<\0a\0>\0\x16\x04<\0/\0a\0>\0", 18), "a[\"Ж\"]"},
      {"deepest allowed", Nested(XmlLiteReader::kMaxDepth, "<e/>"), ""},
  };
  XmlLiteReader reader;
  for (const Case& c : cases) {
    const XmlParseResult result = reader.Parse(c.document);
    ASSERT_TRUE(result.ok) << c.name << ": " << Cp1251ToUtf8(result.error);
    if (!c.tree.empty()) {
      EXPECT_EQ(Dump(result.root), c.tree) << c.name;
    }
  }
}

TEST(XmlLiteReader, RefusesBrokenDocumentsSayingWhereAndWhy) {
  struct Case {
    const char* name;
    std::string document;
    std::string_view mentions;  // Windows-1251
  };
  const Case cases[] = {
      {"mismatched tags", "<a>\n<b></a>", "в строке 2"_cp1251},
      {"cut short", "<a><b>", "конец документа"_cp1251},
      {"empty file", "", "Ошибка XML"_cp1251},
      {"cut short after a child", "<a><b></b>", "конец документа"_cp1251},
      {"cut short in a text", "<a>text", "конец документа"_cp1251},
      {"only a comment", "<!-- nothing -->", "корневого элемента"_cp1251},
      {"a DTD", "<!DOCTYPE a [<!ENTITY e \"boom\">]><a>&e;</a>", "DTD"_cp1251},
      {"too deep", Nested(XmlLiteReader::kMaxDepth + 1, "<e/>"), "глубже 1000"_cp1251},
  };
  XmlLiteReader reader;
  for (const Case& c : cases) {
    const XmlParseResult result = reader.Parse(c.document);
    EXPECT_FALSE(result.ok) << c.name;
    EXPECT_NE(result.error.find(c.mentions), std::string::npos)
        << c.name << ": " << Cp1251ToUtf8(result.error);
  }
}

TEST(XmlLiteReader, ReadsTheSharedSettingsFixturesAsExpected) {
  const std::string folder = test::FixturesDir() + "/settings";
  std::vector<fixtures::SettingsExpectation> table;
  try {
    table = fixtures::LoadExpectations(folder + "/expected.txt");
  } catch (const std::exception& e) {
    FAIL() << e.what() << " (pass --fixtures=DIR or set QS_FIXTURES_DIR)";
  }
  ASSERT_FALSE(table.empty());
  XmlLiteReader reader;
  for (const auto& expected : table) {
    EXPECT_EQ(fixtures::CheckFixture(expected, reader, folder), "") << expected.file;
  }
}

}  // namespace
}  // namespace qs::win32
