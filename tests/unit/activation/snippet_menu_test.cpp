#include "activation/snippet_menu.h"

#include <gtest/gtest.h>

#include "model/cp1251.h"

namespace qs {
namespace {

// A compact picture of a menu: "caption#tag" for entries, "[group: ...]" for folders.
std::string Describe(const MenuItem& item) {
  std::string out;
  for (const auto& child : item.children) {
    if (!out.empty()) out += " ";
    if (child.picture == MenuPicture::Folder) {
      out += "[" + Cp1251ToUtf8(child.caption) + ":" + (child.children.empty() ? "" : " ") +
             Describe(child) + "]";
    } else {
      out += Cp1251ToUtf8(child.caption) + "#" + std::to_string(child.tag.value_or(-1));
    }
  }
  return out;
}

struct Row {
  const char* caption;
  const char* group;  // UTF-8
};

struct MenuCase {
  const char* name;
  std::vector<Row> rows;
  std::vector<const char*> groups;
  const char* expected;
};

void PrintTo(const MenuCase& c, std::ostream* os) { *os << c.name; }

class SnippetMenuTest : public ::testing::TestWithParam<MenuCase> {};

TEST_P(SnippetMenuTest, BuildsTheExpectedTree) {
  const MenuCase& c = GetParam();
  EntryModel model;
  for (const auto& r : c.rows) model.AppendEntry(r.caption, "text", Utf8ToCp1251(r.group));
  for (const char* g : c.groups) model.AppendGroup(Utf8ToCp1251(g));
  EXPECT_EQ(Describe(BuildSnippetMenu(model)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SnippetMenuTest,
    ::testing::Values(
        MenuCase{"Empty", {}, {}, ""},
        MenuCase{"FlatListInRowOrder", {{"a", "Без группы"}, {"b", "Без группы"}}, {}, "a#0 b#1"},
        MenuCase{"UngroupedAfterGroupedStillOnTop",
                 {{"w", "Работа"}, {"a", "Без группы"}},
                 {"Работа"},
                 "a#1 [Работа: w#0]"},
        MenuCase{"EmptyGroupKeepsItsFolder", {{"a", "Без группы"}}, {"Дом"}, "a#0 [Дом:]"},
        MenuCase{"GroupNamesCompareExactly", {{"w", "работа"}}, {"Работа"}, "[Работа:]"},
        MenuCase{"UnknownGroupIsNotShown", {{"x", "Нет такой"}, {"a", "Без группы"}}, {}, "a#1"},
        MenuCase{"GroupsInLineOrderEntriesInRowOrder",
                 {{"h1", "Дом"}, {"w1", "Работа"}, {"h2", "Дом"}},
                 {"Работа", "Дом"},
                 "[Работа: w1#1] [Дом: h1#0 h2#2]"},
        MenuCase{"DuplicateGroupLinesEachGetTheEntries",
                 {{"w", "W"}},
                 {"W", "W"},
                 "[W: w#0] [W: w#0]"},
        MenuCase{"UserGroupNamedLikeTheBuiltInOne",
                 {{"a", "Без группы"}},
                 {"Без группы"},
                 "a#0 [Без группы: a#0]"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SnippetMenu, HistoryRowsGetNoEntryItem) {
  EntryModel model;
  model.AppendEntry("a", "text", std::string(NoGroupName()));
  model.AppendHistoryRow("clip", "clip");
  EXPECT_EQ(Describe(BuildSnippetMenu(model)), "a#0");
  EXPECT_EQ(TopLevelEntryItemCount(model), 1u);
}

TEST(SnippetMenu, CaptionsPassAsTheyStand) {
  EntryModel model;
  model.AppendEntry("&Save", "x", std::string(NoGroupName()));
  model.AppendEntry("-", "y", std::string(NoGroupName()));
  const MenuItem menu = BuildSnippetMenu(model);
  EXPECT_EQ(menu.children[0].caption, "&Save");
  EXPECT_EQ(menu.children[1].caption, "-");
}

}  // namespace
}  // namespace qs
