#include "core/caption.h"

#include <cmath>
#include <cstdint>

namespace wyndo {
namespace {

// The rectangles of every visible button, in window coordinates.
std::array<TCaptionRect, CaptionButtonCount>
ButtonRects(const TVisibleButtons& Visible, int WindowWidth, const TCaptionMetrics& Metrics) {
  // Visible kinds in rank order: close first.
  std::array<std::uint8_t, CaptionButtonCount> Ranked{};
  int Count = 0;
  for (int Kind = CaptionClose; Kind >= CaptionHelp; --Kind)
    if (Visible[static_cast<std::size_t>(Kind)])
      Ranked[static_cast<std::size_t>(Count++)] = static_cast<std::uint8_t>(Kind);

  std::array<TCaptionRect, CaptionButtonCount> Rects{};
  TCaptionRect Rect;
  Rect.Right = WindowWidth - Metrics.FrameWidth - 2;
  Rect.Left = Rect.Right - Metrics.ButtonWidth + 2;
  // The frame width on purpose: the caption buttons sit as far below the top as right of the edge.
  Rect.Top = Metrics.FrameWidth + 2;
  Rect.Bottom = Rect.Top + Metrics.ButtonHeight - 4;
  for (int Position = 0; Position < Count; ++Position) {
    if (Position > 0) {
      int Shift = Metrics.ButtonWidth - 2;
      if (Ranked[static_cast<std::size_t>(Position - 1)] == CaptionClose ||
          Ranked[static_cast<std::size_t>(Position)] == CaptionHelp)
        Shift += 2;
      Rect.Left -= Shift;
      Rect.Right -= Shift;
    }
    Rects[Ranked[static_cast<std::size_t>(Position)]] = Rect;
  }
  return Rects;
}

// MulDiv: Number * Numerator / Denominator, rounded half away from zero; -1 for a zero divisor.
int MulDiv(int Number, int Numerator, int Denominator) {
  if (Denominator == 0)
    return -1;
  const double Exact = static_cast<double>(Number) * Numerator / Denominator;
  return static_cast<int>(Exact < 0 ? std::ceil(Exact - 0.5) : std::floor(Exact + 0.5));
}

} // namespace

TCaptionRect CaptionButtonRect(const TVisibleButtons& Visible, std::uint8_t Kind, int WindowWidth,
                               const TCaptionMetrics& Metrics) {
  if (Kind >= CaptionButtonCount)
    return {};
  return ButtonRects(Visible, WindowWidth, Metrics)[Kind];
}

std::uint8_t CaptionButtonAt(const TVisibleButtons& Visible, int X, int Y, int WindowWidth,
                             const TCaptionMetrics& Metrics) {
  const auto Rects = ButtonRects(Visible, WindowWidth, Metrics);
  for (int Kind = CaptionClose; Kind >= CaptionHelp; --Kind) {
    const TCaptionRect& Rect = Rects[static_cast<std::size_t>(Kind)];
    if (!Rect.Empty() && Rect.Contains(X, Y))
      return static_cast<std::uint8_t>(Kind);
  }
  return 255;
}

int CaptionStripLeft(const TVisibleButtons& Visible, std::uint8_t ButtonSet, int WindowWidth,
                     const TCaptionMetrics& Metrics) {
  const auto Rects = ButtonRects(Visible, WindowWidth, Metrics);
  int Left = WindowWidth - Metrics.FrameWidth;
  for (int Kind = CaptionClose; Kind >= CaptionHelp; --Kind) {
    if (!(ButtonSet & (1u << Kind)))
      continue;
    const TCaptionRect& Rect = Rects[static_cast<std::size_t>(Kind)];
    if (Rect.Left < Left)
      Left = Rect.Left - 2;
  }
  return Left;
}

std::uint32_t CaptionGradientColor(std::uint32_t Start, std::uint32_t End, int X, int Width) {
  std::uint32_t Color = 0;
  for (int Shift : {0, 8, 16}) {
    const int From = static_cast<int>((Start >> Shift) & 0xFF);
    const int To = static_cast<int>((End >> Shift) & 0xFF);
    const int Channel = (From + MulDiv(X, To - From, Width)) & 0xFF;
    Color |= static_cast<std::uint32_t>(Channel) << Shift;
  }
  return Color;
}

} // namespace wyndo
