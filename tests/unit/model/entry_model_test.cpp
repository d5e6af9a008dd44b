#include "model/entry_model.h"

#include <gtest/gtest.h>

#include "model/cp1251.h"
#include "model/trim.h"

namespace qs {
namespace {

std::vector<std::string> Captions(const EntryModel& m) {
  std::vector<std::string> out;
  for (const auto& row : m.Rows()) out.push_back(row.shorttext);
  return out;
}

EntryModel Abcd() {
  EntryModel m;
  for (const char* c : {"A", "B", "C", "D"}) m.AppendEntry(c, "x", std::string(NoGroupName()));
  return m;
}

TEST(EntryModel, StartsWithTheBuiltInGroupOnly) {
  EntryModel m;
  EXPECT_EQ(m.RowCount(), 0u);
  ASSERT_EQ(m.GroupCount(), 1u);
  EXPECT_EQ(m.Group(0), "\xC1\xE5\xE7 \xE3\xF0\xF3\xEF\xEF\xFB");  // "Без группы" in Windows-1251
  EXPECT_EQ(m.options(), Options{});
  EXPECT_FALSE(m.clipboardMenuIndex.has_value());
}

TEST(EntryModel, DeletingRowTwoOfFiveMovesTheLaterRowsUp) {
  EntryModel m;
  for (const char* c : {"0", "1", "2", "3", "4"}) m.AppendEntry(c, "x", "g");
  ASSERT_TRUE(m.DeleteEntry(2));
  EXPECT_EQ(Captions(m), (std::vector<std::string>{"0", "1", "3", "4"}));
  EXPECT_FALSE(m.DeleteEntry(4));
}

TEST(EntryModel, ExchangeOutsideTheListChangesNothing) {
  EntryModel m = Abcd();
  EXPECT_FALSE(m.ExchangeRows(0, -1));
  EXPECT_FALSE(m.ExchangeRows(3, 4));
  EXPECT_EQ(Captions(m), (std::vector<std::string>{"A", "B", "C", "D"}));
  EXPECT_TRUE(m.ExchangeRows(1, 2));
  EXPECT_EQ(Captions(m), (std::vector<std::string>{"A", "C", "B", "D"}));
}

TEST(EntryModel, DragPlacementLandsAfterTheTargetRow) {
  struct Case {
    std::size_t from;
    long long target;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {1, 3, {"A", "C", "D", "B"}},   // B onto D
      {3, 0, {"A", "D", "B", "C"}},   // D onto A
      {0, -1, {"B", "C", "D", "A"}},  // A below the last row
      {2, 2, {"A", "B", "C", "D"}},   // C onto itself
  };
  for (const auto& c : cases) {
    EntryModel m = Abcd();
    ASSERT_TRUE(m.MoveRowAfter(c.from, c.target));
    EXPECT_EQ(Captions(m), c.expected) << "from " << c.from << " onto " << c.target;
  }
}

TEST(EntryModel, GroupRenameAndDeleteNeverTouchLineZero) {
  EntryModel m;
  const std::string noGroup(NoGroupName());
  m.AppendGroup("W");
  m.AppendGroup(noGroup);  // a user group may carry the built-in name
  m.AppendGroup("W");
  m.RenameGroup("W", "H");
  EXPECT_EQ(m.Groups(), (std::vector<std::string>{noGroup, "H", noGroup, "H"}));
  m.DeleteGroup(noGroup);
  EXPECT_EQ(m.Groups(), (std::vector<std::string>{noGroup, "H", "H"}));
  m.ResetGroups();
  EXPECT_EQ(m.Groups(), (std::vector<std::string>{noGroup}));
}

TEST(Text, TrimRemovesControlsAndSpacesButKeepsNoBreakSpace) {
  EXPECT_EQ(Trim(" \t\r\n a b \r\n\x01"), "a b");
  EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");
  EXPECT_EQ(Trim(" \r\n "), "");
}

TEST(Text, Cp1251LiteralsAndConversionsAgree) {
  EXPECT_EQ("Ёё№«»"_cp1251, "\xA8\xB8\xB9\xAB\xBB");
  EXPECT_EQ(Utf8ToCp1251("Съешь €"), "\xD1\xFA\xE5\xF8\xFC \x88");
  EXPECT_EQ(Cp1251ToUtf8("\xD1\xFA\xE5\xF8\xFC"), "Съешь");
  EXPECT_EQ(Utf8ToCp1251("日本"), "??");
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
}

}  // namespace
}  // namespace qs
