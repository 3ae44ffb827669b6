// Reading numbers and handles typed by the user or shown on the screen: ParseValue (the part of
// ParseHandle that needs no window) and the integer conversion behind it, checked against a
// reading of the rules written independently; FormatValue texts must read back as their value.
// Paths from the system split into directory and file name.
//
// Input: byte 0: IntFormat (bits 0-1, 3 an invalid stored format), the locale (bits 2-7, see
// UseLocale: '0' to '3' ASCII, '4' to '7' Shift-JIS);
// byte 1: ParseFormat (bits 0-1, 3 = as IntFormat); the rest is the text.

#include "core/errors.h"
#include "core/format.h"
#include "core/settings.h"
#include "fuzz/fuzz_support.h"

#include <cerrno>
#include <cstdlib>
#include <optional>

namespace wyndo::fuzz {
namespace {

bool IsDigitOf(char C, int Base) {
  if (C >= '0' && C <= '9') {
    return true;
  }
  const char Lower = static_cast<char>(C | 0x20);
  return Base == 16 && Lower >= 'a' && Lower <= 'f';
}

// Leading blanks, a sign, a prefix '$', 'x', 'X', "0x" or "0X", then nothing but digits; the
// magnitude must fit 32 bits unsigned, or 32 bits signed for a negative decimal number.
std::optional<std::uint32_t> ReferenceStrToInt(std::string_view Text) {
  const std::size_t Start = Text.find_first_not_of(' ');
  if (Start == std::string_view::npos) {
    return std::nullopt;
  }
  Text.remove_prefix(Start);
  bool Negative = false;
  if (Text.starts_with('+') || Text.starts_with('-')) {
    Negative = Text.front() == '-';
    Text.remove_prefix(1);
  }
  int Base = 10;
  if (Text.starts_with('$') || Text.starts_with('x') || Text.starts_with('X')) {
    Base = 16;
    Text.remove_prefix(1);
  } else if (Text.starts_with("0x") || Text.starts_with("0X")) {
    Base = 16;
    Text.remove_prefix(2);
  }
  if (Text.empty()) {
    return std::nullopt;
  }
  for (const char C : Text) {
    if (!IsDigitOf(C, Base)) {
      return std::nullopt;
    }
  }
  const std::string Digits(Text);
  errno = 0;
  const unsigned long long Magnitude = std::strtoull(Digits.c_str(), nullptr, Base);
  const unsigned long long Limit = Negative && Base == 10 ? 0x80000000ull : 0xFFFFFFFFull;
  if (errno == ERANGE || Magnitude > Limit) {
    return std::nullopt;
  }
  const auto Low = static_cast<std::uint32_t>(Magnitude);
  return Negative ? 0u - Low : Low;
}

std::optional<std::uint32_t> ReferenceParseValue(std::string_view Text) {
  if (Text == "(None)" || Text == "(Unavailable)") {
    return 0;
  }
  const std::uint8_t Format =
      Settings.ParseFormat == ifCurrent ? Settings.IntFormat : Settings.ParseFormat;
  if (Format == ifDecimal) {
    const std::string_view Digits = Text.starts_with('-') ? Text.substr(1) : Text;
    if (!Digits.empty() && Digits[0] >= '0' && Digits[0] <= '9') {
      return ReferenceStrToInt(Text);
    }
  }
  if (Format == ifPascalHex && Text.starts_with('$')) {
    return ReferenceStrToInt(Text);
  }
  if (Format == ifCHex && Text.starts_with("0x")) {
    return ReferenceStrToInt("$" + std::string(Text.substr(2)));
  }
  return std::nullopt;
}

std::optional<std::uint32_t> TryParseValue(std::string_view Text) {
  static const std::string Message = "Invalid Value";
  try {
    return ParseValue(Text, Message);
  } catch (const EConvertError& Error) {
    Check(Error.what() == Message, "a conversion error carries the caller's message");
    return std::nullopt;
  }
}

// What FormatValue writes in the parse format reads back as the value.
void CheckRoundTrip(std::uint32_t Value) {
  const std::uint8_t Format =
      Settings.ParseFormat == ifCurrent ? Settings.IntFormat : Settings.ParseFormat;
  const std::string Text = FormatValue(Value, "", Format);
  switch (Format) {
  case ifDecimal:
    Check(Text == std::to_string(static_cast<std::int32_t>(Value)), "decimal text");
    break;
  case ifPascalHex:
    Check(Text.size() == 9 && Text[0] == '$', "\"$\" text");
    break;
  case ifCHex:
    Check(Text.size() == 10 && Text.starts_with("0x"), "\"0x\" text");
    break;
  default:
    Check(Text.empty(), "no text for an unknown format");
    return;
  }
  Check(TryParseValue(Text) == Value, "a written value reads back");
  Check(TryParseValue(FormatValue(0, NoneText, Format)) == 0u, "the zero text reads as 0");
  Check(FormatValue(Value, UnavailableText, Format) == (Value == 0 ? UnavailableText : Text),
        "the zero text stands for 0 only");
}

// Index after the last single-byte '\' or ':' of Path.
std::size_t ReferencePathSplit(std::string_view Path) {
  std::size_t Split = 0;
  std::size_t I = 0;
  while (I < Path.size()) {
    const auto C = static_cast<unsigned char>(Path[I]);
    if (UserLocale().IsLeadByte(C) && I + 1 < Path.size()) {
      I += 2;
      continue;
    }
    if (C == '\\' || C == ':') {
      Split = I + 1;
    }
    ++I;
  }
  return Split;
}

void CheckPath(std::string_view Path) {
  static constexpr std::string_view Default = "(Unavailable)";
  const std::size_t Split = ReferencePathSplit(Path);
  const std::string_view Directory = Path.substr(0, Split);
  const std::string_view Name = Path.substr(Split);
  Check(ExtractFilePathOr(Path, Default) == (Directory.empty() ? Default : Directory),
        "directory part");
  Check(ExtractFileNameOr(Path, Default) == (Name.empty() ? Default : Name), "file name part");
}

} // namespace
} // namespace wyndo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  using namespace wyndo;
  using namespace wyndo::fuzz;
  TFuzzInput Input(Data, Size);
  const std::uint8_t Flags = Input.Byte();
  Settings.IntFormat = Flags & 3;
  UseLocale(Flags >> 2);
  Settings.ParseFormat = Input.Byte() & 3;
  const std::string_view Text = Input.Rest();

  const std::optional<std::uint32_t> Parsed = TryParseValue(Text);
  Check(Parsed == ReferenceParseValue(Text), "ParseValue follows the reading rules");
  std::uint32_t Converted = 0;
  const bool Valid = TryStrToInt32(Text, Converted);
  const std::optional<std::uint32_t> Expected = ReferenceStrToInt(Text);
  Check(Valid == Expected.has_value() && (!Valid || Converted == *Expected),
        "TryStrToInt32 follows the conversion rules");

  std::uint32_t Value = 0;
  for (std::size_t I = 0; I < 4 && I < Text.size(); ++I) {
    Value |= std::uint32_t{static_cast<unsigned char>(Text[I])} << (8 * I);
  }
  CheckRoundTrip(Value);
  CheckPath(Text);
  return 0;
}
