#include "controls/smallcontrols.h"

#include "ui/application.h"

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
    if (FBoxPressed && InBox(X, Y)) {
      FBoxPressed = false;
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

void THintEdit::HideHint() {
  if (FHintWindow)
    FHintWindow->ReleaseHandle();
  FHintShown = false;
}

void THintEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_MOUSEMOVE:
  case CM_MOUSEENTER: {
    const bool ControlDown = (::GetKeyState(VK_CONTROL) & 0xFF00) == 0xFF00;
    if (ControlDown && !FHintShown) {
      if (Hint().empty())
        return; // nothing to show: no further handling at all
      if (!FHintWindow)
        FHintWindow = std::make_unique<THintWindow>();
      FHintWindow->SetColor(Application.HintColor);
      RECT Area = FHintWindow->CalcHintRect(Screen.Width(), Hint());
      POINT Cursor{};
      ::GetCursorPos(&Cursor);
      ::OffsetRect(&Area, Cursor.x, Cursor.y);
      FHintWindow->ActivateHint(Area, Hint());
      FHintShown = true;
    } else if (!ControlDown && FHintShown) {
      HideHint();
    }
    break;
  }
  case CM_MOUSELEAVE:
    if (FHintShown)
      HideHint();
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
