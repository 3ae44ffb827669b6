#pragma once
// Row snapshots: one block of memory per list node holding, in column order, an entry per column
// that shows a field for the node's kind: the column settings record and the value. Texts live
// in the same block, so a node's row is exactly one allocation. Sorting, filtering, searching and
// painting read only these blocks.
//
// Entry layout: the record pointer, a type byte (ordinal or text), then for an ordinal its
// ordinal-kind byte and its 1, 2 or 4 value bytes (little-endian), for a text the offset and
// length of its characters in the block.

#include "core/columns.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace wyndo {

// A value to store, read from an information object.
struct TRowEntry {
  const TColumnSettings* Record = nullptr;
  std::uint32_t Ordinal = 0; // ordinals: the value's bits
  std::string Text;          // texts
};

// A value found in a snapshot.
struct TRowValue {
  const TColumnSettings* Record = nullptr;
  bool IsText = false;
  std::uint8_t OrdKind = 0;  // ordinals
  std::uint32_t Ordinal = 0; // ordinals: widened without sign extension
  std::string_view Text;     // texts: valid while the snapshot lives
};

// The offset of the key value's entry in a snapshot plus one; 0 when the key is not shown.
using TRowKey = std::uint32_t;

// Makes a snapshot of exactly the needed size. KeyEntry is the index of the entry holding the
// node's key value, or -1; its position is returned as the row's key.
std::uint8_t* MakeRowSnapshot(std::span<const TRowEntry> Entries, std::ptrdiff_t KeyEntry,
                              TRowKey& Key);
void FreeRowSnapshot(std::uint8_t* Row);
// The size of a snapshot's block, for the benchmarks.
std::size_t RowSnapshotSize(const std::uint8_t* Row);

// Looks at most ColumnCount entries for the entry of Record (by identity).
bool FindRowValue(const std::uint8_t* Row, const TColumnSettings* Record, std::size_t ColumnCount,
                  TRowValue& Value);
// The value at a row's key: the 32 bits after the ordinal-kind byte (a window handle, a process
// or thread identifier).
std::uint32_t RowKeyValue(const std::uint8_t* Row, TRowKey Key);
// The cell text of a value through its record's formatter; empty without one.
std::string FormatRowValue(const TRowValue& Value);

} // namespace wyndo
