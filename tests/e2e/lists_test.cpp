// The list windows used as a user does: the window list sorted by a header click, searched,
// highlighted, selected from the find-window dialog, refreshed and filtered, each checked by what
// the focused row opens; the process list's header following the focused row's kind.

#include "tests/e2e/e2e_fixture.h"
#include "tests/win/test_support.h"

namespace wyndo::e2e {
namespace {

using enum TMainCommand;
using test::WaitFor;

class EndToEndLists : public EndToEndTest {};

// Left edges of the list window's tool buttons.
constexpr int RefreshButton = 0;
constexpr int HighlightButton = 47;
constexpr int PropertiesButton = 86;
constexpr int SearchButton = 133;
constexpr int FilterButton = 172;

HWND TreeOf(HWND List) {
  const std::vector<HWND> Trees = ChildWindows(List, "TVirtualTree");
  return Trees.empty() ? nullptr : Trees.front();
}

// Clicks the first row of the list's tree (giving it the keyboard) and presses keys there. The
// click lands on one of two points in turn, so that two calls in a row make no double click
// (which opens the row's properties).
bool KeysInTree(HWND List, const std::string& Keys) {
  static bool Aside = false;
  Aside = !Aside;
  HWND Tree = TreeOf(List);
  const std::vector<HWND> Headers = ChildWindows(List, "SysHeader32");
  if (!Tree || Headers.empty())
    return false;
  const RECT Header = RectOf(Headers.front());
  return ClickAt({Header.left + (Aside ? 80 : 40), Header.bottom + 6}) &&
         WaitFor([&] { return ::GetForegroundWindow() == List && FocusOf(Tree) == Tree; }) &&
         PressKeys(Keys);
}

// The middle of a list box entry, on the screen.
POINT ListItemPoint(HWND ListBox, int Index) {
  const int Height = static_cast<int>(::SendMessageA(ListBox, LB_GETITEMHEIGHT, 0, 0));
  const int Top = static_cast<int>(::SendMessageA(ListBox, LB_GETTOPINDEX, 0, 0));
  return ClientPoint(ListBox, 20, (Index - Top) * Height + Height / 2);
}

// The caption of the window that the list's focused row stands for, as its information window
// (opened with the Properties button and closed again) shows it.
std::string FocusedWindowCaption(const TWyndo& Wyndo, HWND List) {
  if (!ClickAt(ToolButtonPoint(List, PropertiesButton)))
    return "(no click)";
  HWND Info = Wyndo.WaitForWindow("TWindowInfoForm");
  if (!Info)
    return "(no information window)";
  const std::vector<HWND> Edits = ChildWindows(Info, "Edit");
  const std::string Caption = Edits.empty() ? "(no caption field)" : TextOf(Edits.front());
  ::PostMessageA(Info, WM_CLOSE, 0, 0);
  if (!Wyndo.WaitForNoWindow("TWindowInfoForm"))
    return "(the information window stays)";
  return Caption;
}

COLORREF PixelAt(POINT Point) {
  return test::TScreenShot({Point.x, Point.y, Point.x + 1, Point.y + 1}).At(0, 0);
}

TEST_F(EndToEndLists, TheWindowListSortsSearchesHighlightsSelectsRefreshesAndFilters) {
  Seed();
  auto Listed = Target("E2E Listed", 980, 780);
  auto Last = Target("Zzzz E2E Last", 980, 560);
  TWyndo Wyndo;
  HWND List = Wyndo.OpenList(mcWindows, "TWindowListForm", "Window List 1");
  ASSERT_NE(List, nullptr);
  EXPECT_EQ(HeaderCaptions(List), (std::vector<std::string>{"Handle", "WindowText", "ClassName"}));

  // A fresh list focuses the expanded desktop node; its first child is a top-level window.
  ASSERT_TRUE(KeysInTree(List, "Home"));
  EXPECT_EQ(FocusedWindowCaption(Wyndo, List), "Default - Wine desktop");

  // Two clicks on the caption column: increasing, then decreasing order. (The second lands a
  // little aside, so that the two do not make a double click.)
  const POINT Column = HeaderColumnPoint(List, 1);
  ASSERT_TRUE(ClickAt(Column));
  ASSERT_TRUE(ClickAt({Column.x + 20, Column.y}));
  ASSERT_TRUE(KeysInTree(List, "Home Down"));
  EXPECT_EQ(FocusedWindowCaption(Wyndo, List), "Zzzz E2E Last");

  // Search by caption focuses the row; Highlight inverts the window for a moment.
  ASSERT_TRUE(ClickAt(ToolButtonPoint(List, SearchButton)));
  HWND Search = Wyndo.WaitForWindow("TListSearchForm", "Search");
  ASSERT_NE(Search, nullptr);
  const std::vector<HWND> SearchLists = ChildWindows(Search, "ListBox");
  ASSERT_EQ(SearchLists.size(), 1u);
  ASSERT_TRUE(ClickAt(ListItemPoint(SearchLists[0], 1)));
  ASSERT_TRUE(TypeText("E2E Listed"));
  ASSERT_TRUE(PressKeys("Return"));
  ASSERT_TRUE(::IsWindowVisible(Search)) << "Enter in the text field closed the dialog";
  HWND SearchButtonWindow = test::FindChildWindow(Search, "Button", "Search");
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(SearchButtonWindow) != FALSE; }));
  ASSERT_TRUE(ClickWindow(SearchButtonWindow));
  EXPECT_EQ(FocusedWindowCaption(Wyndo, List), "E2E Listed");
  // Searching on from the hit finds no other.
  ASSERT_TRUE(ClickWindow(SearchButtonWindow));
  HWND Done = Wyndo.WaitForMessageBox("Searching done");
  ASSERT_NE(Done, nullptr);
  EXPECT_EQ(test::MessageBoxText(Done), "No entry found that corresponds to your search-options");
  ASSERT_TRUE(CloseMessageBox(Done));
  ASSERT_TRUE(ClickWindow(test::FindChildWindow(Search, "Button", "Cancel")));
  ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(Search); }));
  const POINT Inside = CenterOf(Listed->Handle());
  const COLORREF Normal = PixelAt(Inside);
  ASSERT_TRUE(ClickAt(ToolButtonPoint(List, HighlightButton)));
  EXPECT_TRUE(WaitFor([&] { return PixelAt(Inside) != Normal; }, 3000)) << "no highlight seen";
  EXPECT_TRUE(WaitFor([&] { return PixelAt(Inside) == Normal; }, 3000)) << "still highlighted";

  // A window opened after the build is listed after a refresh, and the find-window dialog's
  // Select Window focuses it.
  auto Late = Target("E2E Late", 700, 780);
  ASSERT_TRUE(ClickAt(ToolButtonPoint(List, RefreshButton)));
  ASSERT_TRUE(Wyndo.WaitForList(List));
  Wyndo.Command(mcFindWindow);
  HWND Find = Wyndo.WaitForWindow("TWndSearchForm", "Find Window 1");
  ASSERT_NE(Find, nullptr);
  const std::vector<HWND> Fields = EditsTopDown(Find);
  ASSERT_EQ(Fields.size(), 3u);
  ASSERT_TRUE(ClickInto(Fields[0]));
  ASSERT_TRUE(TypeText(HandleText(Late->Handle())));
  ASSERT_TRUE(WaitFor([&] { return TextOf(Fields[0]) == HandleText(Late->Handle()); }));
  ASSERT_TRUE(ClickWindow(test::FindChildWindow(Find, "Button", "Select Window")));
  EXPECT_EQ(FocusedWindowCaption(Wyndo, List), "E2E Late");
  ::PostMessageA(Find, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Wyndo.WaitForNoWindow("TWndSearchForm"));

  // The filter on captions "E2E*" leaves only the two matching top-level windows below the
  // desktop (in handle order since the refresh, whichever that is).
  ASSERT_TRUE(ClickAt(ClientPoint(List, FilterButton + 28, 12)));
  HWND Filter = Wyndo.WaitForWindow("TFilterForm", "Filter");
  ASSERT_NE(Filter, nullptr);
  EXPECT_FALSE(::IsWindowEnabled(List)) << "the list waits for its filter dialog";
  const std::vector<HWND> FilterLists = ChildWindows(Filter, "ListBox");
  ASSERT_EQ(FilterLists.size(), 1u);
  ASSERT_TRUE(ClickAt(ListItemPoint(FilterLists[0], 1)));
  ASSERT_TRUE(TypeText("E2E*"));
  ASSERT_TRUE(PressKeys("Return"));
  ASSERT_NE(Wyndo.WaitForWindow("TFilterForm", "Filter", 500), nullptr)
      << "Enter in the text field closed the dialog";
  EXPECT_EQ(
      ::SendMessageA(test::FindChildWindow(Filter, "Button", "Activate Filter"), BM_GETCHECK, 0, 0),
      BST_CHECKED);
  ASSERT_TRUE(ClickWindow(test::FindChildWindow(Filter, "Button", "OK")));
  ASSERT_TRUE(Wyndo.WaitForNoWindow("TFilterForm"));
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(List) != FALSE; }));
  ASSERT_TRUE(KeysInTree(List, "Home Down"));
  const std::string First = FocusedWindowCaption(Wyndo, List);
  ASSERT_TRUE(KeysInTree(List, "Home Down Down"));
  const std::string Second = FocusedWindowCaption(Wyndo, List);
  EXPECT_TRUE((First == "E2E Listed" && Second == "E2E Late") ||
              (First == "E2E Late" && Second == "E2E Listed"))
      << "the rows below the desktop begin with \"" << First << "\", \"" << Second << "\"";
  ASSERT_TRUE(KeysInTree(List, "End"));
  EXPECT_EQ(FocusedWindowCaption(Wyndo, List), Second) << "more rows than the two";
  // The filter button's check box switches the filter off again.
  ASSERT_TRUE(ClickAt(ClientPoint(List, FilterButton + 8, 30)));
  ASSERT_TRUE(KeysInTree(List, "Home Down"));
  EXPECT_EQ(FocusedWindowCaption(Wyndo, List).rfind("E2E", 0), std::string::npos)
      << "the filter still hides the other rows";
  EXPECT_EQ(Wyndo.Close(), 0u);
}

