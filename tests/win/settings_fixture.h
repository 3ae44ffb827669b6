#pragma once
// Every test that starts wyndo.exe or reads the settings key first deletes the key (a first
// start) or seeds a complete one, so no test depends on another's leftovers.

#include "app/registry.h"
#include "core/columns.h"
#include "core/settings.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace wyndo::test {

// HKEY_CURRENT_USER\Software\Harlwick\Wyndo and its subkeys go.
void DeleteSettingsKey();
// A complete key: the six options at their defaults, "AppPath", and per kind one default record
// per property.
void SeedSettingsKey();
// The values of the settings key or of one of its subkeys ("" for the key itself).
std::vector<TStoredValue> StoredValues(const std::string& Subkey = "");
std::optional<TStoredValue> StoredValue(const std::string& Subkey, const std::string& Name);
void StoreValue(const std::string& Subkey, const TStoredValue& Value);
// A REG_BINARY value of the given bytes, or a REG_DWORD.
TStoredValue BinaryValue(std::string Name, std::vector<std::uint8_t> Data);
TStoredValue DwordValue(std::string Name, std::uint32_t Data);

// Saves and restores the settings object and starts from a deleted key.
class SettingsKeyTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  TWYNDO_Settings Saved;
};

} // namespace wyndo::test
