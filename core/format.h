#pragma once
// How every number, handle and rectangle is written and read back, and the small text helpers
// shared by the windows. All of it follows the global settings' IntFormat and ParseFormat.

#include <cstdint>
#include <string>
#include <string_view>

namespace wyndo {

// Placeholder texts shared by every window that shows values.
inline constexpr std::string_view NoneText = "(None)";
inline constexpr std::string_view UnavailableText = "(Unavailable)";

// Writes Value in Format (ifCurrent: the settings' IntFormat). A zero Value with a non-empty
// ZeroText gives ZeroText. Decimal is signed 32-bit; both hexadecimal forms have eight upper-case
// digits. A format outside 0 to 2 gives an empty text.
std::string FormatValue(std::uint32_t Value, std::string_view ZeroText = {},
                        std::uint8_t Format = 3);

// Reads a number written in the current parse format (ParseFormat, or IntFormat when that is
// ifCurrent). "(None)" and "(Unavailable)" read as 0. A decimal text starts with a digit, or with
// '-' and a digit; a "$" text with '$'; a "0x" text with "0x". Every failure raises EConvertError
// with ErrorMessage as its message.
std::uint32_t ParseValue(std::string_view Text, const std::string& ErrorMessage);

// The integer conversion behind ParseValue: leading blanks, an optional sign, the hexadecimal
// prefixes '$', 'x', 'X', "0x", "0X"; anything else, no digits, or a value beyond 32 bits fails.
// A value that fits 32 bits signed or unsigned is accepted; negative values wrap.
bool TryStrToInt32(std::string_view Text, std::uint32_t& Value);

struct TRect32 {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
};

// "(Left, Top)-(Right, Bottom), WidthxHeight", always signed decimal.
std::string FormatRect(const TRect32& Rect);

// The file-name part of Path (after the last '\' or ':'), or Default when that part is empty.
std::string ExtractFileNameOr(std::string_view Path, std::string_view Default);
// The directory part of Path (up to and including the last '\' or ':'), or Default when empty.
std::string ExtractFilePathOr(std::string_view Path, std::string_view Default);

// The list windows' comparisons, with the reversed sign that the tree's sorting rule expects:
// CompareNumbers gives -1 when A > B and 2 otherwise (also when equal); CompareTexts gives 1 when
// A sorts before B in the user's locale ignoring case, 0 when equal and -1 when after.
std::int8_t CompareNumbers(std::int32_t A, std::int32_t B);
std::int8_t CompareTexts(std::string_view A, std::string_view B);

} // namespace wyndo
