#pragma once
// Shared by the fuzz targets: checks that stop the run, the choice of locale, and a reader that
// takes the fields of a target's input from its front.

#include "core/locale.h"
#include "tests/core/test_locales.h"

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

// Selector modulo 3: 0 the ASCII locale of the native build, 1 Shift-JIS, 2 Latin-1.
inline void UseLocale(unsigned Selector) {
  switch (Selector % 3) {
  case 0:
    InstallLocale(AsciiLocale());
    break;
  case 1:
    InstallLocale(test::ShiftJisLocale());
    break;
  default:
    InstallLocale(test::Latin1Locale());
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
