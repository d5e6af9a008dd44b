#include "fake_views.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qs::test {
namespace {

// The group tests lean on the fake box sorting as a Russian Windows would.
TEST(FakeGroupBox, SortsLikeARussianSortedComboBox) {
  FakeEntryEditorView box;
  for (const char* item :
       {"Работа", "ёж", "Ёлка", "Без группы", "Жук", "елка", "Дом", "Zebra", "apple", "1 день"}) {
    box.AddGroupItem(item);
  }
  EXPECT_EQ(box.groupItems,
            (std::vector<std::string>{"1 день", "apple", "Zebra", "Без группы", "Дом", "елка", "ёж",
                                      "Ёлка", "Жук", "Работа"}));
}

TEST(FakeGroupBox, SelectionStaysOnItsItemWhileItemsAreAdded) {
  FakeEntryEditorView box;
  box.AddGroupItem("Работа");
  box.SelectGroupIndex(0);
  box.AddGroupItem("Дом");
  EXPECT_EQ(box.SelectedGroupText(), "Работа");
}

}  // namespace
}  // namespace qs::test
