#include <gtest/gtest.h>

#include <random>
#include <string>

#include "model/cp1251.h"
#include "model/trim.h"
#include "platform/pugixml/pugixml_reader.h"
#include "settings/field_codec.h"
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
// Short fields are encoded as they are met and long ones together at the
// end; whichever way a field goes, and whatever trimming takes from it, the
// document is the one put together field by field.
TEST(WriteSettingsXml, FieldsOfEveryLengthStandInTheirPlaces) {
  std::mt19937 gen(5);
  const auto text = [&](std::size_t n) {
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(gen());
    return s;
  };
  EntryModel m;
  std::string expected = "<Config><Texts>";
  const auto element = [&](std::string_view name, const std::string& field) {
    const std::string encoded = EncodeField(Trim(field));
    if (encoded.empty()) {
      expected.append("<").append(name).append("/>");
    } else {
      expected.append("<").append(name).append(">").append(encoded);
      expected.append("</").append(name).append(">");
    }
  };
  for (std::size_t i = 0; i < 300; ++i) {
    const std::size_t longLength = gen() % 3 == 0 ? gen() % 5000 : gen() % 130;
    const std::size_t lengths[] = {i % 90, longLength, (i * 7) % 70};
    std::string fields[3];
    for (std::size_t f = 0; f < 3; ++f) {
      fields[f] = text(lengths[f]);
      if (i % 4 == 1) fields[f] = std::string("  \r\n").append(fields[f]).append("\t ");  // trimmed
    }
    if (i % 50 == 7) m.AppendHistoryRow("clip", "never written");
    m.AppendEntry(fields[0], fields[1], fields[2]);
    expected += "<text>";
    element("shorttext", fields[0]);
    element("longtext", fields[1]);
    element("group", fields[2]);
    expected += "</text>";
  }
  expected += "</Texts><Groups/>";
  expected += "<keyword><hot>0</hot><auto>False</auto><buff>False</buff></keyword></Config>\r\n";
  EXPECT_TRUE(WriteSettingsXml(m) == expected);
}

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
