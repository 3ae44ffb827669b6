#include "ui/hintwindow.h"

#include "ui/application.h"

namespace wyndo {

namespace {
constexpr UINT HintTextFlags = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;
} // namespace

THintWindow::THintWindow() {
  SetVisible(false);
  SetColor(Application.HintColor);
  Font().SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.WinClassName = "THintWindow";
  Params.ClassStyle = CS_SAVEBITS;
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WndParent = Application.Handle();
}

RECT THintWindow::CalcHintRect(int MaxWidth, const std::string& Hint) {
  RECT Area{0, 0, MaxWidth, 0};
  HDC DC = ::GetDC(nullptr);
  {
    TCanvas Canvas(DC);
    Canvas.Font = Font();
    Canvas.DrawText(Hint, Area, HintTextFlags | DT_CALCRECT);
  }
  ::ReleaseDC(nullptr, DC);
  // A margin of 2 around the text and the border.
  Area.right += 6;
  Area.bottom += 2;
  return Area;
}

void THintWindow::ActivateHint(RECT Rect, const std::string& Hint) {
  SetCaption(Hint);
  SetColor(Application.HintColor);
  HWND Window = Handle();
  ::SetWindowPos(Window, HWND_TOPMOST, Rect.left, Rect.top, Rect.right - Rect.left,
                 Rect.bottom - Rect.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ::InvalidateRect(Window, nullptr, TRUE);
  FActive = true;
}

void THintWindow::ReleaseHandle() {
  if (HandleAllocated())
    ::ShowWindow(Handle(), SW_HIDE);
  FActive = false;
}

void THintWindow::PaintWindow(HDC DC) {
  TCanvas Canvas(DC);
  Canvas.Font = Font();
  Canvas.SetTransparent(true);
  RECT Area = ClientRect();
  ::InflateRect(&Area, -2, 0);
  Canvas.DrawText(Caption(), Area, HintTextFlags);
}

void THintWindow::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_NCHITTEST:
    Message.Result = HTTRANSPARENT; // the pointer goes through to what lies below
    return;
  case WM_MOUSEACTIVATE:
    Message.Result = MA_NOACTIVATE;
    return;
  default:
    TWinControl::WndProc(Message);
  }
}

} // namespace wyndo
