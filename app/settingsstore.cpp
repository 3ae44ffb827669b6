#include "app/settingsstore.h"

#include "app/registry.h"
#include "core/columns.h"
#include "core/format.h"
#include "core/options.h"
#include "core/settings.h"
#include "info/functions.h"
#include "ui/winutil.h"

#include <windows.h>

namespace wyndo {

namespace {

std::string SubkeyPath(TListKind Kind) {
  return SettingsKeyPath() + "\\" + std::string(SettingsKeyNames[Kind]);
}

std::string ProgramDirectory() {
  char Path[MAX_PATH + 1] = {};
  ::GetModuleFileNameA(nullptr, Path, MAX_PATH);
  return ExtractFilePathOr(Path, "");
}

// The stored values of every kind; nothing for a kind whose key cannot be opened or read.
std::array<TStoredKind, ListKindCount> ReadStoredColumns() {
  std::array<TStoredKind, ListKindCount> Stored;
  for (TListKind Kind : AllListKinds)
    if (TRegKey Key = registry::CreateKey(HKEY_CURRENT_USER, SubkeyPath(Kind)))
      Stored[Kind] = registry::ReadAllValues(Key.Get(), ColumnRecordSize);
  return Stored;
}

} // namespace

std::string SettingsKeyPath() {
  return "Software\\" + LoadResString(SCompanyName) + "\\" + LoadResString(SProductName);
}

TLoadOutcome LoadSettings(const TCommandSwitches& Switches) {
  TLoadOutcome Outcome{Switches.Reset, Switches.Config};
  const std::string Path = SettingsKeyPath();
  if (registry::KeyExists(HKEY_CURRENT_USER, Path)) {
    if (!Outcome.Reset) {
      TRegKey Key = registry::OpenKey(HKEY_CURRENT_USER, Path);
      // Option values are at most 4 bytes; reading 8 tells a longer one apart.
      const TValueLookup Lookup = [&Key](std::string_view Name) {
        return Key ? registry::ReadValue(Key.Get(), Name, 8) : std::nullopt;
      };
      if (!Key || !ReadStoredOptions(Lookup, Settings))
        Outcome.Reset = Outcome.Config = true;
    }
  } else {
    Outcome.Reset = Outcome.Config = true;
    registry::CreateKey(HKEY_CURRENT_USER, Path);
  }

  bool Defaults = Outcome.Reset;
  for (TListKind Kind : AllListKinds)
    if (!Defaults && !registry::KeyExists(HKEY_CURRENT_USER, SubkeyPath(Kind)))
      Defaults = true;
  Settings.ColumnSettings = BuildColumnSettings(
      Defaults ? std::array<TStoredKind, ListKindCount>{} : ReadStoredColumns(), Defaults);

  if (TRegKey Key = registry::CreateKey(HKEY_CURRENT_USER, Path)) {
    // REG_SZ data ends with its terminating zero.
    const std::string Directory = ProgramDirectory();
    TStoredValue AppPath{"AppPath", RegSzType, {Directory.begin(), Directory.end()}};
    AppPath.Data.push_back(0);
    registry::WriteValue(Key.Get(), AppPath);
  }
  if (Outcome.Reset)
    SetDefaultOptions(Settings);
  return Outcome;
}

void SaveSettings() {
  TRegKey Key = registry::CreateKey(HKEY_CURRENT_USER, SettingsKeyPath());
  if (!Key)
    return;
  for (const TStoredValue& Value : StoredOptions(Settings))
    registry::WriteValue(Key.Get(), Value);
  for (TListKind Kind : AllListKinds) {
    TRegKey Subkey = registry::CreateKey(HKEY_CURRENT_USER, SubkeyPath(Kind));
    if (!Subkey)
      continue;
    registry::DeleteAllValues(Subkey.Get());
    for (const TColumnSettings& Record : Settings.ColumnSettings[Kind]) {
      const TStoredRecord Bytes = StoreColumnRecord(Record);
      registry::WriteValue(Subkey.Get(),
                           {Record.FieldName, RegBinaryType, {Bytes.begin(), Bytes.end()}});
    }
  }
}

} // namespace wyndo
