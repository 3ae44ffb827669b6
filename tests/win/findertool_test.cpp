// The finder panel's pop-up tool window under real mouse movement: where it opens, when it goes,
// a click on the panel, and its "Properties" on a bad handle.

#include "finder/findertool.h"
#include "tests/win/process_support.h"
#include "tests/win/test_support.h"
#include "ui/application.h"

#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace wyndo::test {
namespace {

class FinderToolTest : public ::testing::Test {
protected:
  void SetUp() override {
    Host->SetFormStyle(TFormStyle::fsStayOnTop);
    Host->SetBounds(300, 100, 300, 160);
    Field->SetParent(Host.get());
    Field->SetBounds(10, 10, 115, 21);
    Panel->SetParent(Host.get());
    Panel->SetBounds(200, 49, 21, 20);
    Panel->FToolWindowClass = [this](TToolWindowPanel& Owner) {
      return TFormPtr<TForm>(MakeForm<TFinderToolWnd>(Owner, *Field).release());
    };
    Host->Show();
    // Start away from the panel.
    ASSERT_TRUE(MoveCursorTo(Away));
  }
  POINT PanelPoint() const { return Panel->ClientToScreen({10, 10}); }
  TFinderToolWnd* Tool() const { return dynamic_cast<TFinderToolWnd*>(Panel->ToolWindow()); }
  // Hovers the panel and waits for the tool window.
  ::testing::AssertionResult Open() {
    if (!MoveCursorTo(PanelPoint()))
      return ::testing::AssertionFailure() << "the cursor did not reach the panel";
    if (!WaitFor([&] { return Tool() && ::IsWindowVisible(Tool()->Handle()); }))
      return ::testing::AssertionFailure() << "no tool window";
    return ::testing::AssertionSuccess();
  }

  const POINT Away{700, 600};
  TFormPtr<TForm> Host = MakeForm<TForm>();
  TEdit* Field = Host->Make<TEdit>();
  TToolWindowPanel* Panel = Host->Make<TToolWindowPanel>();
};

TEST_F(FinderToolTest, OpensBelowThePanelWithoutATitleBarAndGoesAfterTheMouseLeaves) {
  ASSERT_TRUE(Open());
  EXPECT_EQ(Panel->BevelOuter(), TBevelCut::bvLowered);
  RECT Window{}, PanelArea{};
  ::GetWindowRect(Tool()->Handle(), &Window);
  ::GetWindowRect(Panel->Handle(), &PanelArea);
  EXPECT_EQ(Window.right, PanelArea.right);
  EXPECT_EQ(Window.top, PanelArea.bottom);
  EXPECT_EQ(Tool()->ClientSize(), (TSize2{238, 37}));
  const auto Style = static_cast<DWORD>(::GetWindowLongA(Tool()->Handle(), GWL_STYLE));
  EXPECT_EQ(Style & WS_CAPTION, static_cast<DWORD>(WS_DLGFRAME)) << "a frame, no title bar";
  EXPECT_EQ(::GetWindow(Tool()->Handle(), GW_OWNER), Host->Handle());

  ASSERT_TRUE(MoveCursorTo(Away));
  ASSERT_TRUE(WaitFor([&] { return Panel->BevelOuter() == TBevelCut::bvRaised; }))
      << "the panel saw the mouse leave";
  EXPECT_NE(Tool(), nullptr) << "still there right after the mouse left";
  EXPECT_TRUE(WaitFor([&] { return Tool() == nullptr; }, 2000));
}

TEST_F(FinderToolTest, StaysWhileTheCursorIsInsideAndGoesOnceItHasLeft) {
  ASSERT_TRUE(Open());
  RECT Window{};
  ::GetWindowRect(Tool()->Handle(), &Window);
  // Into the window's frame area below the buttons, then wait for it to notice.
  ASSERT_TRUE(MoveCursorTo({Window.left + 120, Window.bottom - 3}));
  ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == Tool()->Handle(); }))
      << "entering activates it";
  // Even when the close timer fires now, the cursor is inside: it stays.
  ::SendMessageA(Panel->Handle(), WM_TIMER, 1, 0);
  ASSERT_NE(Tool(), nullptr);

  ASSERT_TRUE(MoveCursorTo(Away));
  EXPECT_NE(Tool(), nullptr);
  EXPECT_TRUE(WaitFor([&] { return Tool() == nullptr; }, 2000));
}

TEST_F(FinderToolTest, AClickOnThePanelBringsTheToolWindowForward) {
  ASSERT_TRUE(Open());
  ::SetForegroundWindow(Host->Handle());
  ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == Host->Handle(); }));
  ::SendMessageA(Panel->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == Tool()->Handle(); }));
}

