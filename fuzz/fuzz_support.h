#pragma once
// Shared by the fuzz targets: checks that stop the run, the double-byte locale, and a reader that
// takes the fields of a target's input from its front.

#include "core/locale.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace wyndo::fuzz {

// A broken property: libFuzzer records the abort as a crash and keeps the input.
[[noreturn]] inline void Fail(const char* What) {
  std::fprintf(stderr, "fuzz check failed: %s\n", What);
  std::abort();
}

inline void Check(bool Condition, const char* What) {
  if (!Condition) {
    Fail(What);
  }
}

// Lead bytes of code page 932 (Shift-JIS): 0x81 to 0x9F and 0xE0 to 0xFC. Its trail bytes include
// '\', ']', '"', '-' and the letters, which is what double-byte input is about.
inline bool ShiftJisIsLeadByte(unsigned char Byte) {
  return (Byte >= 0x81 && Byte <= 0x9F) || (Byte >= 0xE0 && Byte <= 0xFC);
}

// Upper-cases a to z and leaves trail bytes alone, as a double-byte code page does.
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

// Upper-cases a to z and the accented letters of Latin-1, as code page 1252 does: upper-casing
// changes more than the letters that masks fold.
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

// Selector modulo 3: 0 the ASCII locale of the native build, 1 Shift-JIS, 2 Latin-1.
inline void UseLocale(unsigned Selector) {
  switch (Selector % 3) {
  case 0:
    InstallLocale(AsciiLocale());
    break;
  case 1:
    InstallLocale({ShiftJisUpperCase, AsciiLocale().CompareTextIgnoreCase, ShiftJisIsLeadByte});
    break;
  default:
    InstallLocale({Latin1UpperCase, AsciiLocale().CompareTextIgnoreCase, AsciiLocale().IsLeadByte});
    break;
  }
}

// The fuzzed bytes, read front to back; an exhausted input reads as zeros and empty texts.
class TFuzzInput {
public:
  TFuzzInput(const std::uint8_t* Data, std::size_t Size)
      : FData(reinterpret_cast<const char*>(Data), Size) {}

  bool Empty() const { return FData.empty(); }

  std::uint8_t Byte() {
    if (FData.empty()) {
      return 0;
    }
    const auto Result = static_cast<std::uint8_t>(FData.front());
    FData.remove_prefix(1);
    return Result;
  }

  std::uint16_t Word() {
    const std::uint8_t Low = Byte();
    return static_cast<std::uint16_t>(Low | Byte() << 8);
  }

  // The next Count bytes, or fewer at the end.
  std::string_view Bytes(std::size_t Count) {
    const std::string_view Result = FData.substr(0, std::min(Count, FData.size()));
    FData.remove_prefix(Result.size());
    return Result;
  }

  // The bytes up to Separator (which is consumed), or all the rest.
  std::string_view UpTo(char Separator) {
    const std::size_t End = FData.find(Separator);
    const std::string_view Result = FData.substr(0, End);
    FData.remove_prefix(End == std::string_view::npos ? FData.size() : End + 1);
    return Result;
  }

  std::string_view Rest() { return Bytes(FData.size()); }

private:
  std::string_view FData;
};

} // namespace wyndo::fuzz
