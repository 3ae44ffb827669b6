#pragma once
// The columns of a list window: which field each column shows for each kind of node, and the
// status panels. No window system here.

#include "core/columns.h"
#include "core/listkinds.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace wyndo {

struct TListColumn {
  // The column's tag: per kind, the record of the field it shows, or nullptr.
  std::array<const TColumnSettings*, ListKindCount> Records{};
  std::uint16_t Width = 0; // 0: the tree's own column width
  std::string Caption;     // the field name of the list's own kind, or empty
};

struct TColumnModel {
  std::vector<TListColumn> Columns;
  std::vector<int> PanelWidths; // one status panel per kind of the list
};

inline constexpr int StatusPanelWidth = 140;

// The columns for a list of OwnKind whose nodes are of Kinds (own kind first): as many columns
// as the kind with the most shown fields has; column i shows each kind's field at position i.
// Kinds are applied last to first, so the own kind's widths win. Records must have normalised
// positions (every loaded list has).
TColumnModel BuildColumnModel(TListKind OwnKind, std::span<const TListKind> Kinds,
                              const std::array<TColumnList, ListKindCount>& Settings);

} // namespace wyndo
