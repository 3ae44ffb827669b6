#include "controls/smallcontrols.h"

#include "ui/application.h"

#include <utility>

namespace wyndo {

// ---------------------------------------------------------------------------------------------
// TCheckSpeedButton

TCheckSpeedButton::TCheckSpeedButton() = default;

void TCheckSpeedButton::SetChecked(bool Value) {
  if (FChecked != Value) {
    FChecked = Value;
    Repaint();
  }
}

void TCheckSpeedButton::SetCheckboxSize(int Value) {
  if (FCheckboxSize != Value) {
    FCheckboxSize = Value;
    Repaint();
  }
}

void TCheckSpeedButton::SetCheckboxSpace(int Value) {
  if (FCheckboxSpace != Value) {
    FCheckboxSpace = Value;
    Repaint();
  }
}

RECT TCheckSpeedButton::BoxRect() const {
  return {FCheckboxSpace, Height() - FCheckboxSpace - FCheckboxSize, FCheckboxSpace + FCheckboxSize,
          Height() - FCheckboxSpace};
}

bool TCheckSpeedButton::InBox(int X, int Y) const {
  const RECT Box = BoxRect();
  return Box.left < X && X < Box.right && Box.top < Y && Y < Box.bottom;
}

void TCheckSpeedButton::Toggle() {
  SetChecked(!FChecked);
  if (OnCheckClick)
    OnCheckClick(*this);
}

void TCheckSpeedButton::Paint(TCanvas& Canvas) {
  TSpeedButton::Paint(Canvas);
  RECT Box = BoxRect();
  UINT State = DFCS_BUTTONCHECK;
  if (FChecked)
    State |= DFCS_CHECKED;
  if (FBoxPressed && FBoxHot)
    State |= DFCS_PUSHED;
  ::DrawFrameControl(Canvas.Handle(), &Box, DFC_BUTTON, State);
}

void TCheckSpeedButton::WndProc(TMessage& Message) {
  const int X = static_cast<short>(LOWORD(Message.LParam));
  const int Y = static_cast<short>(HIWORD(Message.LParam));
  switch (Message.Msg) {
  case WM_LBUTTONDOWN:
    FBoxPressed = false;
    if (InBox(X, Y)) {
      // The box takes the press; the button does not go down.
      FBoxPressed = true;
      Repaint();
      return;
    }
    break;
  case WM_LBUTTONDBLCLK:
    FBoxPressed = false;
    if (InBox(X, Y)) {
      Toggle();
      return;
    }
    break;
  case WM_LBUTTONUP:
    // Every release ends a press in the box; only one inside the box toggles it.
    if (std::exchange(FBoxPressed, false)) {
      Repaint();
      if (InBox(X, Y))
        Toggle();
      return;
    }
    break;
  case WM_MOUSEMOVE:
    if (FBoxHot != InBox(X, Y)) {
      FBoxHot = !FBoxHot;
      Repaint();
    }
    break;
  case CM_MOUSELEAVE:
    FBoxHot = false;
    Repaint();
    break;
  default:
    break;
  }
  TSpeedButton::WndProc(Message);
}

// ---------------------------------------------------------------------------------------------
// THintEdit

namespace {

bool ControlDown() {
  return (::GetKeyState(VK_CONTROL) & 0xFF00) == 0xFF00;
}

// Watches the pointer while the hint is up.
constexpr UINT_PTR PointerTimer = 0x4854;
constexpr UINT PointerInterval = 50;

POINT CursorPos() {
  POINT Cursor{};
  ::GetCursorPos(&Cursor);
  return Cursor;
}

} // namespace

void THintEdit::HideHint() {
  if (FHintWindow)
    FHintWindow->ReleaseHandle();
  FHintShown = false;
  if (HandleAllocated())
    ::KillTimer(Handle(), PointerTimer);
}

void THintEdit::PointerMoved() {
  // The hint hangs from the pointer: moves over it may reach neither the hint window nor the
  // field (the hint lets the pointer through, and where the system does not pass the moves on
  // they are lost). So the pointer is watched while the hint is up: a move without Ctrl, or out
  // of the field, ends the hint wherever the pointer is.
  const POINT Cursor = CursorPos();
  if (Cursor.x == FHintCursor.x && Cursor.y == FHintCursor.y)
    return;
  FHintCursor = Cursor;
  RECT Field{};
  ::GetWindowRect(Handle(), &Field);
  RECT Hint{};
  ::GetWindowRect(FHintWindow->Handle(), &Hint);
  if (!ControlDown() || (!::PtInRect(&Field, Cursor) && !::PtInRect(&Hint, Cursor)))
    HideHint();
}

void THintEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_MOUSEMOVE:
  case CM_MOUSEENTER: {
    const bool ControlDown = wyndo::ControlDown();
    if (ControlDown && !FHintShown) {
      if (Hint().empty())
        return; // nothing to show: no further handling at all
      if (!FHintWindow)
        FHintWindow = std::make_unique<THintWindow>();
      FHintWindow->SetColor(Application.HintColor);
      RECT Area = FHintWindow->CalcHintRect(Screen.Width(), Hint());
      FHintCursor = CursorPos();
      ::OffsetRect(&Area, FHintCursor.x, FHintCursor.y);
      FHintWindow->ActivateHint(Area, Hint());
      FHintShown = true;
      ::SetTimer(Handle(), PointerTimer, PointerInterval, nullptr);
    } else if (!ControlDown && FHintShown) {
      HideHint();
    }
    break;
  }
  case CM_MOUSELEAVE:
    if (FHintShown)
      HideHint();
    break;
  case WM_TIMER:
    if (Message.WParam == PointerTimer) {
      if (FHintShown)
        PointerMoved();
      return;
    }
    break;
  default:
    break;
  }
  TEdit::WndProc(Message);
}

// ---------------------------------------------------------------------------------------------
// TLinkLabel

TLinkLabel::TLinkLabel() : FNormalFont(Font()) {}

void TLinkLabel::SetLinkColor(TColor Value) {
  if (FLinkColor != Value) {
    FLinkColor = Value;
    Invalidate();
  }
}

void TLinkLabel::SetOnLinkClick(TNotifyEvent Handler) {
  FOnLinkClick = std::move(Handler);
  if (FOnLinkClick) {
    Font().SetColor(FLinkColor);
    Font().SetStyle(Font().Style() | fsUnderline);
    Cursor = crHandPoint;
  } else {
    Font() = FNormalFont;
    Cursor = crDefault;
  }
  Invalidate();
}

void TLinkLabel::Click() {
  if (FOnLinkClick)
    FOnLinkClick(*this);
  else
    TLabel::Click();
}

} // namespace wyndo
