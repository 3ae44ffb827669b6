// The option values of the settings key, of any type and size or missing: ReadStoredOptions must
// accept exactly what a reading of the rules written here accepts and read the same values, and
// what StoredOptions writes must read back.
//
// Input: three bytes: IntFormat, Style and Minimization before reading. Then for each of
// "IntFormat", "Style", "Minimization", "AppBarDocking", "StayOnTop", "MainFinder" in turn: a
// control byte (bit 7: missing; bit 6: the type in bits 0-3, else the option's own type), a
// length byte (modulo 10: the registry is read 8 bytes and one more) and the data.

#include "core/options.h"
#include "fuzz/fuzz_support.h"

#include <map>

namespace wyndo::fuzz {
namespace {

constexpr std::string_view ByteNames[] = {"IntFormat", "Style", "Minimization"};
constexpr std::string_view FlagNames[] = {"AppBarDocking", "StayOnTop", "MainFinder"};

using TKey = std::map<std::string, TStoredValue, std::less<>>;

TValueLookup LookupIn(const TKey& Key) {
  return [&Key](std::string_view Name) -> std::optional<TStoredValue> {
    const auto Found = Key.find(Name);
    if (Found == Key.end()) {
      return std::nullopt;
    }
    return Found->second;
  };
}

struct TOptions {
  std::uint8_t Bytes[3];
  bool Flags[3];
  friend bool operator==(const TOptions&, const TOptions&) = default;
};

TOptions OptionsOf(const TWYNDO_Settings& Settings) {
  return {{Settings.IntFormat, Settings.Style, Settings.Minimization},
          {Settings.AppBarDocking, Settings.StayOnTop, Settings.MainFinder}};
}

// Byte options: binary of at most one byte, an empty or missing one leaves the field. Flags:
// DWORDs of four bytes that must be there, non-zero is true. Then the values must be known.
std::optional<TOptions> ReferenceRead(const TKey& Key, TOptions Options) {
  for (int I = 0; I < 3; ++I) {
    const auto Found = Key.find(ByteNames[I]);
    if (Found == Key.end()) {
      continue;
    }
    const TStoredValue& Value = Found->second;
    if (Value.Type != RegBinaryType || Value.Data.size() > 1) {
      return std::nullopt;
    }
    if (Value.Data.size() == 1) {
      Options.Bytes[I] = Value.Data[0];
    }
  }
  for (int I = 0; I < 3; ++I) {
    const auto Found = Key.find(FlagNames[I]);
    if (Found == Key.end() || Found->second.Type != RegDwordType ||
        Found->second.Data.size() != 4) {
      return std::nullopt;
    }
    const auto& Data = Found->second.Data;
    Options.Flags[I] = (Data[0] | Data[1] | Data[2] | Data[3]) != 0;
  }
  if (Options.Bytes[0] > 2 || Options.Bytes[1] > 1 || Options.Bytes[2] > 2) {
    return std::nullopt;
  }
  return Options;
}

// What is stored for Settings reads back as the same options.
void CheckStored(const TWYNDO_Settings& Settings) {
  TKey Key;
  for (TStoredValue& Value : StoredOptions(Settings)) {
    Key.emplace(Value.Name, std::move(Value));
  }
  Check(Key.size() == 6, "six option values");
  TWYNDO_Settings Read;
  Check(ReadStoredOptions(LookupIn(Key), Read), "stored options read");
  Check(OptionsOf(Read) == OptionsOf(Settings), "stored options read back unchanged");
}

} // namespace
} // namespace wyndo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  using namespace wyndo;
  using namespace wyndo::fuzz;
  TFuzzInput Input(Data, Size);
  TWYNDO_Settings Settings;
  Settings.IntFormat = Input.Byte();
  Settings.Style = Input.Byte();
  Settings.Minimization = Input.Byte();
  const TOptions Before = OptionsOf(Settings);

  TKey Key;
  for (int Index = 0; Index < 6; ++Index) {
    const std::string Name(Index < 3 ? ByteNames[Index] : FlagNames[Index - 3]);
    const std::uint8_t Control = Input.Byte();
    const std::string_view Bytes = Input.Bytes(Input.Byte() % 10);
    const std::uint32_t Type = (Control & 0x40) != 0 ? Control & 0x0F
                               : Index < 3           ? RegBinaryType
                                                     : RegDwordType;
    if ((Control & 0x80) == 0) {
      Key.emplace(Name, TStoredValue{Name, Type, {Bytes.begin(), Bytes.end()}});
    }
  }

  const bool Read = ReadStoredOptions(LookupIn(Key), Settings);
  const std::optional<TOptions> Expected = ReferenceRead(Key, Before);
  Check(Read == Expected.has_value(), "accepts what the rules accept");
  if (Read) {
    Check(OptionsOf(Settings) == *Expected, "reads the values the rules read");
    CheckStored(Settings);
  }
  SetDefaultOptions(Settings);
  CheckStored(Settings);
  return 0;
}
