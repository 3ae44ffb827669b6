#include "core/format.h"

#include "core/errors.h"
#include "core/locale.h"
#include "core/settings.h"

namespace wyndo {

namespace {

// Eight upper-case hexadecimal digits, zero-padded.
std::string Hex8(std::uint32_t Value) {
  static constexpr char Digits[] = "0123456789ABCDEF";
  std::string Result(8, '0');
  for (auto Digit = Result.rbegin(); Digit != Result.rend(); ++Digit) {
    *Digit = Digits[Value & 0xF];
    Value >>= 4;
  }
  return Result;
}

// The value of C as a digit of Base, or -1.
int DigitValue(char C, unsigned Base) {
  int Digit = -1;
  if (C >= '0' && C <= '9') {
    Digit = C - '0';
  } else if (C >= 'A' && C <= 'F') {
    Digit = C - 'A' + 10;
  } else if (C >= 'a' && C <= 'f') {
    Digit = C - 'a' + 10;
  }
  return Digit < static_cast<int>(Base) ? Digit : -1;
}

// Index just after the last '\' or ':' of Path, or 0. Trail bytes of double-byte characters are
// skipped, since in some code pages they have the value of '\'.
std::size_t PathSplit(std::string_view Path) {
  const auto& Locale = UserLocale();
  std::size_t Split = 0;
  for (std::size_t I = 0; I < Path.size(); ++I) {
    const auto C = static_cast<unsigned char>(Path[I]);
    if (Locale.IsLeadByte(C) && I + 1 < Path.size()) {
      ++I;
    } else if (C == '\\' || C == ':') {
      Split = I + 1;
    }
  }
  return Split;
}

} // namespace

std::string FormatValue(std::uint32_t Value, std::string_view ZeroText, std::uint8_t Format) {
  if (Value == 0 && !ZeroText.empty()) {
    return std::string(ZeroText);
  }
  if (Format == ifCurrent) {
    Format = Settings.IntFormat;
  }
  switch (Format) {
  case ifDecimal:
    return std::to_string(static_cast<std::int32_t>(Value));
  case ifPascalHex:
    return "$" + Hex8(Value);
  case ifCHex:
    return "0x" + Hex8(Value);
  default:
    return {};
  }
}

std::uint32_t ParseValue(std::string_view Text, const std::string& ErrorMessage) {
  if (Text == NoneText || Text == UnavailableText) {
    return 0;
  }
  const std::uint8_t Format =
      Settings.ParseFormat == ifCurrent ? Settings.IntFormat : Settings.ParseFormat;
  std::uint32_t Value = 0;
  bool Valid = false;
  if (!Text.empty()) {
    switch (Format) {
    case ifDecimal: {
      // Values of $80000000 and above are written negative: a minus sign before the first digit
      // reads them back.
      const std::string_view Digits = Text[0] == '-' ? Text.substr(1) : Text;
      Valid = !Digits.empty() && Digits[0] >= '0' && Digits[0] <= '9' && TryStrToInt32(Text, Value);
      break;
    }
    case ifPascalHex:
      Valid = Text[0] == '$' && TryStrToInt32(Text, Value);
      break;
    case ifCHex:
      // Only the lower-case prefix that FormatValue writes is accepted.
      Valid = Text.starts_with("0x") && TryStrToInt32("$" + std::string(Text.substr(2)), Value);
      break;
    default:
      break;
    }
  }
  if (!Valid) {
    throw EConvertError(ErrorMessage);
  }
  return Value;
}

bool TryStrToInt32(std::string_view Text, std::uint32_t& Value) {
  std::size_t I = 0;
  while (I < Text.size() && Text[I] == ' ') {
    ++I;
  }
  bool Negative = false;
  if (I < Text.size() && (Text[I] == '+' || Text[I] == '-')) {
    Negative = Text[I] == '-';
    ++I;
  }
  unsigned Base = 10;
  if (I < Text.size() && (Text[I] == '$' || Text[I] == 'x' || Text[I] == 'X')) {
    Base = 16;
    ++I;
  } else if (I + 1 < Text.size() && Text[I] == '0' && (Text[I + 1] == 'x' || Text[I + 1] == 'X')) {
    Base = 16;
    I += 2;
  }
  if (I == Text.size()) {
    return false;
  }
  // Anything that fits 32 bits unsigned is accepted, except that a negative decimal number must
  // fit 32 bits signed.
  const std::uint64_t Limit = Negative && Base == 10 ? 0x80000000u : 0xFFFFFFFFu;
  std::uint64_t Magnitude = 0;
  for (; I < Text.size(); ++I) {
    const int Digit = DigitValue(Text[I], Base);
    if (Digit < 0) {
      return false;
    }
    Magnitude = Magnitude * Base + static_cast<unsigned>(Digit);
    if (Magnitude > Limit) {
      return false;
    }
  }
  const auto Low = static_cast<std::uint32_t>(Magnitude);
  Value = Negative ? 0u - Low : Low;
  return true;
}

std::string FormatRect(const TRect32& Rect) {
  // Subtracted as unsigned so that extreme coordinates wrap instead of overflowing.
  const auto Width = static_cast<std::int32_t>(static_cast<std::uint32_t>(Rect.Right) -
                                               static_cast<std::uint32_t>(Rect.Left));
  const auto Height = static_cast<std::int32_t>(static_cast<std::uint32_t>(Rect.Bottom) -
                                                static_cast<std::uint32_t>(Rect.Top));
  return "(" + std::to_string(Rect.Left) + ", " + std::to_string(Rect.Top) + ")-(" +
         std::to_string(Rect.Right) + ", " + std::to_string(Rect.Bottom) + "), " +
         std::to_string(Width) + "x" + std::to_string(Height);
}

std::string ExtractFileNameOr(std::string_view Path, std::string_view Default) {
  const std::string_view Name = Path.substr(PathSplit(Path));
  return std::string(Name.empty() ? Default : Name);
}

std::string ExtractFilePathOr(std::string_view Path, std::string_view Default) {
  const std::string_view Directory = Path.substr(0, PathSplit(Path));
  return std::string(Directory.empty() ? Default : Directory);
}

std::int8_t CompareNumbers(std::int32_t A, std::int32_t B) {
  return A > B ? -1 : 2;
}

std::int8_t CompareTexts(std::string_view A, std::string_view B) {
  const int Order = UserLocale().CompareTextIgnoreCase(A, B);
  if (Order < 0) {
    return 1;
  }
  return Order == 0 ? 0 : -1;
}

} // namespace wyndo
