#include "core/layout.h"

#include <gtest/gtest.h>
#include <vector>

namespace wyndo {
namespace {

TEST(AnchorLayoutTest, EachAnchorKeepsItsDistance) {
  // A 40 x 20 control 20 from the left and 10 from the top of a 200 x 100 parent, so 140 from
  // its right edge and 70 from its bottom; the parent doubles in size.
  const TBounds Design{20, 10, 40, 20};
  struct {
    const char* Description;
    TAnchors Anchors;
    TBounds Expected;
  } const Cases[] = {
      {"left and top", akTopLeft, {20, 10, 40, 20}},
      {"right", akTop | akRight, {220, 10, 40, 20}},
      {"left and right stretch", akTop | akLeft | akRight, {20, 10, 240, 20}},
      {"bottom", akLeft | akBottom, {20, 110, 40, 20}},
      {"all sides", akAll, {20, 10, 240, 120}},
      {"none keeps the relative centre", 0, {60, 30, 40, 20}},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Description);
    EXPECT_EQ(AnchorBounds(Design, {200, 100}, {400, 200}, Case.Anchors), Case.Expected);
  }
}

TEST(AnchorLayoutTest, AStretchedControlShrinksNoFurtherThanZero) {
  EXPECT_EQ(AnchorBounds({20, 10, 40, 20}, {200, 100}, {100, 50}, akAll), (TBounds{20, 10, 0, 0}));
}

TEST(AlignLayoutTest, StacksEdgesThenFillsTheRest) {
  std::vector<TAlignItem> Items = {
      {TAlign::alBottom, {0, 0, 1, 20}},     {TAlign::alLeft, {0, 0, 15, 1}},
      {TAlign::alTop, {0, 0, 1, 10}},        {TAlign::alClient, {}},
      {TAlign::alRight, {0, 0, 25, 1}},      {TAlign::alTop, {0, 0, 1, 5}},
      {TAlign::alTop, {1, 2, 3, 30}, false}, // invisible: takes no room and stays
      {TAlign::alNone, {1, 2, 3, 4}},
  };
  AlignItems({5, 5, 100, 80}, Items);
  const std::vector<TBounds> Expected = {
      {5, 65, 100, 20}, // bottom
      {5, 20, 15, 45},  // left, between the top and bottom items
      {5, 5, 100, 10},  // first top
      {20, 20, 60, 45}, // client
      {80, 20, 25, 45}, // right
      {5, 15, 100, 5},  // second top, below the first
      {1, 2, 3, 30},    {1, 2, 3, 4},
  };
  ASSERT_EQ(Items.size(), Expected.size());
  for (std::size_t I = 0; I < Items.size(); ++I) {
    EXPECT_EQ(Items[I].Bounds, Expected[I]) << "item " << I;
  }
}

} // namespace
} // namespace wyndo
