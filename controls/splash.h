#pragma once
// The picture window shown while the program starts: borderless, on top, centred on the
// screen, exactly the size of its picture (raw-data resource 101, a JPEG picture).

#include "ui/forms.h"
#include "ui/pictures.h"

namespace wyndo {

inline constexpr int SplashPictureId = 101;

class TSplashScreenForm : public TForm {
public:
  TSplashScreenForm();
  const char* WindowClassName() const override { return "TSplashScreenForm"; }
  const TPicture& Picture() const { return FPicture; }
  void WndProc(TMessage& Message) override;

private:
  TPicture FPicture;
};

} // namespace wyndo
