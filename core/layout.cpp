#include "core/layout.h"

#include <algorithm>

namespace wyndo {

namespace {

// One axis of AnchorBounds: Pos/Size of the control, Design/Now the parent's extent.
void AnchorAxis(int& Pos, int& Size, int DesignExtent, int Extent, bool Near, bool Far) {
  const int FarDistance = DesignExtent - (Pos + Size);
  if (Near && Far) {
    Size = std::max(0, Extent - Pos - FarDistance);
  } else if (Far) {
    Pos = Extent - FarDistance - Size;
  } else if (!Near && DesignExtent > 0) {
    // Neither side: keep the centre at the same fraction of the parent.
    const long long Centre2 = 2LL * Pos + Size; // twice the centre, to stay in integers
    Pos = static_cast<int>((Centre2 * Extent / DesignExtent - Size) / 2);
  }
}

} // namespace

TBounds AnchorBounds(const TBounds& Design, TSize2 DesignParent, TSize2 Parent, TAnchors Anchors) {
  TBounds Result = Design;
  AnchorAxis(Result.Left, Result.Width, DesignParent.Width, Parent.Width, Anchors & akLeft,
             Anchors & akRight);
  AnchorAxis(Result.Top, Result.Height, DesignParent.Height, Parent.Height, Anchors & akTop,
             Anchors & akBottom);
  return Result;
}

void AlignItems(TBounds Client, std::span<TAlignItem> Items) {
  int Left = Client.Left;
  int Top = Client.Top;
  int Right = Client.Left + Client.Width;
  int Bottom = Client.Top + Client.Height;
  auto Place = [&](TAlign Kind) {
    for (TAlignItem& Item : Items) {
      if (!Item.Visible || Item.Align != Kind)
        continue;
      TBounds& B = Item.Bounds;
      const int Width = std::max(0, Right - Left);
      const int Height = std::max(0, Bottom - Top);
      switch (Kind) {
      case TAlign::alTop:
        B = {Left, Top, Width, B.Height};
        Top += B.Height;
        break;
      case TAlign::alBottom:
        B = {Left, Bottom - B.Height, Width, B.Height};
        Bottom -= B.Height;
        break;
      case TAlign::alLeft:
        B = {Left, Top, B.Width, Height};
        Left += B.Width;
        break;
      case TAlign::alRight:
        B = {Right - B.Width, Top, B.Width, Height};
        Right -= B.Width;
        break;
      case TAlign::alClient:
        B = {Left, Top, Width, Height};
        break;
      case TAlign::alNone:
        break;
      }
    }
  };
  for (TAlign Kind :
       {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient})
    Place(Kind);
}

std::vector<TBounds> CascadeBounds(TBounds Area, std::span<const TSize2> Sizes, int Step) {
  std::vector<TBounds> Result;
  Result.reserve(Sizes.size());
  int Offset = 0;
  for (const TSize2& Size : Sizes) {
    const int Width = std::min(Size.Width, Area.Width);
    const int Height = std::min(Size.Height, Area.Height);
    if (Offset > 0 && (Offset + Height > Area.Height || Offset + Width > Area.Width))
      Offset = 0;
    Result.push_back({Area.Left + Offset, Area.Top + Offset, Width, Height});
    Offset += std::max(Step, 1);
  }
  return Result;
}

TBounds CentredOver(TBounds Over, TSize2 Size, TBounds Area) {
  auto Place = [](int Start, int Length, int Inside, int InsideLength) {
    Start = std::min(Start, Inside + InsideLength - Length);
    return std::max(Start, Inside);
  };
  return {Place(Over.Left + (Over.Width - Size.Width) / 2, Size.Width, Area.Left, Area.Width),
          Place(Over.Top + (Over.Height - Size.Height) / 2, Size.Height, Area.Top, Area.Height),
          Size.Width, Size.Height};
}

std::vector<TBounds> TileBounds(TBounds Area, int Count, bool SideBySide) {
  std::vector<TBounds> Result;
  if (Count <= 0)
    return Result;
  Result.reserve(static_cast<std::size_t>(Count));
  int Lines = Count <= 3 ? Count : 1;
  while (Count > 3 && Lines * Lines < Count)
    ++Lines;
  // Lines are columns side by side, or rows one above the other.
  const int Across = SideBySide ? Area.Width : Area.Height;
  const int Along = SideBySide ? Area.Height : Area.Width;
  for (int Line = 0; Line < Lines; ++Line) {
    // The later lines take the windows that do not share evenly.
    const int InLine = Count / Lines + (Line >= Lines - Count % Lines ? 1 : 0);
    const int From = Across * Line / Lines;
    const int To = Across * (Line + 1) / Lines;
    for (int Index = 0; Index < InLine; ++Index) {
      const int Start = Along * Index / InLine;
      const int End = Along * (Index + 1) / InLine;
      if (SideBySide)
        Result.push_back({Area.Left + From, Area.Top + Start, To - From, End - Start});
      else
        Result.push_back({Area.Left + Start, Area.Top + From, End - Start, To - From});
    }
  }
  return Result;
}

} // namespace wyndo