TEST_F(EndToEndLists, TheProcessListsHeaderFollowsTheFocusedRowAndOnlyWindowRowsOpenProperties) {
  Seed();
  TWyndo Wyndo;
  HWND List = Wyndo.OpenList(mcProcesses, "TProcessListForm", "Process List 1");
  ASSERT_NE(List, nullptr);
  const std::vector<std::string> ProcessColumns{"ProcessID", "ModuleName", "ModulePath"};
  EXPECT_EQ(HeaderCaptions(List), ProcessColumns);

  // Properties on a process row: not implemented, and said so.
  ASSERT_TRUE(KeysInTree(List, "Home"));
  ASSERT_TRUE(ClickAt(ToolButtonPoint(List, PropertiesButton)));
  HWND Box = Wyndo.WaitForMessageBox("Error");
  ASSERT_NE(Box, nullptr);
  EXPECT_EQ(test::MessageBoxText(Box), "This function is not implemented yet.\nTake a look at "
                                       "http://www.harlwick.example/wyndo/ for new versions.");
  ASSERT_TRUE(CloseMessageBox(Box));

  // A thread row below the process: the header shows the thread's fields.
  ASSERT_TRUE(KeysInTree(List, "Home Right Down"));
  EXPECT_TRUE(WaitFor([&] { return HeaderCaptions(List).at(0) == "ThreadID"; }));
  ASSERT_TRUE(KeysInTree(List, "Home"));
  EXPECT_TRUE(WaitFor([&] { return HeaderCaptions(List) == ProcessColumns; }));
  EXPECT_EQ(Wyndo.Close(), 0u);
}

