#include "core/caption.h"

#include <gtest/gtest.h>

namespace wyndo {
namespace {

constexpr TCaptionMetrics Metrics{4, 4, 18, 18, 18};
constexpr int Width = 300;

TEST(CaptionGeometryTest, CloseStandsAloneMinimiseAndMaximiseTouchHelpKeepsAGap) {
  const TVisibleButtons All{true, true, true, true};
  EXPECT_EQ(CaptionButtonRect(All, 3, Width, Metrics), (TCaptionRect{278, 6, 294, 20}));
  EXPECT_EQ(CaptionButtonRect(All, 2, Width, Metrics), (TCaptionRect{260, 6, 276, 20}));
  EXPECT_EQ(CaptionButtonRect(All, 1, Width, Metrics), (TCaptionRect{244, 6, 260, 20}));
  EXPECT_EQ(CaptionButtonRect(All, 0, Width, Metrics), (TCaptionRect{226, 6, 242, 20}));

  // A dialog: help directly left of close, 2 pixels apart.
  const TVisibleButtons Dialog{true, false, false, true};
  EXPECT_EQ(CaptionButtonRect(Dialog, 0, Width, Metrics), (TCaptionRect{260, 6, 276, 20}));
  EXPECT_TRUE(CaptionButtonRect(Dialog, 1, Width, Metrics).Empty());
  EXPECT_TRUE(CaptionButtonRect(Dialog, 2, Width, Metrics).Empty());

  // Without close, the next button takes its place at the right edge.
  const TVisibleButtons NoClose{true, true, true, false};
  EXPECT_EQ(CaptionButtonRect(NoClose, 2, Width, Metrics), (TCaptionRect{278, 6, 294, 20}));
  EXPECT_EQ(CaptionButtonRect(NoClose, 1, Width, Metrics), (TCaptionRect{262, 6, 278, 20}));
}

TEST(CaptionGeometryTest, HitTestingFindsTheButtonUnderThePointOnly) {
  const TVisibleButtons Dialog{true, false, false, true};
  EXPECT_EQ(CaptionButtonAt(Dialog, 278, 6, Width, Metrics), 3);
  EXPECT_EQ(CaptionButtonAt(Dialog, 293, 19, Width, Metrics), 3);
  EXPECT_EQ(CaptionButtonAt(Dialog, 294, 10, Width, Metrics), 255) << "right edge is outside";
  EXPECT_EQ(CaptionButtonAt(Dialog, 277, 10, Width, Metrics), 255) << "the gap";
  EXPECT_EQ(CaptionButtonAt(Dialog, 265, 10, Width, Metrics), 0);
  EXPECT_EQ(CaptionButtonAt(Dialog, 265, 20, Width, Metrics), 255);
  EXPECT_EQ(CaptionButtonAt(Dialog, 0, 0, Width, Metrics), 255) << "empty rectangles never hit";
}

TEST(CaptionGeometryTest, TheStripReachesTwoPixelsLeftOfTheLeftmostButtonOfTheSet) {
  const TVisibleButtons All{true, true, true, true};
  EXPECT_EQ(CaptionStripLeft(All, 0x0F, Width, Metrics), 224);
  EXPECT_EQ(CaptionStripLeft(All, 0x08, Width, Metrics), 276);
  EXPECT_EQ(CaptionStripLeft(All, 0x00, Width, Metrics), 296) << "no button: the frame's edge";
  // A button of the set that is hidden counts with left 0: the strip covers the whole caption.
  const TVisibleButtons HelpHidden{false, true, true, true};
  EXPECT_EQ(CaptionStripLeft(HelpHidden, 0x0F, Width, Metrics), -2);
}

TEST(CaptionGradientTest, ColumnsRunFromStartToEndPerChannelRounded) {
  EXPECT_EQ(CaptionGradientColor(0x000000, 0x00FAFA, 0, 100), 0x000000u);
  EXPECT_EQ(CaptionGradientColor(0x000000, 0x00FAFA, 100, 100), 0x00FAFAu);
  // 250 * 1 / 3 = 83.33 -> 83; 250 * 2 / 3 = 166.67 -> 167.
  EXPECT_EQ(CaptionGradientColor(0x000000, 0x00FAFA, 1, 3), 0x005353u);
  EXPECT_EQ(CaptionGradientColor(0x000000, 0x00FAFA, 2, 3), 0x00A7A7u);
  // Falling channels: 200 + round(50 * -200 / 100) = 100.
  EXPECT_EQ(CaptionGradientColor(0xC800C8, 0x000000, 50, 100), 0x640064u);
}

} // namespace
} // namespace wyndo
