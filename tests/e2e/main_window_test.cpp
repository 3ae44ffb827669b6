// The main window used from outside: every menu command and tool-bar button opens what it names,
// the child windows are arranged and closed together, a second start only brings the running
// program forward, and closing the main window ends the program with exit code 0.

#include "tests/e2e/e2e_fixture.h"
#include "tests/win/test_support.h"

#include <regex>

namespace wyndo::e2e {
namespace {

using enum TMainCommand;
using test::WaitFor;

class EndToEndMainWindow : public EndToEndTest {};

// "<count>: <word>" for each word, the count above zero.
::testing::AssertionResult ShowsCounts(const std::vector<std::string>& Texts,
                                       const std::vector<std::string>& Words) {
  if (Texts.size() != Words.size())
    return ::testing::AssertionFailure() << Texts.size() << " status panels";
  for (std::size_t Index = 0; Index < Words.size(); ++Index)
    if (!std::regex_match(Texts[Index], std::regex("[1-9][0-9]*: " + Words[Index])))
      return ::testing::AssertionFailure()
             << "panel " << Index << " shows \"" << Texts[Index] << "\"";
  return ::testing::AssertionSuccess();
}

TEST_F(EndToEndMainWindow, EveryMenuCommandOpensWhatItNamesAndTheChildWindowsAreArrangedTogether) {
  Seed();
  TWyndo Wyndo;
  const RECT MainRect = RectOf(Wyndo.Main());
  EXPECT_EQ(TextOf(Wyndo.Main()), "Wyndo");

  struct TListCase {
    TMainCommand Command;
    const char* ClassName;
    const char* Caption;
    std::vector<std::string> Words;
  };
  const TListCase Lists[] = {
      {mcWindows, "TWindowListForm", "Window List 1", {"Windows"}},
      {mcProcesses, "TProcessListForm", "Process List 1", {"Processes", "Threads", "Windows"}},
      {mcThreads, "TThreadListForm", "Thread List 1", {"Threads", "Windows"}},
      {mcModules, "TModuleListForm", "Module List 1", {"Modules", "Processes"}},
      {mcWindows, "TWindowListForm", "Window List 2", {"Windows"}},
  };
  std::vector<HWND> Children;
  for (const TListCase& Case : Lists) {
    Wyndo.Command(Case.Command);
    HWND List = Wyndo.WaitForWindow(Case.ClassName, Case.Caption);
    ASSERT_NE(List, nullptr) << Case.Caption;
    ASSERT_TRUE(Wyndo.WaitForList(List)) << Case.Caption;
    EXPECT_TRUE(ShowsCounts(StatusTexts(List), Case.Words)) << Case.Caption;
    Children.push_back(List);
  }
  // A child window opened with "Stay on top" starts below the main window.
  for (HWND Child : Children)
    EXPECT_GE(RectOf(Child).top, MainRect.bottom);

  Wyndo.Command(mcFindWindow);
  HWND Find = Wyndo.WaitForWindow("TWndSearchForm", "Find Window 1");
  ASSERT_NE(Find, nullptr);
  Children.push_back(Find);

  // Cascade: each window one step further right and down than the one before, in the order
  // they were opened; the main window keeps its place.
  Wyndo.Command(mcCascade);
  ASSERT_TRUE(WaitFor([&] {
    return RectOf(Children[0]).left == 0 && RectOf(Children[0]).top == 0;
  })) << "the first child window is not at the screen's origin";
  ASSERT_TRUE(WaitFor([&] {
    const int Step = RectOf(Children[1]).left - RectOf(Children[0]).left;
    for (std::size_t Index = 1; Index < Children.size(); ++Index) {
      const RECT Previous = RectOf(Children[Index - 1]);
      const RECT Rect = RectOf(Children[Index]);
      if (Step <= 0 || Rect.left - Previous.left != Step || Rect.top - Previous.top != Step)
        return false;
    }
    return true;
  }));
  EXPECT_TRUE(SameRect(RectOf(Wyndo.Main()), MainRect));

  // Tile: the windows share the screen, side by side or one above the other.
  RECT Screen{};
  ::GetClientRect(::GetDesktopWindow(), &Screen);
  for (TMainCommand Command : {mcTileVertically, mcTileHorizontally}) {
    Wyndo.Command(Command);
    EXPECT_TRUE(WaitFor([&] {
      for (HWND Child : Children) {
        const RECT Rect = RectOf(Child);
        for (HWND Other : Children) {
          RECT Overlap{};
          const RECT OtherRect = RectOf(Other);
          if (Other != Child && ::IntersectRect(&Overlap, &Rect, &OtherRect))
            return false;
        }
        if (Rect.left < 0 || Rect.top < 0 || Rect.right > Screen.right ||
            Rect.bottom > Screen.bottom)
          return false;
      }
      return true;
    })) << (Command == mcTileVertically ? "tile vertically" : "tile horizontally");
    EXPECT_TRUE(SameRect(RectOf(Wyndo.Main()), MainRect));
  }

  // Close All closes every child window and leaves the main window; with none open it does
  // nothing.
  Wyndo.Command(mcCloseAll);
  EXPECT_TRUE(WaitFor([&] {
    for (HWND Child : Children)
      if (::IsWindow(Child))
        return false;
    return true;
  }));
  Wyndo.Command(mcCloseAll);
  EXPECT_TRUE(::IsWindowVisible(Wyndo.Main()));

  // About: a modal box that a click closes.
  Wyndo.Command(mcAbout);
  HWND About = Wyndo.WaitForWindow("TAboutForm", "About Wyndo");
  ASSERT_NE(About, nullptr);
  EXPECT_FALSE(::IsWindowEnabled(Wyndo.Main())) << "the about box is modal";
  ASSERT_TRUE(ClickAt(ClientPoint(About, 40, 120)));
  EXPECT_TRUE(Wyndo.WaitForNoWindow("TAboutForm"));
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(Wyndo.Main()) != FALSE; }));

  // Properties: the modal options dialog; Cancel closes it.
  Wyndo.Command(mcProperties);
  HWND Properties = Wyndo.WaitForWindow("TPropertyForm", "Properties");
  ASSERT_NE(Properties, nullptr);
  ASSERT_TRUE(ClickWindow(test::FindChildWindow(Properties, "Button", "Cancel")));
  EXPECT_TRUE(Wyndo.WaitForNoWindow("TPropertyForm"));

  EXPECT_EQ(Wyndo.Close(), 0u);
}

