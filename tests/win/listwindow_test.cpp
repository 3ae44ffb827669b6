// List windows and window information windows opened through the program's services, over
// windows, threads and processes of this test.

#include "app/mainform.h"
#include "app/shell.h"
#include "app/startup.h"
#include "core/columns.h"
#include "core/format.h"
#include "core/product.h"
#include "core/settings.h"
#include "lists/listform.h"
#include "tests/win/listbuild_fixture.h"
#include "tests/win/program_fixture.h"
#include "tests/win/test_support.h"
#include "ui/settingsres.h"
#include "ui/winutil.h"
#include "views/infoform.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace wyndo::test {
namespace {

class ListWindowTest : public ProgramTest {
protected:
  void SetUp() override {
    ProgramTest::SetUp();
    OpenMain();
  }

  static void WaitForBuild(TListForm& List, int Builds) {
    EXPECT_TRUE(WaitFor([&] { return List.FinishedBuilds() == Builds; }, 30000));
  }
  static std::vector<std::uint32_t> ChildKeys(TListForm& List, TTreeNode* Parent) {
    std::vector<std::uint32_t> Keys;
    TNodeModel& Nodes = List.Tree->Nodes();
    for (TTreeNode* Node = Nodes.FirstChild(Parent); Node; Node = Nodes.NextSibling(Node)) {
      std::uint32_t Key = 0;
      List.KeyValue(Node, Key);
      Keys.push_back(Key);
    }
    return Keys;
  }
  static bool Increasing(const std::vector<std::uint32_t>& Keys) {
    return std::is_sorted(Keys.begin(), Keys.end(), [](std::uint32_t A, std::uint32_t B) {
      return static_cast<std::int32_t>(A) < static_cast<std::int32_t>(B);
    });
  }
};

TEST_F(ListWindowTest, WindowsAreNumberedPerClassWithTheSmallestFreeNumber) {
  auto& First = OpenList<TWindowListForm>(TChildKind::ckWindowList);
  auto& Second = OpenList<TWindowListForm>(TChildKind::ckWindowList);
  auto& Processes = OpenList<TProcessListForm>(TChildKind::ckProcessList);
  EXPECT_EQ(First.Caption(), "Window List 1");
  EXPECT_EQ(Second.Caption(), "Window List 2");
  EXPECT_EQ(Processes.Caption(), "Process List 1");
  EXPECT_EQ(MainWindow()->Taskbar->Items().Count(), 3);

  ::SendMessageA(First.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(MainWindow()->Taskbar->Items().Count(), 2);
  auto& Third = OpenList<TWindowListForm>(TChildKind::ckWindowList);
  EXPECT_EQ(Third.Caption(), "Window List 1");
}

TEST_F(ListWindowTest, AFreshWindowListShowsTheDesktopExpandedAndItsWindowsInIncreasingOrder) {
  auto& List = OpenList<TWindowListForm>(TChildKind::ckWindowList);
  TNodeModel& Nodes = List.Tree->Nodes();
  TTreeNode* Desktop = Nodes.First();
  ASSERT_NE(Desktop, nullptr);
  EXPECT_EQ(Nodes.Focused(), Desktop);
  EXPECT_TRUE(Nodes.Selected(Desktop));
  EXPECT_TRUE(Nodes.Expanded(Desktop));
  EXPECT_TRUE(Increasing(ChildKeys(List, Desktop)));
  EXPECT_EQ(List.Tree->SortColumn(), -1) << "no sort mark";
  EXPECT_EQ(List.Tree->Column(0).Text, "Handle");
  EXPECT_EQ(List.StatusBar->PanelText(0), std::to_string(List.Counts[lkWindow]) + ": Windows");
  EXPECT_EQ(List.CellText(Desktop, 2), "#32769 (Desktop)");
  EXPECT_EQ(List.CellText(Desktop, 0), FormatValue(FromWindow(::GetDesktopWindow())));
}

TEST_F(ListWindowTest, HeaderClicksAlternateTheOrderAndARefreshSortsByTheFirstColumnAgain) {
  auto& List = OpenList<TWindowListForm>(TChildKind::ckWindowList);
  TTreeNode* Desktop = List.Tree->Nodes().First();
  auto Click = [&](int Column) {
    List.Tree->OnHeaderClick(*List.Tree, Column, TMouseButton::mbLeft);
  };
  Click(0);
  EXPECT_EQ(List.Tree->SortColumn(), 0);
  EXPECT_TRUE(Increasing(ChildKeys(List, Desktop)));
  Click(0);
  auto Keys = ChildKeys(List, Desktop);
  std::reverse(Keys.begin(), Keys.end());
  EXPECT_TRUE(Increasing(Keys)) << "decreasing";
  Click(0);
  EXPECT_TRUE(Increasing(ChildKeys(List, Desktop)));

  Click(2); // class names
  Click(2);
  EXPECT_EQ(List.Tree->SortColumn(), 2);
  EXPECT_EQ(List.Tree->SortDirection(), TSortDirection::sdAscending);
  List.RefreshButtonClick(List);
  WaitForBuild(List, 2);
  EXPECT_TRUE(Increasing(ChildKeys(List, List.Tree->Nodes().First())));
  EXPECT_EQ(List.Tree->SortColumn(), 2) << "the header keeps the mark of the column last clicked";
}

TEST_F(ListWindowTest, AProcessListsFirstColumnFollowsTheKindOfEachRow) {
  auto& List = OpenList<TProcessListForm>(TChildKind::ckProcessList);
  TTreeNode* Process = FindNode(List, lkProcess, ::GetCurrentProcessId());
  TTreeNode* Thread = FindNode(List, lkThread, ::GetCurrentThreadId());
  TTreeNode* Window = FindNode(List, lkWindow, FromWindow(MainWindow()->Handle()));
  ASSERT_TRUE(Process && Thread && Window);
  EXPECT_EQ(List.CellText(Process, 0), FormatValue(::GetCurrentProcessId()));
  EXPECT_EQ(List.CellText(Thread, 0), FormatValue(::GetCurrentThreadId()));
  EXPECT_EQ(List.CellText(Window, 0), FormatValue(FromWindow(MainWindow()->Handle())));
  EXPECT_EQ(List.StatusBar->PanelCount(), 3);
  // Three panels of 140 each; the last does not stretch to the window's edge.
  int Edges[4] = {};
  ASSERT_EQ(
      ::SendMessageA(List.StatusBar->Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(Edges)), 3);
  EXPECT_EQ(std::vector<int>(Edges, Edges + 3), (std::vector<int>{140, 280, 420}));

  List.Tree->SetFocusedNode(Thread);
  EXPECT_EQ(List.Tree->Column(0).Text, "ThreadID");
  EXPECT_FALSE(List.Highlight->Enabled()) << "only windows can be highlighted";
  List.Tree->SetFocusedNode(Window);
  EXPECT_EQ(List.Tree->Column(0).Text, "Handle");
  EXPECT_EQ(List.Tree->Column(1).Text, "WindowText");
  EXPECT_TRUE(List.Highlight->Enabled());
  List.Tree->SetFocusedNode(Process);
  EXPECT_EQ(List.Tree->Column(0).Text, "ProcessID");
  EXPECT_FALSE(List.Highlight->Enabled());
}

TEST_F(ListWindowTest, AModuleListCountsModulesAndTheProcessesItEnumerated) {
  auto& List = OpenList<TModuleListForm>(TChildKind::ckModuleList);
  ASSERT_EQ(List.StatusBar->PanelCount(), 2);
  EXPECT_EQ(List.StatusBar->PanelText(0), std::to_string(List.Counts[lkModule]) + ": Modules");
  EXPECT_EQ(List.StatusBar->PanelText(1), std::to_string(List.Counts[lkProcess]) + ": Processes");
  EXPECT_EQ(List.Tree->Nodes().ChildCount(nullptr), List.Counts[lkModule]);
  EXPECT_GT(List.Counts[lkProcess], 1u);
}

TEST_F(ListWindowTest, ANewNumberFormatRewritesEveryNumberAtOnceAndSortingStaysNumeric) {
  auto& List = OpenList<TWindowListForm>(TChildKind::ckWindowList);
  TTreeNode* Desktop = List.Tree->Nodes().First();
  const std::uint32_t Handle = FromWindow(::GetDesktopWindow());
  EXPECT_EQ(List.CellText(Desktop, 0), FormatValue(Handle, "", ifPascalHex));
  Settings.ParseFormat = ifPascalHex;
  Settings.IntFormat = ifDecimal;
  NotifySettingsChanged();
  Settings.ParseFormat = ifCurrent;
  EXPECT_EQ(List.CellText(Desktop, 0), std::to_string(static_cast<std::int32_t>(Handle)));
  List.Tree->OnHeaderClick(*List.Tree, 0, TMouseButton::mbLeft);
  EXPECT_TRUE(Increasing(ChildKeys(List, Desktop))) << "by value, not by the decimal texts";
}

TEST_F(ListWindowTest, PropertiesOpensAWindowInfoWindowAndOtherKindsTellTheyAreNotThereYet) {
  // A popup with a caption: WS_POPUP | WS_VISIBLE | WS_CAPTION.
  HWND Probe = ::CreateWindowExA(0, "STATIC", "Probe popup", 0x90C00000, 10, 20, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
  // Wine keeps WS_CLIPSIBLINGS on every top-level window: the window's style is 0x94C00000.
  const auto Style = static_cast<std::uint32_t>(::GetWindowLongA(Probe, GWL_STYLE));
  ASSERT_EQ(Style & ~static_cast<std::uint32_t>(WS_CLIPSIBLINGS), 0x90C00000u);
  auto& List = OpenList<TWindowListForm>(TChildKind::ckWindowList);
  TTreeNode* Node = FindNode(List, lkWindow, FromWindow(Probe));
  ASSERT_NE(Node, nullptr);
  List.Tree->SetFocusedNode(Node);
  List.PropertiesButtonClick(List);
  auto Windows = Services.ChildWindows();
  ASSERT_EQ(Windows.size(), 2u);
  auto* Info = dynamic_cast<TWindowInfoForm*>(Windows[1]);
  ASSERT_NE(Info, nullptr);
  EXPECT_EQ(Info->Caption(), "Window Info 1");
  EXPECT_EQ(Info->edWindowCaption->Text(), "Probe popup");
  EXPECT_EQ(Info->laWindowHandle->Caption(), FormatValue(FromWindow(Probe)));
  EXPECT_EQ(Info->laWndRectangle->Caption(), "(10, 20)-(210, 120), 200x100");
  EXPECT_EQ(Info->laWindowStyles->Caption(), FormatValue(Style));
  std::vector<std::string> Names = Info->lbStylesList->Items();
  std::erase(Names, "WS_CLIPSIBLINGS");
  EXPECT_EQ(Names, (std::vector<std::string>{"WS_OVERLAPPED", "WS_POPUP", "WS_VISIBLE",
                                             "WS_CAPTION", "WS_BORDER", "WS_DLGFRAME"}));
  EXPECT_EQ(Info->lbExtStylesList->Items()[0], "WS_EX_WINDOWEDGE");
  EXPECT_EQ(Info->edClassName->Text(), "Static");
  EXPECT_EQ(Info->llProcessID->Caption(), FormatValue(::GetCurrentProcessId()));
  EXPECT_EQ(Info->llThreadID->Caption(), FormatValue(::GetCurrentThreadId()));
  EXPECT_EQ(Info->PageControl->PageCount(), 5);
  EXPECT_EQ(Info->PageControl->Page(4)->Caption(), "Process");

  // The desktop's information; Escape closes the window.
  List.Tree->SetFocusedNode(List.Tree->Nodes().First());
  List.PropertiesButtonClick(List);
  auto* Desktop = dynamic_cast<TWindowInfoForm*>(Services.ChildWindows().back());
  ASSERT_NE(Desktop, nullptr);
  EXPECT_EQ(Desktop->Caption(), "Window Info 2");
  EXPECT_EQ(Desktop->edClassName->Text(), "#32769 (Desktop)");
  ::SendMessageA(Desktop->edWindowCaption->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitFor([&] { return Services.ChildWindows().size() == 2; }));
  ::DestroyWindow(Probe);

  auto& Threads = OpenList<TThreadListForm>(TChildKind::ckThreadList);
  Threads.Tree->SetFocusedNode(Threads.Tree->Nodes().First());
  TMessageBoxWatcher Watcher("Error");
  Threads.PropertiesButtonClick(Threads);
  const auto Seen = Watcher.Result();
  ASSERT_TRUE(Seen.has_value());
  EXPECT_EQ(Seen->Text, "This function is not implemented yet.\nTake a look at " +
                            std::string(HomePage) + " for new versions.");
}

TEST_F(ListWindowTest, SelectingAWindowSkipsModuleListsAndListsStillBuilding) {
  auto& Idle = OpenList<TWindowListForm>(TChildKind::ckWindowList);
  auto& Modules = OpenList<TModuleListForm>(TChildKind::ckModuleList);
  TTreeNode* ModuleFocus = Modules.Tree->Nodes().Focused();
  // All five build slots taken: the next list stays in its build.
  THeldSlots Slots;
  ASSERT_EQ(Slots.Held, 5);
  auto* Busy =
      dynamic_cast<TListForm*>(Services.OpenChildWindow(TChildKind::ckWindowList, nullptr));
  ASSERT_TRUE(WaitFor([&] { return Busy->Building(); }));

  const std::uint32_t Target = FromWindow(MainWindow()->Handle());
  Services.SelectWindowInLists(Target);
  std::uint32_t Focused = 0;
  ASSERT_NE(Idle.Tree->FocusedNode(), nullptr);
  EXPECT_TRUE(Idle.KeyValue(Idle.Tree->FocusedNode(), Focused));
  EXPECT_EQ(Focused, Target);
  EXPECT_TRUE(Idle.Tree->Nodes().Selected(Idle.Tree->FocusedNode()));
  EXPECT_EQ(Modules.Tree->Nodes().Focused(), ModuleFocus);
  EXPECT_EQ(Busy->Tree->Nodes().Count(), 0u);
  Slots.Release();
  WaitForBuild(*Busy, 1);
}

TEST_F(ListWindowTest, WithoutTheHandleColumnWindowNodesAreLeftAlone) {
  TColumnList& Windows = Settings.ColumnSettings[lkWindow];
  Windows[0].Shown = 0; // Handle, hidden through stored settings
  NormalisePositions(Windows);
  auto& List = OpenList<TWindowListForm>(TChildKind::ckWindowList);
  TTreeNode* Desktop = List.Tree->Nodes().First();
  std::uint32_t Key = 0;
  EXPECT_FALSE(List.KeyValue(Desktop, Key));
  List.Tree->SetFocusedNode(List.Tree->Nodes().FirstChild(Desktop));
  List.PropertiesButtonClick(List);
  List.HighlightClick(List);
  EXPECT_EQ(Services.ChildWindows().size(), 1u) << "no information window without a handle";
  Services.SelectWindowInLists(FromWindow(::GetDesktopWindow()));
  EXPECT_NE(List.Tree->FocusedNode(), Desktop);
}

TEST_F(ListWindowTest, RefreshDoesNothingWhileABuildRuns) {
  // All five build slots taken: the build waits.
  THeldSlots Slots;
  ASSERT_EQ(Slots.Held, 5);
  auto* List =
      dynamic_cast<TListForm*>(Services.OpenChildWindow(TChildKind::ckWindowList, nullptr));
  ASSERT_NE(List, nullptr);
  // Two quick clicks, perhaps before the window has seen its build start, and one while it
  // shows it: one build all the same.
  List->RefreshButtonClick(*List);
  List->RefreshButtonClick(*List);
  ASSERT_TRUE(WaitFor([&] { return List->Building(); }));
  List->RefreshButtonClick(*List);
  EXPECT_EQ(LiveBuildRecords(), 1);
  Slots.Release();
  WaitForBuild(*List, 1);
  EXPECT_TRUE(WaitFor([] { return LiveBuildRecords() == 0; }));
  EXPECT_EQ(List->FinishedBuilds(), 1);
}

TEST_F(ListWindowTest, AListWindowClosedWhileItBuildsGoesQuietly) {
  THeldSlots Slots;
  ASSERT_EQ(Slots.Held, 5);
  auto* List =
      dynamic_cast<TListForm*>(Services.OpenChildWindow(TChildKind::ckProcessList, nullptr));
  ASSERT_TRUE(WaitFor([&] { return List->Building(); }));
  ::SendMessageA(List->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(Services.ChildWindows().empty());
}

} // namespace
} // namespace wyndo::test
