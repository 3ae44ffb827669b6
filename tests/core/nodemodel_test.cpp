#include "tree/nodemodel.h"

#include <gtest/gtest.h>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace wyndo::test {
namespace {

using TIds = std::vector<int>;

// Nodes carry an int id in their data area.
class NodeModelTest : public ::testing::Test {
protected:
  TTreeNode* Add(TTreeNode* Parent, int Id) {
    TTreeNode* Node = Model.AddChild(Parent);
    Model.DataAs<int>(Node) = Id;
    Nodes[Id] = Node;
    return Node;
  }

  int Id(TTreeNode* Node) const { return Node != nullptr ? Model.DataAs<int>(Node) : 0; }

  TIds Ids(const std::vector<TTreeNode*>& List) const {
    TIds Result;
    for (TTreeNode* Node : List)
      Result.push_back(Id(Node));
    return Result;
  }

  TIds PreOrder() const {
    TIds Result;
    for (TTreeNode* Node = Model.First(); Node != nullptr; Node = Model.Next(Node))
      Result.push_back(Id(Node));
    return Result;
  }

  TIds RowIds() const { return Ids(Model.Rows()); }

  // 1 (2 (3), 4), 5, 6 (7, 8)
  void AddKnownTree() {
    Add(nullptr, 1);
    Add(Add(Nodes[1], 2), 3);
    Add(Nodes[1], 4);
    Add(nullptr, 5);
    Add(nullptr, 6);
    Add(Nodes[6], 7);
    Add(Nodes[6], 8);
  }

  TNodeModel Model{sizeof(int)};
  std::map<int, TTreeNode*> Nodes;
};

TEST_F(NodeModelTest, TraversesAllNodesInPreOrder) {
  AddKnownTree();
  EXPECT_EQ(Model.Count(), 8u);
  EXPECT_EQ(PreOrder(), (TIds{1, 2, 3, 4, 5, 6, 7, 8}));

  TIds Backwards;
  for (TTreeNode* Node = Model.Last(); Node != nullptr; Node = Model.Previous(Node))
    Backwards.push_back(Id(Node));
  EXPECT_EQ(Backwards, (TIds{8, 7, 6, 5, 4, 3, 2, 1}));

  EXPECT_EQ(Id(Model.First()), 1);
  EXPECT_EQ(Model.Previous(Model.First()), nullptr);
  EXPECT_EQ(Model.Next(Model.Last()), nullptr);
}

TEST_F(NodeModelTest, KnowsParentsSiblingsAndLevels) {
  AddKnownTree();
  EXPECT_EQ(Model.Parent(Nodes[1]), nullptr);
  EXPECT_EQ(Model.Parent(Nodes[3]), Nodes[2]);
  EXPECT_EQ(Model.Level(Nodes[5]), 0u);
  EXPECT_EQ(Model.Level(Nodes[4]), 1u);
  EXPECT_EQ(Model.Level(Nodes[3]), 2u);

  EXPECT_EQ(Model.ChildCount(nullptr), 3u);
  EXPECT_EQ(Model.ChildCount(Nodes[1]), 2u);
  EXPECT_EQ(Model.ChildCount(Nodes[2]), 1u);
  EXPECT_FALSE(Model.HasChildren(Nodes[5]));
  EXPECT_EQ(Id(Model.FirstChild(nullptr)), 1);
  EXPECT_EQ(Id(Model.LastChild(nullptr)), 6);
  EXPECT_EQ(Id(Model.LastChild(Nodes[6])), 8);
  EXPECT_EQ(Model.LastChild(Nodes[5]), nullptr);

  EXPECT_EQ(Model.NextSibling(Nodes[1]), Nodes[5]);
  EXPECT_EQ(Model.NextSibling(Nodes[6]), nullptr);
  EXPECT_EQ(Model.PreviousSibling(Nodes[8]), Nodes[7]);
  EXPECT_EQ(Model.PreviousSibling(Nodes[7]), nullptr);
}

TEST_F(NodeModelTest, DataAreasAreZeroFilledAlignedAndIndependent) {
  struct TData {
    std::uint64_t A;
    std::uint32_t B;
  };
  TNodeModel Wide(sizeof(TData));
  TTreeNode* First = Wide.AddChild(nullptr);
  TTreeNode* Second = Wide.AddChild(First);
  for (TTreeNode* Node : {First, Second}) {
    EXPECT_EQ(Wide.DataAs<TData>(Node).A, 0u);
    EXPECT_EQ(Wide.DataAs<TData>(Node).B, 0u);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(Wide.Data(Node)) % alignof(std::max_align_t), 0u);
  }
  Wide.DataAs<TData>(First) = {~std::uint64_t{0}, ~std::uint32_t{0}};
  EXPECT_EQ(Wide.DataAs<TData>(Second).A, 0u);
  EXPECT_EQ(Wide.DataAs<TData>(Second).B, 0u);
}

