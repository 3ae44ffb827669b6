#pragma once
// The about box: a borderless, picture-decorated window with the program's version and build
// numbers, a link to the product's home page and the scrolling acknowledgements. Any click on
// the window or on its texts closes it, except on the home page link (which opens the page in the
// browser), the acknowledgements (held down, they scroll five times as fast) and the small pi
// sign at the bottom right: a left click on it with Ctrl and Shift held stops and hides the
// acknowledgements and shows the hidden picture in their place; the box stays open while the
// keys are still held at the release.

#include "controls/banner.h"
#include "ui/layout.h"
#include "ui/pictures.h"

#include <string>
#include <string_view>
#include <vector>

namespace wyndo {

// The raw-data resources of the about box's pictures.
inline constexpr int AboutLogoId = 102;
inline constexpr int AboutHiddenPictureId = 103;
inline constexpr int AboutBandPatternId = 201;
inline constexpr int AboutLeftPatternId = 202;
inline constexpr int AboutRightPatternId = 203;

// The modifier keys that, with the left button on the pi sign, open the hidden view.
inline constexpr TShiftState HiddenViewChord = ssCtrl | ssShift;

// The acknowledgements the banner scrolls.
const std::vector<std::string>& AboutAcknowledgements();

class TAboutForm : public TForm {
public:
  // ProductVersion: the program file's product version text, shown as the version.
  explicit TAboutForm(std::string_view ProductVersion);
  const char* WindowClassName() const override { return "TAboutForm"; }

  TLabel* Version = nullptr;
  TLabel* Build = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Homepage = nullptr;
  TLabel* Label4 = nullptr;
  TBanner* Thanks = nullptr;

  // While set, the hidden picture replaces the acknowledgements.
  bool HiddenView() const { return FHiddenView; }

  const TPicture& Background() const { return FBackground; }
  const TPicture& Logo() const { return FLogo; }
  const TPicture& BandPattern() const { return FBandPattern; }
  const TPicture& LeftPattern() const { return FLeftPattern; }
  const TPicture& RightPattern() const { return FRightPattern; }
  const TPicture& HiddenPicture() const { return FHiddenPicture; }

  void FormClick(TObject& Sender);
  void HomepageClick(TObject& Sender);
  void ThanksMouseDown(TObject& Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void ThanksMouseUp(TObject& Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void Label4MouseDown(TObject& Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void Label4MouseUp(TObject& Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

  void WndProc(TMessage& Message) override;

protected:
  void PaintWindow(HDC DC) override;
  // Opens the product's home page in the user's browser.
  virtual void OpenHomePage();

private:
  TPicture FBackground;
  TPicture FLogo;
  TPicture FBandPattern;
  TPicture FLeftPattern;
  TPicture FRightPattern;
  TPicture FHiddenPicture;
  bool FHiddenView = false;
  static const TLayoutItem<TAboutForm> Layout[];
};

// Shows the about box modally and frees it when it closes.
void ShowAboutBox(std::string_view ProductVersion);

} // namespace wyndo
