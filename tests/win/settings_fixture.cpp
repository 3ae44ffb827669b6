#include "tests/win/settings_fixture.h"

#include "app/settingsstore.h"
#include "core/options.h"

namespace wyndo::test {

namespace {

std::string PathOf(const std::string& Subkey) {
  return Subkey.empty() ? SettingsKeyPath() : SettingsKeyPath() + "\\" + Subkey;
}

} // namespace

void DeleteSettingsKey() {
  registry::DeleteTree(HKEY_CURRENT_USER, SettingsKeyPath());
}

void SeedSettingsKey() {
  DeleteSettingsKey();
  TWYNDO_Settings Defaults;
  SetDefaultOptions(Defaults);
  for (const TStoredValue& Value : StoredOptions(Defaults))
    StoreValue("", Value);
  StoreValue("", {"AppPath", RegSzType, {'C', ':', '\\', 0}});
  for (TListKind Kind : AllListKinds)
    for (const TColumnSettings& Record : DefaultColumnList(Kind)) {
      const TStoredRecord Bytes = StoreColumnRecord(Record);
      StoreValue(std::string(SettingsKeyNames[Kind]),
                 BinaryValue(Record.FieldName, {Bytes.begin(), Bytes.end()}));
    }
}

std::vector<TStoredValue> StoredValues(const std::string& Subkey) {
  TRegKey Key = registry::OpenKey(HKEY_CURRENT_USER, PathOf(Subkey));
  if (!Key)
    return {};
  return registry::ReadAllValues(Key.Get(), 4096).value_or(std::vector<TStoredValue>{});
}

std::optional<TStoredValue> StoredValue(const std::string& Subkey, const std::string& Name) {
  TRegKey Key = registry::OpenKey(HKEY_CURRENT_USER, PathOf(Subkey));
  return Key ? registry::ReadValue(Key.Get(), Name, 4096) : std::nullopt;
}

void StoreValue(const std::string& Subkey, const TStoredValue& Value) {
  TRegKey Key = registry::CreateKey(HKEY_CURRENT_USER, PathOf(Subkey));
  ASSERT_TRUE(Key);
  ASSERT_TRUE(registry::WriteValue(Key.Get(), Value));
}

TStoredValue BinaryValue(std::string Name, std::vector<std::uint8_t> Data) {
  return {std::move(Name), RegBinaryType, std::move(Data)};
}

TStoredValue DwordValue(std::string Name, std::uint32_t Data) {
  return {std::move(Name),
          RegDwordType,
          {static_cast<std::uint8_t>(Data), static_cast<std::uint8_t>(Data >> 8),
           static_cast<std::uint8_t>(Data >> 16), static_cast<std::uint8_t>(Data >> 24)}};
}

void SettingsKeyTest::SetUp() {
  Saved = Settings;
  DeleteSettingsKey();
}

void SettingsKeyTest::TearDown() {
  Settings = Saved;
  DeleteSettingsKey();
}

} // namespace wyndo::test
