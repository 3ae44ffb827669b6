#include "core/rowsnapshot.h"

#include <cstring>
#include <stdexcept>

namespace wyndo {

namespace {

enum TEntryType : std::uint8_t { etOrdinal = 1, etText = 2 };

// Bytes of an ordinal's value by ordinal kind (unknown kinds keep one byte).
std::size_t OrdinalBytes(std::uint8_t OrdKind) {
  switch (OrdKind) {
  case otSWord:
  case otUWord:
    return 2;
  case otSLong:
  case otULong:
    return 4;
  default:
    return 1;
  }
}

bool IsOrdinal(const TColumnSettings& Record) {
  return Record.TypeKind == tkInteger || Record.TypeKind == tkEnumeration;
}

template <class T>
void Put(std::uint8_t*& At, T Value) {
  std::memcpy(At, &Value, sizeof(T));
  At += sizeof(T);
}

template <class T>
T Get(const std::uint8_t*& At) {
  T Value;
  std::memcpy(&Value, At, sizeof(T));
  At += sizeof(T);
  return Value;
}

constexpr std::size_t HeaderSize = sizeof(std::uint32_t); // the block's size

std::size_t EntrySize(const TRowEntry& Entry) {
  const std::size_t Base = sizeof(const TColumnSettings*) + 1;
  if (IsOrdinal(*Entry.Record))
    return Base + 1 + OrdinalBytes(Entry.Record->OrdKind);
  return Base + 2 * sizeof(std::uint32_t);
}

} // namespace

std::uint8_t* MakeRowSnapshot(std::span<const TRowEntry> Entries, std::ptrdiff_t KeyEntry,
                              TRowKey& Key) {
  std::size_t Size = HeaderSize;
  for (const TRowEntry& Entry : Entries)
    Size += EntrySize(Entry) + (IsOrdinal(*Entry.Record) ? 0 : Entry.Text.size());
  if (Size > UINT32_MAX)
    throw std::length_error("A row snapshot beyond 4 GiB");
  auto* Row = new std::uint8_t[Size];
  std::uint8_t* At = Row;
  Put(At, static_cast<std::uint32_t>(Size));
  std::size_t TextAt = HeaderSize;
  for (const TRowEntry& Entry : Entries)
    TextAt += EntrySize(Entry);
  Key = 0;
  for (std::size_t Index = 0; Index < Entries.size(); ++Index) {
    const TRowEntry& Entry = Entries[Index];
    Put(At, Entry.Record);
    if (IsOrdinal(*Entry.Record)) {
      Put(At, static_cast<std::uint8_t>(etOrdinal));
      if (static_cast<std::ptrdiff_t>(Index) == KeyEntry)
        Key = static_cast<TRowKey>(At - Row) + 1;
      Put(At, Entry.Record->OrdKind);
      const std::size_t Bytes = OrdinalBytes(Entry.Record->OrdKind);
      std::memcpy(At, &Entry.Ordinal, Bytes); // little-endian: the low bytes
      At += Bytes;
    } else {
      Put(At, static_cast<std::uint8_t>(etText));
      Put(At, static_cast<std::uint32_t>(TextAt));
      Put(At, static_cast<std::uint32_t>(Entry.Text.size()));
      std::memcpy(Row + TextAt, Entry.Text.data(), Entry.Text.size());
      TextAt += Entry.Text.size();
    }
  }
  return Row;
}

void FreeRowSnapshot(std::uint8_t* Row) {
  delete[] Row;
}

std::size_t RowSnapshotSize(const std::uint8_t* Row) {
  const std::uint8_t* At = Row;
  return Row ? Get<std::uint32_t>(At) : 0;
}

bool FindRowValue(const std::uint8_t* Row, const TColumnSettings* Record, std::size_t ColumnCount,
                  TRowValue& Value) {
  if (!Row)
    return false;
  const std::uint8_t* At = Row;
  const std::uint8_t* End = Row + Get<std::uint32_t>(At);
  for (std::size_t Column = 0; Column < ColumnCount && At < End; ++Column) {
    const auto* Found = Get<const TColumnSettings*>(At);
    const auto Type = Get<std::uint8_t>(At);
    if (Type == etOrdinal) {
      const auto OrdKind = Get<std::uint8_t>(At);
      const std::size_t Bytes = OrdinalBytes(OrdKind);
      if (Found == Record) {
        Value = {Found, false, OrdKind, 0, {}};
        std::memcpy(&Value.Ordinal, At, Bytes);
        return true;
      }
      At += Bytes;
    } else {
      const auto Offset = Get<std::uint32_t>(At);
      const auto Length = Get<std::uint32_t>(At);
      if (Found == Record) {
        Value = {Found, true, 0, 0,
                 std::string_view(reinterpret_cast<const char*>(Row + Offset), Length)};
        return true;
      }
    }
  }
  return false;
}

std::uint32_t RowKeyValue(const std::uint8_t* Row, TRowKey Key) {
  if (!Row || Key == 0)
    return 0;
  std::uint32_t Value = 0;
  std::memcpy(&Value, Row + Key, OrdinalBytes(Row[Key - 1]));
  return Value;
}

std::string FormatRowValue(const TRowValue& Value) {
  if (!Value.Record || !Value.Record->Formatter)
    return {};
  return Value.Record->Formatter(TCellValue{Value.Ordinal, Value.Text});
}

} // namespace wyndo
