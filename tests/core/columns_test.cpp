#include "core/columns.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace wyndo::test {
namespace {

using TBytes = std::vector<std::uint8_t>;
using TNames = std::vector<std::string>;

// A record with a value in every stored field, and in-program references that must not be stored.
TColumnSettings SampleRecord() {
  TColumnSettings Record;
  Record.Property = &WindowPropertyDescs[0];
  Record.AccessorKind = acGetter;
  Record.ValueSize = 0x01020304;
  Record.TypeKind = tkInteger;
  Record.OrdKind = otULong;
  Record.FieldName = "Handle";
  Record.Shown = 1;
  Record.Position = 2;
  Record.Width = 0x1234;
  Record.Formatter = FormatULongValue;
  return Record;
}

TBytes Bytes(const TStoredRecord& Record) {
  return {Record.begin(), Record.end()};
}

// A registry value holding Record under its own name.
TStoredValue Stored(const TColumnSettings& Record) {
  return {Record.FieldName, RegBinaryType, Bytes(StoreColumnRecord(Record))};
}

// The stored record of a property of Kind with the given column values.
TStoredValue StoredColumn(TListKind Kind, std::string_view Name, std::uint8_t Shown,
                          std::uint8_t Position, std::uint16_t Width = DefaultColumnWidth) {
  TColumnSettings Record = DefaultColumnRecord(Kind, *FindProperty(Kind, Name));
  Record.Shown = Shown;
  Record.Position = Position;
  Record.Width = Width;
  return Stored(Record);
}

TColumnSettings Column(std::string_view Name, std::uint8_t Shown, std::uint8_t Position) {
  TColumnSettings Record;
  Record.FieldName = Name;
  Record.Shown = Shown;
  Record.Position = Position;
  return Record;
}

TNames Names(const TColumnList& List) {
  TNames Result;
  for (const TColumnSettings& Record : List) {
    Result.push_back(Record.FieldName);
  }
  return Result;
}

// Every kind stored with no values: each list is read, none fails.
std::array<TStoredKind, ListKindCount> EmptyStore() {
  return {TStoredKind{std::in_place}, TStoredKind{std::in_place}, TStoredKind{std::in_place},
          TStoredKind{std::in_place}};
}

// ---- Stored records

TEST(ColumnRecordTest, StoresThePackedLittleEndianLayout) {
  TStoredRecord Expected{}; // Accessor (0..3) and Formatter (271..274) stay zero
  Expected[4] = acGetter;   // AccessorKind
  Expected[5] = 0x04;       // ValueSize, low byte first
  Expected[6] = 0x03;
  Expected[7] = 0x02;
  Expected[8] = 0x01;
  Expected[9] = tkInteger; // TypeKind
  Expected[10] = otULong;  // OrdKind
  Expected[11] = 6;        // FieldName: length byte, characters, zeros
  for (std::size_t I = 0; I < 6; ++I) {
    Expected[12 + I] = static_cast<std::uint8_t>("Handle"[I]);
  }
  Expected[267] = 1;    // Shown
  Expected[268] = 2;    // Position
  Expected[269] = 0x34; // Width, low byte first
  Expected[270] = 0x12;
  EXPECT_EQ(Bytes(StoreColumnRecord(SampleRecord())), Bytes(Expected));
}

TEST(ColumnRecordTest, CutsALongNameAt255Characters) {
  TColumnSettings Record;
  Record.FieldName = std::string(300, 'x');
  const TStoredRecord Data = StoreColumnRecord(Record);
  EXPECT_EQ(Data[11], 255);
  EXPECT_EQ(Data[266], 'x');
  EXPECT_EQ(ReadColumnRecord(Data).FieldName, std::string(255, 'x'));
}

TEST(ColumnRecordTest, ReadsBackWhatWasStoredWithoutReferences) {
  TColumnSettings Expected = SampleRecord();
  Expected.Property = nullptr;
  Expected.Formatter = nullptr;
  EXPECT_EQ(ReadColumnRecord(StoreColumnRecord(SampleRecord())), Expected);
}

TEST(ColumnRecordTest, AShortRecordIsZeroFilled) {
  const TStoredRecord Full = StoreColumnRecord(SampleRecord());
  // Cut inside the name: the length byte still counts six characters.
  const TColumnSettings Cut = ReadColumnRecord(std::span(Full).first(15));
  EXPECT_EQ(Cut.ValueSize, 0x01020304u);
  EXPECT_EQ(Cut.FieldName, std::string("Han\0\0\0", 6));
  EXPECT_EQ(Cut.Shown, 0);
  EXPECT_EQ(Cut.Position, 0);
  EXPECT_EQ(Cut.Width, 0);

  TColumnSettings Zero;
  Zero.Position = 0;
  Zero.Width = 0;
  EXPECT_EQ(ReadColumnRecord({}), Zero);
}

TEST(ColumnRecordTest, ReadingIgnoresDataBeyondTheRecord) {
  TBytes Long = Bytes(StoreColumnRecord(SampleRecord()));
  Long.resize(300, 0xEE);
  EXPECT_EQ(ReadColumnRecord(Long), ReadColumnRecord(StoreColumnRecord(SampleRecord())));
}

// ---- Defaults

TEST(ColumnDefaultsTest, EachKindShowsItsDefaultColumns) {
  using TShown = std::vector<std::pair<std::string, int>>; // name, position
  struct {
    TListKind Kind;
    std::size_t Count;
    TShown Shown;
  } const Cases[] = {
      {lkWindow, 12, {{"Handle", 0}, {"WindowText", 1}, {"ClassName", 2}}},
      {lkProcess, 3, {{"ProcessID", 0}, {"ModuleName", 1}, {"ModulePath", 2}}},
      {lkThread, 3, {{"ThreadID", 0}, {"ModuleName", 1}, {"ModulePath", 2}}},
      {lkModule, 2, {{"ModuleName", 0}, {"ModulePath", 1}}},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(::testing::Message() << "kind " << int{Case.Kind});
    const TColumnList List = DefaultColumnList(Case.Kind);
    const auto Properties = PropertiesOf(Case.Kind);
    ASSERT_EQ(List.size(), Case.Count);
    ASSERT_EQ(Properties.size(), Case.Count);
    TShown Shown;
    for (std::size_t I = 0; I < List.size(); ++I) {
      const TColumnSettings& Record = List[I];
      EXPECT_EQ(Record.Property, &Properties[I]);
      EXPECT_EQ(Record.FieldName, Properties[I].Name);
      EXPECT_EQ(Record.Width, DefaultColumnWidth);
      if (Record.Shown != 0) {
        Shown.emplace_back(Record.FieldName, Record.Position);
      } else {
        EXPECT_EQ(Record.Position, NoPosition) << Record.FieldName;
      }
    }
    EXPECT_EQ(Shown, Case.Shown);
  }
}

TEST(ColumnDefaultsTest, ARecordIsBuiltFromItsProperty) {
  const TColumnSettings Unicode = DefaultColumnRecord(lkWindow, WindowPropertyDescs[11]);
  EXPECT_EQ(Unicode.AccessorKind, acGetter);
  EXPECT_EQ(Unicode.TypeKind, tkEnumeration);
  EXPECT_EQ(Unicode.OrdKind, otUByte);
  EXPECT_EQ(Unicode.ValueSize, 2u);
  EXPECT_EQ(Unicode.Formatter, FormatBooleanValue);

  const TColumnSettings Id = DefaultColumnRecord(lkProcess, ProcessPropertyDescs[0]);
  EXPECT_EQ(Id.AccessorKind, acField);
  EXPECT_EQ(Id.ValueSize, 5u);
  EXPECT_EQ(Id.Formatter, FormatULongValue);

  const TColumnSettings Path = DefaultColumnRecord(lkModule, ModulePropertyDescs[1]);
  EXPECT_EQ(Path.TypeKind, tkLString);
  EXPECT_EQ(Path.ValueSize, 4u);
  EXPECT_EQ(Path.Formatter, FormatTextValue);
}

// ---- Loading

TEST(ColumnLoadTest, KeepsTheStoredOrderThenAddsNewPropertiesInDeclarationOrder) {
  auto Store = EmptyStore();
  *Store[lkWindow] = {StoredColumn(lkWindow, "ClassName", 1, 0),
                      StoredColumn(lkWindow, "Handle", 0, NoPosition, 77),
                      StoredColumn(lkWindow, "WindowText", 1, 1)};
  const auto Lists = BuildColumnSettings(Store, false);
  EXPECT_EQ(
      Names(Lists[lkWindow]),
      (TNames{"ClassName", "Handle", "WindowText", "WndProc", "ControlID", "WindowStyle",
              "ExtWindowStyle", "ClassAtom", "ClassBytes", "ProcessID", "ThreadID", "Unicode"}));
  const TColumnSettings& Handle = Lists[lkWindow][1];
  EXPECT_EQ(Handle.Shown, 0);
  EXPECT_EQ(Handle.Width, 77);
  EXPECT_EQ(Handle.Property, &WindowPropertyDescs[0]);
  for (TListKind Kind : {lkProcess, lkThread, lkModule}) {
    EXPECT_EQ(Lists[Kind], DefaultColumnList(Kind));
  }
}

TEST(ColumnLoadTest, RebuildsEverythingButTheColumnValuesFromTheProperty) {
  TColumnSettings Garbage;
  Garbage.FieldName = "Unicode";
  Garbage.AccessorKind = 9;
  Garbage.ValueSize = 12345;
  Garbage.TypeKind = 99;
  Garbage.OrdKind = 77;
  Garbage.Shown = 1;
  Garbage.Position = 0;
  Garbage.Width = 0;
  auto Store = EmptyStore();
  *Store[lkWindow] = {Stored(Garbage)};

  TColumnSettings Expected = DefaultColumnRecord(lkWindow, WindowPropertyDescs[11]);
  Expected.Shown = 1;
  Expected.Position = 0;
  Expected.Width = 0;
  EXPECT_EQ(BuildColumnSettings(Store, false)[lkWindow].front(), Expected);
}

TEST(ColumnLoadTest, KeepsOneRecordPerPropertyFoundByTheNameInTheRecord) {
  TStoredValue Renamed = StoredColumn(lkModule, "ModulePath", 1, 0, 60);
  Renamed.Name = "Other"; // the value name does not matter
  auto Store = EmptyStore();
  *Store[lkModule] = {
      StoredColumn(lkModule, "ModuleName", 1, 1, 50),
      Stored(Column("Unknown", 1, 0)),
      Stored(Column("modulename", 1, 0)),
      StoredColumn(lkModule, "ModuleName", 1, 0, 99),
      Renamed,
  };
  const TColumnList List = BuildColumnSettings(Store, false)[lkModule];
  ASSERT_EQ(Names(List), (TNames{"ModuleName", "ModulePath"}));
  EXPECT_EQ(List[0].Width, 50);
  EXPECT_EQ(List[0].Position, 1);
  EXPECT_EQ(List[1].Width, 60);
  EXPECT_EQ(List[1].Position, 0);
}

TEST(ColumnLoadTest, AFailingKindAndEveryLaterOneTakeTheirDefaults) {
  TStoredValue NotBinary = StoredColumn(lkProcess, "ProcessID", 0, NoPosition);
  NotBinary.Type = RegDwordType;
  TStoredValue TooLong = StoredColumn(lkProcess, "ProcessID", 0, NoPosition);
  TooLong.Data.push_back(0);
  struct {
    const char* Description;
    TStoredKind Process;
  } const Cases[] = {
      {"a value that is not binary", std::vector{NotBinary}},
      {"a value of 276 bytes", std::vector{TooLong}},
      {"a key that could not be read", std::nullopt},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Description);
    // Every kind holds a non-default record; the one before the failing kind keeps it.
    auto Store = EmptyStore();
    *Store[lkWindow] = {StoredColumn(lkWindow, "Handle", 0, NoPosition)};
    Store[lkProcess] = Case.Process;
    *Store[lkThread] = {StoredColumn(lkThread, "ThreadID", 0, NoPosition)};
    *Store[lkModule] = {StoredColumn(lkModule, "ModuleName", 0, NoPosition)};
    const auto Lists = BuildColumnSettings(Store, false);
    EXPECT_EQ(Lists[lkWindow].front().Shown, 0);
    for (TListKind Kind : {lkProcess, lkThread, lkModule}) {
      EXPECT_EQ(Lists[Kind], DefaultColumnList(Kind)) << "kind " << int{Kind};
    }
  }
}

