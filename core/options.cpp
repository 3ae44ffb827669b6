#include "core/options.h"

#include <cstdint>
#include <optional>

namespace wyndo {

namespace {

constexpr std::size_t DwordSize = 4;

// Reads a one-byte binary option into Field; a missing or empty value leaves it.
bool ReadByteOption(const TValueLookup& Lookup, std::string_view Name, std::uint8_t& Field) {
  const std::optional<TStoredValue> Value = Lookup(Name);
  if (!Value) {
    return true;
  }
  if (Value->Type != RegBinaryType || Value->Data.size() > 1) {
    return false;
  }
  if (!Value->Data.empty()) {
    Field = Value->Data[0];
  }
  return true;
}

// Reads a DWORD option into Field; unlike the byte options it must be present.
bool ReadFlagOption(const TValueLookup& Lookup, std::string_view Name, bool& Field) {
  const std::optional<TStoredValue> Value = Lookup(Name);
  if (!Value || Value->Type != RegDwordType || Value->Data.size() != DwordSize) {
    return false;
  }
  Field = Value->Data[0] != 0 || Value->Data[1] != 0 || Value->Data[2] != 0 || Value->Data[3] != 0;
  return true;
}

TStoredValue ByteOption(std::string_view Name, std::uint8_t Field) {
  return {std::string(Name), RegBinaryType, {Field}};
}

TStoredValue FlagOption(std::string_view Name, bool Field) {
  return {std::string(Name), RegDwordType, {Field ? std::uint8_t{1} : std::uint8_t{0}, 0, 0, 0}};
}

} // namespace

bool ReadStoredOptions(const TValueLookup& Lookup, TWYNDO_Settings& Settings) {
  if (!ReadByteOption(Lookup, "IntFormat", Settings.IntFormat) ||
      !ReadByteOption(Lookup, "Style", Settings.Style) ||
      !ReadByteOption(Lookup, "Minimization", Settings.Minimization) ||
      !ReadFlagOption(Lookup, "AppBarDocking", Settings.AppBarDocking) ||
      !ReadFlagOption(Lookup, "StayOnTop", Settings.StayOnTop) ||
      !ReadFlagOption(Lookup, "MainFinder", Settings.MainFinder)) {
    return false;
  }
  return Settings.IntFormat <= ifCHex && Settings.Style <= 1 &&
         Settings.Minimization <= mzTrayAndTaskbar;
}

void SetDefaultOptions(TWYNDO_Settings& Settings) {
  Settings.IntFormat = ifPascalHex;
  Settings.AppBarDocking = true;
  Settings.StayOnTop = true;
  Settings.Style = 0;
  Settings.Minimization = mzTaskbar;
  Settings.MainFinder = true;
}

std::vector<TStoredValue> StoredOptions(const TWYNDO_Settings& Settings) {
  return {
      ByteOption("IntFormat", Settings.IntFormat),
      ByteOption("Style", Settings.Style),
      ByteOption("Minimization", Settings.Minimization),
      FlagOption("AppBarDocking", Settings.AppBarDocking),
      FlagOption("StayOnTop", Settings.StayOnTop),
      FlagOption("MainFinder", Settings.MainFinder),
  };
}

} // namespace wyndo
