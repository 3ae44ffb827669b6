#pragma once
// Column settings: one record per property and list kind saying whether and where the property is
// a column of that kind's lists. Stored in the registry as exactly 275 packed little-endian bytes:
//
//   offset size field         offset size field
//   0      4    Accessor      11     256  FieldName (length byte, then the characters, zeros)
//   4      1    AccessorKind  267    1    Shown
//   5      4    ValueSize     268    1    Position (255: none)
//   9      1    TypeKind      269    2    Width
//   10     1    OrdKind       271    4    Formatter
//
// Accessor and Formatter only mean something inside the running program: they are stored as 0
// and rebuilt from the property on every load.

#include "core/listkinds.h"
#include "core/properties.h"
#include "core/rowvalue.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wyndo {

inline constexpr std::size_t ColumnRecordSize = 275;
inline constexpr std::uint8_t NoPosition = 255;
inline constexpr std::uint16_t DefaultColumnWidth = 150;
using TStoredRecord = std::array<std::uint8_t, ColumnRecordSize>;

struct TColumnSettings {
  const TPropertyDesc* Property = nullptr; // the accessor: the property this record reads
  std::uint8_t AccessorKind = 0;
  std::uint32_t ValueSize = 0;
  std::uint8_t TypeKind = 0;
  std::uint8_t OrdKind = 0;
  std::string FieldName;                    // at most 255 characters
  std::uint8_t Shown = 0;                   // 1: shown as a column
  std::uint8_t Position = NoPosition;       // 0-based column index of a shown field
  std::uint16_t Width = DefaultColumnWidth; // pixels; 0 keeps the column's own width
  TValueFormatter Formatter = nullptr;

  friend bool operator==(const TColumnSettings&, const TColumnSettings&) = default;
};

using TColumnList = std::vector<TColumnSettings>;

// The stored bytes of a record (Accessor and Formatter as 0; a longer name is cut at 255).
TStoredRecord StoreColumnRecord(const TColumnSettings& Record);
// A record from stored bytes: a shorter value fills the first bytes, the rest is zero; data
// beyond 275 bytes is ignored. Property and Formatter stay unset.
TColumnSettings ReadColumnRecord(std::span<const std::uint8_t> Data);
// Sets what a record's property decides: Property, AccessorKind, TypeKind, OrdKind, ValueSize,
// Formatter and FieldName.
void BindToProperty(TColumnSettings& Record, const TPropertyDesc& Property);
// The record of a property on first start: shown at its default position for the default
// columns of Kind (windows: Handle, WindowText, ClassName; processes and threads: the
// identifier, ModuleName, ModulePath; modules: ModuleName, ModulePath), else not shown.
TColumnSettings DefaultColumnRecord(TListKind Kind, const TPropertyDesc& Property);
// Every property of Kind with its default record, in declaration order.
TColumnList DefaultColumnList(TListKind Kind);

// Makes the shown records' positions distinct 0 .. n-1 (n = number of shown records) while
// keeping their stored order: Shown becomes 0 or 1; shown records are numbered in the order of
// their stored positions, list order settling ties (so out-of-range positions come last);
// records not shown get 255.
void NormalisePositions(TColumnList& List);

// The columns of a kind's shown records, given in list order, as the Properties dialog previews
// them: entry i is the record shown in column i. A record keeps its column when its position is
// below the number of records and no earlier record took that column; every other record is
// given 255 and then, in list order, the first column still free. Afterwards the records hold
// the positions 0 .. n-1.
std::vector<TColumnSettings*> PlaceShownColumns(std::span<TColumnSettings* const> Shown);

// A registry value as read: its name, its type (the REG_* number) and its data.
inline constexpr std::uint32_t RegSzType = 1;
inline constexpr std::uint32_t RegBinaryType = 3;
inline constexpr std::uint32_t RegDwordType = 4;
struct TStoredValue {
  std::string Name;
  std::uint32_t Type = 0;
  std::vector<std::uint8_t> Data;
};
// A kind's stored values in the registry's enumeration order, or nothing when its key could not
// be read.
using TStoredKind = std::optional<std::vector<TStoredValue>>;

// The four record lists from what the registry holds. With Defaults every kind takes its
// defaults. Otherwise each kind, in the order windows, processes, threads, modules: when its key
// could not be read or one of its values is not binary or longer than 275 bytes, that kind and
// every later one take their defaults; else each property takes its stored record (found by exact
// name, rebound to the property) or its default, stored records first in their stored order,
// then new properties in declaration order. Records naming no property are dropped. Every list
// ends with exactly one record per property and normalised positions.
std::array<TColumnList, ListKindCount>
BuildColumnSettings(const std::array<TStoredKind, ListKindCount>& Stored, bool Defaults);

} // namespace wyndo
