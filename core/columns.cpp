#include "core/columns.h"

#include <algorithm>
#include <string_view>

namespace wyndo {

namespace {

// Offsets of the fields in a stored record.
constexpr std::size_t AccessorKindOffset = 4;
constexpr std::size_t ValueSizeOffset = 5;
constexpr std::size_t TypeKindOffset = 9;
constexpr std::size_t OrdKindOffset = 10;
constexpr std::size_t FieldNameOffset = 11;
constexpr std::size_t ShownOffset = 267;
constexpr std::size_t PositionOffset = 268;
constexpr std::size_t WidthOffset = 269;
constexpr std::size_t MaxFieldNameLength = 255;

void PutLittleEndian(TStoredRecord& Bytes, std::size_t Offset, std::uint32_t Value,
                     std::size_t Size) {
  for (std::size_t I = 0; I < Size; ++I) {
    Bytes[Offset + I] = static_cast<std::uint8_t>(Value >> (8 * I));
  }
}

std::uint32_t GetLittleEndian(const TStoredRecord& Bytes, std::size_t Offset, std::size_t Size) {
  std::uint32_t Value = 0;
  for (std::size_t I = 0; I < Size; ++I) {
    Value |= std::uint32_t{Bytes[Offset + I]} << (8 * I);
  }
  return Value;
}

// The columns a kind shows on first start, in column order.
std::span<const std::string_view> DefaultColumns(TListKind Kind) {
  static constexpr std::string_view Window[] = {"Handle", "WindowText", "ClassName"};
  static constexpr std::string_view Process[] = {"ProcessID", "ModuleName", "ModulePath"};
  static constexpr std::string_view Thread[] = {"ThreadID", "ModuleName", "ModulePath"};
  static constexpr std::string_view Module[] = {"ModuleName", "ModulePath"};
  switch (Kind) {
  case lkWindow:
    return Window;
  case lkProcess:
    return Process;
  case lkThread:
    return Thread;
  case lkModule:
    return Module;
  }
  return {};
}

bool IsReadableRecord(const TStoredValue& Value) {
  return Value.Type == RegBinaryType && Value.Data.size() <= ColumnRecordSize;
}

// The stored records of a kind that name one of its properties, each property once, followed by
// the default records of the properties not stored.
TColumnList ColumnListFromStore(TListKind Kind, const std::vector<TStoredValue>& Values) {
  TColumnList List;
  const auto HasRecordFor = [&List](const TPropertyDesc& Property) {
    return std::any_of(List.begin(), List.end(), [&Property](const TColumnSettings& Record) {
      return Record.Property == &Property;
    });
  };
  for (const TStoredValue& Value : Values) {
    TColumnSettings Record = ReadColumnRecord(Value.Data);
    const TPropertyDesc* Property = FindProperty(Kind, Record.FieldName);
    if (Property == nullptr || HasRecordFor(*Property)) {
      continue;
    }
    BindToProperty(Record, *Property);
    List.push_back(std::move(Record));
  }
  for (const TPropertyDesc& Property : PropertiesOf(Kind)) {
    if (!HasRecordFor(Property)) {
      List.push_back(DefaultColumnRecord(Kind, Property));
    }
  }
  return List;
}

} // namespace

TStoredRecord StoreColumnRecord(const TColumnSettings& Record) {
  TStoredRecord Bytes{};
  Bytes[AccessorKindOffset] = Record.AccessorKind;
  PutLittleEndian(Bytes, ValueSizeOffset, Record.ValueSize, 4);
  Bytes[TypeKindOffset] = Record.TypeKind;
  Bytes[OrdKindOffset] = Record.OrdKind;
  const std::size_t Length = std::min(Record.FieldName.size(), MaxFieldNameLength);
  Bytes[FieldNameOffset] = static_cast<std::uint8_t>(Length);
  std::copy_n(Record.FieldName.begin(), Length, Bytes.begin() + FieldNameOffset + 1);
  Bytes[ShownOffset] = Record.Shown;
  Bytes[PositionOffset] = Record.Position;
  PutLittleEndian(Bytes, WidthOffset, Record.Width, 2);
  return Bytes;
}

TColumnSettings ReadColumnRecord(std::span<const std::uint8_t> Data) {
  TStoredRecord Bytes{};
  std::copy_n(Data.begin(), std::min(Data.size(), ColumnRecordSize), Bytes.begin());
  TColumnSettings Record;
  Record.AccessorKind = Bytes[AccessorKindOffset];
  Record.ValueSize = GetLittleEndian(Bytes, ValueSizeOffset, 4);
  Record.TypeKind = Bytes[TypeKindOffset];
  Record.OrdKind = Bytes[OrdKindOffset];
  const auto* Name = reinterpret_cast<const char*>(Bytes.data() + FieldNameOffset + 1);
  Record.FieldName.assign(Name, Bytes[FieldNameOffset]);
  Record.Shown = Bytes[ShownOffset];
  Record.Position = Bytes[PositionOffset];
  Record.Width = static_cast<std::uint16_t>(GetLittleEndian(Bytes, WidthOffset, 2));
  return Record;
}

void BindToProperty(TColumnSettings& Record, const TPropertyDesc& Property) {
  Record.Property = &Property;
  Record.AccessorKind = Property.AccessorKind;
  Record.TypeKind = Property.TypeKind;
  Record.OrdKind = Property.OrdKind;
  Record.ValueSize = ValueSizeOf(Property.TypeKind, Property.OrdKind);
  Record.Formatter = FormatterFor(Property.TypeKind, Property.OrdKind, Property.IsBoolean);
  Record.FieldName = Property.Name;
}

TColumnSettings DefaultColumnRecord(TListKind Kind, const TPropertyDesc& Property) {
  TColumnSettings Record; // not shown, no position, the default width
  BindToProperty(Record, Property);
  const auto Columns = DefaultColumns(Kind);
  const auto Column = std::find(Columns.begin(), Columns.end(), Property.Name);
  if (Column != Columns.end()) {
    Record.Shown = 1;
    Record.Position = static_cast<std::uint8_t>(Column - Columns.begin());
  }
  return Record;
}

TColumnList DefaultColumnList(TListKind Kind) {
  TColumnList List;
  for (const TPropertyDesc& Property : PropertiesOf(Kind)) {
    List.push_back(DefaultColumnRecord(Kind, Property));
  }
  return List;
}

void NormalisePositions(TColumnList& List) {
  std::vector<TColumnSettings*> Shown;
  for (TColumnSettings& Record : List) {
    Record.Shown = Record.Shown != 0 ? 1 : 0;
    if (Record.Shown)
      Shown.push_back(&Record);
    else
      Record.Position = NoPosition;
  }
  // The columns keep their stored order; list order settles ties and positions out of range
  // come last. A list holds one record per property, far fewer than 255.
  std::stable_sort(
      Shown.begin(), Shown.end(),
      [](const TColumnSettings* A, const TColumnSettings* B) { return A->Position < B->Position; });
  for (std::size_t Index = 0; Index < Shown.size(); ++Index)
    Shown[Index]->Position = static_cast<std::uint8_t>(Index);
}

std::vector<TColumnSettings*> PlaceShownColumns(std::span<TColumnSettings* const> Shown) {
  std::vector<TColumnSettings*> Columns(Shown.size(), nullptr);
  for (TColumnSettings* Record : Shown) {
    if (Record->Position == NoPosition)
      continue;
    if (Record->Position < Columns.size() && !Columns[Record->Position])
      Columns[Record->Position] = Record;
    else
      Record->Position = NoPosition;
  }
  auto Free = Columns.begin();
  for (TColumnSettings* Record : Shown) {
    if (Record->Position != NoPosition)
      continue;
    Free = std::find(Free, Columns.end(), nullptr);
    *Free = Record;
    Record->Position = static_cast<std::uint8_t>(Free - Columns.begin());
  }
  return Columns;
}

std::array<TColumnList, ListKindCount>
BuildColumnSettings(const std::array<TStoredKind, ListKindCount>& Stored, bool Defaults) {
  std::array<TColumnList, ListKindCount> Lists;
  for (TListKind Kind : AllListKinds) {
    const TStoredKind& Values = Stored[Kind];
    if (!Defaults) {
      Defaults = !Values || !std::all_of(Values->begin(), Values->end(), IsReadableRecord);
    }
    Lists[Kind] = Defaults ? DefaultColumnList(Kind) : ColumnListFromStore(Kind, *Values);
    NormalisePositions(Lists[Kind]);
  }
  return Lists;
}

} // namespace wyndo
