#include "controls/banner.h"

#include "core/banner.h"

#include <span>

namespace wyndo {

TBanner::TBanner() {
  SetAutoSize(false);
  FSize = {Width(), Height()};
  FTimer.SetEnabled(false);
  FTimer.SetInterval(static_cast<UINT>(FSpeed * 10));
  FTimer.OnTimer = [this](TObject& Sender) { TimerTick(Sender); };
  FPosition = BannerStartPosition(Height(), FSpace);
}

void TBanner::SetLines(const std::vector<std::string>& Value) {
  FLines = Value;
  Invalidate();
}

void TBanner::SetRun(bool Value) {
  if (!FRun)
    FPosition = BannerStartPosition(Height(), FSpace);
  FRun = Value;
  FTimer.SetEnabled(FRun);
}

void TBanner::SetSpeed(int Value) {
  FSpeed = Value;
  FTimer.SetInterval(Value > 0 ? static_cast<UINT>(Value) * 10 : 0);
}

void TBanner::SetFadeHeight(int Value) {
  FFadeHeight = BannerFadeHeight(Value, Height());
}

void TBanner::SetAlignment(TAlignment Value) {
  if (FAlignment != Value) {
    FAlignment = Value;
    Invalidate();
  }
}

void TBanner::TimerTick(TObject&) {
  FPosition = BannerStep(FPosition, FGap);
  Repaint();
}

void TBanner::BoundsChanged() {
  const TSize2 Size{Width(), Height()};
  if (Size.Width != FSize.Width || Size.Height != FSize.Height) {
    FSize = Size;
    if (!FRun)
      FPosition = BannerStartPosition(Height(), FSpace);
  }
  TLabel::BoundsChanged();
}

UINT TBanner::TextFlags() const {
  UINT Flags = DT_LEFT;
  if (FAlignment == TAlignment::taRightJustify)
    Flags = DT_RIGHT;
  else if (FAlignment == TAlignment::taCenter)
    Flags = DT_CENTER;
  return WordWrap() ? Flags | DT_WORDBREAK : Flags;
}

void TBanner::Paint(TCanvas& Canvas) {
  const int FrameWidth = Width(), FrameHeight = Height();
  if (FrameWidth <= 0 || FrameHeight <= 0)
    return;
  // A top-down 24-bit section, so the fade can work on its rows directly.
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof(Info.bmiHeader);
  Info.bmiHeader.biWidth = FrameWidth;
  Info.bmiHeader.biHeight = -FrameHeight;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 24;
  Info.bmiHeader.biCompression = BI_RGB;
  void* Bits = nullptr;
  TGdiObject Bitmap(::CreateDIBSection(Canvas.Handle(), &Info, DIB_RGB_COLORS, &Bits, nullptr, 0));
  TMemoryDC FrameDC(::CreateCompatibleDC(Canvas.Handle()));
  if (!Bitmap || !Bits || !FrameDC)
    return;
  TSelectObject SelectBitmap(FrameDC.Get(), Bitmap.Get());
  {
    TCanvas Frame(FrameDC.Get());
    Frame.BrushColor = Color();
    Frame.Font = Font();
    Frame.FillRect({0, 0, FrameWidth, FrameHeight});
    Frame.SetTransparent(true);
    std::string Text;
    for (std::size_t I = 0; I < FLines.size(); ++I) {
      if (I > 0)
        Text += "\r\n";
      Text += FLines[I];
    }
    const UINT Flags = TextFlags();
    RECT Area{0, FPosition, FrameWidth, FPosition};
    Frame.DrawText(Text, Area, Flags | DT_CALCRECT);
    Area.right = FrameWidth;
    Frame.DrawText(Text, Area, Flags);
    if (BannerWraps(Area.bottom, FSpace))
      FPosition = BannerStartPosition(FrameHeight, FSpace);
  }
  // GDI may still be drawing into the section; the fade reads and writes its bytes directly.
  ::GdiFlush();
  const std::size_t Stride = (static_cast<std::size_t>(FrameWidth) * 3 + 3) & ~std::size_t{3};
  FadeRows(std::span(static_cast<std::uint8_t*>(Bits), Stride * FrameHeight), FrameWidth,
           FrameHeight, Stride, ColorToRGB(Color()), FFadeHeight);
  ::BitBlt(Canvas.Handle(), 0, 0, FrameWidth, FrameHeight, FrameDC.Get(), 0, 0, SRCCOPY);
}

} // namespace wyndo
