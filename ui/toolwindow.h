#pragma once
// TToolWindow: a container of our own window class with a background colour (Color), alignment
// (Align) and a frame of 3-D edges on any of its four sides.
//
// The frame lies in the window's non-client area: the client area, which the children share and
// which ClientSize reports, is the window less the frame. Each bordered side is as wide as the
// number of edge styles that are not esNone (EdgeInner, EdgeOuter: 0, 1 or 2 pixels).

#include "ui/controls.h"

#include <cstdint>

namespace wyndo {

enum TEdgeBorder : std::uint8_t { ebLeft = 1, ebTop = 2, ebRight = 4, ebBottom = 8 };
using TEdgeBorders = std::uint8_t;
inline constexpr TEdgeBorders ebAll = ebLeft | ebTop | ebRight | ebBottom;

enum class TEdgeStyle : std::uint8_t { esNone, esRaised, esLowered };

class TToolWindow : public TWinControl {
public:
  TToolWindow();

  // The sides that carry the frame; all four by default.
  TEdgeBorders EdgeBorders() const { return FEdgeBorders; }
  void SetEdgeBorders(TEdgeBorders Value);
  // The frame's inner and outer line; raised inside a lowered outer line by default (an etched
  // look).
  TEdgeStyle EdgeInner() const { return FEdgeInner; }
  void SetEdgeInner(TEdgeStyle Value);
  TEdgeStyle EdgeOuter() const { return FEdgeOuter; }
  void SetEdgeOuter(TEdgeStyle Value);

  // The frame's width on each side (left, top, right, bottom).
  RECT EdgeInsets() const;

  TSize2 ClientSize() const override;
  // Sizes the window so that its client area measures Width x Height inside the frame.
  void SetClientSize(int Width, int Height) override;

  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;

private:
  void EdgeChanged();
  void PaintEdges();

  TEdgeBorders FEdgeBorders = ebAll;
  TEdgeStyle FEdgeInner = TEdgeStyle::esRaised;
  TEdgeStyle FEdgeOuter = TEdgeStyle::esLowered;
};

} // namespace wyndo
