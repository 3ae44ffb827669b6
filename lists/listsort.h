#pragma once
// How list windows order nodes by a column: a sort key per node, taken once from its row
// snapshot, and the comparison of two keys. The comparison has the reversed sign that the
// tree's placement rule expects: with direction descending the smallest number (or the text
// first in the alphabet) comes first, with ascending the largest.

#include "lists/columnmodel.h"
#include "lists/listnode.h"

#include <cstdint>
#include <string_view>

namespace wyndo {

struct TListSortKey {
  TListKind Kind = lkWindow;
  enum : std::uint8_t { skNone, skNumber, skText } Type = skNone;
  std::int32_t Number = 0; // ordinals, widened by their ordinal kind (32-bit ones as signed)
  std::string_view Text;   // valid while the node's row snapshot lives
};

// The key of a node for Column: nothing when the column shows no field for the node's kind, the
// node has no row snapshot, or the snapshot holds no entry for the field.
TListSortKey ListSortKey(const TListNodeData& Node, const TListColumn& Column,
                         std::size_t ColumnCount);
// 0 for nodes of different kinds, keys without a value or of different types; texts by
// CompareTexts, numbers by CompareNumbers.
int CompareListSortKeys(const TListSortKey& A, const TListSortKey& B);

} // namespace wyndo
