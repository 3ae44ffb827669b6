#include "controls/aboutform.h"

#include "controls/splash.h"
#include "core/product.h"
#include "core/settings.h"

#include <shellapi.h>

#include <cstdio>

namespace wyndo {

namespace {

using F = TAboutForm;

constexpr TColor LabelColor = 0x00E4E4E4;
constexpr TColor HomepageColor = 0x0060F2F8;
constexpr TColor PiColor = 0x00303030;

void DrawPicture(HDC DC, const TPicture& Picture, int X, int Y) {
  if (!Picture)
    return;
  TMemoryDC Source(::CreateCompatibleDC(DC));
  TSelectObject Select(Source.Get(), Picture.Handle());
  ::BitBlt(DC, X, Y, Picture.Width, Picture.Height, Source.Get(), 0, 0, SRCCOPY);
}

// Tiles Pattern over the rectangle, the pattern's corner at Origin; the brush origin goes back
// to (0, 0) afterwards.
void FillPattern(HDC DC, const TPicture& Pattern, POINT Origin, int X, int Y, int Width,
                 int Height) {
  if (!Pattern || Width <= 0 || Height <= 0)
    return;
  TGdiObject Brush(::CreatePatternBrush(Pattern.Handle()));
  // The origin is set before the brush is selected: older systems fix it at selection.
  ::SetBrushOrgEx(DC, Origin.x, Origin.y, nullptr);
  {
    TSelectObject Select(DC, Brush.Get());
    ::PatBlt(DC, X, Y, Width, Height, PATCOPY);
  }
  ::SetBrushOrgEx(DC, 0, 0, nullptr);
}

} // namespace

const std::vector<std::string>& AboutAcknowledgements() {
  static const std::vector<std::string> Lines = {
      "Many thanks to everyone whose work went into Wyndo!",
      "",
      "-=[ Inspiration ]=-",
      "~ System Informer ~",
      "~ SumatraPDF ~",
      "~ Notepad++ ~",
      "~ WTL ~",
      "",
      "-=[ Components ]=-",
      "~ stb_image, by Sean Barrett ~",
      "~ GoogleTest, by Google ~",
      "",
      "-=[ Testing ]=-",
      "~ Wine ~",
      "~ Xvfb ~",
      "~ xdotool ~",
      "~ ImageMagick ~",
      "",
      "-=[ Building ]=-",
      "~ mingw-w64 ~",
      "~ GCC ~",
      "~ CMake ~",
      "~ Ninja ~",
      "~ clang-format ~",
      "",
      "-=[ Pictures ]=-",
      "~ Pillow ~",
      "~ DejaVu fonts ~",
      "",
      "No window was harmed",
      "in the making of this program.",
      "",
      "Greetings to Debian, Wine, mingw-w64, CMake, GoogleTest and stb.",
      "",
      "Thanks for watching!",
      "",
      "*",
      "end.",
  };
  return Lines;
}

// clang-format off
const TLayoutItem<TAboutForm> TAboutForm::Layout[] = {
  {.Kind = Kind<TLabel>, .Name = "Version", .Bounds = {108, 186, 50, 14}, .Options = loTransparent, .Connect = Connect<&F::Version, On<&TLabel::OnClick, &F::FormClick>>},
  {.Kind = Kind<TLabel>, .Name = "Build", .Bounds = {108, 206, 50, 14}, .Options = loTransparent, .Connect = Connect<&F::Build, On<&TLabel::OnClick, &F::FormClick>>},
  {.Kind = Kind<TLabel>, .Name = "Label1", .Bounds = {12, 186, 0, 0}, .Text = "Version:", .Options = loTransparent, .Connect = Connect<&F::Label1, On<&TLabel::OnClick, &F::FormClick>>},
  {.Kind = Kind<TLabel>, .Name = "Label2", .Bounds = {12, 206, 0, 0}, .Text = "Build:", .Options = loTransparent, .Connect = Connect<&F::Label2, On<&TLabel::OnClick, &F::FormClick>>},
  {.Kind = Kind<TLabel>, .Name = "Label3", .Bounds = {358, 422, 277, 14}, .Anchors = akTop | akRight, .Options = loTransparent, .Connect = Connect<&F::Label3, On<&TLabel::OnClick, &F::FormClick>>},
  {.Kind = Kind<TLabel>, .Name = "Homepage", .Bounds = {486, 441, 149, 14}, .Anchors = akTop | akRight, .Options = loTransparent, .Connect = Connect<&F::Homepage, On<&TLabel::OnClick, &F::HomepageClick>>},
  {.Kind = Kind<TLabel>, .Name = "Label4", .Bounds = {633, 454, 6, 13}, .Anchors = akTop | akRight, .Connect = Connect<&F::Label4, On<&TLabel::OnMouseDown, &F::Label4MouseDown>, On<&TLabel::OnMouseUp, &F::Label4MouseUp>>},
  {.Kind = Kind<TBanner>, .Name = "Thanks", .Bounds = {125, 229, 391, 178}, .Connect = Connect<&F::Thanks, On<&TBanner::OnMouseDown, &F::ThanksMouseDown>, On<&TBanner::OnMouseUp, &F::ThanksMouseUp>>},
};
// clang-format on

TAboutForm::TAboutForm(std::string_view ProductVersion) {
  SetCaption("About Wyndo");
  SetBorderStyle(TBorderStyle::bsNone);
  Position = TPosition::poScreenCenter;
  SetClientSize(641, 467);
  SetColor(clBlack);
  Font().SetName("Verdana");
  Font().SetHeight(-12);
  Font().SetStyle(fsBold);
  Font().SetColor(LabelColor);
  // A click anywhere on the window closes it.
  FClickOnRelease = true;
  OnClick = [this](TObject& Sender) { FormClick(Sender); };
  BuildLayout(*this, Layout);

  // The labels with a stored size keep it, whatever their text measures.
  for (TLabel* Sized : {Version, Build, Label3, Homepage, Label4})
    Sized->SetAutoSize(false);
  Label3->SetCaption("Copyright (C) 2026 Harlwick");
  Homepage->SetCaption(HomePage);
  Homepage->Font().SetColor(HomepageColor);
  Homepage->Cursor = crHandPoint;
  // "p" in the Symbol font is the Greek letter pi.
  Label4->SetColor(clBlack);
  Label4->Font().SetName("Symbol");
  Label4->Font().SetStyle(0);
  Label4->Font().SetHeight(-11);
  Label4->Font().SetColor(PiColor);
  Label4->SetCaption("p");

  Thanks->SetColor(clBlack);
  Thanks->Font().SetName("Courier New");
  Thanks->Font().SetHeight(-13);
  Thanks->Font().SetStyle(fsBold);
  Thanks->Font().SetColor(LabelColor);
  Thanks->SetAlignment(TAlignment::taCenter);
  Thanks->SetWordWrap(true);
  Thanks->SetLines(AboutAcknowledgements());
  Thanks->SetSpeed(8);
  Thanks->SetGap(1);
  Thanks->SetSpace(5);
  Thanks->SetFadeHeight(30);
  Thanks->SetRun(true);

  FBackground = LoadJpegResource(SplashPictureId);
  FLogo = LoadJpegResource(AboutLogoId);
  FBandPattern = LoadBitmapFileResource(AboutBandPatternId);
  FLeftPattern = LoadJpegResource(AboutLeftPatternId);
  FRightPattern = LoadJpegResource(AboutRightPatternId);
  FHiddenPicture = LoadJpegResource(AboutHiddenPictureId);
  // The window is as wide as the picture at its top; the texts anchored right follow.
  if (FBackground) {
    SetClientSize(FBackground.Width, ClientSize().Height);
    Realign();
  }

  Version->SetCaption(ProductVersion);
  char Numbers[32];
  std::snprintf(Numbers, sizeof(Numbers), "%d.%d.%d.%d", Settings.Version[0], Settings.Version[1],
                Settings.Version[2], Settings.Version[3]);
  Build->SetCaption(Numbers);
}

void TAboutForm::FormClick(TObject&) {
  Close();
}

void TAboutForm::HomepageClick(TObject&) {
  OpenHomePage();
}

void TAboutForm::OpenHomePage() {
  const std::string Address(HomePage);
  ::ShellExecuteA(Application.Handle(), "open", Address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TAboutForm::ThanksMouseDown(TObject&, TMouseButton Button, TShiftState, int, int) {
  if (Button == TMouseButton::mbLeft)
    Thanks->SetGap(5);
}

void TAboutForm::ThanksMouseUp(TObject&, TMouseButton, TShiftState, int, int) {
  Thanks->SetGap(1);
}

void TAboutForm::Label4MouseDown(TObject&, TMouseButton, TShiftState Shift, int, int) {
  FHiddenView = Shift == (HiddenViewChord | ssLeft);
  if (FHiddenView) {
    Thanks->SetRun(false);
    Thanks->Hide();
    Repaint();
  }
}

void TAboutForm::Label4MouseUp(TObject&, TMouseButton, TShiftState Shift, int, int) {
  // The release of the chord's button: its state no longer holds the button.
  if (Shift == HiddenViewChord && FHiddenView)
    return;
  Close();
}

void TAboutForm::WndProc(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND) {
    // Everything is drawn by the paint handler; erasing first would only flicker.
    Message.Result = 1;
    ::UpdateWindow(Handle());
    return;
  }
  TForm::WndProc(Message);
}

void TAboutForm::PaintWindow(HDC DC) {
  const int FormWidth = Width(), FormHeight = Height();
  const int Top = Thanks->Top(), BannerHeight = Thanks->Height();
  const int Bottom = Top + BannerHeight;
  const int Saved = ::SaveDC(DC);
  // The banner paints its own strip.
  if (Thanks->Visible())
    ::ExcludeClipRect(DC, Thanks->Left(), Top, Thanks->Left() + Thanks->Width(), Bottom);
  DrawPicture(DC, FBackground, 0, 0);
  FillPattern(DC, FBandPattern, {0, 0}, 0, FBackground.Height, FormWidth, Top - FBackground.Height);
  FillPattern(DC, FBandPattern, {0, Bottom}, 0, Bottom, FormWidth, FormHeight - Bottom);
  FillPattern(DC, FLeftPattern, {0, 0}, 0, Top, FLeftPattern.Width, BannerHeight);
  FillPattern(DC, FRightPattern, {FormWidth - FRightPattern.Width, 0},
              FormWidth - FRightPattern.Width, Top, FRightPattern.Width, BannerHeight);
  if (FHiddenView) {
    TSelectObject Black(DC, ::GetStockObject(BLACK_BRUSH));
    ::PatBlt(DC, FLeftPattern.Width, Top, Thanks->Width(), BannerHeight, PATCOPY);
    DrawPicture(DC, FHiddenPicture, (FormWidth - FHiddenPicture.Width) / 2, Top);
  }
  DrawPicture(DC, FLogo, 13, 414);
  ::RestoreDC(DC, Saved);
}

void ShowAboutBox(std::string_view ProductVersion) {
  auto Box = MakeForm<TAboutForm>(ProductVersion);
  Box->ShowModal();
}

} // namespace wyndo
