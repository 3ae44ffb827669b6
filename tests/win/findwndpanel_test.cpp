// The finder tool under real mouse input: what it reports while the cross-hair is dragged, the
// frame it inverts on the screen, the cursor and the picture it shows.

#include "finder/findwndpanel.h"
#include "tests/win/finder_drag.h"
#include "tests/win/test_support.h"
#include "ui/application.h"
#include "ui/forms.h"
#include "ui/handles.h"
#include "ui/stdctrls.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace wyndo::test {
namespace {

RECT WindowRect(HWND Window) {
  RECT Area{};
  ::GetWindowRect(Window, &Area);
  return Area;
}

std::vector<COLORREF> PicturePixels(const TPicture& Picture) {
  TWindowDC Screen(nullptr);
  return BitmapPixels(Screen.Get(), Picture.Handle(), Picture.Width, Picture.Height);
}

// Points of a window (in window coordinates) that the mark inverts: the four corners, both ends
// of each strip and the inner row of each strip, so that a strip drawn twice, too thin or
// missing shows. Then points just inside the frame, which stay as they are.
struct TFramePoints {
  std::vector<POINT> Frame, Inside;
};

TFramePoints FramePointsOf(HWND Window) {
  const RECT Area = WindowRect(Window);
  const int W = Area.right - Area.left, H = Area.bottom - Area.top;
  return {{{0, 0},
           {W - 1, 0},
           {0, H - 1},
           {W - 1, H - 1},
           {W / 2, 0},
           {W / 2, 2},
           {2, 3},
           {0, H / 2},
           {2, H / 2},
           {3, H - 3},
           {W / 2, H - 1},
           {W / 2, H - 3},
           {W - 3, 3},
           {W - 1, H / 2},
           {W - 3, H / 2},
           {W - 3, H - 4}},
          {{W / 2, 3}, {3, H / 2}, {W / 2, H - 4}, {W - 4, H / 2}}};
}

// The colours at a window's frame points and inside points, in that order.
std::vector<COLORREF> FrameSamples(HWND Window) {
  const TFramePoints Points = FramePointsOf(Window);
  const TScreenShot Shot(WindowRect(Window));
  std::vector<COLORREF> Samples;
  for (const auto* List : {&Points.Frame, &Points.Inside})
    for (POINT Point : *List)
      Samples.push_back(Shot.At(Point.x, Point.y));
  return Samples;
}

// Samples as they look while the window is marked: the frame points inverted.
std::vector<COLORREF> Marked(HWND Window, std::vector<COLORREF> Samples) {
  const std::size_t FrameCount = FramePointsOf(Window).Frame.size();
  for (std::size_t I = 0; I < FrameCount; ++I)
    Samples[I] ^= 0x00FFFFFF;
  return Samples;
}

class FindWndPanelTest : public ::testing::Test {
protected:
  // The finder cursor goes into the screen table as the program entry puts it there.
  static void SetUpTestSuite() {
    Screen.SetCursorImage(crFinder,
                          ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(301)));
  }
  static void TearDownTestSuite() { Screen.SetCursorImage(crFinder, nullptr); }

  void SetUp() override {
    // Both forms stay on top, so that no window of a test running beside these covers them.
    Host->SetFormStyle(TFormStyle::fsStayOnTop);
    Host->SetCaption("Finder host");
    Host->SetBounds(60, 60, 240, 160);
    Finder->SetParent(Host.get());
    Finder->SetLeft(40);
    Finder->SetTop(30);
    Finder->OnFoundWnd = [this](HWND Window) { Reports.push_back(Window); };

    Target->SetFormStyle(TFormStyle::fsStayOnTop);
    Target->SetCaption("Target");
    Target->SetBounds(420, 240, 360, 260);
    Target->SetColor(RGB(0, 160, 0));
    Child->SetParent(Target.get());
    Child->SetBounds(80, 60, 160, 100);
    Child->SetBevelOuter(TBevelCut::bvNone);
    Child->SetColor(RGB(0, 0, 160));

    Target->Show();
    Host->Show();
    // Everything painted and on the screen, and the host active, so that nothing repaints
    // while the tests look at the screen.
    ASSERT_TRUE(WaitFor([&] {
      return ::GetForegroundWindow() == Host->Handle() &&
             TScreenShot(WindowRect(Finder->Handle())).Pixels == PicturePixels(ToolPicture) &&
             ScreenPixel(Target->ClientToScreen({10, 10})) == RGB(0, 160, 0) &&
             ScreenPixel(Child->ClientToScreen({10, 10})) == RGB(0, 0, 160);
    })) << "the test windows did not show";
  }

