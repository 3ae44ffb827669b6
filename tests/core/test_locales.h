#pragma once
// Locales for tests and fuzz targets of the code that does not need Win32: a double-byte code
// page (Shift-JIS) and a single-byte one whose upper case changes more than a to z (Latin-1).

#include "core/locale.h"

#include <string>
#include <string_view>

namespace wyndo::test {

// Lead bytes of code page 932 (Shift-JIS): 0x81 to 0x9F and 0xE0 to 0xFC. Its trail bytes include
// '\', ']', '"', '-' and the letters, which is what double-byte input is about.
inline bool ShiftJisIsLeadByte(unsigned char Byte) {
  return (Byte >= 0x81 && Byte <= 0x9F) || (Byte >= 0xE0 && Byte <= 0xFC);
}

// Upper-cases a to z, leaving trail bytes alone as a double-byte code page does.
inline std::string ShiftJisUpperCase(std::string_view Text) {
  std::string Result(Text);
  for (std::size_t I = 0; I < Result.size(); ++I) {
    const auto Byte = static_cast<unsigned char>(Result[I]);
    if (ShiftJisIsLeadByte(Byte)) {
      ++I;
    } else if (Byte >= 'a' && Byte <= 'z') {
      Result[I] = static_cast<char>(Byte - 'a' + 'A');
    }
  }
  return Result;
}

// Upper-cases a to z and the accented letters of Latin-1 (0xE0 to 0xFE but 0xF7), as code page
// 1252 does: upper-casing changes more than the letters that masks fold.
inline std::string Latin1UpperCase(std::string_view Text) {
  std::string Result(Text);
  for (char& C : Result) {
    const auto Byte = static_cast<unsigned char>(C);
    if ((Byte >= 'a' && Byte <= 'z') || (Byte >= 0xE0 && Byte <= 0xFE && Byte != 0xF7)) {
      C = static_cast<char>(Byte - 0x20);
    }
  }
  return Result;
}

inline TLocaleFunctions ShiftJisLocale() {
  return {ShiftJisUpperCase, AsciiLocale().CompareTextIgnoreCase, ShiftJisIsLeadByte};
}

inline TLocaleFunctions Latin1Locale() {
  return {Latin1UpperCase, AsciiLocale().CompareTextIgnoreCase, AsciiLocale().IsLeadByte};
}

} // namespace wyndo::test
