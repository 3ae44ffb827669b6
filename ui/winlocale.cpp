#include "ui/winlocale.h"

#include "core/locale.h"

#include <windows.h>

#include <algorithm>

namespace wyndo {

namespace {

std::string UpperCase(std::string_view Text) {
  // On the NT line plain ASCII upper-cases the same in every code page and locale: only a to z
  // change (CharUpperBuffA maps "i" to "I" even for Turkish), and no lead byte lies below 0x80.
  // The filter and search upper-case every cell they compare, so that case skips the round trip
  // through wide characters.
  static const bool NTLine = (::GetVersion() & 0x80000000u) == 0;
  if (NTLine && std::all_of(Text.begin(), Text.end(),
                            [](char C) { return static_cast<unsigned char>(C) < 0x80; }))
    return AsciiUpperCase(Text);
  std::string Result(Text);
  ::CharUpperBuffA(Result.data(), static_cast<DWORD>(Result.size()));
  return Result;
}

int CompareTextIgnoreCase(std::string_view A, std::string_view B) {
  return ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, A.data(),
                          static_cast<int>(A.size()), B.data(), static_cast<int>(B.size())) -
         CSTR_EQUAL;
}

bool IsLeadByte(unsigned char Byte) {
  return ::IsDBCSLeadByte(Byte) != 0;
}

} // namespace

const TLocaleFunctions& Win32UserLocale() {
  static const TLocaleFunctions Functions{&UpperCase, &CompareTextIgnoreCase, &IsLeadByte};
  return Functions;
}

} // namespace wyndo
