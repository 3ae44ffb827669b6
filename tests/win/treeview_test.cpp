// The tree-list control on a real window: its header columns, focus and scrolling, keyboard and
// mouse, the busy display and what it paints.

#include "tests/win/test_support.h"
#include "tree/treeview.h"
#include "ui/forms.h"
#include "ui/handles.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace wyndo::test {
namespace {

LPARAM At(int X, int Y) {
  return MAKELPARAM(static_cast<WORD>(X), static_cast<WORD>(Y));
}

int HeaderItemWidth(HWND Header, int Index) {
  HDITEMA Item{};
  Item.mask = HDI_WIDTH;
  ::SendMessageA(Header, HDM_GETITEMA, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&Item));
  return Item.cxy;
}

std::string HeaderItemText(HWND Header, int Index) {
  char Text[64] = {};
  HDITEMA Item{};
  Item.mask = HDI_TEXT;
  Item.pszText = Text;
  Item.cchTextMax = sizeof(Text);
  ::SendMessageA(Header, HDM_GETITEMA, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&Item));
  return Text;
}

POINT HeaderItemCentre(HWND Header, int Index) {
  RECT Area{};
  ::SendMessageA(Header, HDM_GETITEMRECT, static_cast<WPARAM>(Index),
                 reinterpret_cast<LPARAM>(&Area));
  return {(Area.left + Area.right) / 2, (Area.top + Area.bottom) / 2};
}

SCROLLINFO VerticalScroll(HWND Window) {
  SCROLLINFO Info{};
  Info.cbSize = sizeof(Info);
  Info.fMask = SIF_ALL;
  ::GetScrollInfo(Window, SB_VERT, &Info);
  return Info;
}

class TreeViewTest : public ::testing::Test {
protected:
  void SetUp() override {
    Form = MakeForm<TForm>();
    Form->SetBounds(100, 100, 420, 320);
    Tree = Form->Make<TVirtualTree>();
    Tree->SetParent(Form.get());
    Tree->SetBounds(0, 0, 400, 280);
    Tree->Nodes().SetDataSize(sizeof(int));
    Tree->AddColumn("Name", 150);
    Tree->AddColumn("Handle", 80);
    Tree->AddColumn("Class", 100);
    Tree->OnGetText = [](TObject& Sender, TTreeNode* Node, int Column) {
      const int Id = static_cast<TVirtualTree&>(Sender).Nodes().DataAs<int>(Node);
      return "n" + std::to_string(Id) + (Column == 0 ? "" : "/" + std::to_string(Column));
    };
  }

  // Roots numbered 100, 200, ...; each with Children children (101, 102, ...), each of those with
  // two grandchildren (1011, 1012, ...). All collapsed.
  void Fill(int Roots, int Children) {
    for (int R = 1; R <= Roots; ++R) {
      TTreeNode* Root = Add(nullptr, R * 100);
      for (int C = 1; C <= Children; ++C) {
        TTreeNode* Child = Add(Root, R * 100 + C);
        Add(Child, (R * 100 + C) * 10 + 1);
        Add(Child, (R * 100 + C) * 10 + 2);
      }
    }
    Tree->Refresh();
  }

  TTreeNode* Add(TTreeNode* Parent, int Id) {
    TTreeNode* Node = Tree->Nodes().AddChild(Parent);
    Tree->Nodes().DataAs<int>(Node) = Id;
    return Node;
  }

  TTreeNode* Row(int Index) const {
    return Tree->Nodes().Rows().at(static_cast<std::size_t>(Index));
  }
  int Id(TTreeNode* Node) const { return Node ? Tree->Nodes().DataAs<int>(Node) : -1; }
  int FocusedId() const { return Id(Tree->FocusedNode()); }
  int FocusedRow() const { return static_cast<int>(Tree->Nodes().RowIndex(Tree->FocusedNode())); }

  void Key(WORD Code) { ::SendMessageA(Tree->Handle(), WM_KEYDOWN, Code, 1); }

  void Click(UINT Down, UINT Up, POINT Point) {
    const WPARAM Button = Down == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON;
    ::SendMessageA(Tree->Handle(), Down, Button, At(Point.x, Point.y));
    ::SendMessageA(Tree->Handle(), Up, 0, At(Point.x, Point.y));
  }