TEST_F(EndToEndMainWindow, TheToolBarButtonsOpenTheirWindowsWhenClicked) {
  Seed();
  TWyndo Wyndo;
  struct TButtonCase {
    int Left; // the button's left edge in the tool bar
    const char* ClassName;
    const char* Caption;
  };
  const TButtonCase Buttons[] = {
      {0, "TWindowListForm", "Window List 1"},  {39, "TProcessListForm", "Process List 1"},
      {78, "TThreadListForm", "Thread List 1"}, {117, "TModuleListForm", "Module List 1"},
      {164, "TWndSearchForm", "Find Window 1"}, {0, "TWindowListForm", "Window List 2"},
  };
  for (const TButtonCase& Button : Buttons) {
    ASSERT_TRUE(ClickAt(ToolButtonPoint(Wyndo.Main(), Button.Left)));
    HWND Opened = Wyndo.WaitForWindow(Button.ClassName, Button.Caption);
    ASSERT_NE(Opened, nullptr) << Button.Caption;
    if (Button.ClassName != std::string("TWndSearchForm")) {
      EXPECT_TRUE(Wyndo.WaitForList(Opened)) << Button.Caption;
    }
  }
  ASSERT_TRUE(ClickAt(ToolButtonPoint(Wyndo.Main(), 211)));
  HWND Properties = Wyndo.WaitForWindow("TPropertyForm", "Properties");
  ASSERT_NE(Properties, nullptr);
  // Escape is the dialog's Cancel.
  ASSERT_TRUE(PressKeys("Escape"));
  EXPECT_TRUE(Wyndo.WaitForNoWindow("TPropertyForm"));

  // Closing the main window closes the child windows first and ends the program.
  EXPECT_EQ(Wyndo.Close(), 0u);
  EXPECT_TRUE(Wyndo.WaitForNoWindow("TWindowListForm"));
}

