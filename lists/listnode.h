#pragma once
// The per-node record of list trees.

#include "core/listkinds.h"
#include "core/rowsnapshot.h"

#include <cstdint>

namespace wyndo {

struct TListNodeData {
  TListKind Kind;
  TRowKey Key;       // where the key value is in Row; 0 when the key field is not shown
  std::uint8_t* Row; // the row snapshot, owned: released when the tree frees the node
};

} // namespace wyndo