// Searches the list from its first row for Text in the field Field of the search dialog's first
// kind, twice: whether the first search found a row, and whether the second went on to another.
struct TSearchOutcome {
  bool First = false, Again = false;
};
TSearchOutcome SearchTwice(const TWyndo& Wyndo, HWND List, int Field, const std::string& Text) {
  TSearchOutcome Outcome;
  if (!ClickAt(ToolButtonPoint(List, SearchButton)))
    return Outcome;
  HWND Search = Wyndo.WaitForWindow("TListSearchForm", "Search");
  const std::vector<HWND> Fields = Search ? ChildWindows(Search, "ListBox") : std::vector<HWND>{};
  if (Fields.size() != 1 || !ClickAt(ListItemPoint(Fields[0], Field)) || !PressKeys("ctrl+a") ||
      !TypeText(Text) || !PressKeys("Return"))
    return Outcome;
  ClickWindow(test::FindChildWindow(Search, "Button", "Begin"));
  HWND Button = test::FindChildWindow(Search, "Button", "Search");
  for (bool* Found : {&Outcome.First, &Outcome.Again}) {
    if (!WaitFor([&] { return ::IsWindowEnabled(Button) != FALSE; }) || !ClickWindow(Button))
      return Outcome;
    HWND Done = Wyndo.WaitForMessageBox("Searching done", 1500);
    *Found = Done == nullptr;
    if (Done && !CloseMessageBox(Done))
      return Outcome;
  }
  ClickWindow(test::FindChildWindow(Search, "Button", "Cancel"));
  WaitFor([&] { return !::IsWindowVisible(Search); });
  return Outcome;
}

