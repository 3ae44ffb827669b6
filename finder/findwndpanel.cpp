#include "finder/findwndpanel.h"

#include "info/functions.h"
#include "ui/application.h"
#include "ui/handles.h"

namespace wyndo {

namespace {

constexpr int FrameWidth = 3;

} // namespace

TFindWndPanel::TFindWndPanel() {
  SetBounds(0, 0, 31, 30);
  FToolBitmap = LoadBitmapFileResource(FinderToolBitmapId);
  FEmptyBitmap = LoadBitmapFileResource(FinderEmptyBitmapId);
  if (FToolBitmap)
    SetBounds(Left(), Top(), FToolBitmap.Width, FToolBitmap.Height);
}

void TFindWndPanel::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.WinClassName = "TFindWndPanel";
  // Every press starts a drag: a quick second press must not turn into a double click.
  Params.ClassStyle &= ~CS_DBLCLKS;
}

void TFindWndPanel::Paint(TCanvas& Canvas) {
  const TPicture& Picture = FToolShown ? FToolBitmap : FEmptyBitmap;
  if (!Picture)
    return;
  TMemoryDC Source(::CreateCompatibleDC(Canvas.Handle()));
  TSelectObject Select(Source.Get(), Picture.Handle());
  ::BitBlt(Canvas.Handle(), 0, 0, Picture.Width, Picture.Height, Source.Get(), 0, 0, SRCCOPY);
}

void TFindWndPanel::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_ERASEBKGND:
    // The picture covers the whole control; filling the background first would only flicker.
    if (FToolBitmap) {
      Message.Result = 1;
      return;
    }
    break;
  case WM_LBUTTONDOWN:
    TCustomControl::WndProc(Message);
    StartDrag();
    return;
  case WM_MOUSEMOVE:
    TCustomControl::WndProc(Message);
    if (FDragging)
      TrackCursor();
    return;
  case WM_LBUTTONUP:
    TCustomControl::WndProc(Message);
    EndDrag();
    return;
  default:
    break;
  }
  TCustomControl::WndProc(Message);
}

void TFindWndPanel::StartDrag() {
  ShowTool(false);
  // The cross-hair shows wherever the mouse goes while the capture lasts.
  Screen.SetCursor(crFinder);
  FDragging = true;
  ::SetCapture(Handle());
}

void TFindWndPanel::TrackCursor() {
  // The message's coordinates are relative to this control; the cursor's own position is the
  // one WindowFromPoint needs.
  POINT Point;
  if (!::GetCursorPos(&Point))
    return;
  HWND Window = ::WindowFromPoint(Point);
  if (Window == FCurrentWnd)
    return;
  if (FCurrentWnd)
    UnmarkWindow(FCurrentWnd);
  FCurrentWnd = Window;
  MarkWindow(Window);
  if (OnFoundWnd)
    OnFoundWnd(Window);
}

// The same whether or not a drag is in progress: a release always leaves the tool idle.
void TFindWndPanel::EndDrag() {
  ShowTool(true);
  Screen.SetCursor(crDefault);
  FDragging = false;
  ::ReleaseCapture();
  if (FCurrentWnd)
    UnmarkWindow(FCurrentWnd);
}

void TFindWndPanel::ShowTool(bool Shown) {
  FToolShown = Shown;
  // Painted now rather than at the next idle moment: the drag that follows keeps the message
  // queue busy, and the cross-hair has to leave the picture as the button goes down.
  Repaint();
}

void TFindWndPanel::MarkWindow(HWND Window) {
  RECT Area;
  if (!::GetWindowRect(Window, &Area))
    return;
  const int W = Area.right - Area.left;
  const int H = Area.bottom - Area.top;
  TWindowDC DC(Window, TWindowDC::dcWindow);
  if (!DC)
    return;
  // Four strips that do not overlap, so no pixel is inverted twice; the left one runs past the
  // lower edge, where the device context clips it.
  ::PatBlt(DC.Get(), 0, 0, W, FrameWidth, DSTINVERT);
  ::PatBlt(DC.Get(), 0, FrameWidth, FrameWidth, H, DSTINVERT);
  ::PatBlt(DC.Get(), FrameWidth, H - FrameWidth, W - FrameWidth, FrameWidth, DSTINVERT);
  ::PatBlt(DC.Get(), W - FrameWidth, FrameWidth, FrameWidth, H - 2 * FrameWidth, DSTINVERT);
}

void TFindWndPanel::UnmarkWindow(HWND Window) {
  // Nothing under the frame was saved: the window paints it away, frame and children included.
  RepaintWindowFully(Window);
}

} // namespace wyndo
