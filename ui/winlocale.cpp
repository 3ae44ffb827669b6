#include "ui/winlocale.h"

#include <windows.h>

namespace wyndo {

namespace {

std::string UpperCase(std::string_view Text) {
  std::string Result(Text);
  if (!Result.empty())
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
