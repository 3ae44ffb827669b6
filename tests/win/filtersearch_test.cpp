// The list windows' filter (the filter button's box and the filter dialog) and their search
// dialog, over real list builds and windows made by the test, so what matches is known.

#include "core/format.h"
#include "core/settings.h"
#include "lists/listform.h"
#include "tests/win/program_fixture.h"
#include "tests/win/test_support.h"
#include "ui/handles.h"
#include "ui/winutil.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace wyndo::test {
namespace {

// A hidden top-level STATIC window with EDIT children; destroyed with the object.
struct TProbe {
  TProbe(const char* Text, std::initializer_list<const char*> Children) {
    Window = ::CreateWindowExA(0, "STATIC", Text, WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                               nullptr, nullptr);
    for (const char* Child : Children)
      Edits.push_back(::CreateWindowExA(0, "EDIT", Child, WS_CHILD, 0, 0, 50, 20, Window, nullptr,
                                        nullptr, nullptr));
  }
  ~TProbe() { ::DestroyWindow(Window); }
  HWND Window;
  std::vector<HWND> Edits;
};

class FilterSearchTest : public ProgramTest {
protected:
  void SetUp() override {
    ProgramTest::SetUp();
    Settings.IntFormat = ifCHex;
    OpenMain();
  }

