#include "ui/toolwindow.h"

#include <algorithm>

namespace wyndo {

namespace {

UINT InnerEdgeFlags(TEdgeStyle Style) {
  switch (Style) {
  case TEdgeStyle::esRaised:
    return BDR_RAISEDINNER;
  case TEdgeStyle::esLowered:
    return BDR_SUNKENINNER;
  case TEdgeStyle::esNone:
    break;
  }
  return 0;
}

UINT OuterEdgeFlags(TEdgeStyle Style) {
  switch (Style) {
  case TEdgeStyle::esRaised:
    return BDR_RAISEDOUTER;
  case TEdgeStyle::esLowered:
    return BDR_SUNKENOUTER;
  case TEdgeStyle::esNone:
    break;
  }
  return 0;
}

} // namespace

TToolWindow::TToolWindow() {
  SetColor(clBtnFace);
}

void TToolWindow::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.WinClassName = "TToolWindow";
  Params.Style |= WS_CLIPCHILDREN;
  // A new size moves the frame's right and bottom lines and, usually, the children.
  Params.ClassStyle |= CS_HREDRAW | CS_VREDRAW;
}

RECT TToolWindow::EdgeInsets() const {
  const int Width =
      (FEdgeInner != TEdgeStyle::esNone ? 1 : 0) + (FEdgeOuter != TEdgeStyle::esNone ? 1 : 0);
  return {(FEdgeBorders & ebLeft) ? Width : 0, (FEdgeBorders & ebTop) ? Width : 0,
          (FEdgeBorders & ebRight) ? Width : 0, (FEdgeBorders & ebBottom) ? Width : 0};
}

TSize2 TToolWindow::ClientSize() const {
  if (HandleAllocated())
    return TWinControl::ClientSize();
  const RECT Insets = EdgeInsets();
  return {std::max(0, static_cast<int>(Width() - Insets.left - Insets.right)),
          std::max(0, static_cast<int>(Height() - Insets.top - Insets.bottom))};
}

void TToolWindow::SetClientSize(int Width, int Height) {
  const RECT Insets = EdgeInsets();
  SetBounds(Left(), Top(), Width + Insets.left + Insets.right, Height + Insets.top + Insets.bottom);
}

void TToolWindow::SetEdgeBorders(TEdgeBorders Value) {
  if (FEdgeBorders != Value) {
    FEdgeBorders = Value;
    EdgeChanged();
  }
}

void TToolWindow::SetEdgeInner(TEdgeStyle Value) {
  if (FEdgeInner != Value) {
    FEdgeInner = Value;
    EdgeChanged();
  }
}

void TToolWindow::SetEdgeOuter(TEdgeStyle Value) {
  if (FEdgeOuter != Value) {
    FEdgeOuter = Value;
    EdgeChanged();
  }
}

void TToolWindow::EdgeChanged() {
  if (HandleAllocated()) {
    // The window measures its non-client area again (WM_NCCALCSIZE) and repaints it.
    ::SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
  }
  Realign();
}

void TToolWindow::PaintEdges() {
  const UINT Edge = InnerEdgeFlags(FEdgeInner) | OuterEdgeFlags(FEdgeOuter);
  UINT Sides = 0;
  if (FEdgeBorders & ebLeft)
    Sides |= BF_LEFT;
  if (FEdgeBorders & ebTop)
    Sides |= BF_TOP;
  if (FEdgeBorders & ebRight)
    Sides |= BF_RIGHT;
  if (FEdgeBorders & ebBottom)
    Sides |= BF_BOTTOM;
  if (!Edge || !Sides)
    return;
  TWindowDC DC(Handle(), TWindowDC::dcWindow);
  if (!DC)
    return;
  RECT Frame;
  ::GetWindowRect(Handle(), &Frame);
  ::OffsetRect(&Frame, -Frame.left, -Frame.top);
  ::DrawEdge(DC.Get(), &Frame, Edge, Sides);
}

void TToolWindow::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_NCCALCSIZE: {
    DefaultHandler(Message);
    // lParam points at the proposed client rectangle first, whatever wParam says.
    auto& Client = *reinterpret_cast<RECT*>(Message.LParam);
    const RECT Insets = EdgeInsets();
    Client.left += Insets.left;
    Client.top += Insets.top;
    Client.right = std::max(Client.left, Client.right - Insets.right);
    Client.bottom = std::max(Client.top, Client.bottom - Insets.bottom);
    return;
  }
  case WM_NCPAINT:
    DefaultHandler(Message);
    PaintEdges();
    return;
  default:
    break;
  }
  TWinControl::WndProc(Message);
}

} // namespace wyndo