TEST_F(NodeModelTest, NodesAreSmall) {
  EXPECT_GE(TNodeModel(16).BytesPerNode(), 16u);
  if constexpr (sizeof(void*) == 8) {
    EXPECT_LE(TNodeModel(16).BytesPerNode(), 64u);
  }
}

TEST_F(NodeModelTest, ClearFreesEveryNodeOnceAndKeepsTheDataSize) {
  AddKnownTree();
  Model.SetFocused(Nodes[3]);
  int FocusEvents = 0;
  Model.OnFocusChanged = [&](TTreeNode*) { ++FocusEvents; };
  TIds Freed;
  Model.OnFreeNode = [&](TTreeNode* Node) { Freed.push_back(Id(Node)); };
  Model.Clear();

  EXPECT_EQ(Freed, (TIds{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(Model.Count(), 0u);
  EXPECT_EQ(Model.First(), nullptr);
  EXPECT_EQ(Model.Last(), nullptr);
  EXPECT_EQ(Model.ChildCount(nullptr), 0u);
  EXPECT_TRUE(Model.Rows().empty());
  EXPECT_EQ(Model.Focused(), nullptr);
  EXPECT_EQ(FocusEvents, 0);
  EXPECT_EQ(Model.DataSize(), sizeof(int));
  // The events count into this test's locals: the model, which outlives them, lets go of them.
  Model.OnFreeNode = nullptr;
  Model.OnFocusChanged = nullptr;

  TTreeNode* Again = Model.AddChild(nullptr);
  EXPECT_EQ(Id(Again), 0);
  EXPECT_FALSE(Model.Selected(Again));
}

TEST_F(NodeModelTest, DataSizeChangesOnlyWhileEmpty) {
  Model.AddChild(nullptr);
  EXPECT_THROW(Model.SetDataSize(32), std::logic_error);
  Model.Clear();
  Model.SetDataSize(32);
  EXPECT_EQ(Model.DataSize(), 32u);
  EXPECT_GE(Model.BytesPerNode(), 32u);
}

TEST_F(NodeModelTest, HoldsAndClearsAHundredThousandNodes) {
  for (int Round = 0; Round < 2; ++Round) {
    for (int Top = 0; Top < 1000; ++Top) {
      TTreeNode* Parent = Model.AddChild(nullptr);
      for (int Child = 0; Child < 99; ++Child)
        Model.DataAs<int>(Model.AddChild(Parent)) = Child;
    }
    EXPECT_EQ(Model.Count(), 100'000u);
    EXPECT_EQ(Model.Rows().size(), 1000u);
    std::size_t Walked = 0;
    for (TTreeNode* Node = Model.First(); Node != nullptr; Node = Model.Next(Node))
      ++Walked;
    EXPECT_EQ(Walked, 100'000u);
    std::size_t Freed = 0;
    Model.OnFreeNode = [&](TTreeNode*) { ++Freed; };
    Model.Clear();
    EXPECT_EQ(Freed, 100'000u);
    Model.OnFreeNode = nullptr;
  }
}

TEST_F(NodeModelTest, RowsFollowExpansion) {
  AddKnownTree();
  EXPECT_EQ(RowIds(), (TIds{1, 5, 6}));
  EXPECT_EQ(Model.RowIndex(Nodes[6]), 2);
  EXPECT_EQ(Model.RowIndex(Nodes[2]), -1);

  Model.SetExpanded(Nodes[1], true);
  EXPECT_EQ(RowIds(), (TIds{1, 2, 4, 5, 6}));
  EXPECT_EQ(Model.RowIndex(Nodes[6]), 4);
  EXPECT_EQ(Model.RowIndex(Nodes[3]), -1);

  Model.SetExpandedAll(nullptr, true);
  EXPECT_EQ(RowIds(), (TIds{1, 2, 3, 4, 5, 6, 7, 8}));
  Model.SetExpandedAll(Nodes[1], false);
  EXPECT_EQ(RowIds(), (TIds{1, 5, 6, 7, 8}));
  EXPECT_FALSE(Model.Expanded(Nodes[2]));
  EXPECT_TRUE(Model.Expanded(Nodes[6]));
  EXPECT_EQ(Model.RowIndex(Nodes[8]), 4);
  EXPECT_EQ(Model.RowIndex(Nodes[4]), -1);
  EXPECT_EQ(Model.RowIndex(nullptr), -1);
}

TEST_F(NodeModelTest, HiddenNodesHideTheirSubtreesFromRowsOnly) {
  AddKnownTree();
  Model.SetExpandedAll(nullptr, true);
  Model.SetVisible(Nodes[2], false);
  Model.SetVisible(Nodes[5], false);

  EXPECT_EQ(RowIds(), (TIds{1, 4, 6, 7, 8}));
  EXPECT_EQ(PreOrder(), (TIds{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_TRUE(Model.IsVisible(Nodes[3]));
  EXPECT_FALSE(Model.IsShown(Nodes[3]));
  EXPECT_FALSE(Model.IsShown(Nodes[2]));
  EXPECT_TRUE(Model.IsShown(Nodes[4]));
  EXPECT_EQ(Model.RowIndex(Nodes[3]), -1);
  EXPECT_EQ(Model.RowIndex(Nodes[7]), 3);

  Model.SetVisible(Nodes[2], true);
  EXPECT_EQ(RowIds(), (TIds{1, 2, 3, 4, 6, 7, 8}));
}

TEST_F(NodeModelTest, FocusChangedIsRaisedOnlyOnChange) {
  AddKnownTree();
  std::vector<TTreeNode*> Events;
  Model.OnFocusChanged = [&](TTreeNode* Node) { Events.push_back(Node); };
  Model.SetFocused(Nodes[4]);
  Model.SetFocused(Nodes[4]);
  Model.SetFocused(nullptr);
  Model.SetFocused(nullptr);
  EXPECT_EQ(Events, (std::vector<TTreeNode*>{Nodes[4], nullptr}));
}

TEST_F(NodeModelTest, SelectsAndUnselectsNodes) {
  AddKnownTree();
  Model.SetSelected(Nodes[3], true);
  Model.SetSelected(Nodes[8], true);
  Model.SetSelected(Nodes[8], false);
  EXPECT_TRUE(Model.Selected(Nodes[3]));
  EXPECT_FALSE(Model.Selected(Nodes[8]));
  Model.SetSelected(Nodes[5], true);
  Model.ClearSelection();
  for (const auto& [Id, Node] : Nodes)
    EXPECT_FALSE(Model.Selected(Node)) << Id;
}

TEST_F(NodeModelTest, ClearingTheSelectionAfterManyChangesUnselectsEveryNode) {
  AddKnownTree();
  std::vector<TTreeNode*> All;
  for (TTreeNode* Node = Model.First(); Node; Node = Model.Next(Node))
    All.push_back(Node);
  // Selected, unselected and selected again, many times over, in varying order.
  for (std::size_t Round = 0; Round < 50; ++Round)
    for (std::size_t I = 0; I < All.size(); ++I)
      Model.SetSelected(All[(I * 7 + Round) % All.size()], (I + Round) % 3 != 0);
  std::size_t Selected = 0;
  for (TTreeNode* Node : All)
    Selected += Model.Selected(Node);
  EXPECT_GT(Selected, 0u);
  Model.ClearSelection();
  for (TTreeNode* Node : All)
    EXPECT_FALSE(Model.Selected(Node));
  Model.SetSelected(All.front(), true);
  Model.ClearSelection();
  EXPECT_FALSE(Model.Selected(All.front()));
}

TEST_F(NodeModelTest, StructureChangesAreBatchedByUpdates) {
  int Events = 0;
  Model.OnStructureChanged = [&] { ++Events; };
  AddKnownTree();
  EXPECT_EQ(Events, 0) << "adding raises nothing";

  Model.SetExpanded(Nodes[1], true);
  Model.SetExpanded(Nodes[1], true);
  EXPECT_EQ(Events, 1);
  Model.SetSelected(Nodes[1], true);
  Model.SetFocused(Nodes[1]);
  EXPECT_EQ(Events, 1) << "selection and focus are not structure";

  Model.BeginUpdate();
  Model.BeginUpdate();
  Model.SetVisible(Nodes[5], false);
  Model.SetExpandedAll(nullptr, true);
  Model.EndUpdate();
  EXPECT_TRUE(Model.Updating());
  EXPECT_EQ(Events, 1);
  Model.EndUpdate();
  EXPECT_FALSE(Model.Updating());
  EXPECT_EQ(Events, 2);

  Model.BeginUpdate();
  Model.SetSelected(Nodes[2], true);
  Model.EndUpdate();
  EXPECT_EQ(Events, 2) << "nothing pending";

  Model.Clear();
  EXPECT_EQ(Events, 3);
}

// Sorting uses the list's comparisons: numbers give -1 when A is greater and 2 otherwise, texts
// 1 when A comes first, 0 when equal and -1 when after. Ids are key * 10 + n, so equal keys show
// their order in the last digit; the text key of id 10 is "b", of 20 "c" and so on.
int CompareNumbers(int A, int B) {
  return A > B ? -1 : 2;
}

int CompareTexts(const std::string& A, const std::string& B) {
  return A < B ? 1 : A == B ? 0 : -1;
}

class NodeSortTest : public NodeModelTest {
protected:
  template <class TKeyFn, class TCompareFn>
  TIds Sorted(const TIds& Input, TKeyFn Key, TCompareFn Compare, TSortDirection Direction) {
    Model.Clear();
    for (int Value : Input)
      Add(nullptr, Value);
    Model.Sort(Key, Compare, Direction);
    return PreOrder();
  }
};

struct TSortCase {
  TIds Input;
  TSortDirection Direction;
  TIds ByNumber;
  TIds ByText;
};

TEST_F(NodeSortTest, EqualNumbersReverseUnderAscendingAndEqualTextsNever) {
  constexpr auto Ascending = TSortDirection::sdAscending;
  constexpr auto Descending = TSortDirection::sdDescending;
  const TSortCase Cases[] = {
      {{30, 10, 31, 20, 11, 32, 21},
       Descending,
       {10, 11, 20, 21, 30, 31, 32},
       {10, 11, 20, 21, 30, 31, 32}},
      {{30, 10, 31, 20, 11, 32, 21},
       Ascending,
       {32, 31, 30, 21, 20, 11, 10},
       {30, 31, 32, 20, 21, 10, 11}},
      {{50, 51, 52, 53, 54}, Descending, {50, 51, 52, 53, 54}, {50, 51, 52, 53, 54}},
      {{50, 51, 52, 53, 54}, Ascending, {54, 53, 52, 51, 50}, {50, 51, 52, 53, 54}},
      {{10, 20}, Ascending, {20, 10}, {20, 10}},
      {{20, 10}, Descending, {10, 20}, {10, 20}},
  };
  const auto NumberKey = [&](TTreeNode* Node) { return Id(Node) / 10; };
  const auto TextKey = [&](TTreeNode* Node) {
    return std::string(1, static_cast<char>('a' + Id(Node) / 10));
  };
  for (const TSortCase& Case : Cases) {
    SCOPED_TRACE(::testing::Message()
                 << "case " << &Case - Cases << (Case.Direction == Ascending ? ", ascending" : ""));
    EXPECT_EQ(Sorted(Case.Input, NumberKey, CompareNumbers, Case.Direction), Case.ByNumber);
    EXPECT_EQ(Sorted(Case.Input, TextKey, CompareTexts, Case.Direction), Case.ByText);
  }
}

TEST_F(NodeSortTest, SortsEverySiblingListAndRelinksIt) {
  Add(nullptr, 20);
  Add(nullptr, 10);
  for (int Child : {21, 23, 22})
    Add(Nodes[20], Child);
  for (int Child : {12, 11})
    Add(Nodes[10], Child);
  Add(Nodes[21], 212);
  Add(Nodes[21], 211);
  Model.SetExpandedAll(nullptr, true);

  std::map<TTreeNode*, int> KeyCalls;
  int Events = 0;
  Model.OnStructureChanged = [&] { ++Events; };
  Model.Sort(
      [&](TTreeNode* Node) {
        ++KeyCalls[Node];
        return Id(Node);
      },
      CompareNumbers, TSortDirection::sdDescending);

  const TIds Expected{10, 11, 12, 20, 21, 211, 212, 22, 23};
  EXPECT_EQ(PreOrder(), Expected);
  EXPECT_EQ(RowIds(), Expected);
  EXPECT_EQ(Model.RowIndex(Nodes[22]), 7);
  EXPECT_EQ(Events, 1);
  EXPECT_EQ(KeyCalls.size(), Model.Count());
  for (const auto& [Node, Calls] : KeyCalls)
    EXPECT_EQ(Calls, 1) << Id(Node);

  TIds Backwards;
  for (TTreeNode* Node = Model.Last(); Node != nullptr; Node = Model.Previous(Node))
    Backwards.push_back(Id(Node));
  EXPECT_EQ(Backwards, TIds(Expected.rbegin(), Expected.rend()));
  EXPECT_EQ(Model.LastChild(nullptr), Nodes[20]);
  EXPECT_EQ(Model.LastChild(Nodes[20]), Nodes[23]);
  EXPECT_EQ(Model.NextSibling(Nodes[23]), nullptr);
  EXPECT_EQ(Model.PreviousSibling(Nodes[11]), nullptr);
  EXPECT_EQ(Model.ChildCount(Nodes[20]), 3u);
}

} // namespace
} // namespace wyndo::test