  // A point on the node's row, right of its text's start, away from the expand button.
  POINT OnRow(TTreeNode* Node) const {
    const RECT Area = Tree->NodeRect(Node);
    return {Tree->ColumnLeft(1) - 10, (Area.top + Area.bottom) / 2};
  }
  POINT OnButton(TTreeNode* Node) const {
    const RECT Area = Tree->NodeRect(Node);
    const int Level = static_cast<int>(Tree->Nodes().Level(Node));
    return {Tree->ColumnLeft(Tree->MainColumn()) + Level * Tree->Indent() + Tree->Indent() / 2,
            (Area.top + Area.bottom) / 2};
  }

  std::vector<int> SelectedIds() const {
    std::vector<int> Result;
    for (TTreeNode* Node = Tree->Nodes().First(); Node; Node = Tree->Nodes().Next(Node))
      if (Tree->Nodes().Selected(Node))
        Result.push_back(Id(Node));
    return Result;
  }

  TFormPtr<TForm> Form;
  TVirtualTree* Tree = nullptr;
};

TEST_F(TreeViewTest, ColumnsMadeBeforeAndAfterTheWindowStayInStepWithTheHeader) {
  Tree->SetColumnTag(1, 77);
  Form->HandleNeeded();
  HWND Header = Tree->HeaderHandle();
  ASSERT_NE(Header, nullptr);
  EXPECT_GT(Tree->HeaderHeight(), 0);
  ASSERT_EQ(::SendMessageA(Header, HDM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(HeaderItemWidth(Header, 0), 150);
  EXPECT_EQ(HeaderItemWidth(Header, 2), 100);
  EXPECT_EQ(HeaderItemText(Header, 1), "Handle");
  EXPECT_EQ(Tree->Column(1).Tag, 77);

  EXPECT_EQ(Tree->AddColumn("Extra", 60), 3);
  EXPECT_EQ(::SendMessageA(Header, HDM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_EQ(Tree->ColumnPosition(3), 3);
  EXPECT_EQ(HeaderItemWidth(Header, 3), 60);

  Tree->SetMainColumn(2);
  Tree->SetSortColumn(2);
  Tree->DeleteColumn(1);
  ASSERT_EQ(Tree->ColumnCount(), 3);
  EXPECT_EQ(::SendMessageA(Header, HDM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(Tree->Column(1).Text, "Class");
  EXPECT_EQ(Tree->Column(1).Index, 1);
  EXPECT_EQ(Tree->ColumnPosition(1), 1);
  EXPECT_EQ(Tree->ColumnPosition(2), 2);
  EXPECT_EQ(HeaderItemWidth(Header, 1), 100);
  EXPECT_EQ(HeaderItemText(Header, 2), "Extra");
  // The main and sort columns follow their column, and fall back when it goes.
  EXPECT_EQ(Tree->MainColumn(), 1);
  EXPECT_EQ(Tree->SortColumn(), 1);
  Tree->DeleteColumn(1);
  EXPECT_EQ(Tree->MainColumn(), 0);
  EXPECT_EQ(Tree->SortColumn(), -1);

  int Resized = 0;
  Tree->OnColumnResize = [&](TObject&, int) { ++Resized; };
  Tree->SetColumnWidth(0, 170);
  Tree->SetColumnText(0, "Window");
  EXPECT_EQ(HeaderItemWidth(Header, 0), 170);
  EXPECT_EQ(HeaderItemText(Header, 0), "Window");
  EXPECT_EQ(Resized, 0) << "only the user's changes are reported";
  EXPECT_EQ(Tree->ColumnLeft(1), 170);
}

TEST_F(TreeViewTest, ResizingAndDraggingInTheHeaderUpdateTheColumns) {
  Form->HandleNeeded();
  HWND Header = Tree->HeaderHandle();
  std::vector<std::pair<int, int>> Resized;
  Tree->OnColumnResize = [&](TObject&, int Column) {
    Resized.emplace_back(Column, Tree->Column(Column).Width);
  };
  // What the header does while the user drags a divider: it changes the item and notifies.
  HDITEMA Item{};
  Item.mask = HDI_WIDTH;
  Item.cxy = 95;
  ::SendMessageA(Header, HDM_SETITEMA, 1, reinterpret_cast<LPARAM>(&Item));
  ASSERT_EQ(Resized.size(), 1u);
  EXPECT_EQ(Resized[0], std::make_pair(1, 95));

  // A column dragged with the mouse from the left to the right end.
  std::vector<std::pair<int, int>> Dragged;
  Tree->OnHeaderDragged = [&](TObject&, int Column, int OldPosition) {
    Dragged.emplace_back(Column, OldPosition);
  };
  const POINT From = HeaderItemCentre(Header, 0);
  // Dropped on the right half of the last item: the column goes after it.
  POINT To = HeaderItemCentre(Header, 2);
  RECT Last{};
  ::SendMessageA(Header, HDM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&Last));
  To.x = Last.right - 4;
  ::SendMessageA(Header, WM_LBUTTONDOWN, MK_LBUTTON, At(From.x, From.y));
  for (int Step = 1; Step <= 5; ++Step) {
    const int X = From.x + (To.x - From.x) * Step / 5;
    ::SendMessageA(Header, WM_MOUSEMOVE, MK_LBUTTON, At(X, To.y));
  }
  ::SendMessageA(Header, WM_LBUTTONUP, 0, At(To.x, To.y));
  ASSERT_TRUE(WaitFor([&] { return !Dragged.empty(); }));
  EXPECT_EQ(Dragged[0], std::make_pair(0, 0));
  EXPECT_EQ(Tree->ColumnPosition(0), 2);
  EXPECT_EQ(Tree->ColumnAtPosition(0), 1);
  int Order[3] = {};
  ::SendMessageA(Header, HDM_GETORDERARRAY, 3, reinterpret_cast<LPARAM>(Order));
  for (int Position = 0; Position < 3; ++Position)
    EXPECT_EQ(Tree->ColumnPosition(Order[Position]), Position);
  EXPECT_EQ(Tree->ColumnLeft(0), 95 + 100);
}

TEST_F(TreeViewTest, HeaderClicksReportTheColumnAndTheButton) {
  Form->HandleNeeded();
  HWND Header = Tree->HeaderHandle();
  std::vector<std::pair<int, TMouseButton>> Clicks;
  Tree->OnHeaderClick = [&](TObject&, int Column, TMouseButton Button) {
    Clicks.emplace_back(Column, Button);
  };
  const POINT Second = HeaderItemCentre(Header, 1);
  ::SendMessageA(Header, WM_LBUTTONDOWN, MK_LBUTTON, At(Second.x, Second.y));
  ::SendMessageA(Header, WM_LBUTTONUP, 0, At(Second.x, Second.y));
  const POINT Third = HeaderItemCentre(Header, 2);
  ::SendMessageA(Header, WM_RBUTTONDOWN, MK_RBUTTON, At(Third.x, Third.y));
  ::SendMessageA(Header, WM_RBUTTONUP, 0, At(Third.x, Third.y));

  // The notification as the header sends it.
  NMHEADERA Notify{};
  Notify.hdr = {Header, static_cast<UINT_PTR>(::GetDlgCtrlID(Header)), HDN_ITEMCLICKA};
  Notify.iItem = 0;
  ::SendMessageA(Tree->Handle(), WM_NOTIFY, Notify.hdr.idFrom, reinterpret_cast<LPARAM>(&Notify));

  ASSERT_EQ(Clicks.size(), 3u);
  EXPECT_EQ(Clicks[0], std::make_pair(1, TMouseButton::mbLeft));
  EXPECT_EQ(Clicks[1], std::make_pair(2, TMouseButton::mbRight));
  EXPECT_EQ(Clicks[2], std::make_pair(0, TMouseButton::mbLeft));
}

TEST_F(TreeViewTest, SetFocusedNodeOutsideAnUpdateExpandsAncestorsAndScrollsTheRowIntoView) {
  Fill(30, 3);
  Form->HandleNeeded();
  std::vector<int> Focused;
  Tree->OnFocusChanged = [&](TObject&, TTreeNode* Node) { Focused.push_back(Id(Node)); };

  TTreeNode* Root = Row(25);
  TTreeNode* Child = Tree->Nodes().FirstChild(Root);
  TTreeNode* Grandchild = Tree->Nodes().LastChild(Child);
  Tree->SetFocusedNode(Grandchild);
  EXPECT_EQ(Tree->FocusedNode(), Grandchild);
  EXPECT_TRUE(Tree->Nodes().Expanded(Root));
  EXPECT_TRUE(Tree->Nodes().Expanded(Child));
  const int Index = FocusedRow();
  ASSERT_GE(Index, 0);
  EXPECT_GE(Index, Tree->TopRow());
  EXPECT_LT(Index, Tree->TopRow() + Tree->VisibleRowCount());
  EXPECT_EQ(Focused, std::vector<int>{26012});

  // Inside an update the focus moves, nothing else.
  Tree->SetTopRow(0);
  TTreeNode* Other = Tree->Nodes().FirstChild(Tree->Nodes().FirstChild(Row(3)));
  Tree->BeginUpdate();
  Tree->SetFocusedNode(Other);
  EXPECT_EQ(Tree->FocusedNode(), Other);
  EXPECT_FALSE(Tree->Nodes().Expanded(Row(3)));
  Tree->EndUpdate();
  EXPECT_EQ(Tree->Nodes().RowIndex(Other), -1);
  EXPECT_EQ(Tree->TopRow(), 0);
  EXPECT_EQ(Focused, (std::vector<int>{26012, 4011}));
}

TEST_F(TreeViewTest, ArrowsHomeEndAndPageKeysMoveTheFocusAndTheSelection) {
  Fill(40, 1);
  Form->HandleNeeded();
  const int Page = Tree->VisibleRowCount();
  ASSERT_GT(Page, 3);

  Key(VK_DOWN); // no focused node yet: the first row
  EXPECT_EQ(FocusedRow(), 0);
  Key(VK_DOWN);
  EXPECT_EQ(FocusedRow(), 1);
  EXPECT_EQ(SelectedIds(), std::vector<int>{200});
  Key(VK_END);
  EXPECT_EQ(FocusedRow(), 39);
  EXPECT_EQ(Tree->TopRow(), 40 - Page);
  Key(VK_UP);
  EXPECT_EQ(FocusedRow(), 38);
  Key(VK_HOME);
  EXPECT_EQ(FocusedRow(), 0);
  EXPECT_EQ(Tree->TopRow(), 0);
  Key(VK_NEXT);
  EXPECT_EQ(FocusedRow(), Page);
  EXPECT_EQ(Tree->TopRow(), 1);
  Key(VK_PRIOR);
  EXPECT_EQ(FocusedRow(), 0);
  EXPECT_EQ(SelectedIds(), std::vector<int>{100});

  // A key that OnKeyDown consumes is not the tree's.
  Tree->OnKeyDown = [](TObject&, WORD& Code, TShiftState) {
    if (Code == VK_DOWN)
      Code = 0;
  };
  Key(VK_DOWN);
  EXPECT_EQ(FocusedRow(), 0);
}

TEST_F(TreeViewTest, LeftRightAndKeypadKeysExpandCollapseAndMoveBetweenLevels) {
  Fill(3, 2);
  Form->HandleNeeded();
  TTreeNode* Root = Row(0);
  Tree->SetFocusedNode(Root);

  Key(VK_RIGHT); // expands
  EXPECT_TRUE(Tree->Nodes().Expanded(Root));
  EXPECT_EQ(FocusedId(), 100);
  Key(VK_RIGHT); // to the first child
  EXPECT_EQ(FocusedId(), 101);
  Key(VK_RIGHT);
  Key(VK_RIGHT);
  EXPECT_EQ(FocusedId(), 1011);
  Key(VK_RIGHT); // a leaf: nothing
  EXPECT_EQ(FocusedId(), 1011);
  Key(VK_LEFT); // to the parent
  EXPECT_EQ(FocusedId(), 101);
  Key(VK_LEFT); // collapses
  EXPECT_FALSE(Tree->Nodes().Expanded(Tree->FocusedNode()));
  EXPECT_EQ(FocusedId(), 101);
  Key(VK_LEFT);
  Key(VK_LEFT);
  EXPECT_EQ(FocusedId(), 100);
  EXPECT_FALSE(Tree->Nodes().Expanded(Root));

  Key(VK_MULTIPLY); // the whole subtree
  EXPECT_EQ(Tree->Nodes().Rows().size(), 3u + 2u + 4u);
  Key(VK_SUBTRACT);
  EXPECT_FALSE(Tree->Nodes().Expanded(Root));
  Key(VK_ADD);
  EXPECT_TRUE(Tree->Nodes().Expanded(Root));
  EXPECT_EQ(SelectedIds(), std::vector<int>{100});
}

TEST_F(TreeViewTest, AClickSelectsTheRowAndAClickOnTheButtonToggles) {
  Fill(5, 2);
  Form->HandleNeeded();
  std::vector<TMouseButton> Ups;
  Tree->OnMouseUp = [&](TObject&, TMouseButton Button, TShiftState, int, int) {
    Ups.push_back(Button);
  };

  Click(WM_LBUTTONDOWN, WM_LBUTTONUP, OnRow(Row(2)));
  EXPECT_EQ(FocusedId(), 300);
  EXPECT_EQ(SelectedIds(), std::vector<int>{300});
  // The right button also moves the focus and the selection before OnMouseUp.
  Click(WM_RBUTTONDOWN, WM_RBUTTONUP, OnRow(Row(4)));
  EXPECT_EQ(FocusedId(), 500);
  EXPECT_EQ(SelectedIds(), std::vector<int>{500});
  EXPECT_EQ(Ups, (std::vector<TMouseButton>{TMouseButton::mbLeft, TMouseButton::mbRight}));

  TTreeNode* Root = Row(1);
  Click(WM_LBUTTONDOWN, WM_LBUTTONUP, OnButton(Root));
  EXPECT_TRUE(Tree->Nodes().Expanded(Root));
  EXPECT_EQ(FocusedId(), 500) << "the button does not move the focus";
  // Collapsing hides the focused child: the focus goes to the collapsed node.
  Click(WM_LBUTTONDOWN, WM_LBUTTONUP, OnRow(Row(3)));
  EXPECT_EQ(FocusedId(), 202);
  Click(WM_LBUTTONDOWN, WM_LBUTTONUP, OnButton(Root));
  EXPECT_FALSE(Tree->Nodes().Expanded(Root));
  EXPECT_EQ(FocusedId(), 200);
}

TEST_F(TreeViewTest, ADoubleClickOnARowRaisesOnDblClickAndOnAButtonToggles) {
  Fill(3, 2);
  Form->HandleNeeded();
  int DoubleClicks = 0;
  Tree->OnDblClick = [&](TObject&) { ++DoubleClicks; };
  HWND Window = Tree->Handle();

  const POINT Button = OnButton(Row(0));
  ::SendMessageA(Window, WM_LBUTTONDOWN, MK_LBUTTON, At(Button.x, Button.y));
  ::SendMessageA(Window, WM_LBUTTONUP, 0, At(Button.x, Button.y));
  ::SendMessageA(Window, WM_LBUTTONDBLCLK, MK_LBUTTON, At(Button.x, Button.y));
  ::SendMessageA(Window, WM_LBUTTONUP, 0, At(Button.x, Button.y));
  EXPECT_FALSE(Tree->Nodes().Expanded(Row(0))) << "opened and closed again";
  EXPECT_EQ(DoubleClicks, 0);

  const POINT Text = OnRow(Row(1));
  ::SendMessageA(Window, WM_LBUTTONDOWN, MK_LBUTTON, At(Text.x, Text.y));
  ::SendMessageA(Window, WM_LBUTTONUP, 0, At(Text.x, Text.y));
  ::SendMessageA(Window, WM_LBUTTONDBLCLK, MK_LBUTTON, At(Text.x, Text.y));
  EXPECT_EQ(DoubleClicks, 1);
  EXPECT_EQ(FocusedId(), 200);
}

TEST_F(TreeViewTest, TheBusyDisplayCountsDotsOnItsTimerUntilLeftOrAborted) {
  Fill(3, 1);
  Form->HandleNeeded();
  int Freed = 0;
  Tree->OnFreeNode = [&](TObject&, TTreeNode*) { ++Freed; };

  Tree->EnterBusy();
  EXPECT_TRUE(Tree->Busy());
  EXPECT_EQ(Tree->BusyDots(), 0);
  for (int Dots : {1, 2, 3, 0})
    EXPECT_TRUE(WaitFor([&] { return Tree->BusyDots() == Dots; }, 2000)) << Dots;
  Tree->LeaveBusy();
  EXPECT_FALSE(Tree->Busy());
  EXPECT_EQ(Tree->Nodes().Count(), 12u);
  EXPECT_EQ(Freed, 0);

  Tree->EnterBusy();
  EXPECT_EQ(Tree->BusyDots(), 0);
  Tree->AbortBusy();
  EXPECT_FALSE(Tree->Busy());
  EXPECT_EQ(Tree->Nodes().Count(), 0u);
  EXPECT_EQ(Freed, 12);
  EXPECT_EQ(VerticalScroll(Tree->Handle()).nMax, 0);
}

TEST_F(TreeViewTest, WhileBusyTheViewLeavesTheModelAndTheScrollBarsAlone) {
  Fill(5, 0);
  Form->HandleNeeded();
  HWND Window = Tree->Handle();
  EXPECT_EQ(VerticalScroll(Window).nMax, 4);

  Tree->EnterBusy();
  for (int R = 6; R <= 60; ++R)
    Add(nullptr, R * 100); // as the build thread does
  Tree->Refresh();
  Key(VK_DOWN);
  Click(WM_LBUTTONDOWN, WM_LBUTTONUP, {50, Tree->HeaderHeight() + 5});
  ::SendMessageA(Window, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(Tree->FocusedNode(), nullptr);
  EXPECT_EQ(Tree->NodeAt(Tree->HeaderHeight() + 5), nullptr);
  EXPECT_EQ(VerticalScroll(Window).nMax, 4);
  EXPECT_EQ(Tree->TopRow(), 0);

  Tree->LeaveBusy();
  EXPECT_EQ(VerticalScroll(Window).nMax, 59);
}

TEST_F(TreeViewTest, TheScrollRangeFollowsTheRows) {
  Fill(50, 3);
  Form->HandleNeeded();
  HWND Window = Tree->Handle();
  SCROLLINFO Info = VerticalScroll(Window);
  EXPECT_EQ(Info.nMax, 49);
  EXPECT_EQ(static_cast<int>(Info.nPage), Tree->VisibleRowCount());

  Tree->Nodes().SetExpanded(Row(0), true);
  EXPECT_EQ(VerticalScroll(Window).nMax, 52);
  ::SendMessageA(Window, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(Tree->TopRow(), 53 - Tree->VisibleRowCount());
  EXPECT_EQ(VerticalScroll(Window).nPos, Tree->TopRow());
  ::SendMessageA(Window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_LT(Tree->TopRow(), 53 - Tree->VisibleRowCount());

  // Fewer rows bring the offset back into range.
  Tree->Nodes().SetExpanded(Row(0), false);
  Tree->Nodes().Clear();
  EXPECT_EQ(Tree->TopRow(), 0);
  EXPECT_EQ(VerticalScroll(Window).nMax, 0);
}

TEST_F(TreeViewTest, TextComesFromOnGetTextAndOnlyRowsInViewArePainted) {
  Fill(100, 0);
  EXPECT_EQ(Tree->Text(Row(7), 2), "n800/2");
  Form->HandleNeeded();

  std::set<TTreeNode*> Asked;
  auto Text = Tree->OnGetText;
  Tree->OnGetText = [&](TObject& Sender, TTreeNode* Node, int Column) {
    Asked.insert(Node);
    return Text(Sender, Node, Column);
  };
  Tree->SetTopRow(40);
  TWindowDC Screen(nullptr);
  TMemoryDC Memory(::CreateCompatibleDC(Screen.Get()));
  TGdiObject Bitmap(::CreateCompatibleBitmap(Screen.Get(), 400, 280));
  TSelectObject UseBitmap(Memory.Get(), Bitmap.Get());
  ::SendMessageA(Tree->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(Memory.Get()), 0);
  ASSERT_FALSE(Asked.empty());
  EXPECT_LE(static_cast<int>(Asked.size()), Tree->VisibleRowCount() + 1);
  EXPECT_TRUE(Asked.count(Row(40)));
  EXPECT_FALSE(Asked.count(Row(39)));

  Tree->OnGetText = nullptr;
  EXPECT_EQ(Tree->Text(Row(0), 0), "");
}

TEST_F(TreeViewTest, PaintingBlendsTheSelectionAndLeaksNoHandles) {
  Fill(10, 2);
  Form->HandleNeeded();
  Tree->SetFocusedNode(Row(1));
  Tree->SetSelected(Row(1), true);
  Tree->SetSortColumn(1);

  TWindowDC Screen(nullptr);
  TMemoryDC Memory(::CreateCompatibleDC(Screen.Get()));
  TGdiObject Bitmap(::CreateCompatibleBitmap(Screen.Get(), 400, 280));
  TSelectObject UseBitmap(Memory.Get(), Bitmap.Get());
  const long GdiBefore = TGdiObject::Live();
  HWND Window = Tree->Handle();
  ::SendMessageA(Window, WM_PAINT, reinterpret_cast<WPARAM>(Memory.Get()), 0);

  // Inside the selected row, away from its text and frame: highlight mixed 1:2 with the window.
  const RECT Selected = Tree->NodeRect(Row(1));
  const COLORREF Highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  const COLORREF Back = ::GetSysColor(COLOR_WINDOW);
  const COLORREF Expected = RGB((GetRValue(Highlight) + 2 * GetRValue(Back)) / 3,
                                (GetGValue(Highlight) + 2 * GetGValue(Back)) / 3,
                                (GetBValue(Highlight) + 2 * GetBValue(Back)) / 3);
  const int X = Tree->ColumnLeft(2) + Tree->Column(2).Width - 6;
  EXPECT_EQ(::GetPixel(Memory.Get(), X, Selected.top + 1), Expected);
  EXPECT_EQ(::GetPixel(Memory.Get(), X, Tree->NodeRect(Row(3)).top + 1), Back);

  // The sort mark: a triangle in the shadow colour at the right end of the sort column's item.
  HWND Header = Tree->HeaderHandle();
  ::SendMessageA(Header, WM_PAINT, reinterpret_cast<WPARAM>(Memory.Get()), 0);
  RECT Item{};
  ::SendMessageA(Header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&Item));
  EXPECT_EQ(::GetPixel(Memory.Get(), Item.right - 11, (Item.top + Item.bottom) / 2),
            ::GetSysColor(COLOR_BTNSHADOW));

  // The busy display paints its word in the middle and no rows.
  Tree->EnterBusy();
  ::SendMessageA(Window, WM_PAINT, reinterpret_cast<WPARAM>(Memory.Get()), 0);
  EXPECT_EQ(::GetPixel(Memory.Get(), X, Selected.top + 1), Back);
  const RECT Client = Tree->ClientRect();
  const int MiddleY = (Tree->HeaderHeight() + Client.bottom) / 2;
  bool Written = false;
  for (int Y = MiddleY - 6; Y <= MiddleY + 6 && !Written; ++Y)
    for (int Across = Client.right / 2 - 30; Across <= Client.right / 2 + 30 && !Written; ++Across)
      Written = ::GetPixel(Memory.Get(), Across, Y) != Back;
  EXPECT_TRUE(Written);
  Tree->LeaveBusy();
  EXPECT_EQ(TGdiObject::Live(), GdiBefore);
}

TEST_F(TreeViewTest, AHiddenHeaderLeavesTheWholeClientAreaToTheRows) {
  Fill(3, 0);
  Form->HandleNeeded();
  const int WithHeader = Tree->VisibleRowCount();
  Tree->SetHeaderVisible(false);
  EXPECT_EQ(Tree->HeaderHeight(), 0);
  EXPECT_FALSE(::GetWindowLongA(Tree->HeaderHandle(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_GE(Tree->VisibleRowCount(), WithHeader);
  EXPECT_EQ(Tree->NodeAt(1), Row(0));
  Tree->SetHeaderVisible(true);
  EXPECT_GT(Tree->HeaderHeight(), 0);
  EXPECT_EQ(Tree->NodeAt(Tree->HeaderHeight() + 1), Row(0));
}

} // namespace
} // namespace wyndo::test
