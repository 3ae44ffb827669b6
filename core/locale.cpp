#include "core/locale.h"

#include <algorithm>

namespace wyndo {

namespace {

char AsciiUpper(char C) {
  return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C;
}

// Orders by the unsigned byte values of the upper-cased texts; a prefix sorts first.
int AsciiCompareTextIgnoreCase(std::string_view A, std::string_view B) {
  const std::size_t Common = std::min(A.size(), B.size());
  for (std::size_t I = 0; I < Common; ++I) {
    const auto CA = static_cast<unsigned char>(AsciiUpper(A[I]));
    const auto CB = static_cast<unsigned char>(AsciiUpper(B[I]));
    if (CA != CB) {
      return CA < CB ? -1 : 1;
    }
  }
  if (A.size() == B.size()) {
    return 0;
  }
  return A.size() < B.size() ? -1 : 1;
}

bool AsciiIsLeadByte(unsigned char) {
  return false;
}

constexpr TLocaleFunctions AsciiFunctions{AsciiUpperCase, AsciiCompareTextIgnoreCase,
                                          AsciiIsLeadByte};

TLocaleFunctions CurrentFunctions = AsciiFunctions;

} // namespace

const TLocaleFunctions& UserLocale() {
  return CurrentFunctions;
}

void InstallLocale(const TLocaleFunctions& Functions) {
  CurrentFunctions = Functions;
}

const TLocaleFunctions& AsciiLocale() {
  return AsciiFunctions;
}

std::string AsciiUpperCase(std::string_view Text) {
  std::string Result(Text);
  std::transform(Result.begin(), Result.end(), Result.begin(), AsciiUpper);
  return Result;
}

} // namespace wyndo
