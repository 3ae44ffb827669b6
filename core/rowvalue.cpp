#include "core/rowvalue.h"

#include "core/format.h"
#include "core/settings.h"

namespace wyndo {

namespace {

std::string FormatWidened(std::uint32_t Value) {
  return FormatValue(Value, "", ifCurrent);
}

// The low byte, low word or whole value, sign-extended to 32 bits and stored as unsigned.
std::uint32_t SignExtend8(std::uint32_t Raw) {
  return static_cast<std::uint32_t>(static_cast<std::int8_t>(static_cast<std::uint8_t>(Raw)));
}
std::uint32_t SignExtend16(std::uint32_t Raw) {
  return static_cast<std::uint32_t>(static_cast<std::int16_t>(static_cast<std::uint16_t>(Raw)));
}

} // namespace

std::string FormatSByteValue(const TCellValue& Value) {
  return FormatWidened(SignExtend8(Value.Ordinal));
}
std::string FormatUByteValue(const TCellValue& Value) {
  return FormatWidened(Value.Ordinal & 0xFFu);
}
std::string FormatSWordValue(const TCellValue& Value) {
  return FormatWidened(SignExtend16(Value.Ordinal));
}
std::string FormatUWordValue(const TCellValue& Value) {
  return FormatWidened(Value.Ordinal & 0xFFFFu);
}
std::string FormatSLongValue(const TCellValue& Value) {
  return FormatWidened(Value.Ordinal);
}
std::string FormatULongValue(const TCellValue& Value) {
  return FormatWidened(Value.Ordinal);
}
std::string FormatBooleanValue(const TCellValue& Value) {
  return Value.Ordinal != 0 ? "True" : "False";
}
std::string FormatTextValue(const TCellValue& Value) {
  return std::string(Value.Text);
}

TValueFormatter FormatterFor(std::uint8_t TypeKind, std::uint8_t OrdKind, bool IsBoolean) {
  switch (TypeKind) {
  case tkInteger:
    switch (OrdKind) {
    case otSByte:
      return FormatSByteValue;
    case otUByte:
      return FormatUByteValue;
    case otSWord:
      return FormatSWordValue;
    case otUWord:
      return FormatUWordValue;
    case otSLong:
      return FormatSLongValue;
    case otULong:
      return FormatULongValue;
    default:
      return nullptr;
    }
  case tkEnumeration:
    return IsBoolean ? FormatBooleanValue : nullptr;
  case tkLString:
    return FormatTextValue;
  default:
    return nullptr;
  }
}

std::int32_t OrdinalAsInt32(std::uint32_t Raw, std::uint8_t OrdKind) {
  switch (OrdKind) {
  case otSByte:
    return static_cast<std::int32_t>(SignExtend8(Raw));
  case otSWord:
    return static_cast<std::int32_t>(SignExtend16(Raw));
  case otUWord:
    return static_cast<std::int32_t>(Raw & 0xFFFFu);
  case otSLong:
  case otULong:
    return static_cast<std::int32_t>(Raw);
  case otUByte:
  default:
    return static_cast<std::int32_t>(Raw & 0xFFu);
  }
}

} // namespace wyndo
