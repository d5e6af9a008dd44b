#include "platform/pugixml/pugixml_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "model/cp1251.h"

namespace qs {
namespace {

using Kind = XmlNode::Kind;

std::string Describe(const XmlNode& n) {
  switch (n.kind) {
    case Kind::Element: return "element " + std::string(n.name);
    case Kind::Attribute: return "attribute " + std::string(n.name) + "=" + std::string(n.value);
    case Kind::Text: return "text [" + std::string(n.value) + "]";
    case Kind::Comment: return "comment [" + std::string(n.value) + "]";
    case Kind::Other: return "other";
  }
  return "?";
}

std::vector<std::string> Children(const XmlNode& n) {
  std::vector<std::string> out;
  for (const XmlNode& c : n.children) out.push_back(Describe(c));
  return out;
}

XmlParseResult Parse(std::string xml) { return PugiXmlReader().Parse(std::move(xml)); }

TEST(PugiXmlReader, AttributesComeFirstThenChildNodesInDocumentOrder) {
  const XmlParseResult r = Parse(
      "<!-- before --><root b=\"2\" a='1'>\r\n  x <!--c--><e k=\"v\"/>\n\t<?pi data?>"
      "<![CDATA[ y ]]>\r\n  </root>");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(Describe(r.root), "element root");
  EXPECT_EQ(Children(r.root),
            (std::vector<std::string>{"attribute b=2", "attribute a=1", "text [\n  x ]", "comment [c]",
                                      "element e", "other", "text [ y ]"}));
  EXPECT_EQ(Children(r.root.children[4]), (std::vector<std::string>{"attribute k=v"}));
}

// A text before any child node is held apart by the parser; it must still
// come first, and texts after other nodes stay where they are.
TEST(PugiXmlReader, TextsKeepTheirPlaceAmongTheChildNodes) {
  const XmlParseResult r = Parse(
      "<r><a k='v'>one<b/>two</a><c><!--x-->three</c><d> <e/>four</d><f><![CDATA[five]]>six</f>"
      "<g>&#65;&amp;</g><h></h></r>");
  ASSERT_TRUE(r.ok) << r.error;
  const auto& e = r.root.children;
  ASSERT_EQ(e.size(), 6u);
  EXPECT_EQ(Children(e[0]),
            (std::vector<std::string>{"attribute k=v", "text [one]", "element b", "text [two]"}));
  EXPECT_EQ(Children(e[1]), (std::vector<std::string>{"comment [x]", "text [three]"}));
  EXPECT_EQ(Children(e[2]), (std::vector<std::string>{"element e", "text [four]"}));
  EXPECT_EQ(Children(e[3]), (std::vector<std::string>{"text [five]", "text [six]"}));
  EXPECT_EQ(Children(e[4]), (std::vector<std::string>{"text [A&]"}));
  EXPECT_TRUE(e[5].children.empty());
}

TEST(PugiXmlReader, WhitespaceOnlyTextIsLeftOut) {
  const XmlParseResult r = Parse("<a>\r\n\t<b> </b>\r\n\t<c>\n</c>\r\n</a>\r\n");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(Children(r.root), (std::vector<std::string>{"element b", "element c"}));
  EXPECT_TRUE(r.root.children[0].children.empty());
  EXPECT_TRUE(r.root.children[1].children.empty());
}

TEST(PugiXmlReader, ReferencesAreResolvedAndTextStaysUtf8) {
  const XmlParseResult r = Parse("<a v=\"&lt;&#x41F;\">&amp;&#1055;\xD0\x9F</a>");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(Children(r.root),
            (std::vector<std::string>{"attribute v=<\xD0\x9F", "text [&\xD0\x9F\xD0\x9F]"}));
}

TEST(PugiXmlReader, RefusesWhatIsNotOneWellFormedDocument) {
  const struct {
    std::string xml;
    std::string_view messagePart;
  } cases[] = {
      {"", "нет корневого элемента"_cp1251},
      {"just text", "нет корневого элемента"_cp1251},
      {"<?xml version=\"1.0\"?><!-- only -->", "нет корневого элемента"_cp1251},
      {"<a><b></a>", "ошибка XML в позиции "_cp1251},
      {"<a><b>", "ошибка XML в позиции "_cp1251},
      {"<a x=\"1></a>", "ошибка XML в позиции "_cp1251},
      {"<!DOCTYPE a><a/>", "DOCTYPE"},
      {"<a/><b/>", "больше одного корневого элемента"_cp1251},
      {"<a/>tail", "текст вне корневого элемента"_cp1251},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.xml);
    const XmlParseResult r = Parse(c.xml);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find(c.messagePart), std::string::npos) << Cp1251ToUtf8(r.error);
  }
}

TEST(PugiXmlReader, TheErrorNamesPugixmlsReasonAndOffset) {
  const XmlParseResult r = Parse("<a><b></a>");
  ASSERT_FALSE(r.ok);
  EXPECT_EQ(r.error, std::string("ошибка XML в позиции "_cp1251) + "8: Start-end tags mismatch");
}

std::string Nested(std::size_t depth) {
  std::string xml;
  for (std::size_t i = 0; i < depth; ++i) xml += "<a>";
  xml += "x";
  for (std::size_t i = 0; i < depth; ++i) xml += "</a>";
  return xml;
}

TEST(PugiXmlReader, RefusesNestingDeeperThanAThousandLevels) {
  EXPECT_TRUE(Parse(Nested(1000)).ok);
  for (const std::size_t depth : {1001u, 200000u}) {
    SCOPED_TRACE(depth);
    const XmlParseResult r = Parse(Nested(depth));
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("1000"), std::string::npos) << Cp1251ToUtf8(r.error);
  }
}

}  // namespace
}  // namespace qs