TEST_F(EndToEndLists, TheThreadAndModuleListsCountSearchAndRefresh) {
  Seed();
  TWyndo Wyndo;
  HWND Threads = Wyndo.OpenList(mcThreads, "TThreadListForm", "Thread List 1");
  ASSERT_NE(Threads, nullptr);
  EXPECT_EQ(HeaderCaptions(Threads),
            (std::vector<std::string>{"ThreadID", "ModuleName", "ModulePath"}));
  const std::vector<std::string> ThreadCounts = StatusTexts(Threads);
  ASSERT_EQ(ThreadCounts.size(), 2u);
  EXPECT_TRUE(ThreadCounts[0].ends_with(": Threads") && ThreadCounts[0] != "0: Threads")
      << ThreadCounts[0];
  EXPECT_TRUE(ThreadCounts[1].ends_with(": Windows")) << ThreadCounts[1];
  // The program's own main thread is listed; no thread runs "e2e-absent.exe".
  EXPECT_TRUE(SearchTwice(Wyndo, Threads, 1, "wyndo.exe").First);
  EXPECT_FALSE(SearchTwice(Wyndo, Threads, 1, "e2e-absent.exe").First);

  HWND Modules = Wyndo.OpenList(mcModules, "TModuleListForm", "Module List 1");
  ASSERT_NE(Modules, nullptr);
  // A third column, without caption, is there for the process rows' third field.
  EXPECT_EQ(HeaderCaptions(Modules), (std::vector<std::string>{"ModuleName", "ModulePath", ""}));
  const std::vector<std::string> ModuleCounts = StatusTexts(Modules);
  ASSERT_EQ(ModuleCounts.size(), 2u);
  EXPECT_TRUE(ModuleCounts[0].ends_with(": Modules")) << ModuleCounts[0];
  EXPECT_TRUE(ModuleCounts[1].ends_with(": Processes")) << ModuleCounts[1];
  // The program's file is one module, found once; the search goes on to no other.
  const TSearchOutcome Own = SearchTwice(Wyndo, Modules, 0, "WYNDO.EXE");
  EXPECT_TRUE(Own.First) << "the search ignores case by default";
  EXPECT_FALSE(Own.Again);
  // A process row below a module shows the process's fields in the header.
  ASSERT_TRUE(KeysInTree(Modules, "Home Right Down"));
  EXPECT_TRUE(WaitFor([&] { return HeaderCaptions(Modules).at(0) == "ProcessID"; }));

  // A refresh builds the list again: a module this test loads meanwhile, under a name of its
  // own, is counted and found.
  const std::string Before = StatusTexts(Modules).at(0);
  char System[MAX_PATH], Temp[MAX_PATH];
  ::GetSystemDirectoryA(System, MAX_PATH);
  ::GetTempPathA(MAX_PATH, Temp);
  const std::string Copy = std::string(Temp) + "e2e-refresh.dll";
  ASSERT_TRUE(::CopyFileA((std::string(System) + "\\msimg32.dll").c_str(), Copy.c_str(), FALSE));
  HMODULE Loaded = ::LoadLibraryA(Copy.c_str());
  ASSERT_NE(Loaded, nullptr);
  ASSERT_TRUE(ClickAt(ToolButtonPoint(Modules, RefreshButton)));
  EXPECT_TRUE(WaitFor([&] {
    const auto Texts = StatusTexts(Modules);
    return !Texts.empty() && !Texts[0].empty() && Texts[0] != Before &&
           ::IsWindowEnabled(TreeOf(Modules));
  })) << "still "
      << Before;
  EXPECT_TRUE(SearchTwice(Wyndo, Modules, 0, "e2e-refresh.dll").First);
  ::FreeLibrary(Loaded);
  ::DeleteFileA(Copy.c_str());
  EXPECT_EQ(Wyndo.Close(), 0u);
}

TEST_F(EndToEndLists, ListsAreBuiltWhenTheBuildSlotsCannotBeMade) {
  Seed();
  // Another kind of object holds the name of the build slots' semaphore: the program cannot make
  // it, and builds without a slot.
  TKernelHandle Squatter(::CreateEventA(nullptr, TRUE, FALSE, "WYNDO_ThreadCounter"));
  ASSERT_TRUE(Squatter);
  TWyndo Wyndo;
  EXPECT_NE(Wyndo.OpenList(mcWindows, "TWindowListForm", "Window List 1"), nullptr)
      << "the list stayed on \"Searching\"";
  EXPECT_NE(Wyndo.OpenList(mcProcesses, "TProcessListForm", "Process List 1"), nullptr);
  EXPECT_EQ(Wyndo.Close(), 0u);
}

} // namespace
} // namespace wyndo::e2e
