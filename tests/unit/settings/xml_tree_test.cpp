// The node tree's storage: texts measured when read, and an arena whose
// blocks never move, so that the views of a parse result stay valid.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/pugixml/pugixml_reader.h"
#include "platform/xml_reader.h"

namespace qs {
namespace {

TEST(XmlText, AViewKeepsItsLengthAndATerminatedTextEndsAtItsNul) {
  const char buffer[] = "name\0rest";
  const XmlText sized(std::string_view(buffer, 9));
  // A NUL inside counts when the length is known.
  EXPECT_EQ(sized.View(), std::string_view(buffer, 9));
  const XmlText terminated = XmlText::Terminated(buffer);
  EXPECT_EQ(terminated.View(), "name");
  EXPECT_EQ(std::string_view(terminated), "name");
  EXPECT_FALSE(terminated.empty());
  EXPECT_TRUE(XmlText::Terminated(buffer + 4).empty());
  EXPECT_TRUE(XmlText().empty());
  EXPECT_EQ(XmlText().View(), "");
  EXPECT_TRUE(XmlText(std::string_view(buffer, 0)).empty());
}

TEST(XmlArena, HandsOutStorageThatStaysPutWhileMoreIsTaken) {
  XmlArena arena;
  std::vector<std::span<XmlNode>> spans;
  std::vector<std::string_view> texts;
  // Enough for many blocks of both kinds, with requests larger than a block.
  for (std::size_t i = 0; i < 3000; ++i) {
    const std::size_t count = i % 500 == 7 ? 20000 : i % 5;
    spans.push_back(arena.NewNodes(count));
    ASSERT_EQ(spans.back().size(), count);
    const std::string text(i % 400 == 3 ? 100000 : i % 50, static_cast<char>('a' + i % 26));
    texts.push_back(arena.CopyText(text));
    for (XmlNode& node : spans.back()) node.value = texts.back();
  }
  for (std::size_t i = 0; i < spans.size(); ++i) {
    SCOPED_TRACE(i);
    const std::size_t length = i % 400 == 3 ? 100000 : i % 50;
    ASSERT_EQ(texts[i], std::string(length, static_cast<char>('a' + i % 26)));
    for (const XmlNode& node : spans[i]) ASSERT_EQ(node.value.View().data(), texts[i].data());
  }
  EXPECT_TRUE(arena.NewNodes(0).empty());
  EXPECT_TRUE(arena.CopyText("").empty());
}

TEST(PugiXmlReader, ALargeTreeReadsBackWholeAfterTheResultHasMoved) {
  std::string xml = "<root>";
  constexpr std::size_t kChildren = 12000;  // several blocks of nodes
  for (std::size_t i = 0; i < kChildren; ++i) {
    const std::string number = std::to_string(i);
    xml.append("<e n=\"").append(number).append("\">t").append(number).append("<x/></e>");
  }
  xml += "</root>";
  XmlParseResult parsed = PugiXmlReader().Parse(xml);
  ASSERT_TRUE(parsed.ok) << parsed.error;
  const XmlParseResult moved = std::move(parsed);

  EXPECT_EQ(moved.root.name.View(), "root");
  ASSERT_EQ(moved.root.children.size(), kChildren);
  for (std::size_t i = 0; i < kChildren; ++i) {
    const XmlNode& e = moved.root.children[i];
    ASSERT_EQ(e.name.View(), "e");
    ASSERT_EQ(e.children.size(), 3u);
    EXPECT_EQ(e.children[0].kind, XmlNode::Kind::Attribute);
    EXPECT_EQ(e.children[0].value.View(), std::to_string(i));
    EXPECT_EQ(e.children[1].kind, XmlNode::Kind::Text);
    EXPECT_EQ(e.children[1].value.View(), std::string("t").append(std::to_string(i)));
    EXPECT_EQ(e.children[2].name.View(), "x");
    EXPECT_TRUE(e.children[2].children.empty());
  }
}

}  // namespace
}  // namespace qs
