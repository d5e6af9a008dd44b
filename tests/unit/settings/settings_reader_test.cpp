#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "fixtures/settings/fixture_expectations.h"
#include "model/handler_error.h"
#include "platform/pugixml/pugixml_reader.h"
#include "settings/field_codec.h"
#include "settings/settings_file.h"

namespace qs {
namespace {

const std::string kFixtureFolder = std::string(QS_FIXTURES_DIR) + "/settings";

std::vector<fixtures::SettingsExpectation> Expectations() {
  return fixtures::LoadExpectations(kFixtureFolder + "/expected.txt");
}

TEST(SettingsFixtures, EveryFixtureReadsAsTheTableSays) {
  PugiXmlReader reader;
  for (const auto& expected : Expectations()) {
    SCOPED_TRACE(expected.file);
    EXPECT_EQ(fixtures::CheckFixture(expected, reader, kFixtureFolder), "");
  }
}

TEST(SettingsFixtures, TheTableCoversEveryFixtureFile) {
  std::set<std::string> listed;
  for (const auto& expected : Expectations()) {
    EXPECT_TRUE(listed.insert(expected.file).second) << expected.file << " is listed twice";
  }
  std::set<std::string> present;
  for (const auto& item : std::filesystem::directory_iterator(kFixtureFolder)) {
    if (item.path().extension() == ".xml") present.insert(item.path().filename().string());
  }
  EXPECT_EQ(listed, present);
}

TEST(SettingsFixtures, TheTableParserRefusesMalformedBlocks) {
  const char* bad[] = {
      "entry\ta\tb\tc\n",                         // no file line first
      "file\tx.xml\nentry\ta\tb\n",               // too few fields
      "file\tx.xml\nentry\ta\tb\tc\n",            // no options line
      "file\tx.xml\nfails\noptions\t0\toff\toff\n",
      "file\tx.xml\noptions\t0\tyes\toff\n",
      "file\tx.xml\noptions\t0\toff\toff\noptions\t0\toff\toff\n",
  };
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    EXPECT_THROW(fixtures::ParseExpectations(text), std::runtime_error);
  }
}

// Reads a document given as text through the real reader.
EntryModel Read(const std::string& xml) {
  PugiXmlReader reader;
  XmlParseResult parsed = reader.Parse(xml);
  EXPECT_TRUE(parsed.ok) << parsed.error;
  EntryModel model;
  ReadSettingsTree(parsed.root, model);
  return model;
}

std::string WithKeyword(const std::string& keyword) {
  return "<Config><Texts/><Groups/>" + keyword + "</Config>";
}

TEST(ReadSettingsTree, HotIsAnOptionalSignAndDigitsKeptToSixteenBits) {
  const struct {
    const char* keyword;
    std::uint16_t hotkey;
  } cases[] = {
      {"<keyword><hot>49227</hot></keyword>", 49227},  // Ctrl+Alt+K
      {"<keyword><hot>0</hot></keyword>", 0},
      {"<keyword><hot> 42 </hot></keyword>", 42},       // element text loses its surrounding whitespace
      {"<keyword><hot>+5</hot></keyword>", 5},
      {"<keyword><hot>007</hot></keyword>", 7},
      {"<keyword><hot>-1</hot></keyword>", 65535},
      {"<keyword><hot>65611</hot></keyword>", 75},
      {"<keyword><hot>2147483647</hot></keyword>", 65535},
      {"<keyword><hot>-65535</hot></keyword>", 1},
      {"<keyword><hot>2147483648</hot></keyword>", 0},  // beyond a 32-bit integer
      {"<keyword><hot>99999999999999999999</hot></keyword>", 0},
      {"<keyword><hot>12x</hot></keyword>", 0},
      {"<keyword><hot>0x10</hot></keyword>", 0},
      {"<keyword><hot>1e3</hot></keyword>", 0},
      {"<keyword><hot>4 2</hot></keyword>", 0},
      {"<keyword><hot>--1</hot></keyword>", 0},
      {"<keyword><hot>+</hot></keyword>", 0},
      {"<keyword><hot></hot></keyword>", 0},
      {"<keyword/>", 0},
      {"<keyword hot=\"75\"/>", 75},
      {"<keyword hot=\" 75\"/>", 0},  // an attribute's value is taken as it stands
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keyword);
    EXPECT_EQ(Read(WithKeyword(c.keyword)).options().hotkey, c.hotkey);
  }
}

TEST(ReadSettingsTree, OptionsAreOnOnlyForTheExactTextTrue) {
  const struct {
    const char* keyword;
    bool on;
  } cases[] = {
      {"<keyword><auto>True</auto><buff>True</buff></keyword>", true},
      {"<keyword><auto>\r\n True\t</auto><buff> True </buff></keyword>", true},
      {"<keyword auto=\"True\" buff=\"True\"/>", true},
      {"<keyword><auto>true</auto><buff>true</buff></keyword>", false},
      {"<keyword><auto>TRUE</auto><buff>1</buff></keyword>", false},
      {"<keyword auto=\"True \" buff=\"yes\"/>", false},
      {"<keyword/>", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keyword);
    const Options options = Read(WithKeyword(c.keyword)).options();
    EXPECT_EQ(options.autostart, c.on);
    EXPECT_EQ(options.monitorClipboard, c.on);
  }
}

TEST(ReadSettingsTree, AFieldIsTheElementsOwnTextOnly) {
  // "IU" + "L" is "ab"; the text of the nested element does not count.
  const EntryModel m = Read(
      "<Config><Texts><text><shorttext>IU<b>xyz</b>L</shorttext>"
      "<longtext><i>IA</i></longtext></text></Texts><Groups/><keyword/></Config>");
  ASSERT_EQ(m.RowCount(), 1u);
  EXPECT_EQ(m.Row(0), (TextEntry{"ab", "", ""}));
}

TEST(ReadSettingsTree, DecodedFieldsAreTrimmed) {
  const std::string doc = "<Config><Texts><text><shorttext>" + EncodeField("  a\r\n") +
                          "</shorttext><longtext>" + EncodeField("\tb c ") + "</longtext><group>" +
                          EncodeField("\xA0g\xA0") + "</group></text></Texts><Groups><group><namegroup>" +
                          EncodeField(" \r\n") + "</namegroup></group></Groups><keyword/></Config>";
  const EntryModel m = Read(doc);
  ASSERT_EQ(m.RowCount(), 1u);
  EXPECT_EQ(m.Row(0), (TextEntry{"a", "b c", "\xA0g\xA0"}));  // the no-break space stays
  EXPECT_EQ(m.Groups(), (std::vector<std::string>{std::string(NoGroupName()), ""}));
}

TEST(ReadSettingsTree, ARootWithFewerThanThreeChildNodesIsRefusedBeforeAnythingIsRead) {
  for (const char* doc : {"<Config/>", "<Config><Texts><text/></Texts><Groups/></Config>",
                          "<Config><Texts><text/></Texts><!-- c --></Config>"}) {
    SCOPED_TRACE(doc);
    PugiXmlReader reader;
    XmlParseResult parsed = reader.Parse(doc);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EntryModel model;
    try {
      ReadSettingsTree(parsed.root, model);
      ADD_FAILURE() << "no error";
    } catch (const HandlerError& e) {
      EXPECT_NE(std::string(e.what()).find("трёх"_cp1251), std::string::npos);
    }
    EXPECT_EQ(model.RowCount(), 0u);
  }
}

}  // namespace
}  // namespace qs
