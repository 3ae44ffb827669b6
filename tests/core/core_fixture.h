#pragma once
// Shared by the core tests: a fixture that leaves the global settings and the installed locale as
// it found them.

#include "core/locale.h"
#include "core/settings.h"
#include "tests/core/test_locales.h"

#include <gtest/gtest.h>

namespace wyndo::test {

class CoreTest : public ::testing::Test {
protected:
  ~CoreTest() override {
    Settings = FSavedSettings;
    InstallLocale(FSavedLocale);
  }

  static void UseShiftJisLocale() { InstallLocale(ShiftJisLocale()); }

private:
  TWYNDO_Settings FSavedSettings = Settings;
  TLocaleFunctions FSavedLocale = UserLocale();
};

} // namespace wyndo::test