TEST_F(FinderToolTest, PropertiesWithAnEmptyHandleFieldSaysSoAndOpensNothing) {
  ASSERT_TRUE(Open());
  TMessageBoxWatcher Watcher("Invalid Handle");
  Tool()->Properties->Click();
  const auto Seen = Watcher.Result();
  ASSERT_TRUE(Seen.has_value());
  EXPECT_EQ(Seen->Text, "\"\" is not a valid Handle-Value");
  // Select Window is silent.
  Tool()->Select->Click();
}

TEST_F(FinderToolTest, ThePanelShowsTwoChevronsPointingDown) {
  Panel->Update();
  RECT Area = Panel->ClientRect();
  const POINT Corner = Panel->ClientToScreen({0, 0});
  ::OffsetRect(&Area, Corner.x, Corner.y);
  const COLORREF Ink = ::GetSysColor(COLOR_BTNTEXT);
  // The width of the ink in every row that has any, and whether the top row is two dots.
  std::vector<int> Widths;
  bool TwoDotsOnTop = false;
  ASSERT_TRUE(WaitFor([&] {
    const TScreenShot Shot(Area);
    Widths.clear();
    for (int Y = 0; Y < Shot.Height; ++Y) {
      std::vector<int> Inked;
      for (int X = 0; X < Shot.Width; ++X)
        if (Shot.At(X, Y) == Ink)
          Inked.push_back(X);
      if (Inked.empty())
        continue;
      if (Widths.empty())
        TwoDotsOnTop = Inked.size() == 2;
      Widths.push_back(Inked.back() - Inked.front());
    }
    return !Widths.empty();
  }));
  // Two V shapes one above the other: the ink narrows to a point, widens at once and narrows
  // to a point again. A box (a missing glyph) keeps its width.
  EXPECT_TRUE(TwoDotsOnTop) << "nothing between the arms";
  int Points = 0;
  for (std::size_t Row = 0; Row < Widths.size(); ++Row)
    if (Widths[Row] <= 2 && (Row + 1 == Widths.size() || Widths[Row + 1] >= 5))
      ++Points;
  EXPECT_EQ(Points, 2);
  EXPECT_GE(Widths.front(), 5);
}

// A tool window that counts how many of its kind have been destroyed.
class TCountedToolWnd : public TFinderToolWnd {
public:
  using TFinderToolWnd::TFinderToolWnd;
  ~TCountedToolWnd() override { ++Destroyed; }
  static inline std::atomic<int> Destroyed = 0;
};

TEST_F(FinderToolTest, ClosedWhileItsClickWaitsInAMessageBoxItOutlivesTheClick) {
  Panel->FToolWindowClass = [this](TToolWindowPanel& Owner) {
    return TFormPtr<TForm>(MakeForm<TCountedToolWnd>(Owner, *Field).release());
  };
  TCountedToolWnd::Destroyed = 0;
  ASSERT_TRUE(Open());
  HWND Window = Tool()->Handle();
  // While the box of "Properties" is up, the pointer leaves: the close timer takes the tool
  // window away. Whether its object was still there is noted before the box is closed.
  int DestroyedWhileBoxUp = -1;
  bool WindowWent = false;
  std::thread Watch([&] {
    HWND Box = nullptr;
    for (int Try = 0; Try < 500 && !Box; ++Try, ::Sleep(20))
      Box = FindProcessWindow(::GetCurrentProcessId(), "#32770", "Invalid Handle");
    if (!Box)
      return;
    Xdotool("mousemove " + std::to_string(Away.x) + " " + std::to_string(Away.y));
    for (int Try = 0; Try < 500 && ::IsWindow(Window); ++Try)
      ::Sleep(20);
    WindowWent = !::IsWindow(Window);
    DestroyedWhileBoxUp = TCountedToolWnd::Destroyed;
    ::PostMessageA(Box, WM_COMMAND, IDOK, 0);
  });
  // The click comes through the window procedures, as a real one does.
  ::SendMessageA(Tool()->Properties->Handle(), BM_CLICK, 0, 0);
  Watch.join();
  ASSERT_TRUE(WindowWent) << "the close timer did not take the window away";
  EXPECT_EQ(DestroyedWhileBoxUp, 0) << "freed while its click was still running";
  EXPECT_EQ(TCountedToolWnd::Destroyed, 1) << "freed once the click had returned";
  EXPECT_EQ(Tool(), nullptr);
}

} // namespace
} // namespace wyndo::test
