#pragma once
// Drags the cross-hair of a finder tool with real mouse input.
//
// The mouse is driven with xdotool. The tests run in a Wine virtual desktop, where xdotool's
// moves arrive exactly as given, while SendInput moves are each replayed once more after the
// next one, which would add moves back into windows already left. Every command is followed by
// a wait, with a time-out, for its effect: the tool seeing the move, the drag starting or ending.

#include "finder/findwndpanel.h"
#include "tests/win/test_support.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <string>

namespace wyndo::test {

inline bool SamePoint(const POINT& A, const POINT& B) {
  return A.x == B.x && A.y == B.y;
}

inline std::string PointText(POINT Point) {
  return "(" + std::to_string(Point.x) + ", " + std::to_string(Point.y) + ")";
}

// Presses on a finder tool, drags and releases, each step waiting until the tool has seen it.
// It takes the tool's mouse-move event for itself; a button still held when it goes is released.
class TFinderDrag {
public:
  explicit TFinderDrag(TFindWndPanel& Tool) : Finder(Tool) {
    Finder.OnMouseMove = [this](TObject&, TShiftState, int X, int Y) {
      LastMove = Finder.ClientToScreen({X, Y});
      if (Finder.Dragging())
        ++DragMoves;
    };
  }
  ~TFinderDrag() {
    if (ButtonDown) {
      Xdotool("mouseup 1");
      WaitFor([&] { return !Finder.Dragging(); }, 2000);
    }
    Finder.OnMouseMove = nullptr;
  }
  TFinderDrag(const TFinderDrag&) = delete;
  TFinderDrag& operator=(const TFinderDrag&) = delete;

  // Puts the cursor on the tool and presses the left button there.
  ::testing::AssertionResult Press(POINT Point) {
    if (!SamePoint(CursorPos(), Point)) {
      if (::testing::AssertionResult Moved = MoveTo(Point); !Moved)
        return Moved;
    }
    if (::WindowFromPoint(Point) != Finder.Handle())
      return ::testing::AssertionFailure() << PointText(Point) << " is not on the tool";
    Xdotool("mousedown 1");
    ButtonDown = true;
    if (!WaitFor([&] { return Finder.Dragging(); }))
      return ::testing::AssertionFailure() << "the press did not start a drag";
    return ::testing::AssertionSuccess();
  }

  // Moves the cursor while the button is held and waits until the tool has handled the move.
  ::testing::AssertionResult DragTo(POINT Point) {
    if (SamePoint(CursorPos(), Point))
      return ::testing::AssertionFailure() << "the cursor is at " << PointText(Point) << " already";
    return MoveTo(Point);
  }

  ::testing::AssertionResult Release() {
    Xdotool("mouseup 1");
    ButtonDown = false;
    if (!WaitFor([&] { return !Finder.Dragging(); }))
      return ::testing::AssertionFailure() << "the release did not end the drag";
    return ::testing::AssertionSuccess();
  }

  int DragMoves = 0; // moves the tool saw while dragging

private:
  ::testing::AssertionResult MoveTo(POINT Point) {
    if (!Xdotool("mousemove " + std::to_string(Point.x) + " " + std::to_string(Point.y)))
      return ::testing::AssertionFailure() << "xdotool did not start";
    if (!WaitFor([&] { return SamePoint(LastMove, Point); }))
      return ::testing::AssertionFailure()
             << "the tool did not see the cursor reach " << PointText(Point) << "; it is at "
             << PointText(CursorPos());
    return ::testing::AssertionSuccess();
  }

  TFindWndPanel& Finder;
  POINT LastMove{-1, -1};
  bool ButtonDown = false;
};

} // namespace wyndo::test
