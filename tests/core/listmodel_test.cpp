// The column model of list windows and the sort keys and comparison of their nodes.

#include "core/columns.h"
#include "core/rowsnapshot.h"
#include "lists/columnmodel.h"
#include "lists/listsort.h"

#include <gtest/gtest.h>

namespace wyndo::test {
namespace {

std::array<TColumnList, ListKindCount> DefaultSettings() {
  std::array<TColumnList, ListKindCount> Settings;
  for (TListKind Kind : AllListKinds)
    Settings[Kind] = DefaultColumnList(Kind);
  return Settings;
}

TEST(ColumnModelTest, AProcessListHasAColumnPerPlaceWithAFieldPerKind) {
  auto Settings = DefaultSettings();
  Settings[lkWindow][0].Width = 90;  // Handle, window kind
  Settings[lkProcess][0].Width = 60; // ProcessID, the list's own kind
  Settings[lkWindow][4].Shown = 1;   // WindowStyle: windows now show four fields
  Settings[lkWindow][4].Position = 3;
  Settings[lkWindow][4].Width = 0;
  const TListKind Kinds[] = {lkProcess, lkThread, lkWindow};
  const TColumnModel Model = BuildColumnModel(lkProcess, Kinds, Settings);

  ASSERT_EQ(Model.Columns.size(), 4u) << "the kind with the most shown fields decides";
  EXPECT_EQ(Model.PanelWidths, (std::vector<int>{140, 140, 140}));
  const TListColumn& First = Model.Columns[0];
  EXPECT_EQ(First.Records[lkProcess]->FieldName, "ProcessID");
  EXPECT_EQ(First.Records[lkThread]->FieldName, "ThreadID");
  EXPECT_EQ(First.Records[lkWindow]->FieldName, "Handle");
  EXPECT_EQ(First.Records[lkModule], nullptr);
  EXPECT_EQ(First.Width, 60) << "the own kind's width wins";
  EXPECT_EQ(First.Caption, "ProcessID");
  // A column with no field of the own kind: no caption, the other kinds' width or none.
  const TListColumn& Last = Model.Columns[3];
  EXPECT_EQ(Last.Records[lkProcess], nullptr);
  EXPECT_EQ(Last.Records[lkWindow]->FieldName, "WindowStyle");
  EXPECT_EQ(Last.Caption, "");
  EXPECT_EQ(Last.Width, 0);
}

// A node of Kind whose row holds one value for Record.
struct TNode {
  TListNodeData Data{};
  TNode(TListKind Kind, const TColumnSettings& Record, std::uint32_t Ordinal,
        std::string Text = "") {
    Data.Kind = Kind;
    const TRowEntry Entry{&Record, Ordinal, std::move(Text)};
    Data.Row = MakeRowSnapshot({&Entry, 1}, 0, Data.Key);
  }
  ~TNode() { FreeRowSnapshot(Data.Row); }
};

TEST(ListSortTest, KeysCompareByTheListsRulesWithTheTreesSign) {
  const auto Settings = DefaultSettings();
  TListColumn Column;
  Column.Records[lkWindow] = &Settings[lkWindow][0]; // Handle, unsigned 32-bit
  Column.Records[lkModule] = &Settings[lkModule][0]; // ModuleName, text
  const TNode Small(lkWindow, Settings[lkWindow][0], 5),
      Big(lkWindow, Settings[lkWindow][0], 0x80000000);
  const TNode Alpha(lkModule, Settings[lkModule][0], 0, "alpha"),
      Beta(lkModule, Settings[lkModule][0], 0, "BETA");
  auto Key = [&](const TNode& Node) { return ListSortKey(Node.Data, Column, 1); };

  // 32-bit values compare as signed: 0x80000000 is the smallest.
  EXPECT_EQ(CompareListSortKeys(Key(Small), Key(Big)), -1);
  EXPECT_EQ(CompareListSortKeys(Key(Big), Key(Small)), 2);
  EXPECT_EQ(CompareListSortKeys(Key(Small), Key(Small)), 2);
  EXPECT_EQ(CompareListSortKeys(Key(Alpha), Key(Beta)), 1);
  EXPECT_EQ(CompareListSortKeys(Key(Beta), Key(Alpha)), -1);
  EXPECT_EQ(CompareListSortKeys(Key(Alpha), Key(Alpha)), 0);
  // Different kinds, and a column without a field for the kind, compare equal.
  EXPECT_EQ(CompareListSortKeys(Key(Small), Key(Alpha)), 0);
  TListColumn Empty;
  EXPECT_EQ(ListSortKey(Small.Data, Empty, 1).Type, TListSortKey::skNone);
  EXPECT_EQ(CompareListSortKeys(ListSortKey(Small.Data, Empty, 1), Key(Small)), 0);
}

} // namespace
} // namespace wyndo::test