TEST(ColumnLoadTest, DefaultsIgnoreTheStore) {
  auto Store = EmptyStore();
  *Store[lkWindow] = {StoredColumn(lkWindow, "Unicode", 1, 0)};
  const auto Lists = BuildColumnSettings(Store, true);
  for (TListKind Kind : AllListKinds) {
    EXPECT_EQ(Lists[Kind], DefaultColumnList(Kind)) << "kind " << int{Kind};
  }
}

TEST(ColumnLoadTest, PositionsAreNormalised) {
  auto Store = EmptyStore();
  *Store[lkModule] = {StoredColumn(lkModule, "ModulePath", 5, 9)};
  const TColumnList List = BuildColumnSettings(Store, false)[lkModule];
  ASSERT_EQ(Names(List), (TNames{"ModulePath", "ModuleName"}));
  EXPECT_EQ(List[0].Shown, 1);
  EXPECT_EQ(List[0].Position, 1); // the default ModuleName column keeps position 0
  EXPECT_EQ(List[1].Position, 0);
}

// ---- Positions

TEST(ColumnPositionTest, ShownRecordsGetDistinctPositionsFromZero) {
  using TColumn = std::pair<int, int>; // Shown, Position
  struct {
    const char* Description;
    std::vector<TColumn> Before;
    std::vector<TColumn> After;
  } const Cases[] = {
      {"already distinct", {{1, 1}, {0, 255}, {1, 0}}, {{1, 1}, {0, 255}, {1, 0}}},
      {"ties in list order", {{1, 0}, {1, 0}, {1, 1}}, {{1, 0}, {1, 1}, {1, 2}}},
      {"out of range comes last", {{1, 5}, {1, 0}}, {{1, 1}, {1, 0}}},
      {"shown without a position comes last", {{1, 255}, {1, 1}}, {{1, 1}, {1, 0}}},
      {"gaps close, the order stays", {{1, 0}, {1, 4}, {1, 2}}, {{1, 0}, {1, 2}, {1, 1}}},
      {"the stored order, not list order", {{1, 3}, {1, 2}}, {{1, 1}, {1, 0}}},
      {"any non-zero Shown counts", {{7, 0}, {0, 0}}, {{1, 0}, {0, 255}}},
      {"hidden records take no place", {{0, 0}, {1, 1}}, {{0, 255}, {1, 0}}},
      {"nothing shown", {{0, 3}, {0, 255}}, {{0, 255}, {0, 255}}},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Description);
    TColumnList List;
    for (const auto& [Shown, Position] : Case.Before) {
      List.push_back(
          Column("", static_cast<std::uint8_t>(Shown), static_cast<std::uint8_t>(Position)));
    }
    NormalisePositions(List);
    std::vector<TColumn> After;
    for (const TColumnSettings& Record : List) {
      After.push_back({Record.Shown, Record.Position});
    }
    EXPECT_EQ(After, Case.After);
  }
}

