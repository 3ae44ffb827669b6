#pragma once
// Colours, fonts and the canvas that owner-drawn controls paint with.

#include "ui/handles.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace wyndo {

// 0x00BBGGRR for a literal colour; 0x80000000 + n names system colour n.
using TColor = std::uint32_t;
inline constexpr TColor clBlack = 0x00000000;
inline constexpr TColor clWhite = 0x00FFFFFF;
inline constexpr TColor clScrollBar = 0x80000000 + COLOR_SCROLLBAR;
inline constexpr TColor clWindow = 0x80000000 + COLOR_WINDOW;
inline constexpr TColor clWindowText = 0x80000000 + COLOR_WINDOWTEXT;
inline constexpr TColor clBtnFace = 0x80000000 + COLOR_BTNFACE;
inline constexpr TColor clBtnShadow = 0x80000000 + COLOR_BTNSHADOW;
inline constexpr TColor clBtnHighlight = 0x80000000 + COLOR_BTNHIGHLIGHT;
inline constexpr TColor clBtnText = 0x80000000 + COLOR_BTNTEXT;
inline constexpr TColor clHighlight = 0x80000000 + COLOR_HIGHLIGHT;
inline constexpr TColor clHighlightText = 0x80000000 + COLOR_HIGHLIGHTTEXT;
inline constexpr TColor cl3DLight = 0x80000000 + COLOR_3DLIGHT;
inline constexpr TColor cl3DDkShadow = 0x80000000 + COLOR_3DDKSHADOW;
inline constexpr TColor clInfoBk = 0x80000000 + COLOR_INFOBK;
inline constexpr TColor clInfoText = 0x80000000 + COLOR_INFOTEXT;
inline constexpr TColor clGrayText = 0x80000000 + COLOR_GRAYTEXT;

// The RGB value of a colour; system colours are looked up now.
COLORREF ColorToRGB(TColor Color);

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t;

// A logical font; the GDI font is made on first use and again after any change.
class TFont {
public:
  TFont();
  TFont(const TFont& Other);
  TFont& operator=(const TFont& Other);

  const std::string& Name() const { return FName; }
  int Height() const { return FHeight; }
  TFontStyles Style() const { return FStyle; }
  TColor Color() const { return FColor; }
  std::uint8_t Charset() const { return FCharset; }

  void SetName(std::string_view Name);
  void SetHeight(int Height);
  void SetStyle(TFontStyles Style);
  void SetColor(TColor Color);
  void SetCharset(std::uint8_t Charset);
  // Takes every attribute of a LOGFONTA (the colour stays).
  void Assign(const LOGFONTA& Font);

  HFONT Handle() const;
  // Called after every change (the owner repaints or resends WM_SETFONT).
  std::function<void()> OnChange;

  friend bool operator==(const TFont& A, const TFont& B);

private:
  void Changed();

  std::string FName;
  int FHeight;
  TFontStyles FStyle = 0;
  TColor FColor = clWindowText;
  std::uint8_t FCharset = DEFAULT_CHARSET;
  mutable TGdiObject FHandle;
};

// Drawing on a device context with a current font, brush and pen. Restores the device context's
// state when it goes out of scope.
class TCanvas {
public:
  explicit TCanvas(HDC DC);
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;
  ~TCanvas();

  HDC Handle() const { return FDC; }
  TFont Font;
  TColor BrushColor = clBtnFace;
  TColor PenColor = clBlack;

  void FillRect(const RECT& Rect);
  void Rectangle(int Left, int Top, int Right, int Bottom);
  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void TextOut(int X, int Y, std::string_view Text);
  int DrawText(std::string_view Text, RECT& Rect, UINT Format);
  SIZE TextExtent(std::string_view Text);
  int TextWidth(std::string_view Text) { return TextExtent(Text).cx; }
  int TextHeight(std::string_view Text) { return TextExtent(Text).cy; }
  void SetTransparent(bool Transparent);

private:
  void SelectFont();
  void SelectBrush();
  void SelectPen();

  HDC FDC;
  int FSavedState;
  TGdiObject FBrush, FPen;
  TColor FBrushMade = 0, FPenMade = 0;
};

// An off-screen bitmap the size of a target area; Flush copies it to the target in one BitBlt.
class TOffscreen {
public:
  TOffscreen(HDC Target, int Width, int Height);
  TOffscreen(const TOffscreen&) = delete;
  TOffscreen& operator=(const TOffscreen&) = delete;
  ~TOffscreen();
  HDC DC() const { return FDC.Get(); }
  void Flush(int X, int Y);

private:
  HDC FTarget;
  int FWidth, FHeight;
  TMemoryDC FDC;
  TGdiObject FBitmap;
  HGDIOBJ FOldBitmap;
};

} // namespace wyndo