TEST_F(EndToEndMainWindow, ASecondStartBringsTheRunningProgramForwardAndEndsWithExitCodeZero) {
  Seed();
  TWyndo Wyndo;
  HWND List = Wyndo.OpenList(mcWindows, "TWindowListForm", "Window List 1");
  ASSERT_NE(List, nullptr);
  ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == List; }));

  TProgram Second;
  EXPECT_EQ(Second.WaitForExit(), 0u);
  EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == Wyndo.Main(); }));
  EXPECT_EQ(test::FindProcessWindow(Second.Id(), "TWyndoMainForm"), nullptr);
  EXPECT_EQ(Wyndo.Windows("TWyndoMainForm").size(), 1u);
  EXPECT_EQ(Wyndo.Close(), 0u);
}

// Whether the program shows a button in the system's task bar: its application window is up.
bool TaskBarButton(const TWyndo& Wyndo) {
  return !Wyndo.Windows("TApplication").empty();
}

// Waits until the program handles messages in its message loop: everything start-up does to the
// screen has been done.
bool Settled(const TWyndo& Wyndo) {
  DWORD_PTR Ignored = 0;
  return ::SendMessageTimeoutA(Wyndo.Main(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &Ignored) != 0;
}

TEST_F(EndToEndMainWindow, TheTaskBarButtonIsThereAfterStartOnlyWithTaskbarAndNotDocked) {
  struct {
    const char* Case;
    TSeedOptions Options;
    bool Button;
  } const Cases[] = {
      {"docked", {.Minimization = 0, .AppBarDocking = true}, false},
      {"Tray, not docked", {.Minimization = 1, .AppBarDocking = false}, false},
      {"Taskbar, not docked", {.Minimization = 0, .AppBarDocking = false}, true},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Case);
    Seed(Case.Options);
    TWyndo Wyndo;
    ASSERT_TRUE(Settled(Wyndo));
    EXPECT_EQ(TaskBarButton(Wyndo), Case.Button);
    // Minimised and restored, the rule still holds: the button is there while minimised unless
    // the program goes to the tray.
    ::PostMessageA(Wyndo.Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(Wyndo.Main()); }));
    EXPECT_TRUE(WaitFor([&] { return TaskBarButton(Wyndo) == (Case.Options.Minimization != 1); }));
    Wyndo.Command(mcTrayShow);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(Wyndo.Main()) != FALSE; }));
    ASSERT_TRUE(Settled(Wyndo));
    EXPECT_EQ(TaskBarButton(Wyndo), Case.Button);
    EXPECT_EQ(Wyndo.Close(), 0u);
  }
}

TEST_F(EndToEndMainWindow, ASecondStartShowsTheProgramFromTheTray) {
  Seed({.Minimization = 1});
  TWyndo Wyndo;
  ::PostMessageA(Wyndo.Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(Wyndo.Main()); }));

  TProgram Second;
  EXPECT_EQ(Second.WaitForExit(), 0u);
  EXPECT_TRUE(WaitFor([&] {
    return ::IsWindowVisible(Wyndo.Main()) && !::IsIconic(Wyndo.Main()) &&
           ::GetForegroundWindow() == Wyndo.Main();
  }));
  EXPECT_FALSE(TaskBarButton(Wyndo)) << "back from the tray, still without a task-bar button";
  EXPECT_EQ(Wyndo.Close(), 0u);
}

TEST_F(EndToEndMainWindow, AClickOnTheActiveWindowsTaskbarButtonMinimisesIt) {
  Seed();
  TWyndo Wyndo;
  HWND List = Wyndo.OpenList(mcWindows, "TWindowListForm", "Window List 1");
  ASSERT_NE(List, nullptr);
  ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == List; }));
  const std::vector<HWND> Bars = ChildWindows(Wyndo.Main(), "TTaskbar");
  ASSERT_EQ(Bars.size(), 1u);
  // The first button: 120 wide, 24 high, in the middle of the bar's height.
  RECT Bar{};
  ::GetClientRect(Bars[0], &Bar);
  const POINT Button = ClientPoint(Bars[0], 1 + 60, Bar.bottom / 2);

  // Pressing on the main window's bar takes the activation from the list before the release;
  // the click still minimises the window that was active when it began.
  ASSERT_TRUE(ClickAt(Button));
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(List); })) << "the list stayed up";
  // Clicked again, it comes back in front.
  ASSERT_TRUE(ClickAt({Button.x + 4, Button.y}));
  EXPECT_TRUE(WaitFor([&] {
    return ::IsWindowVisible(List) && !::IsIconic(List) && ::GetForegroundWindow() == List;
  }));
  EXPECT_EQ(Wyndo.Close(), 0u);
}

} // namespace
} // namespace wyndo::e2e
