#pragma once
// TSpeedButton: a window-less tool button with a glyph from an image list, flat (an edge only
// while the pointer is over it or it is pressed) or raised. A left press and release on it
// raises OnClick.

#include "ui/controls.h"

#include <commctrl.h>

namespace wyndo {

class TSpeedButton : public TGraphicControl {
public:
  TSpeedButton();
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  // The glyph: an image of an image list (not owned), drawn centred; -1 for none.
  void SetGlyph(HIMAGELIST Images, int Index);
  // Pressed: the left button went down on it and the pointer is still over it.
  bool Pressed() const { return FPressed && MouseInControl(); }

protected:
  void Paint(TCanvas& Canvas) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseEnter() override;
  void MouseLeave() override;

private:
  bool FFlat = false;
  bool FPressed = false;
  HIMAGELIST FImages = nullptr;
  int FImageIndex = -1;
};

} // namespace wyndo
