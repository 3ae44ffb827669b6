#include "ui/graphics.h"

#include <cstring>

namespace wyndo {

COLORREF ColorToRGB(TColor Color) {
  if (Color & 0x80000000u)
    return ::GetSysColor(static_cast<int>(Color & 0xFF));
  return Color;
}

TFont::TFont() : FName("MS Sans Serif"), FHeight(-11) {}

TFont::TFont(const TFont& Other)
    : FName(Other.FName), FHeight(Other.FHeight), FStyle(Other.FStyle), FColor(Other.FColor),
      FCharset(Other.FCharset) {}

TFont& TFont::operator=(const TFont& Other) {
  if (this != &Other && !(*this == Other)) {
    FName = Other.FName;
    FHeight = Other.FHeight;
    FStyle = Other.FStyle;
    FColor = Other.FColor;
    FCharset = Other.FCharset;
    Changed();
  }
  return *this;
}

bool operator==(const TFont& A, const TFont& B) {
  return A.FName == B.FName && A.FHeight == B.FHeight && A.FStyle == B.FStyle &&
         A.FColor == B.FColor && A.FCharset == B.FCharset;
}

void TFont::SetName(std::string_view Name) {
  if (FName != Name) {
    FName = Name;
    Changed();
  }
}
void TFont::SetHeight(int Height) {
  if (FHeight != Height) {
    FHeight = Height;
    Changed();
  }
}
void TFont::SetStyle(TFontStyles Style) {
  if (FStyle != Style) {
    FStyle = Style;
    Changed();
  }
}
void TFont::SetColor(TColor Color) {
  if (FColor != Color) {
    FColor = Color;
    Changed();
  }
}
void TFont::SetCharset(std::uint8_t Charset) {
  if (FCharset != Charset) {
    FCharset = Charset;
    Changed();
  }
}

void TFont::Assign(const LOGFONTA& Font) {
  FName = Font.lfFaceName;
  FHeight = Font.lfHeight;
  FStyle = (Font.lfWeight >= FW_BOLD ? fsBold : 0) | (Font.lfItalic ? fsItalic : 0) |
           (Font.lfUnderline ? fsUnderline : 0) | (Font.lfStrikeOut ? fsStrikeOut : 0);
  FCharset = Font.lfCharSet;
  Changed();
}

void TFont::Changed() {
  FHandle.Reset();
  if (OnChange)
    OnChange();
}

HFONT TFont::Handle() const {
  if (!FHandle) {
    LOGFONTA Font{};
    Font.lfHeight = FHeight;
    Font.lfWeight = (FStyle & fsBold) ? FW_BOLD : FW_NORMAL;
    Font.lfItalic = (FStyle & fsItalic) ? 1 : 0;
    Font.lfUnderline = (FStyle & fsUnderline) ? 1 : 0;
    Font.lfStrikeOut = (FStyle & fsStrikeOut) ? 1 : 0;
    Font.lfCharSet = FCharset;
    Font.lfQuality = DEFAULT_QUALITY;
    Font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    Font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    Font.lfPitchAndFamily = DEFAULT_PITCH;
    std::strncpy(Font.lfFaceName, FName.c_str(), LF_FACESIZE - 1);
    FHandle.Reset(::CreateFontIndirectA(&Font));
  }
  return static_cast<HFONT>(FHandle.Get());
}

TCanvas::TCanvas(HDC DC) : FDC(DC), FSavedState(::SaveDC(DC)) {}

TCanvas::~TCanvas() {
  // Puts the original objects back before our brush, pen and font are deleted.
  ::RestoreDC(FDC, FSavedState);
}

void TCanvas::SelectFont() {
  ::SelectObject(FDC, Font.Handle());
  ::SetTextColor(FDC, ColorToRGB(Font.Color()));
}

void TCanvas::SelectBrush() {
  if (!FBrush || FBrushMade != BrushColor) {
    HGDIOBJ Brush = ::CreateSolidBrush(ColorToRGB(BrushColor));
    ::SelectObject(FDC, Brush);
    FBrush.Reset(Brush);
    FBrushMade = BrushColor;
  }
  ::SetBkColor(FDC, ColorToRGB(BrushColor));
}

void TCanvas::SelectPen() {
  if (!FPen || FPenMade != PenColor) {
    HGDIOBJ Pen = ::CreatePen(PS_SOLID, 1, ColorToRGB(PenColor));
    ::SelectObject(FDC, Pen);
    FPen.Reset(Pen);
    FPenMade = PenColor;
  }
}

void TCanvas::FillRect(const RECT& Rect) {
  SelectBrush();
  ::FillRect(FDC, &Rect, static_cast<HBRUSH>(FBrush.Get()));
}

void TCanvas::Rectangle(int Left, int Top, int Right, int Bottom) {
  SelectBrush();
  SelectPen();
  ::Rectangle(FDC, Left, Top, Right, Bottom);
}

void TCanvas::MoveTo(int X, int Y) {
  ::MoveToEx(FDC, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y) {
  SelectPen();
  ::LineTo(FDC, X, Y);
}

void TCanvas::TextOut(int X, int Y, std::string_view Text) {
  SelectFont();
  SelectBrush();
  ::TextOutA(FDC, X, Y, Text.data(), static_cast<int>(Text.size()));
}

int TCanvas::DrawText(std::string_view Text, RECT& Rect, UINT Format) {
  SelectFont();
  SelectBrush();
  return ::DrawTextA(FDC, Text.data(), static_cast<int>(Text.size()), &Rect, Format);
}

SIZE TCanvas::TextExtent(std::string_view Text) {
  SelectFont();
  SIZE Size{};
  ::GetTextExtentPoint32A(FDC, Text.data(), static_cast<int>(Text.size()), &Size);
  return Size;
}

void TCanvas::SetTransparent(bool Transparent) {
  ::SetBkMode(FDC, Transparent ? TRANSPARENT : OPAQUE);
}

TOffscreen::TOffscreen(HDC Target, int Width, int Height)
    : FTarget(Target), FWidth(Width), FHeight(Height), FDC(::CreateCompatibleDC(Target)),
      FBitmap(::CreateCompatibleBitmap(Target, Width > 0 ? Width : 1, Height > 0 ? Height : 1)),
      FOldBitmap(::SelectObject(FDC.Get(), FBitmap.Get())) {}

TOffscreen::~TOffscreen() {
  // The bitmap must leave the device context before both are deleted.
  ::SelectObject(FDC.Get(), FOldBitmap);
}

void TOffscreen::Flush(int X, int Y) {
  ::BitBlt(FTarget, X, Y, FWidth, FHeight, FDC.Get(), 0, 0, SRCCOPY);
}

} // namespace wyndo
