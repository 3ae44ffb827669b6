#pragma once
// Shared by the core tests: a fixture that leaves the global settings and the installed locale as
// it found them, and a double-byte test locale.

#include "core/locale.h"
#include "core/settings.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace wyndo::test {

// Lead bytes of code page 932 (Shift-JIS): 0x81 to 0x9F and 0xE0 to 0xFC. Its trail bytes include
// 0x5C ('\') and the letters, which is what the double-byte cases are about.
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

class CoreTest : public ::testing::Test {
protected:
  ~CoreTest() override {
    Settings = FSavedSettings;
    InstallLocale(FSavedLocale);
  }

  static void UseShiftJisLocale() {
    InstallLocale({ShiftJisUpperCase, AsciiLocale().CompareTextIgnoreCase, ShiftJisIsLeadByte});
  }

private:
  TWYNDO_Settings FSavedSettings = Settings;
  TLocaleFunctions FSavedLocale = UserLocale();
};

} // namespace wyndo::test