  static TTreeNode* WindowNode(TListForm& List, HWND Window) {
    return FindNode(List, lkWindow, FromWindow(Window));
  }
  // Sets the filter button's box and applies the filter, as a click on the box does.
  static void ApplyFilter(TListForm& List, bool Checked = true) {
    List.FilterButton->SetChecked(Checked);
    List.FilterButtonCheckClick(List);
  }
  // A real click in the filter button's box: what the handler raises reaches the program's
  // error handling.
  static void ClickFilterBox(TListForm& List) {
    const RECT Box = List.FilterButton->BoxRect();
    const LPARAM At = MAKELPARAM(List.FilterButton->Left() + Box.left + 3,
                                 List.FilterButton->Top() + Box.top + 3);
    ::SendMessageA(List.ToolBar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At);
    ::SendMessageA(List.ToolBar->Handle(), WM_LBUTTONUP, 0, At);
  }
  static void Click(TButton& Button) { ::SendMessageA(Button.Handle(), BM_CLICK, 0, 0); }
  static bool Centred(TForm& Dialog, TForm& Over) {
    RECT Inner{}, Outer{};
    ::GetWindowRect(Dialog.Handle(), &Inner);
    ::GetWindowRect(Over.Handle(), &Outer);
    const int Width = Inner.right - Inner.left, Height = Inner.bottom - Inner.top;
    return Inner.left == Outer.left + ((Outer.right - Outer.left) - Width) / 2 &&
           Inner.top == Outer.top + ((Outer.bottom - Outer.top) - Height) / 2;
  }
  static SIZE ClientSize(TForm& Form) {
    RECT Client{};
    ::GetClientRect(Form.Handle(), &Client);
    return {Client.right, Client.bottom};
  }
  static std::string ErrorTitle() {
    return Application.Title().empty() ? "Error" : Application.Title();
  }
  // Types Text into the search dialog's entry for Column and takes it over.
  static void SetSearchText(TListSearchForm& Search, int Column, const char* Text) {
    Search.SearchList->SetItemIndex(Column);
    Search.SearchListClick(Search);
    Search.SearchText->SetText(Text);
    Search.ChangeClick(Search);
  }
};

// ---------------------------------------------------------------------------------------------
// Applying the filter

TEST_F(FilterSearchTest, AWindowFilterKeepsTheDesktopAndTakesChildWindowsAlong) {
  TProbe Probe("FilterProbe", {"Inside 1", "Inside 2"});
  TProbe Other("OtherProbe", {});
  auto& List = OpenList<TWindowListForm>(TChildKind::ckWindowList);
  TNodeModel& Nodes = List.Tree->Nodes();
  TTreeNode* Desktop = Nodes.First();
  TTreeNode* Node = WindowNode(List, Probe.Window);
  TTreeNode* Child = WindowNode(List, Probe.Edits[0]);
  TTreeNode* OtherNode = WindowNode(List, Other.Window);
  ASSERT_TRUE(Node && Child && OtherNode);

  List.FFilters[lkWindow].Texts[1] = "FilterProbe";
  ApplyFilter(List);
  EXPECT_TRUE(Nodes.IsVisible(Desktop));
  EXPECT_TRUE(Nodes.IsShown(Node));
  EXPECT_TRUE(Nodes.IsShown(Child)) << "below the roots nothing is filtered";
  EXPECT_FALSE(Nodes.IsVisible(OtherNode));

  List.FFilters[lkWindow].Texts[1] = "NoSuchWindow*";
  ApplyFilter(List);
  EXPECT_TRUE(Nodes.IsVisible(Desktop)) << "the desktop node is never filtered";
  EXPECT_FALSE(Nodes.IsVisible(Node));
  EXPECT_TRUE(Nodes.IsVisible(Child));
  EXPECT_FALSE(Nodes.IsShown(Child)) << "hidden with its top-level window";

  auto EveryNodeVisible = [&] {
    for (TTreeNode* Each = Nodes.First(); Each; Each = Nodes.Next(Each))
      if (!Nodes.IsVisible(Each))
        return false;
    return true;
  };
  List.FFilters[lkWindow].Texts[1].clear();
  ApplyFilter(List);
  EXPECT_TRUE(EveryNodeVisible()) << "an empty filter shows every node";
  List.FFilters[lkWindow].Texts[1] = "NoSuchWindow*";
  ApplyFilter(List, false);
  EXPECT_TRUE(EveryNodeVisible()) << "the box cleared shows every node";
  EXPECT_FALSE(List.Tree->Nodes().Updating());
}

TEST_F(FilterSearchTest, RootOnlyDecidesWhetherThreadsAreFilteredInAProcessList) {
  std::atomic<DWORD> WorkerId{0};
  TKernelHandle Stop(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  std::thread Worker([&] {
    WorkerId = ::GetCurrentThreadId();
    ::WaitForSingleObject(Stop.Get(), 60000);
  });
  ASSERT_TRUE(WaitFor([&] { return WorkerId != 0; }));
  auto& List = OpenList<TProcessListForm>(TChildKind::ckProcessList);
  ::SetEvent(Stop.Get());
  Worker.join();
  TNodeModel& Nodes = List.Tree->Nodes();
  TTreeNode* Process = FindNode(List, lkProcess, ::GetCurrentProcessId());
  TTreeNode* Main = FindNode(List, lkThread, ::GetCurrentThreadId());
  TTreeNode* Other = FindNode(List, lkThread, WorkerId);
  ASSERT_TRUE(Process && Main && Other);

  List.FFilters[lkThread].Texts[0] = FormatValue(::GetCurrentThreadId());
  ApplyFilter(List);
  EXPECT_TRUE(Nodes.IsVisible(Other)) << "root-only: the thread filter has no effect";

  List.FFilterRootOnly = false;
  ApplyFilter(List);
  EXPECT_TRUE(Nodes.IsShown(Main));
  EXPECT_FALSE(Nodes.IsVisible(Other));
  EXPECT_TRUE(Nodes.IsShown(Process));

  List.FFilters[lkProcess].Texts[0] = "NoSuchProcess";
  ApplyFilter(List);
  EXPECT_FALSE(Nodes.IsVisible(Process));
  EXPECT_TRUE(Nodes.IsVisible(Main));
  EXPECT_FALSE(Nodes.IsShown(Main)) << "a matching thread under a hidden process stays hidden";

  // Must have Child-Nodes alone: the thread without windows goes, the one with windows stays.
  List.FFilters[lkProcess].Texts[0].clear();
  List.FFilters[lkThread].Texts[0].clear();
  List.FFilters[lkThread].MustHaveChildNodes = true;
  ApplyFilter(List);
  EXPECT_TRUE(Nodes.IsShown(Main));
  EXPECT_FALSE(Nodes.IsVisible(Other));
}

TEST_F(FilterSearchTest, MasksCaseAndTheNumberFormatDecideWhatMatches) {
  TProbe Probe("Untitled - Notepad", {});
  auto& List = OpenList<TWindowListForm>(TChildKind::ckWindowList);
  TTreeNode* Node = WindowNode(List, Probe.Window);
  ASSERT_NE(Node, nullptr);
  auto Passes = [&](int Column, const std::string& Text, bool CaseSensitive, bool WildCards) {
    List.FFilters[lkWindow].Texts = {"", "", ""};
    List.FFilters[lkWindow].Texts[static_cast<std::size_t>(Column)] = Text;
    List.FFilterCaseSensitive = CaseSensitive;
    List.FFilterWildCards = WildCards;
    ApplyFilter(List);
    return List.Tree->Nodes().IsVisible(Node);
  };
  EXPECT_TRUE(Passes(1, "*note*", false, true));
  EXPECT_TRUE(Passes(1, "*note*", true, true)) << "masks ignore the case of letters";
  EXPECT_FALSE(Passes(1, "untitled - notepad", true, false));
  EXPECT_TRUE(Passes(1, "untitled - notepad", false, false));
  EXPECT_TRUE(Passes(1, "Untitled - Notepad", true, false));
  EXPECT_FALSE(Passes(1, "Untitled?", false, false)) << "without wild-cards '?' is itself";

  // The handle column matches the text exactly as the list shows it.
  const std::uint32_t Handle = FromWindow(Probe.Window);
  const std::string Hex = FormatValue(Handle, "", ifCHex);
  const std::string Decimal = std::to_string(static_cast<std::int32_t>(Handle));
  EXPECT_EQ(List.CellText(Node, 0), Hex);
  EXPECT_TRUE(Passes(0, Hex, true, true));
  EXPECT_FALSE(Passes(0, Decimal, true, true));
  Settings.IntFormat = ifDecimal;
  EXPECT_EQ(List.CellText(Node, 0), Decimal);
  EXPECT_TRUE(Passes(0, Decimal, true, true));
  EXPECT_FALSE(Passes(0, Hex, true, true));
}

// ---------------------------------------------------------------------------------------------
// The filter dialog

TEST_F(FilterSearchTest, TheDialogEditsACopyThatCancelThrowsAway) {
  auto& List = OpenList<TProcessListForm>(TChildKind::ckProcessList);
  List.FFilterCaseSensitive = true;
  List.FFilterWildCards = false;
  List.FFilterRootOnly = false;
  List.FFilters[lkThread].Texts[1] = "abc";
  List.FFilters[lkThread].MustHaveChildNodes = true;
  List.SetBounds(300, 300, 567, 219); // room for the dialog all round
  List.FilterButtonClick(List);
  TFilterForm* Dialog = List.FFilterForm;
  ASSERT_NE(Dialog, nullptr);
  EXPECT_TRUE(Dialog->Visible());
  EXPECT_FALSE(::IsWindowEnabled(List.Handle()));
  EXPECT_EQ(Dialog->Caption(), "Filter");
  EXPECT_EQ(ClientSize(*Dialog).cx, 342);
  EXPECT_EQ(ClientSize(*Dialog).cy, 322);
  EXPECT_TRUE(Centred(*Dialog, List));
  EXPECT_EQ(Dialog->ListType->Items(),
            (std::vector<std::string>{"Processes", "Threads", "Windows"}));
  EXPECT_EQ(Dialog->ListType->ItemIndex(), 0);
  EXPECT_TRUE(Dialog->CaseSensitive->Checked());
  EXPECT_FALSE(Dialog->WildCards->Checked());
  EXPECT_FALSE(Dialog->RootNode->Checked());
  EXPECT_TRUE(Dialog->ActivateFilter->Checked()) << "not taken from the list";
  EXPECT_FALSE(Dialog->ChildNodes->Checked());
  ASSERT_EQ(Dialog->FilterList->Count(), 3);
  EXPECT_EQ(Dialog->EntryText(0), "ProcessID: ''");
  // The list brought forward hands the activation on to its dialog.
  ::SetActiveWindow(MainWindow()->Handle());
  ::SetActiveWindow(List.Handle());
  EXPECT_TRUE(WaitFor([&] { return ::GetActiveWindow() == Dialog->Handle(); }));

  Dialog->ListType->SetItemIndex(1);
  Dialog->ListTypeChange(*Dialog);
  EXPECT_TRUE(Dialog->ChildNodes->Checked());
  EXPECT_EQ(Dialog->EntryText(1), "ModuleName: 'abc'");
  EXPECT_EQ(Dialog->FilterText->Text(), "") << "the first entry is selected";
  // Enter in the text box takes the text over instead of pressing OK.
  Dialog->FilterText->SetText("0x1");
  ::PostMessageA(Dialog->FilterText->Handle(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(WaitFor([&] { return Dialog->FilterList->Item(0) == "0x1"; }));
  EXPECT_EQ(List.FFilterForm, Dialog);
  Dialog->FilterList->SetItemIndex(1);
  Dialog->FilterListClick(*Dialog);
  EXPECT_EQ(Dialog->FilterText->Text(), "abc");
  Dialog->ClearClick(*Dialog);
  EXPECT_EQ(Dialog->EntryText(1), "ModuleName: ''");
  Dialog->ChildNodes->SetChecked(false);
  Dialog->WildCards->SetChecked(true);

  Click(*Dialog->Cancel);
  ASSERT_TRUE(WaitFor([&] { return List.FFilterForm == nullptr; }));
  EXPECT_TRUE(::IsWindowEnabled(List.Handle()));
  EXPECT_EQ(List.FFilters[lkThread].Texts, (std::vector<std::string>{"", "abc", ""}));
  EXPECT_TRUE(List.FFilters[lkThread].MustHaveChildNodes);
  EXPECT_FALSE(List.FFilterWildCards);

  // A list window that closes takes its open dialog with it.
  List.FilterButtonClick(List);
  ASSERT_NE(List.FFilterForm, nullptr);
  ::SendMessageA(List.Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitFor([] {
    return std::none_of(Screen.Forms().begin(), Screen.Forms().end(),
                        [](TForm* Form) { return dynamic_cast<TFilterForm*>(Form) != nullptr; });
  }));
}

TEST_F(FilterSearchTest, OKWithActivateFilterClearAppliesTheFilterOnlyWithTheNextCheck) {
  TProbe Probe("FilterProbe", {});
  TProbe Other("OtherProbe", {});
  auto& List = OpenList<TWindowListForm>(TChildKind::ckWindowList);
  TNodeModel& Nodes = List.Tree->Nodes();
  TTreeNode* Node = WindowNode(List, Probe.Window);
  TTreeNode* OtherNode = WindowNode(List, Other.Window);
  ASSERT_TRUE(Node && OtherNode);
  List.FFilters[lkWindow].Texts[1] = "FilterProbe";
  ApplyFilter(List);
  ASSERT_FALSE(Nodes.IsVisible(OtherNode));

  auto EditWindowText = [&](const char* Text, bool Activate) {
    List.FilterButtonClick(List);
    TFilterForm& Dialog = *List.FFilterForm;
    Dialog.FilterList->SetItemIndex(1);
    Dialog.FilterListClick(Dialog);
    Dialog.FilterText->SetText(Text);
    Dialog.ChangeClick(Dialog);
    Dialog.ActivateFilter->SetChecked(Activate);
    Click(*Dialog.OK);
    EXPECT_TRUE(WaitFor([&] { return List.FFilterForm == nullptr; }));
  };
  EditWindowText("OtherProbe", false);
  EXPECT_EQ(List.FFilters[lkWindow].Texts[1], "OtherProbe");
  EXPECT_FALSE(List.FilterButton->Checked());
  EXPECT_FALSE(Nodes.IsVisible(OtherNode)) << "nothing applied yet";
  EXPECT_TRUE(Nodes.IsVisible(Node));
  ClickFilterBox(List);
  EXPECT_TRUE(List.FilterButton->Checked());
  EXPECT_TRUE(Nodes.IsVisible(OtherNode));
  EXPECT_FALSE(Nodes.IsVisible(Node));

  EditWindowText("FilterProbe", true);
  EXPECT_TRUE(List.FilterButton->Checked());
  EXPECT_TRUE(Nodes.IsVisible(Node));
  EXPECT_FALSE(Nodes.IsVisible(OtherNode));
}

TEST_F(FilterSearchTest, AnInvalidMaskIsReportedWhereverTheFilterIsAppliedAndTheTreeKeepsPainting) {
  auto& List = OpenList<TWindowListForm>(TChildKind::ckWindowList);
  List.FFilters[lkWindow].Texts[1] = "[abc";
  auto ExpectReport = [&](TMessageBoxWatcher& Watcher) {
    const auto Seen = Watcher.Result();
    ASSERT_TRUE(Seen.has_value());
    EXPECT_EQ(Seen->Text.rfind("'[abc' is an invalid mask at (", 0), 0u) << Seen->Text;
    EXPECT_FALSE(List.Tree->Nodes().Updating());
  };
  {
    TMessageBoxWatcher Watcher(ErrorTitle());
    ClickFilterBox(List);
    ExpectReport(Watcher);
    EXPECT_TRUE(List.FilterButton->Checked());
  }
  {
    TMessageBoxWatcher Watcher(ErrorTitle());
    List.RefreshButtonClick(List);
    EXPECT_TRUE(WaitFor([&] { return List.FinishedBuilds() == 2 && !List.Building(); }, 30000));
    ExpectReport(Watcher);
    EXPECT_FALSE(List.Tree->Busy());
    EXPECT_EQ(List.Cursor, crDefault);
    EXPECT_TRUE(List.SearchButton->Enabled());
  }
  {
    List.FilterButtonClick(List);
    TFilterForm* Dialog = List.FFilterForm;
    ASSERT_NE(Dialog, nullptr);
    TMessageBoxWatcher Watcher(ErrorTitle());
    Click(*Dialog->OK);
    ExpectReport(Watcher);
    EXPECT_EQ(List.FFilterForm, Dialog) << "open to correct the mask";
    Click(*Dialog->Cancel);
    EXPECT_TRUE(WaitFor([&] { return List.FFilterForm == nullptr; }));
  }
}

// ---------------------------------------------------------------------------------------------
// The search dialog

TEST_F(FilterSearchTest, SearchingForwardFindsEachMatchInTurnThenTellsThereIsNoMore) {
  TProbe Probe("SearchProbe", {"SearchProbe Edit 1", "SearchProbe Edit 2", "SearchProbe Edit 3"});
  auto& List = OpenList<TWindowListForm>(TChildKind::ckWindowList);
  TListSearchForm& Search = *List.FSearchForm;
  TNodeModel& Nodes = List.Tree->Nodes();
  TTreeNode* Parent = WindowNode(List, Probe.Window);
  ASSERT_NE(Parent, nullptr);
  std::vector<TTreeNode*> Hits;
  for (TTreeNode* Node = Nodes.FirstChild(Parent); Node; Node = Nodes.NextSibling(Node))
    Hits.push_back(Node);
  ASSERT_EQ(Hits.size(), 3u);
  Nodes.SetExpanded(Parent, false);

  EXPECT_EQ(Search.SearchType->Items(), (std::vector<std::string>{"Windows"}));
  ASSERT_EQ(Search.SearchList->Count(), 3);
  EXPECT_FALSE(Search.Search->Enabled());
  SetSearchText(Search, 1, "SearchProbe Edit*");
  SetSearchText(Search, 2, "Edit");
  EXPECT_EQ(Search.EntryText(2), "ClassName: 'Edit'");
  EXPECT_TRUE(Search.Search->Enabled());
  EXPECT_TRUE(Search.StartBegin->Checked());
  EXPECT_TRUE(Search.Down->Checked());

  for (TTreeNode* Hit : Hits) {
    Search.SearchClick(Search);
    EXPECT_EQ(List.Tree->FocusedNode(), Hit);
    EXPECT_TRUE(Nodes.Selected(Hit));
    EXPECT_TRUE(Nodes.Expanded(Parent));
    EXPECT_GE(Nodes.RowIndex(Hit), List.Tree->TopRow()) << "scrolled into view";
    EXPECT_TRUE(Search.StartCurrent->Checked());
    EXPECT_FALSE(Search.StartBegin->Checked());
  }
  TMessageBoxWatcher Watcher("Searching done");
  Search.SearchClick(Search);
  const auto Seen = Watcher.Result();
  ASSERT_TRUE(Seen.has_value());
  EXPECT_EQ(Seen->Text, "No entry found that corresponds to your search-options");
  EXPECT_EQ(Seen->Icon, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(List.Tree->FocusedNode(), Hits.back()) << "no wrap-around, the focus stays";
}

TEST_F(FilterSearchTest, SearchingBackwardFromTheBeginningStartsAtTheLastNode) {
  auto& List = OpenList<TWindowListForm>(TChildKind::ckWindowList);
  TListSearchForm& Search = *List.FSearchForm;
  TNodeModel& Nodes = List.Tree->Nodes();
  SetSearchText(Search, 0, "*");
  Search.Up->SetChecked(true);
  EXPECT_FALSE(Search.Down->Checked());
  Search.SearchClick(Search);
  EXPECT_EQ(List.Tree->FocusedNode(), Nodes.Last());
  Search.SearchClick(Search);
  EXPECT_EQ(List.Tree->FocusedNode(), Nodes.Previous(Nodes.Last()));
}

TEST_F(FilterSearchTest, AKindMatchesOnlyItsOwnRowsAndChangingItEmptiesTheTexts) {
  auto& List = OpenList<TProcessListForm>(TChildKind::ckProcessList);
  TListSearchForm& Search = *List.FSearchForm;
  EXPECT_EQ(Search.SearchType->Items(),
            (std::vector<std::string>{"Processes", "Threads", "Windows"}));
  Search.SearchType->SetItemIndex(1);
  Search.SearchTypeChange(Search);
  EXPECT_EQ(Search.CurrentKind(), lkThread);
  EXPECT_EQ(Search.EntryText(0), "ThreadID: ''");

  // The process's own row matches the text, but it is no thread.
  SetSearchText(Search, 0, FormatValue(::GetCurrentProcessId()).c_str());
  {
    TMessageBoxWatcher Watcher("Searching done");
    Search.SearchClick(Search);
    EXPECT_TRUE(Watcher.Result().has_value());
  }
  SetSearchText(Search, 0, "*");
  Search.StartBegin->SetChecked(true);
  for (int Round = 0; Round < 5; ++Round) {
    Search.SearchClick(Search);
    ASSERT_NE(List.Tree->FocusedNode(), nullptr);
    EXPECT_EQ(List.NodeData(List.Tree->FocusedNode()).Kind, lkThread);
  }

  Search.SearchType->SetItemIndex(2);
  Search.SearchTypeChange(Search);
  EXPECT_EQ(Search.CurrentKind(), lkWindow);
  EXPECT_EQ(Search.SearchList->Items(), (std::vector<std::string>{"", "", ""}));
  EXPECT_FALSE(Search.Search->Enabled());
}

TEST_F(FilterSearchTest, SearchFindsNodesHiddenByTheFilterAndNothingWithoutAFocusedNode) {
  TProbe Probe("HiddenProbe", {"HiddenProbe Edit"});
  auto& List = OpenList<TWindowListForm>(TChildKind::ckWindowList);
  TListSearchForm& Search = *List.FSearchForm;
  TTreeNode* Edit = WindowNode(List, Probe.Edits[0]);
  ASSERT_NE(Edit, nullptr);
  List.FFilters[lkWindow].Texts[1] = "NoSuchWindow";
  ApplyFilter(List);
  SetSearchText(Search, 1, "hiddenprobe edit");
  Search.SearchClick(Search);
  EXPECT_EQ(List.Tree->FocusedNode(), Edit);
  EXPECT_FALSE(List.Tree->Nodes().IsShown(Edit)) << "found, focused, and still hidden";

  List.Tree->SetFocusedNode(nullptr);
  ASSERT_TRUE(Search.StartCurrent->Checked());
  TMessageBoxWatcher Watcher("Searching done");
  Search.SearchClick(Search);
  EXPECT_TRUE(Watcher.Result().has_value());
  EXPECT_EQ(List.Tree->FocusedNode(), nullptr);
}

TEST_F(FilterSearchTest, BothDialogsOverAListAtTheTopEdgeOpenWhollyInTheWorkArea) {
  auto& List = OpenList<TWindowListForm>(TChildKind::ckWindowList);
  const RECT Work = Screen.WorkArea();
  List.SetBounds(Work.left + 40, Work.top, 567, 219);
  auto Inside = [&](TForm& Dialog) {
    RECT Rect{};
    ::GetWindowRect(Dialog.Handle(), &Rect);
    return Rect.left >= Work.left && Rect.top == Work.top && Rect.right <= Work.right &&
           Rect.bottom <= Work.bottom;
  };
  List.FilterButtonClick(List);
  ASSERT_NE(List.FFilterForm, nullptr);
  EXPECT_TRUE(Inside(*List.FFilterForm)) << "its caption and drop-down within reach";
  Click(*List.FFilterForm->Cancel);
  List.SearchButtonClick(List);
  EXPECT_TRUE(Inside(*List.FSearchForm));
}

TEST_F(FilterSearchTest, TheSearchDialogFollowsItsListWindow) {
  auto& List = OpenList<TWindowListForm>(TChildKind::ckWindowList);
  TListSearchForm& Search = *List.FSearchForm;
  List.SetBounds(300, 300, 567, 219); // room for the dialog all round
  EXPECT_FALSE(Search.Visible());
  EXPECT_TRUE(List.SearchButton->Enabled());
  List.SearchButtonClick(List);
  ASSERT_TRUE(Search.Visible());
  EXPECT_EQ(Search.Caption(), "Search");
  EXPECT_EQ(ClientSize(Search).cx, 341);
  EXPECT_EQ(ClientSize(Search).cy, 320);
  EXPECT_TRUE(Centred(Search, List));
  auto Topmost = [&] {
    return (::GetWindowLongA(Search.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  };
  EXPECT_TRUE(WaitFor([&] { return ::GetFocus() == Search.SearchText->Handle(); }));
  EXPECT_TRUE(Topmost());

  // Topmost only while the dialog or its list is active.
  ::SetActiveWindow(MainWindow()->Handle());
  EXPECT_TRUE(WaitFor([&] { return !Topmost(); }));
  ::SetActiveWindow(List.Handle());
  EXPECT_TRUE(WaitFor([&] { return Topmost(); }));
  ::SetActiveWindow(Search.Handle());
  EXPECT_TRUE(WaitFor([&] { return Topmost() && ::GetActiveWindow() == Search.Handle(); }));

  ::SendMessageA(Search.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(Search.Visible()) << "closing only hides";
  EXPECT_EQ(List.FSearchForm.get(), &Search);
  List.SearchButtonClick(List);
  EXPECT_TRUE(Search.Visible());
  List.SearchButtonClick(List);
  EXPECT_FALSE(Search.Visible());

  // A refresh hides the dialog; the button is off while the build waits for a slot.
  List.SearchButtonClick(List);
  TKernelHandle Semaphore(::OpenSemaphoreA(SEMAPHORE_ALL_ACCESS, FALSE, ThreadCounterName));
  for (int Slot = 0; Slot < 5; ++Slot)
    ASSERT_EQ(::WaitForSingleObject(Semaphore.Get(), 5000), WAIT_OBJECT_0);
  List.RefreshButtonClick(List);
  EXPECT_FALSE(Search.Visible());
  EXPECT_TRUE(WaitFor([&] { return List.Building(); }));
  EXPECT_FALSE(List.SearchButton->Enabled());
  ::ReleaseSemaphore(Semaphore.Get(), 5, nullptr);
  EXPECT_TRUE(WaitFor([&] { return List.FinishedBuilds() == 2; }, 30000));
  EXPECT_TRUE(List.SearchButton->Enabled());
}

} // namespace
} // namespace wyndo::test

namespace wyndo::test {
namespace {} // namespace
} // namespace wyndo::test
