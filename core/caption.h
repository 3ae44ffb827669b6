#pragma once
// Geometry and colours of a styled form's own caption: where its caption buttons stand, the strip
// they occupy and the colour of each column of the caption gradient. Window coordinates have
// their origin at the top-left corner of the window rectangle.

#include <array>
#include <cstdint>

namespace wyndo {

struct TCaptionRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  bool Empty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(int X, int Y) const { return X >= Left && X < Right && Y >= Top && Y < Bottom; }
  friend bool operator==(const TCaptionRect&, const TCaptionRect&) = default;
};

// The system measures a caption is drawn with.
struct TCaptionMetrics {
  int FrameWidth = 0;    // SM_CXFRAME
  int FrameHeight = 0;   // SM_CYFRAME
  int CaptionHeight = 0; // SM_CYCAPTION - 1
  int ButtonWidth = 0;   // the non-client metrics' iCaptionWidth
  int ButtonHeight = 0;  // the non-client metrics' iCaptionHeight
};

// Button kinds by ordinal: help 0, minimise 1, maximise 2, close 3.
inline constexpr std::uint8_t CaptionButtonCount = 4;
inline constexpr std::uint8_t CaptionHelp = 0;
inline constexpr std::uint8_t CaptionClose = 3;

// Visible[k]: button k is drawn (it is in the form's set, and not a hidden disabled button).
using TVisibleButtons = std::array<bool, CaptionButtonCount>;

// The rectangle of button Kind in a window WindowWidth wide; empty for a button not visible.
// Buttons stand from the right, close first: close alone, maximise and minimise touching, help
// 2 pixels apart from its right neighbour.
TCaptionRect CaptionButtonRect(const TVisibleButtons& Visible, std::uint8_t Kind, int WindowWidth,
                               const TCaptionMetrics& Metrics);

// The button under a point in window coordinates, testing close down to help; 255 for none.
std::uint8_t CaptionButtonAt(const TVisibleButtons& Visible, int X, int Y, int WindowWidth,
                             const TCaptionMetrics& Metrics);

// The left edge of the strip to repaint when buttons change: 2 pixels left of the leftmost
// button of the set (a set button that is hidden counts with left 0), or the inner right edge
// of the frame when the set is empty.
int CaptionStripLeft(const TVisibleButtons& Visible, std::uint8_t ButtonSet, int WindowWidth,
                     const TCaptionMetrics& Metrics);

// The colour (0x00BBGGRR) of column X of a gradient Width columns wide from Start to End.
std::uint32_t CaptionGradientColor(std::uint32_t Start, std::uint32_t End, int X, int Width);

} // namespace wyndo