  static COLORREF ScreenPixel(POINT Point) {
    return TScreenShot({Point.x, Point.y, Point.x + 1, Point.y + 1}).At(0, 0);
  }

  POINT FinderPoint(int X, int Y) const { return Finder->ClientToScreen({X, Y}); }
  POINT TargetPoint(int X, int Y) const { return Target->ClientToScreen({X, Y}); }
  POINT ChildPoint(int X, int Y) const { return Child->ClientToScreen({X, Y}); }

  ::testing::AssertionResult PressOnFinder(POINT Point) { return Drag.Press(Point); }
  ::testing::AssertionResult DragTo(POINT Point) { return Drag.DragTo(Point); }
  ::testing::AssertionResult Release() { return Drag.Release(); }

  // The colours at a window's frame, once they have stopped changing.
  static std::vector<COLORREF> SteadyFrameSamples(HWND Window) {
    std::vector<COLORREF> Last = FrameSamples(Window);
    int Same = 0;
    WaitFor([&] {
      std::vector<COLORREF> Now = FrameSamples(Window);
      Same = Now == Last ? Same + 1 : 0;
      Last = std::move(Now);
      return Same >= 3;
    });
    return Last;
  }

  static bool ScreenShows(HWND Window, const std::vector<COLORREF>& Samples) {
    return WaitFor([&] { return FrameSamples(Window) == Samples; }, 3000);
  }

  TFormPtr<TForm> Host = MakeForm<TForm>();
  TFindWndPanel* Finder = Host->Make<TFindWndPanel>();
  TFormPtr<TForm> Target = MakeForm<TForm>();
  TPanel* Child = Target->Make<TPanel>();
  TPicture ToolPicture = LoadBitmapFileResource(FinderToolBitmapId);
  TPicture EmptyPicture = LoadBitmapFileResource(FinderEmptyBitmapId);

  std::vector<HWND> Reports;
  TFinderDrag Drag{*Finder};
};

TEST_F(FindWndPanelTest, TheToolTakesItsPicturesSizeAndStartsIdle) {
  ASSERT_TRUE(ToolPicture);
  EXPECT_EQ(ToolPicture.Width, 31);
  EXPECT_EQ(ToolPicture.Height, 30);
  EXPECT_EQ(Finder->Width(), 31);
  EXPECT_EQ(Finder->Height(), 30);
  const RECT Area = WindowRect(Finder->Handle());
  EXPECT_EQ(Area.right - Area.left, 31);
  EXPECT_EQ(Area.bottom - Area.top, 30);
  EXPECT_TRUE(Finder->ToolShown());
  EXPECT_FALSE(Finder->Dragging());
  EXPECT_EQ(Finder->CurrentWnd(), nullptr);
}

