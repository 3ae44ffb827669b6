#pragma once
// The few locale services the window-system-free code needs. The defaults are plain ASCII; the
// Windows program installs the user-locale versions (CharUpperBuffA, CompareStringA,
// IsDBCSLeadByte) at start-up, so core code behaves as the user's system does.

#include <string>
#include <string_view>

namespace wyndo {

struct TLocaleFunctions {
  // Upper-cases a text; the result has the same length as the input.
  std::string (*UpperCase)(std::string_view Text);
  // Case-insensitive comparison: negative when A sorts first, 0 when equal, positive after.
  int (*CompareTextIgnoreCase)(std::string_view A, std::string_view B);
  // Whether a byte starts a double-byte character in the current code page.
  bool (*IsLeadByte)(unsigned char Byte);
};

// The functions in use; replaced as a whole by InstallLocale.
const TLocaleFunctions& UserLocale();
void InstallLocale(const TLocaleFunctions& Functions);
// The ASCII defaults (also what the native build and its tests use).
const TLocaleFunctions& AsciiLocale();

// Upper-cases only the letters a to z; every other byte stays.
std::string AsciiUpperCase(std::string_view Text);

} // namespace wyndo
