#include "core/banner.h"

namespace wyndo {

void FadeRows(std::span<std::uint8_t> Bits, int Width, int Height, std::size_t Stride,
              std::uint32_t Background, int FadeHeight) {
  // The bitmap stores blue, green, red; the colour value holds red in its low byte.
  const int Channel[3] = {static_cast<int>((Background >> 16) & 0xFF),
                          static_cast<int>((Background >> 8) & 0xFF),
                          static_cast<int>(Background & 0xFF)};
  const auto FadeRow = [&](int Row, int Y) {
    if (Row < 0 || Row >= Height)
      return;
    std::uint8_t* Pixel = Bits.data() + static_cast<std::size_t>(Row) * Stride;
    for (int X = 0; X < Width; ++X, Pixel += 3)
      for (int C = 0; C < 3; ++C)
        Pixel[C] = FadeChannel(Channel[C], Pixel[C], Y, FadeHeight);
  };
  if (Width <= 0 || Bits.size() < static_cast<std::size_t>(Height > 0 ? Height : 0) * Stride)
    return;
  for (int Y = 0; Y < FadeHeight; ++Y) {
    FadeRow(Y, Y);
    FadeRow(Height - 1 - Y, Y);
  }
}

} // namespace wyndo
