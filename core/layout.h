#pragma once
// Placing controls when their parent's client area changes size: anchors and alignment.
// Pure functions, so the rules are tested without windows.

#include <cstdint>
#include <span>
#include <vector>

namespace wyndo {

struct TBounds {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TBounds&, const TBounds&) = default;
};

struct TSize2 {
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TSize2&, const TSize2&) = default;
};

enum TAnchorKind : std::uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = std::uint8_t;
inline constexpr TAnchors akTopLeft = akLeft | akTop;
inline constexpr TAnchors akAll = akLeft | akTop | akRight | akBottom;

enum class TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Where a control placed at Design inside a parent whose client area measured DesignParent goes
// when that area measures Parent: an edge anchored on one side keeps its distance to that side;
// anchored on both sides the control stretches; anchored on neither it keeps its relative centre.
TBounds AnchorBounds(const TBounds& Design, TSize2 DesignParent, TSize2 Parent, TAnchors Anchors);

struct TAlignItem {
  TAlign Align = TAlign::alNone;
  TBounds Bounds;
  bool Visible = true;
};

// Lays out the aligned, visible items inside Client (in place): top items stack downwards from the
// top in their order, then bottom items upwards from the bottom, then left and right items in the
// remaining height, and client items fill what is left. Sizes across the stacking direction are
// kept (a top item keeps its height, a left item its width). Items with alNone are untouched.
void AlignItems(TBounds Client, std::span<TAlignItem> Items);

// Cascading windows of the given sizes inside Area: each one Step further right and down than the
// one before, starting again at the top-left corner when the next would leave the area; a window
// larger than the area is cut to it.
std::vector<TBounds> CascadeBounds(TBounds Area, std::span<const TSize2> Sizes, int Step);

// A window of Size centred over Over (halves rounded towards zero), then moved as little as needed
// to lie wholly inside Area; one larger than Area keeps its top-left corner inside it, so its
// caption stays within reach.
TBounds CentredOver(TBounds Over, TSize2 Size, TBounds Area);

// Tiling Count windows over Area without gaps. SideBySide: up to three windows stand in one row
// as columns; more make a grid of ceil(sqrt(Count)) columns, the later columns taking one window
// more when they do not share evenly. Otherwise the same with rows and columns exchanged.
std::vector<TBounds> TileBounds(TBounds Area, int Count, bool SideBySide);

} // namespace wyndo
