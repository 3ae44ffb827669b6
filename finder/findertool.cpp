#include "finder/findertool.h"

#include "finder/wndfields.h"
#include "ui/graphics.h"

namespace wyndo {

namespace {
constexpr UINT_PTR CloseTimer = 1;
using F = TFinderToolWnd;
} // namespace

// ---------------------------------------------------------------------------------------------
// TToolWindowPanel

TToolWindowPanel::TToolWindowPanel() {
  SetBounds(Left(), Top(), 18, 18);
}

TToolWindowPanel::~TToolWindowPanel() {
  FToolWindow.reset();
}

void TToolWindowPanel::RestartCloseTimer(bool Restart) {
  if (!HandleAllocated())
    return;
  ::KillTimer(Handle(), CloseTimer);
  if (Restart)
    ::SetTimer(Handle(), CloseTimer, FCloseDelay, nullptr);
}

void TToolWindowPanel::OpenToolWindow() {
  FToolWindow = FToolWindowClass(*this);
  if (!FToolWindow)
    return;
  // Below the panel, right edges aligned.
  POINT Corner{Width(), Height()};
  ::ClientToScreen(Handle(), &Corner);
  FToolWindow->SetBounds(Corner.x - FToolWindow->Width(), Corner.y, FToolWindow->Width(),
                         FToolWindow->Height());
  FToolWindow->Show();
}

void TToolWindowPanel::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case CM_MOUSEENTER:
    SetBevelOuter(TBevelCut::bvLowered);
    if (!FToolWindow && FToolWindowClass)
      OpenToolWindow();
    else
      RestartCloseTimer(false);
    return;
  case CM_MOUSELEAVE:
    SetBevelOuter(TBevelCut::bvRaised);
    RestartCloseTimer(true);
    return;
  case WM_TIMER:
    if (Message.WParam != CloseTimer)
      break;
    if (FToolWindow && FToolWindow->HandleAllocated()) {
      POINT Cursor{};
      RECT Area{};
      ::GetCursorPos(&Cursor);
      ::GetWindowRect(FToolWindow->Handle(), &Area);
      if (!::PtInRect(&Area, Cursor))
        FToolWindow.reset();
    }
    RestartCloseTimer(false);
    return;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDOWN:
  case WM_RBUTTONDBLCLK:
    // The panel has no click of its own: a click brings the open tool window forward.
    if (FToolWindow) {
      ::SetActiveWindow(FToolWindow->Handle());
      ::SetForegroundWindow(FToolWindow->Handle());
    }
    return;
  default:
    break;
  }
  TPanel::WndProc(Message);
}

void TToolWindowPanel::Paint(TCanvas& Canvas) {
  TPanel::Paint(Canvas);
  // A double chevron pointing down, two bold V shapes one above the other, drawn pixel by pixel:
  // a font's glyph for it is missing on some systems.
  const RECT Area = ClientRect();
  const int Shift = BevelOuter() == TBevelCut::bvLowered ? 1 : 0;
  const int Middle = (Area.right - Area.left) / 2 + Shift;
  const int Top = (Area.bottom - Area.top - 9) / 2;
  Canvas.BrushColor = clBtnText;
  for (int Chevron : {Top, Top + 4})
    for (int Row = 0; Row < 4; ++Row) {
      // Arms one pixel wide and two high, meeting in the middle.
      Canvas.FillRect({Middle - 3 + Row, Chevron + Row, Middle - 2 + Row, Chevron + Row + 2});
      Canvas.FillRect({Middle + 3 - Row, Chevron + Row, Middle + 4 - Row, Chevron + Row + 2});
    }
}

// ---------------------------------------------------------------------------------------------
// TFinderToolWnd

// clang-format off
const TLayoutItem<TFinderToolWnd> TFinderToolWnd::Layout[] = {
  {.Kind = Kind<TButton>, .Name = "Select", .Bounds = {8, 5, 105, 25}, .Text = "Select Window", .TabOrder = 0, .Connect = Connect<&F::Select, On<&TButton::OnClick, &F::SelectClick>>},
  {.Kind = Kind<TButton>, .Name = "Properties", .Bounds = {125, 5, 105, 25}, .Text = "Properties", .TabOrder = 1, .Connect = Connect<&F::Properties, On<&TButton::OnClick, &F::PropertiesClick>>},
};
// clang-format on

TFinderToolWnd::TFinderToolWnd(TToolWindowPanel& Panel, TEdit& HandleField)
    : FPanel(Panel), FHandleField(HandleField) {
  SetBorderStyle(TBorderStyle::bsDialog);
  SetBorderIcons(0);
  SetClientSize(238, 37);
  SetColor(clBtnFace);
  BuildLayout(*this, Layout);
  OnCreate = [this](TObject& Sender) { FormCreate(Sender); };
}

void TFinderToolWnd::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  // Owned through the panel by its top-level window, so it stays above that window.
  Params.WndParent = FPanel.Handle();
}

void TFinderToolWnd::FormCreate(TObject&) {
  // A dialog frame without a title bar; the client area keeps its size.
  auto Style = static_cast<DWORD>(::GetWindowLongA(Handle(), GWL_STYLE));
  Style = (Style & ~static_cast<DWORD>(WS_CAPTION)) | WS_DLGFRAME | DS_MODALFRAME;
  ::SetWindowLongA(Handle(), GWL_STYLE, static_cast<LONG>(Style));
  SetBounds(Left(), Top(), Width(), Height() - ::GetSystemMetrics(SM_CYCAPTION));
  ::SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  FMouseInside = false;
  TrackMouse(TME_HOVER);
}

void TFinderToolWnd::TrackMouse(DWORD Flags) {
  // Asked only while the cursor is over the window: tracking a window the cursor is not over
  // gives no notification, and where the system keeps one tracked window per thread it would
  // take the tracking away from the panel the cursor rests on.
  POINT Cursor{};
  ::GetCursorPos(&Cursor);
  const HWND Under = ::WindowFromPoint(Cursor);
  if (Under != Handle() && !::IsChild(Handle(), Under))
    return;
  TRACKMOUSEEVENT Track{};
  Track.cbSize = sizeof(Track);
  Track.dwFlags = Flags;
  Track.hwndTrack = Handle();
  Track.dwHoverTime = 0;
  ::TrackMouseEvent(&Track);
}

void TFinderToolWnd::Activate() {
  ::SetActiveWindow(Handle());
  ::SetForegroundWindow(Handle());
}

void TFinderToolWnd::SelectClick(TObject&) {
  SelectHandleInLists(FHandleField.Text());
}

void TFinderToolWnd::PropertiesClick(TObject&) {
  ShowHandleProperties(FHandleField.Text());
}

void TFinderToolWnd::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case CM_MOUSEENTER:
    FPanel.RestartCloseTimer(false);
    FMouseInside = true;
    TrackMouse(TME_HOVER | TME_LEAVE);
    Activate();
    break;
  case WM_MOUSEHOVER:
    FPanel.RestartCloseTimer(false);
    TrackMouse(TME_LEAVE);
    FMouseInside = true;
    Activate();
    break;
  case WM_MOUSEMOVE:
    TrackMouse(TME_LEAVE);
    break;
  case WM_MOUSELEAVE:
    TrackMouse(TME_HOVER);
    FPanel.RestartCloseTimer(FMouseInside);
    break;
  case CM_MOUSELEAVE:
    FPanel.RestartCloseTimer(FMouseInside);
    break;
  default:
    break;
  }
  TForm::WndProc(Message);
}

} // namespace wyndo
