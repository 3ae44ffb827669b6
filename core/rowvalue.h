#pragma once
// Value types of list columns and the formatters that turn a stored cell value into its text.

#include <cstdint>
#include <string>
#include <string_view>

namespace wyndo {

// Type kinds of a property as stored in a column settings record. Stored bytes may hold any
// value, so these are plain constants, not a closed enumeration.
enum TTypeKind : std::uint8_t { tkInteger = 1, tkEnumeration = 3, tkLString = 10 };

// Ordinal kinds: the width and signedness of an integer or enumeration value.
enum TOrdKind : std::uint8_t {
  otSByte = 0,
  otUByte = 1,
  otSWord = 2,
  otUWord = 3,
  otSLong = 4,
  otULong = 5
};

// One cell's value: the ordinal's bytes read as an unsigned 32-bit number (its low 1, 2 or 4
// bytes are the value), or the text.
struct TCellValue {
  std::uint32_t Ordinal = 0;
  std::string_view Text;
};

using TValueFormatter = std::string (*)(const TCellValue& Value);

// Ordinals are widened to 32 bits (signed ones with sign extension) and written with
// FormatValue(value, "", ifCurrent); Booleans are "False" or "True"; texts stay as they are.
std::string FormatSByteValue(const TCellValue& Value);
std::string FormatUByteValue(const TCellValue& Value);
std::string FormatSWordValue(const TCellValue& Value);
std::string FormatUWordValue(const TCellValue& Value);
std::string FormatSLongValue(const TCellValue& Value);
std::string FormatULongValue(const TCellValue& Value);
std::string FormatBooleanValue(const TCellValue& Value);
std::string FormatTextValue(const TCellValue& Value);

// The formatter for a property: integers by ordinal kind (0 to 5), enumerations only when the
// property is a Boolean, texts; nullptr for anything else.
TValueFormatter FormatterFor(std::uint8_t TypeKind, std::uint8_t OrdKind, bool IsBoolean);

// Widens an ordinal of the given kind to a signed 32-bit number (kinds 4 and 5 both read the
// 32 bits as signed, which is how the lists compare them). Unknown kinds read the low byte.
std::int32_t OrdinalAsInt32(std::uint32_t Raw, std::uint8_t OrdKind);

} // namespace wyndo