TEST(ColumnPreviewTest, ShownRecordsKeepFreeColumnsAndTheRestFillTheGapsInListOrder) {
  struct {
    const char* Description;
    std::vector<int> Before;  // positions of the shown records, in list order
    std::vector<int> After;   // their positions afterwards
    std::vector<int> Columns; // column i shows the record at this list index
  } const Cases[] = {
      {"stored order kept", {2, 0, 1}, {2, 0, 1}, {1, 2, 0}},
      {"a newly shown field comes last", {0, 255, 1}, {0, 2, 1}, {0, 2, 1}},
      {"an index beyond the columns is given the next free one", {7, 0}, {1, 0}, {1, 0}},
      {"a taken column goes to the later record's free one", {0, 0, 2}, {0, 1, 2}, {0, 1, 2}},
      {"several without a column, in list order", {255, 1, 255}, {0, 1, 2}, {0, 1, 2}},
      {"nothing shown", {}, {}, {}},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Description);
    TColumnList List;
    for (int Position : Case.Before)
      List.push_back(Column("", 1, static_cast<std::uint8_t>(Position)));
    std::vector<TColumnSettings*> Shown;
    for (TColumnSettings& Record : List)
      Shown.push_back(&Record);
    const std::vector<TColumnSettings*> Columns = PlaceShownColumns(Shown);
    std::vector<int> After, Order;
    for (const TColumnSettings& Record : List)
      After.push_back(Record.Position);
    for (const TColumnSettings* Record : Columns)
      Order.push_back(static_cast<int>(Record - List.data()));
    EXPECT_EQ(After, Case.After);
    EXPECT_EQ(Order, Case.Columns);
  }
}

} // namespace
} // namespace wyndo::test
