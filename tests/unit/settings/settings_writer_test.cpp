#include <gtest/gtest.h>

#include <string>

#include "model/cp1251.h"
#include "platform/pugixml/pugixml_reader.h"
#include "settings/settings_file.h"

namespace qs {
namespace {

// Plain ASCII texts whose scrambled forms were worked by hand:
// "a" -> "IA", "ab" -> "IUL", "abc" -> "IULv".
EntryModel SmallModel() {
  EntryModel m;
  m.AppendEntry("  a \t", "ab\r\n", "abc");
  m.AppendHistoryRow("clip", "clipboard text");
  m.AppendEntry("ab", "a", "");
  m.AppendGroup("abc");
  m.AppendGroup("  ");
  m.options() = {49227, true, false};
  return m;
}

EntryModel HistoryOnly() {
  EntryModel m;
  m.AppendHistoryRow("clip", "clipboard text");
  return m;
}

TEST(WriteSettingsXml, WritesTheDocumentByteForByte) {
  const struct {
    const char* name;
    EntryModel model;
    std::string document;
  } cases[] = {
      {"entries, groups, a history row skipped, empty fields", SmallModel(),
       "<Config><Texts>"
       "<text><shorttext>IA</shorttext><longtext>IUL</longtext><group>IULv</group></text>"
       "<text><shorttext>IUL</shorttext><longtext>IA</longtext><group/></text>"
       "</Texts><Groups>"
       "<group><namegroup>IULv</namegroup></group><group><namegroup/></group>"
       "</Groups><keyword><hot>49227</hot><auto>True</auto><buff>False</buff></keyword>"
       "</Config>\r\n"},
      {"empty model", EntryModel(),
       "<Config><Texts/><Groups/><keyword><hot>0</hot><auto>False</auto><buff>False</buff>"
       "</keyword></Config>\r\n"},
      {"history rows only", HistoryOnly(),
       "<Config><Texts/><Groups/><keyword><hot>0</hot><auto>False</auto><buff>False</buff>"
       "</keyword></Config>\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(WriteSettingsXml(c.model), c.document);
  }
}

TEST(WriteSettingsXml, OptionsAreWrittenAsDecimalAndTrueFalse) {
  EntryModel m;
  m.options() = {65535, false, true};
  const std::string doc = WriteSettingsXml(m);
  EXPECT_NE(doc.find("<keyword><hot>65535</hot><auto>False</auto><buff>True</buff></keyword>"),
            std::string::npos)
      << doc;
}

// What is written reads back as the trimmed model without history rows,
// whatever bytes the texts hold and however long they are.
TEST(WriteSettingsXml, ReadsBackAsTheTrimmedModel) {
  std::string allBytes;
  for (int b = 1; b < 256; ++b) allBytes.push_back(static_cast<char>(b));
  EntryModel m;
  m.AppendEntry(" \t" + allBytes + "\r\n", std::string(70000, '\xE9') + "x", std::string(NoGroupName()));
  m.AppendHistoryRow("clip", "clipboard");
  m.AppendEntry("short", "line 1\r\nline 2\r\n", "");
  m.AppendGroup(std::string("  Работа  "_cp1251));
  m.options() = {49227, true, true};

  PugiXmlReader reader;
  XmlParseResult parsed = reader.Parse(WriteSettingsXml(m));
  ASSERT_TRUE(parsed.ok) << parsed.error;
  EntryModel back;
  ReadSettingsTree(parsed.root, back);

  ASSERT_EQ(back.RowCount(), 2u);
  EXPECT_EQ(back.Row(0).shorttext, allBytes.substr(32));
  EXPECT_TRUE(back.Row(0).longtext == m.Row(0).longtext);  // megabytes of output otherwise
  EXPECT_EQ(back.Row(0).group, std::string(NoGroupName()));
  EXPECT_EQ(back.Row(1), (TextEntry{"short", "line 1\r\nline 2", ""}));
  EXPECT_EQ(back.Groups(),
            (std::vector<std::string>{std::string(NoGroupName()), std::string("Работа"_cp1251)}));
  EXPECT_EQ(back.options(), m.options());
}

}  // namespace
}  // namespace qs