TEST_F(FindWndPanelTest, PressAndReleaseRepaintTheToolAtOnceAndRaiseTheUsualMouseEvents) {
  std::vector<std::string> Events;
  Finder->OnMouseDown = [&](TObject&, TMouseButton, TShiftState, int, int) {
    Events.push_back("down");
  };
  Finder->OnMouseUp = [&](TObject&, TMouseButton, TShiftState, int, int) {
    Events.push_back("up");
  };
  const HWND Tool = Finder->Handle();
  ::SendMessageA(Tool, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
  EXPECT_TRUE(Finder->Dragging());
  EXPECT_FALSE(Finder->ToolShown());
  EXPECT_EQ(::GetCapture(), Tool);
  EXPECT_FALSE(::GetUpdateRect(Tool, nullptr, FALSE)) << "painted, not left for later";

  ::SendMessageA(Tool, WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
  EXPECT_FALSE(Finder->Dragging());
  EXPECT_TRUE(Finder->ToolShown());
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_FALSE(::GetUpdateRect(Tool, nullptr, FALSE));
  EXPECT_EQ(Events, (std::vector<std::string>{"down", "up"}));

  // A release that ends no drag leaves the tool as idle as it was.
  ::SendMessageA(Tool, WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
  EXPECT_FALSE(Finder->Dragging());
  EXPECT_TRUE(Finder->ToolShown());
  EXPECT_EQ(Screen.Cursor(), crDefault);
  EXPECT_TRUE(Reports.empty());
}

TEST_F(FindWndPanelTest, ReportsEachWindowTheCursorEntersOnceAndNothingAtTheRelease) {
  ASSERT_TRUE(PressOnFinder(FinderPoint(15, 15)));
  for (POINT Point :
       {TargetPoint(20, 20), TargetPoint(30, 24), TargetPoint(40, 30), ChildPoint(10, 10),
        ChildPoint(60, 40), TargetPoint(20, 190), TargetPoint(300, 190)})
    ASSERT_TRUE(DragTo(Point));
  const std::vector<HWND> Expected{Target->Handle(), Child->Handle(), Target->Handle()};
  EXPECT_EQ(Reports, Expected);
  EXPECT_EQ(Finder->CurrentWnd(), Target->Handle());

  ASSERT_TRUE(Release());
  EXPECT_EQ(Reports, Expected) << "the release reports nothing";
  EXPECT_EQ(Finder->CurrentWnd(), Target->Handle()) << "the pick is the window reported last";
}

TEST_F(FindWndPanelTest, TheMarkIsAnInvertedFrameThatGoesWhenTheCursorMovesOnAndAtTheRelease) {
  const HWND Parent = Target->Handle(), Inner = Child->Handle();
  const std::vector<COLORREF> ParentPlain = SteadyFrameSamples(Parent);
  const std::vector<COLORREF> ChildPlain = SteadyFrameSamples(Inner);
  const TScreenShot ParentShot(WindowRect(Parent));

  ASSERT_TRUE(PressOnFinder(FinderPoint(15, 15)));
  ASSERT_TRUE(DragTo(TargetPoint(20, 20)));
  EXPECT_TRUE(ScreenShows(Parent, Marked(Parent, ParentPlain)))
      << "the outer 3 pixels of the window, caption and borders included, are inverted";

  ASSERT_TRUE(DragTo(ChildPoint(20, 20)));
  EXPECT_TRUE(ScreenShows(Inner, Marked(Inner, ChildPlain)));
  EXPECT_TRUE(ScreenShows(Parent, ParentPlain)) << "the window left has repainted its frame";

  ASSERT_TRUE(DragTo(TargetPoint(20, 190)));
  EXPECT_TRUE(ScreenShows(Parent, Marked(Parent, ParentPlain)));
  EXPECT_TRUE(ScreenShows(Inner, ChildPlain));

  ASSERT_TRUE(Release());
  EXPECT_TRUE(ScreenShows(Parent, ParentPlain)) << "no frame remains after the release";
  EXPECT_TRUE(ScreenShows(Inner, ChildPlain));
  EXPECT_TRUE(
      WaitFor([&] { return TScreenShot(WindowRect(Parent)).Pixels == ParentShot.Pixels; }, 3000))
      << "the whole window is as it was";
}

TEST_F(FindWndPanelTest, TheFinderCursorShowsWhileDraggingAndTheDefaultOneAfter) {
  const HCURSOR FinderCursor = Screen.CursorHandle(crFinder);
  ASSERT_NE(FinderCursor, Screen.CursorHandle(crDefault)) << "cursor 301 is in the table";

  ASSERT_TRUE(PressOnFinder(FinderPoint(15, 15)));
  EXPECT_EQ(Screen.Cursor(), crFinder);
  EXPECT_EQ(::GetCursor(), FinderCursor);
  ASSERT_TRUE(DragTo(TargetPoint(20, 20)));
  EXPECT_EQ(::GetCursor(), FinderCursor) << "over another window too";
  ASSERT_TRUE(DragTo(ChildPoint(20, 20)));
  EXPECT_EQ(::GetCursor(), FinderCursor);

  ASSERT_TRUE(Release());
  EXPECT_EQ(Screen.Cursor(), crDefault);
  EXPECT_EQ(::GetCursor(), Screen.CursorHandle(crDefault));
}

TEST_F(FindWndPanelTest, TheCrossHairLeavesThePictureWhileDragging) {
  const RECT Area = WindowRect(Finder->Handle());
  ASSERT_TRUE(PressOnFinder(FinderPoint(15, 15)));
  EXPECT_FALSE(Finder->ToolShown());
  EXPECT_TRUE(WaitFor([&] { return TScreenShot(Area).Pixels == PicturePixels(EmptyPicture); }))
      << "the empty picture shows at once";
  ASSERT_TRUE(DragTo(TargetPoint(20, 20)));
  EXPECT_EQ(TScreenShot(Area).Pixels, PicturePixels(EmptyPicture));

  ASSERT_TRUE(Release());
  EXPECT_TRUE(Finder->ToolShown());
  EXPECT_TRUE(WaitFor([&] { return TScreenShot(Area).Pixels == PicturePixels(ToolPicture); }));
}

TEST_F(FindWndPanelTest, APressAndReleaseWithoutAMoveReportsAndMarksNothing) {
  const RECT Area = WindowRect(Finder->Handle());
  ASSERT_TRUE(PressOnFinder(FinderPoint(15, 15)));
  // The only window a stray move could mark is the tool under the cursor: it shows the empty
  // picture exactly, without an inverted edge.
  EXPECT_TRUE(WaitFor([&] { return TScreenShot(Area).Pixels == PicturePixels(EmptyPicture); }));

  ASSERT_TRUE(Release());
  // Releasing the capture may bring a move of its own, after the drag has ended.
  ASSERT_EQ(Drag.DragMoves, 0) << "no move arrived between the press and the release";
  EXPECT_TRUE(Reports.empty());
  EXPECT_EQ(Finder->CurrentWnd(), nullptr);
  EXPECT_TRUE(WaitFor([&] { return TScreenShot(Area).Pixels == PicturePixels(ToolPicture); }));
}

TEST_F(FindWndPanelTest, TheToolReportsItselfAndANewDragOverTheLastPickWaitsForAnotherWindow) {
  const HWND Tool = Finder->Handle();
  ASSERT_TRUE(PressOnFinder(FinderPoint(15, 15)));
  ASSERT_TRUE(DragTo(FinderPoint(18, 17)));
  ASSERT_TRUE(DragTo(FinderPoint(20, 12)));
  EXPECT_EQ(Reports, std::vector<HWND>{Tool});
  ASSERT_TRUE(Release());
  EXPECT_EQ(Finder->CurrentWnd(), Tool);
  const RECT Area = WindowRect(Tool);
  EXPECT_TRUE(WaitFor([&] { return TScreenShot(Area).Pixels == PicturePixels(ToolPicture); }))
      << "the tool's own mark is gone";

  Reports.clear();
  ASSERT_TRUE(PressOnFinder(FinderPoint(20, 12)));
  ASSERT_TRUE(DragTo(FinderPoint(10, 10)));
  ASSERT_TRUE(DragTo(FinderPoint(12, 20)));
  EXPECT_TRUE(Reports.empty()) << "the last pick is not reported again";
  EXPECT_TRUE(WaitFor([&] { return TScreenShot(Area).Pixels == PicturePixels(EmptyPicture); }))
      << "nor marked";

  ASSERT_TRUE(DragTo(TargetPoint(20, 20)));
  ASSERT_TRUE(DragTo(FinderPoint(15, 15)));
  EXPECT_EQ(Reports, (std::vector<HWND>{Target->Handle(), Tool}));
  ASSERT_TRUE(Release());
  EXPECT_EQ(Finder->CurrentWnd(), Tool);
}

TEST_F(FindWndPanelTest, WithoutAListenerTheToolStillMarksWindows) {
  Finder->OnFoundWnd = nullptr;
  const HWND Parent = Target->Handle();
  const std::vector<COLORREF> Plain = SteadyFrameSamples(Parent);

  ASSERT_TRUE(PressOnFinder(FinderPoint(15, 15)));
  ASSERT_TRUE(DragTo(TargetPoint(20, 20)));
  EXPECT_TRUE(ScreenShows(Parent, Marked(Parent, Plain)));
  EXPECT_EQ(Finder->CurrentWnd(), Parent);

  ASSERT_TRUE(Release());
  EXPECT_TRUE(ScreenShows(Parent, Plain));
  EXPECT_EQ(Finder->CurrentWnd(), Parent);
}

} // namespace
} // namespace wyndo::test
