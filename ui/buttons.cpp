#include "ui/buttons.h"

namespace wyndo {

TSpeedButton::TSpeedButton() {
  SetBounds(0, 0, 23, 22);
}

void TSpeedButton::SetFlat(bool Value) {
  FFlat = Value;
  Invalidate();
}

void TSpeedButton::SetGlyph(HIMAGELIST Images, int Index) {
  FImages = Images;
  FImageIndex = Index;
  Invalidate();
}

void TSpeedButton::Paint(TCanvas& Canvas) {
  RECT Area = ClientRect();
  Canvas.FillRect(Area);
  const bool Down = Pressed();
  if (Down)
    ::DrawEdge(Canvas.Handle(), &Area, BDR_SUNKENOUTER, BF_RECT);
  else if (!FFlat || (MouseInControl() && Enabled()))
    ::DrawEdge(Canvas.Handle(), &Area, BDR_RAISEDINNER, BF_RECT);
  if (FImages && FImageIndex >= 0) {
    int Width = 0, Height = 0;
    ::ImageList_GetIconSize(FImages, &Width, &Height);
    const int X = (Area.right - Width) / 2 + (Down ? 1 : 0);
    const int Y = (Area.bottom - Height) / 2 + (Down ? 1 : 0);
    if (Enabled()) {
      ::ImageList_Draw(FImages, FImageIndex, Canvas.Handle(), X, Y, ILD_TRANSPARENT);
    } else {
      // Embossed grey, the way disabled tool buttons look everywhere.
      TIconHandle Icon(::ImageList_GetIcon(FImages, FImageIndex, ILD_TRANSPARENT));
      ::DrawStateA(Canvas.Handle(), nullptr, nullptr, reinterpret_cast<LPARAM>(Icon.Get()), 0, X, Y,
                   Width, Height, DST_ICON | DSS_DISABLED);
    }
  }
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == TMouseButton::mbLeft && Enabled()) {
    FPressed = true;
    Repaint();
  }
  TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == TMouseButton::mbLeft && FPressed) {
    FPressed = false;
    Repaint();
  }
  TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TSpeedButton::MouseEnter() {
  Invalidate();
  TGraphicControl::MouseEnter();
}

void TSpeedButton::MouseLeave() {
  Invalidate();
  TGraphicControl::MouseLeave();
}

} // namespace wyndo
