// Column settings as the registry holds them: any number of values per list kind, of any type and
// size, with any bytes. The record lists built from them must hold one record per property,
// bound to it, with the stored column values, the stored order and distinct column positions, as
// a decoding of the stored layout written here independently says; stored bytes must read back
// as written; the Properties dialog's column placement must give every shown record a column.
//
// Input: byte 0: bit 0 Defaults, bits 1 to 4: the key of kind 0 to 3 cannot be read. Then
// values: kind (byte, modulo 4), type (byte: bit 7 set gives the type in bits 0-3, else
// REG_BINARY), name (length byte and characters), data (16-bit length, low byte first, and the
// bytes).

#include "core/columns.h"
#include "fuzz/fuzz_support.h"

#include <algorithm>
#include <array>
#include <vector>

namespace wyndo::fuzz {
namespace {

using TStore = std::array<TStoredKind, ListKindCount>;

// A stored value's bytes, zero-filled or cut to the record size.
TStoredRecord Padded(const std::vector<std::uint8_t>& Data) {
  TStoredRecord Bytes{};
  for (std::size_t I = 0; I < Data.size() && I < Bytes.size(); ++I) {
    Bytes[I] = Data[I];
  }
  return Bytes;
}

std::string_view NameOf(const TStoredRecord& Bytes) {
  return {reinterpret_cast<const char*>(Bytes.data() + 12), Bytes[11]};
}

// The record a property should end up with, before positions are made distinct.
struct TExpected {
  const TPropertyDesc* Property;
  bool Shown;
  std::uint8_t Position;
  std::uint16_t Width;
};

std::vector<TExpected> ExpectedList(TListKind Kind, const std::vector<TStoredValue>* Values) {
  std::vector<TExpected> List;
  const auto Has = [&List](const TPropertyDesc& Property) {
    return std::any_of(List.begin(), List.end(),
                       [&Property](const TExpected& Each) { return Each.Property == &Property; });
  };
  if (Values) {
    for (const TStoredValue& Value : *Values) {
      const TStoredRecord Bytes = Padded(Value.Data);
      for (const TPropertyDesc& Property : PropertiesOf(Kind)) {
        if (Property.Name == NameOf(Bytes) && !Has(Property)) {
          List.push_back({&Property, Bytes[267] != 0, Bytes[268],
                          static_cast<std::uint16_t>(Bytes[269] | Bytes[270] << 8)});
        }
      }
    }
  }
  for (const TPropertyDesc& Property : PropertiesOf(Kind)) {
    if (!Has(Property)) {
      const TColumnSettings Default = DefaultColumnRecord(Kind, Property);
      List.push_back({&Property, Default.Shown != 0, Default.Position, Default.Width});
    }
  }
  // Shown records take the columns 0 .. n-1 in the order of their stored positions, list order
  // settling ties.
  std::vector<TExpected*> Shown;
  for (TExpected& Each : List) {
    if (Each.Shown) {
      Shown.push_back(&Each);
    } else {
      Each.Position = NoPosition;
    }
  }
  for (std::size_t Column = 0; Column < Shown.size(); ++Column) {
    const auto First = std::min_element(
        Shown.begin() + static_cast<std::ptrdiff_t>(Column), Shown.end(),
        [](const TExpected* A, const TExpected* B) { return A->Position < B->Position; });
    std::rotate(Shown.begin() + static_cast<std::ptrdiff_t>(Column), First, First + 1);
  }
  for (std::size_t Column = 0; Column < Shown.size(); ++Column) {
    Shown[Column]->Position = static_cast<std::uint8_t>(Column);
  }
  return List;
}

void CheckList(TListKind Kind, const TColumnList& List, const std::vector<TStoredValue>* Values) {
  const std::vector<TExpected> Expected = ExpectedList(Kind, Values);
  Check(List.size() == Expected.size(), "one record per property");
  for (std::size_t I = 0; I < List.size(); ++I) {
    const TColumnSettings& Record = List[I];
    const TPropertyDesc& Property = *Expected[I].Property;
    Check(Record.Property == &Property && Record.FieldName == Property.Name,
          "records in stored order, then new properties");
    Check(Record.AccessorKind == Property.AccessorKind && Record.TypeKind == Property.TypeKind &&
              Record.OrdKind == Property.OrdKind &&
              Record.ValueSize == ValueSizeOf(Property.TypeKind, Property.OrdKind) &&
              Record.Formatter ==
                  FormatterFor(Property.TypeKind, Property.OrdKind, Property.IsBoolean),
          "a record is bound to its property");
    Check(Record.Shown == (Expected[I].Shown ? 1 : 0), "shown as stored");
    Check(Record.Position == Expected[I].Position, "distinct positions in stored order");
    Check(Record.Width == Expected[I].Width, "width as stored");
    if (Record.Formatter) {
      Record.Formatter({Record.Width * 0x10001u, Record.FieldName});
    }
  }
}

// Stored bytes read into a record and stored again give the same fields; the in-program
// references and the bytes after the name are zero.
void CheckRoundTrip(const std::vector<std::uint8_t>& Data) {
  const TColumnSettings Record = ReadColumnRecord(Data);
  Check(!Record.Property && !Record.Formatter, "no references from stored bytes");
  const TStoredRecord Stored = StoreColumnRecord(Record);
  TStoredRecord Expected = Padded(Data);
  std::fill_n(Expected.begin(), 4, 0);
  std::fill(Expected.begin() + 12 + Expected[11], Expected.begin() + 267, 0);
  std::fill_n(Expected.begin() + 271, 4, 0);
  Check(Stored == Expected, "stored fields are written back unchanged");
  Check(ReadColumnRecord(Stored) == Record, "a stored record reads back");
}

// The Properties dialog's placement of shown columns, from the positions it is given.
void CheckPlacement(TColumnList List) {
  std::vector<TColumnSettings*> Shown;
  std::vector<std::uint8_t> Requested;
  for (TColumnSettings& Record : List) {
    Record.Position = static_cast<std::uint8_t>(Record.Width);
    Shown.push_back(&Record);
    Requested.push_back(Record.Position);
  }
  const std::vector<TColumnSettings*> Columns = PlaceShownColumns(Shown);
  Check(Columns.size() == Shown.size(), "a column per shown record");
  std::vector<bool> Taken(Shown.size());
  for (std::size_t I = 0; I < Shown.size(); ++I) {
    if (Requested[I] < Shown.size() && !Taken[Requested[I]]) {
      Taken[Requested[I]] = true;
      Check(Shown[I]->Position == Requested[I], "a free column is kept");
    }
  }
  for (std::size_t Column = 0; Column < Columns.size(); ++Column) {
    Check(Columns[Column] && Columns[Column]->Position == Column, "every column filled once");
  }
}

} // namespace
} // namespace wyndo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  using namespace wyndo;
  using namespace wyndo::fuzz;
  TFuzzInput Input(Data, Size);
  const std::uint8_t Flags = Input.Byte();
  TStore Store;
  for (TListKind Kind : AllListKinds) {
    if ((Flags & (2 << Kind)) == 0) {
      Store[Kind].emplace();
    }
  }
  while (!Input.Empty()) {
    const TListKind Kind = AllListKinds[Input.Byte() % ListKindCount];
    const std::uint8_t Type = Input.Byte();
    TStoredValue Value;
    Value.Type = (Type & 0x80) != 0 ? Type & 0x0F : RegBinaryType;
    Value.Name = Input.Bytes(Input.Byte());
    const std::string_view Bytes = Input.Bytes(Input.Word());
    Value.Data.assign(Bytes.begin(), Bytes.end());
    CheckRoundTrip(Value.Data);
    if (Store[Kind]) {
      Store[Kind]->push_back(std::move(Value));
    }
  }

  const bool Defaults = (Flags & 1) != 0;
  const auto Lists = BuildColumnSettings(Store, Defaults);
  bool Failed = Defaults;
  for (TListKind Kind : AllListKinds) {
    // A kind whose key cannot be read, or with a value that is not a binary value of at most
    // 275 bytes, takes its defaults, and so does every later kind.
    Failed = Failed || !Store[Kind] ||
             std::any_of(Store[Kind]->begin(), Store[Kind]->end(), [](const TStoredValue& V) {
               return V.Type != RegBinaryType || V.Data.size() > ColumnRecordSize;
             });
    CheckList(Kind, Lists[Kind], Failed ? nullptr : &*Store[Kind]);
    CheckPlacement(Lists[Kind]);
  }
  return 0;
}
