// Loading and saving the settings through the real registry of the test's prefix.

#include "app/settingsstore.h"
#include "core/columns.h"
#include "core/options.h"
#include "core/settings.h"
#include "tests/win/settings_fixture.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace wyndo::test {
namespace {

using SettingsStoreTest = SettingsKeyTest;

std::vector<std::uint8_t> RecordBytes(TColumnSettings Record) {
  const TStoredRecord Bytes = StoreColumnRecord(Record);
  return {Bytes.begin(), Bytes.end()};
}

const TColumnSettings& Column(TListKind Kind, std::string_view Name) {
  const TColumnList& List = Settings.ColumnSettings[Kind];
  const auto Found = std::find_if(List.begin(), List.end(),
                                  [&](const TColumnSettings& R) { return R.FieldName == Name; });
  if (Found == List.end())
    throw std::runtime_error("no record " + std::string(Name));
  return *Found;
}

bool IsDefault(TListKind Kind) {
  return Settings.ColumnSettings[Kind] == DefaultColumnList(Kind);
}

TEST_F(SettingsStoreTest, AFirstStartTakesTheDefaultsAndWritesEverythingAtExit) {
  const TLoadOutcome Outcome = LoadSettings({});
  EXPECT_TRUE(Outcome.Reset);
  EXPECT_TRUE(Outcome.Config);
  EXPECT_EQ(Settings.IntFormat, 1);
  EXPECT_TRUE(Settings.AppBarDocking && Settings.StayOnTop && Settings.MainFinder);
  for (TListKind Kind : AllListKinds)
    EXPECT_TRUE(IsDefault(Kind));
  // Loading already wrote the key and "AppPath" (the program's directory, ending in '\').
  const auto AppPath = StoredValue("", "AppPath");
  ASSERT_TRUE(AppPath.has_value());
  EXPECT_EQ(AppPath->Type, RegSzType);
  EXPECT_EQ(AppPath->Data.back(), 0);
  EXPECT_EQ(AppPath->Data[AppPath->Data.size() - 2], '\\');
  EXPECT_EQ(StoredValues().size(), 1u);

  SaveSettings();
  const auto Values = StoredValues();
  EXPECT_EQ(Values.size(), 7u) << "six options and AppPath";
  for (const char* Name : {"IntFormat", "Style", "Minimization"}) {
    const auto Value = StoredValue("", Name);
    ASSERT_TRUE(Value.has_value()) << Name;
    EXPECT_EQ(Value->Type, RegBinaryType);
    EXPECT_EQ(Value->Data.size(), 1u);
  }
  for (const char* Name : {"AppBarDocking", "StayOnTop", "MainFinder"}) {
    const auto Value = StoredValue("", Name);
    ASSERT_TRUE(Value.has_value()) << Name;
    EXPECT_EQ(Value->Type, RegDwordType);
    EXPECT_EQ(Value->Data, (std::vector<std::uint8_t>{1, 0, 0, 0}));
  }
  const std::size_t Expected[] = {12, 3, 3, 2};
  for (TListKind Kind : AllListKinds) {
    const auto Records = StoredValues(std::string(SettingsKeyNames[Kind]));
    EXPECT_EQ(Records.size(), Expected[Kind]) << SettingsKeyNames[Kind];
    for (const TStoredValue& Record : Records) {
      EXPECT_EQ(Record.Type, RegBinaryType);
      EXPECT_EQ(Record.Data.size(), ColumnRecordSize);
    }
  }
}

TEST_F(SettingsStoreTest, WhatTheUserChoseComesBackAtTheNextStart) {
  LoadSettings({});
  Settings.IntFormat = 2;
  Settings.Style = 1;
  Settings.Minimization = 2;
  Settings.AppBarDocking = false;
  Settings.StayOnTop = false;
  TColumnSettings& Handle = Settings.ColumnSettings[lkWindow][0];
  ASSERT_EQ(Handle.FieldName, "Handle");
  Handle.Shown = 0;
  Handle.Position = NoPosition;
  Handle.Width = 77;
  SaveSettings();

  Settings = TWYNDO_Settings{};
  const TLoadOutcome Outcome = LoadSettings({});
  EXPECT_FALSE(Outcome.Reset);
  EXPECT_FALSE(Outcome.Config);
  EXPECT_EQ(Settings.IntFormat, 2);
  EXPECT_EQ(Settings.Style, 1);
  EXPECT_EQ(Settings.Minimization, 2);
  EXPECT_FALSE(Settings.AppBarDocking);
  EXPECT_FALSE(Settings.StayOnTop);
  EXPECT_TRUE(Settings.MainFinder);
  EXPECT_EQ(Column(lkWindow, "Handle").Shown, 0);
  EXPECT_EQ(Column(lkWindow, "Handle").Width, 77);
  // The other shown columns close up.
  EXPECT_EQ(Column(lkWindow, "WindowText").Position, 0);
  EXPECT_EQ(Column(lkWindow, "ClassName").Position, 1);
}

TEST_F(SettingsStoreTest, ResetTakesTheDefaultsAndLeavesNoStaleValueAtExit) {
  SeedSettingsKey();
  StoreValue("", BinaryValue("IntFormat", {2}));
  StoreValue("WindowProperties", BinaryValue("Bogus", std::vector<std::uint8_t>(275, 0)));

  const TLoadOutcome Outcome = LoadSettings({.Reset = true});
  EXPECT_TRUE(Outcome.Reset);
  EXPECT_FALSE(Outcome.Config) << "-reset alone does not configure";
  EXPECT_EQ(Settings.IntFormat, 1);
  SaveSettings();
  EXPECT_FALSE(StoredValue("WindowProperties", "Bogus").has_value());
  EXPECT_EQ(StoredValues("WindowProperties").size(), 12u);
}

TEST_F(SettingsStoreTest, AnOptionThatCannotBeReadMakesTheStartAFirstStart) {
  struct TCase {
    const char* What;
    TStoredValue Value;
  };
  const TCase Cases[] = {
      {"IntFormat stored as a DWORD", DwordValue("IntFormat", 1)},
      {"IntFormat beyond the formats", BinaryValue("IntFormat", {3})},
      {"IntFormat of two bytes", BinaryValue("IntFormat", {1, 0})},
      {"Style beyond the styles", BinaryValue("Style", {2})},
      {"Minimization beyond its choices", BinaryValue("Minimization", {3})},
      {"a flag stored as binary", BinaryValue("StayOnTop", {1, 0, 0, 0})},
      {"a flag of two bytes", {"MainFinder", RegDwordType, {1, 0}}},
  };
  for (const TCase& Case : Cases) {
    SeedSettingsKey();
    StoreValue("", BinaryValue("Style", {1}));
    StoreValue("", Case.Value);
    Settings = TWYNDO_Settings{};
    const TLoadOutcome Outcome = LoadSettings({});
    EXPECT_TRUE(Outcome.Reset && Outcome.Config) << Case.What;
    EXPECT_EQ(Settings.Style, 0) << Case.What << ": the defaults are taken";
    EXPECT_LE(Settings.IntFormat, 2) << Case.What;
  }

  // A missing flag too; a missing byte value is no failure.
  SeedSettingsKey();
  TRegKey Key = registry::OpenKey(HKEY_CURRENT_USER, SettingsKeyPath(), KEY_WRITE);
  ::RegDeleteValueA(Key.Get(), "Minimization");
  EXPECT_FALSE(LoadSettings({}).Config);
  ::RegDeleteValueA(Key.Get(), "AppBarDocking");
  EXPECT_TRUE(LoadSettings({}).Config);
}

TEST_F(SettingsStoreTest, ARecordTooLongFallsBackToDefaultsFromItsKindOn) {
  SeedSettingsKey();
  TColumnSettings Handle = DefaultColumnList(lkWindow)[0];
  Handle.Width = 99;
  StoreValue("WindowProperties", BinaryValue("Handle", RecordBytes(Handle)));
  TColumnSettings Process = DefaultColumnList(lkProcess)[0];
  Process.Width = 88;
  StoreValue("ProcessProperties", BinaryValue("ProcessID", RecordBytes(Process)));
  StoreValue("ThreadProperties", BinaryValue("Extra", std::vector<std::uint8_t>(276, 0)));
  TColumnSettings Module = DefaultColumnList(lkModule)[0];
  Module.Width = 66;
  StoreValue("ModuleProperties", BinaryValue("ModuleName", RecordBytes(Module)));

  EXPECT_FALSE(LoadSettings({}).Config) << "a column failure is silent";
  EXPECT_EQ(Column(lkWindow, "Handle").Width, 99);
  EXPECT_EQ(Column(lkProcess, "ProcessID").Width, 88);
  EXPECT_TRUE(IsDefault(lkThread));
  EXPECT_TRUE(IsDefault(lkModule)) << "later kinds take their defaults as well";
  for (TListKind Kind : AllListKinds)
    EXPECT_EQ(Settings.ColumnSettings[Kind].size(), PropertiesOf(Kind).size());
}

TEST_F(SettingsStoreTest, AMissingSubkeyMakesEveryKindTakeItsDefaults) {
  SeedSettingsKey();
  TColumnSettings Handle = DefaultColumnList(lkWindow)[0];
  Handle.Width = 99;
  StoreValue("WindowProperties", BinaryValue("Handle", RecordBytes(Handle)));
  registry::DeleteTree(HKEY_CURRENT_USER, SettingsKeyPath() + "\\ModuleProperties");
  LoadSettings({});
  for (TListKind Kind : AllListKinds)
    EXPECT_TRUE(IsDefault(Kind));
}

TEST_F(SettingsStoreTest, StoredRecordsAreCheckedAgainstTheProperties) {
  SeedSettingsKey();
  // A short record fills only its first bytes: shown 0, width 0.
  std::vector<std::uint8_t> Short = RecordBytes(DefaultColumnList(lkWindow)[0]);
  Short.resize(18);
  StoreValue("WindowProperties", BinaryValue("Handle", Short));
  // Type bytes that disagree with the property are rebuilt from it.
  TColumnSettings Text = DefaultColumnList(lkWindow)[2];
  Text.TypeKind = tkInteger;
  Text.OrdKind = 9;
  Text.ValueSize = 1000000;
  StoreValue("WindowProperties", BinaryValue("WindowText", RecordBytes(Text)));
  // A record naming no property is dropped; two records claiming one position are separated.
  StoreValue("WindowProperties", BinaryValue("Nonsense", RecordBytes(Text)));
  TColumnSettings ClassName = DefaultColumnList(lkWindow)[6];
  ClassName.Position = 0;
  StoreValue("WindowProperties", BinaryValue("ClassName", RecordBytes(ClassName)));

  LoadSettings({});
  const TColumnList& Windows = Settings.ColumnSettings[lkWindow];
  EXPECT_EQ(Windows.size(), 12u);
  EXPECT_EQ(Column(lkWindow, "Handle").Shown, 0);
  EXPECT_EQ(Column(lkWindow, "Handle").Width, 0);
  EXPECT_EQ(Column(lkWindow, "WindowText").TypeKind, tkLString);
  EXPECT_EQ(Column(lkWindow, "WindowText").ValueSize, 4u);
  EXPECT_NE(Column(lkWindow, "WindowText").Formatter, nullptr);
  const std::uint8_t A = Column(lkWindow, "WindowText").Position;
  const std::uint8_t B = Column(lkWindow, "ClassName").Position;
  EXPECT_NE(A, B);
  EXPECT_LT(std::max(A, B), 2);
  SaveSettings();
  EXPECT_FALSE(StoredValue("WindowProperties", "Nonsense").has_value());
}

TEST_F(SettingsStoreTest, ChoicesMadeAfterACorruptKeyWasLoadedAreAllThereAtTheNextStart) {
  SeedSettingsKey();
  StoreValue("", DwordValue("IntFormat", 2));
  StoreValue("", BinaryValue("StayOnTop", {7}));
  StoreValue("", {"Style", RegSzType, {'1', 0}});
  StoreValue("WindowProperties", BinaryValue("Handle", {1, 2, 3}));
  StoreValue("ThreadProperties", BinaryValue("Extra", std::vector<std::uint8_t>(4000, 0xFF)));
  StoreValue("ModuleProperties", DwordValue("ModuleName", 5));
  EXPECT_TRUE(LoadSettings({}).Config);
  for (TListKind Kind : {lkThread, lkModule})
    EXPECT_TRUE(IsDefault(Kind));

  Settings.IntFormat = 0;
  Settings.Style = 1;
  Settings.StayOnTop = false;
  TColumnSettings& Thread = Settings.ColumnSettings[lkThread][0];
  TColumnSettings& Module = Settings.ColumnSettings[lkModule][0];
  Thread.Width = 123;
  Module.Width = 45;
  const std::string ThreadField = Thread.FieldName, ModuleField = Module.FieldName;
  SaveSettings();

  Settings = TWYNDO_Settings{};
  EXPECT_FALSE(LoadSettings({}).Config) << "nothing unreadable is left behind";
  EXPECT_EQ(Settings.IntFormat, 0);
  EXPECT_EQ(Settings.Style, 1);
  EXPECT_FALSE(Settings.StayOnTop);
  EXPECT_EQ(Column(lkThread, ThreadField).Width, 123);
  EXPECT_EQ(Column(lkModule, ModuleField).Width, 45);
}

} // namespace
} // namespace wyndo::test
