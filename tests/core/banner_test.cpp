#include "core/banner.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace wyndo {
namespace {

TEST(BannerMotionTest, TheTextStartsBelowStepsUpAndWrapsPastTheTop) {
  EXPECT_EQ(BannerStartPosition(178, 5), 183);
  EXPECT_EQ(BannerStep(183, 1), 182);
  EXPECT_EQ(BannerStep(10, 5), 5);
  EXPECT_EQ(BannerStep(-3, 1), -4) << "the position goes on below zero";
  // The bottom of the text must be more than Space above the top edge.
  EXPECT_FALSE(BannerWraps(0, 5));
  EXPECT_FALSE(BannerWraps(-5, 5));
  EXPECT_TRUE(BannerWraps(-6, 5));
  EXPECT_TRUE(BannerWraps(-1, 0));
}

TEST(BannerMotionTest, AShortTextTakesAWholeTripBeforeItStartsAgain) {
  // 16 pixels of text in a 40-pixel banner, moving 1 pixel a tick: from 45 down to -21 (its
  // bottom at -5 still counts as inside), then -22 wraps back to 45.
  const int Height = 40, Space = 5, TextHeight = 16;
  int Position = BannerStartPosition(Height, Space);
  int Ticks = 0;
  int Lowest = Position;
  for (;;) {
    Position = BannerStep(Position, 1);
    ++Ticks;
    if (BannerWraps(Position + TextHeight, Space))
      break;
    Lowest = Position;
  }
  EXPECT_EQ(Lowest, -Space - TextHeight);
  EXPECT_EQ(Ticks, Height + Space + TextHeight + Space + 1);
}

TEST(BannerMotionTest, TheFadeIsNeverHigherThanTheBanner) {
  EXPECT_EQ(BannerFadeHeight(30, 178), 30);
  EXPECT_EQ(BannerFadeHeight(30, 20), 20);
  EXPECT_EQ(BannerFadeHeight(0, 20), 0);
}

// A bitmap of Width x Height pixels, 24 bits, rows padded to four bytes, every pixel Pixel.
struct TBitmap24 {
  int Width, Height;
  std::size_t Stride;
  std::vector<std::uint8_t> Bits;
  TBitmap24(int W, int H, std::uint8_t Blue, std::uint8_t Green, std::uint8_t Red)
      : Width(W), Height(H), Stride((static_cast<std::size_t>(W) * 3 + 3) & ~std::size_t{3}),
        Bits(Stride * static_cast<std::size_t>(H), 0xEE) {
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X)
        SetPixel(X, Y, Blue, Green, Red);
  }
  void SetPixel(int X, int Y, std::uint8_t Blue, std::uint8_t Green, std::uint8_t Red) {
    std::uint8_t* P = &Bits[static_cast<std::size_t>(Y) * Stride + static_cast<std::size_t>(X) * 3];
    P[0] = Blue;
    P[1] = Green;
    P[2] = Red;
  }
  std::uint8_t At(int X, int Y, int Channel) const {
    return Bits[static_cast<std::size_t>(Y) * Stride + static_cast<std::size_t>(X) * 3 +
                static_cast<std::size_t>(Channel)];
  }
  void Fade(std::uint32_t Background, int FadeHeight) {
    FadeRows(Bits, Width, Height, Stride, Background, FadeHeight);
  }
};

TEST(BannerFadeTest, RowsBlendFromTheBackgroundAtTheEdgesToThePictureAtTheFadeDepth) {
  // Text colour 0xE4 on every channel over a background of red 0x11, green 0x20, blue 0x40.
  const std::uint32_t Background = 0x00402011;
  TBitmap24 Bitmap(5, 20, 0xE4, 0xE4, 0xE4);
  Bitmap.Fade(Background, 4);
  const int BackgroundChannel[3] = {0x40, 0x20, 0x11}; // blue, green, red
  for (int Row = 0; Row < 20; ++Row) {
    const int Depth = Row < 10 ? Row : 19 - Row;
    for (int Channel = 0; Channel < 3; ++Channel) {
      const int Expected =
          Depth >= 4 ? 0xE4 : ((4 - Depth) * BackgroundChannel[Channel] + Depth * 0xE4) / 4;
      for (int X = 0; X < 5; ++X)
        ASSERT_EQ(Bitmap.At(X, Row, Channel), Expected)
            << "row " << Row << ", x " << X << ", channel " << Channel;
    }
  }
  // Worked values: depth 1 of blue is (3 * 0x40 + 0xE4) / 4 = 105, of red (3 * 0x11 + 0xE4) / 4
  // = 69 (69.75 truncated).
  EXPECT_EQ(Bitmap.At(0, 1, 0), 105);
  EXPECT_EQ(Bitmap.At(0, 18, 2), 69);
  EXPECT_EQ(Bitmap.Bits[15], 0xEE) << "the padding of a row is not touched";
}

TEST(BannerFadeTest, NothingFadesAtZeroAndOverlappingBandsFadeTwice) {
  TBitmap24 Untouched(3, 4, 200, 100, 50);
  Untouched.Fade(0, 0);
  EXPECT_EQ(Untouched.At(0, 0, 0), 200);
  EXPECT_EQ(Untouched.At(2, 3, 2), 50);

  // A band as high as the banner: each row is faded as row Y and again as row Height - 1 - Y.
  TBitmap24 Full(1, 3, 90, 90, 90);
  Full.Fade(0x00000000, 3);
  // Rows 0 and 2 become the background at depth 0 and stay so at depth 2; row 1, the middle, is
  // faded twice at depth 1: 90 -> 30 -> 10.
  EXPECT_EQ(Full.At(0, 0, 0), 0);
  EXPECT_EQ(Full.At(0, 1, 0), 10);
  EXPECT_EQ(Full.At(0, 2, 0), 0);

  // A band higher than the bitmap (a banner that shrank) fades only the rows that exist.
  TBitmap24 Small(2, 2, 255, 255, 255);
  Small.Fade(0x00000000, 6);
  EXPECT_EQ(Small.At(1, 0, 1), 0);
  EXPECT_EQ(Small.At(1, 1, 1), 0);
}

} // namespace
} // namespace wyndo
