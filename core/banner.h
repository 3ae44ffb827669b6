#pragma once
// The arithmetic of the scrolling banner: where its text starts, how it steps and wraps, and how
// its top and bottom rows fade into the background colour. The banner control (controls/) draws
// with it.

#include <cstddef>
#include <cstdint>
#include <span>

namespace wyndo {

// Where the top of the text starts: Space pixels below the bottom edge.
constexpr int BannerStartPosition(int Height, int Space) {
  return Height + Space;
}

// One timer tick moves the text up by Gap pixels.
constexpr int BannerStep(int Position, int Gap) {
  return Position - Gap;
}

// The text starts again from below once its bottom has left the top edge by more than Space.
constexpr bool BannerWraps(int TextBottom, int Space) {
  return TextBottom < -Space;
}

// The fading bands are never higher than the banner.
constexpr int BannerFadeHeight(int Value, int Height) {
  return Value < Height ? Value : Height;
}

// One channel at depth Y of a fading band: the background B at the edge (Y = 0), the pixel P
// from depth FadeHeight on. Integer division truncates.
constexpr std::uint8_t FadeChannel(int B, int P, int Y, int FadeHeight) {
  return static_cast<std::uint8_t>(((FadeHeight - Y) * B + Y * P) / FadeHeight);
}

// Fades the top and bottom FadeHeight rows of a 24-bit bitmap (rows of Stride bytes, pixels
// stored blue, green, red) into Background (0x00BBGGRR). For each depth Y from 0, row Y and then
// row Height - 1 - Y are faded, so where the bands overlap a row is faded twice. Rows outside the
// bitmap (a FadeHeight larger than a banner that has shrunk since) are left out.
void FadeRows(std::span<std::uint8_t> Bits, int Width, int Height, std::size_t Stride,
              std::uint32_t Background, int FadeHeight);

} // namespace wyndo
