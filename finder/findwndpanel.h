#pragma once
// The finder tool: a small picture of a window with a cross-hair in it. The user presses the
// left button on it, drags the cross-hair over the screen and releases the button over the
// window to pick.
//
// Event protocol of OnFoundWnd(Window):
// - Raised only during a drag (between the left-button press on the tool and its release), from
//   inside the handling of a mouse move, synchronously: a slow handler delays the next move.
// - Raised each time the window under the cursor (WindowFromPoint, taken as it is: the deepest
//   child, the program's own windows and the tool itself included) differs from the window
//   reported last; moves within one window raise it once. Window is that new window.
// - Before it is raised, the window reported before loses its mark and the new one is marked
//   with an inverted frame on the screen (a window without a device context is reported
//   unmarked).
// - Never raised when the drag ends. The release removes the mark; the window reported last is
//   the pick and stays in CurrentWnd. It is kept into the next drag: a drag that starts over it
//   raises nothing until the cursor has reached another window.
// - There is no cancel: no key ends a drag, and only the left-button release does.
// Unassigned, the tool still marks the windows it passes.

#include "ui/controls.h"
#include "ui/pictures.h"

#include <windows.h>

#include <functional>

namespace wyndo {

// The tool's pictures, raw-data resources holding bitmap files: with the cross-hair, and the
// same window without it while the cross-hair is being dragged.
inline constexpr int FinderToolBitmapId = 401;
inline constexpr int FinderEmptyBitmapId = 402;

using TFoundWndEvent = std::function<void(HWND Window)>;

class TFindWndPanel : public TCustomControl {
public:
  // Takes the size of the tool picture (31 x 30 pixels).
  TFindWndPanel();

  TFoundWndEvent OnFoundWnd;

  // The window reported last (the pick once the drag has ended), or 0 before the first report.
  HWND CurrentWnd() const { return FCurrentWnd; }
  bool Dragging() const { return FDragging; }
  // Whether the picture with the cross-hair shows (false during a drag).
  bool ToolShown() const { return FToolShown; }

  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint(TCanvas& Canvas) override;

private:
  void StartDrag();
  void TrackCursor();
  void EndDrag();
  void ShowTool(bool Shown);
  // Inverts a frame 3 pixels thick inside the window's outer edge, caption and borders included.
  static void MarkWindow(HWND Window);
  // Lets the window repaint itself completely, which removes the frame.
  static void UnmarkWindow(HWND Window);

  TPicture FToolBitmap;
  TPicture FEmptyBitmap;
  HWND FCurrentWnd = nullptr;
  bool FToolShown = true;
  bool FDragging = false;
};

} // namespace wyndo
