#pragma once
// The hint window: a small pop-up showing a text next to the pointer, in the application's hint
// colour. The application shows one for controls whose ShowHint is on (or a parent's) while the
// pointer rests on them; controls may also own one of their own.

#include "ui/controls.h"

#include <string>

namespace wyndo {

class THintWindow : public TWinControl {
public:
  THintWindow();
  // The window's size for Hint (origin 0, 0), lines wrapped at MaxWidth.
  RECT CalcHintRect(int MaxWidth, const std::string& Hint);
  // Shows Hint at Rect (screen coordinates) without taking the activation.
  void ActivateHint(RECT Rect, const std::string& Hint);
  // Hides the window.
  void ReleaseHandle();
  bool Active() const { return FActive; }
  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void PaintWindow(HDC DC) override;

private:
  bool FActive = false;
};

} // namespace wyndo
