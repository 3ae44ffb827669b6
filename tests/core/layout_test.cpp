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

TEST(ArrangeLayoutTest, CascadedWindowsStepDownAndStartAgainAtTheCorner) {
  const std::vector<TSize2> Sizes = {{50, 40}, {50, 40}, {50, 40}, {300, 300}};
  const std::vector<TBounds> Bounds = CascadeBounds({10, 20, 100, 80}, Sizes, 25);
  const std::vector<TBounds> Expected = {
      {10, 20, 50, 40},
      {35, 45, 50, 40},
      {10, 20, 50, 40},  // 50 + 40 would leave the area
      {10, 20, 100, 80}, // cut to the area, which it fills from the corner
  };
  EXPECT_EQ(Bounds, Expected);
}

TEST(ArrangeLayoutTest, ADialogCentredOverAWindowStaysInsideTheWorkArea) {
  const TBounds Work{0, 0, 1280, 1004};
  struct {
    TBounds Over;
    TSize2 Size;
    TBounds Expected;
  } const Cases[] = {
      {{100, 100, 567, 219}, {300, 101}, {233, 159, 300, 101}},  // room: centred exactly
      {{0, 0, 567, 219}, {400, 300}, {83, 0, 400, 300}},         // above the top edge
      {{-200, 900, 300, 200}, {400, 300}, {0, 704, 400, 300}},   // past the left and bottom edges
      {{1100, 500, 300, 200}, {400, 300}, {880, 450, 400, 300}}, // past the right edge
      {{0, 0, 100, 100}, {1500, 1100}, {0, 0, 1500, 1100}},      // larger: the corner inside
  };
  for (const auto& Case : Cases)
    EXPECT_EQ(CentredOver(Case.Over, Case.Size, Work), Case.Expected);
  EXPECT_EQ(CentredOver({0, 0, 10, 10}, {4, 4}, {500, 300, 800, 600}).Left, 500)
      << "a work area away from the origin (a second monitor)";
}

TEST(ArrangeLayoutTest, TiledWindowsCoverTheAreaWithoutGapsOrOverlaps) {
  const TBounds Area{0, 0, 301, 200};
  EXPECT_EQ(TileBounds(Area, 2, true),
            (std::vector<TBounds>{{0, 0, 150, 200}, {150, 0, 151, 200}}));
  EXPECT_EQ(TileBounds(Area, 2, false),
            (std::vector<TBounds>{{0, 0, 301, 100}, {0, 100, 301, 100}}));
  EXPECT_TRUE(TileBounds(Area, 0, true).empty());
  for (int Count = 1; Count <= 11; ++Count)
    for (bool SideBySide : {true, false}) {
      const std::vector<TBounds> Tiles = TileBounds(Area, Count, SideBySide);
      ASSERT_EQ(static_cast<int>(Tiles.size()), Count);
      long Covered = 0;
      for (std::size_t A = 0; A < Tiles.size(); ++A) {
        Covered += static_cast<long>(Tiles[A].Width) * Tiles[A].Height;
        for (std::size_t B = A + 1; B < Tiles.size(); ++B) {
          const bool Apart = Tiles[A].Left + Tiles[A].Width <= Tiles[B].Left ||
                             Tiles[B].Left + Tiles[B].Width <= Tiles[A].Left ||
                             Tiles[A].Top + Tiles[A].Height <= Tiles[B].Top ||
                             Tiles[B].Top + Tiles[B].Height <= Tiles[A].Top;
          EXPECT_TRUE(Apart) << Count << " windows: " << A << " and " << B << " overlap";
        }
      }
      EXPECT_EQ(Covered, 301L * 200) << Count << " windows";
    }
  // Five side by side: three columns, the later ones taking the extra window.
  const std::vector<TBounds> Five = TileBounds(Area, 5, true);
  EXPECT_EQ(Five[0], (TBounds{0, 0, 100, 200}));
  EXPECT_EQ(Five[1].Left, 100);
  EXPECT_EQ(Five[1].Height, 100);
}

} // namespace
} // namespace wyndo
