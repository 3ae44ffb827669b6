#pragma once
// What every end-to-end scenario starts from: a settled settings key with the options it names
// (so no configuration run comes first), and windows of the driver's own process with known
// captions for the program to find, pick, list and highlight.

#include "tests/e2e/driver.h"
#include "tests/win/settings_fixture.h"
#include "tests/win/test_support.h"
#include "ui/forms.h"

#include <cstdint>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace wyndo::e2e {

struct TSeedOptions {
  std::uint8_t IntFormat = 1; // "$" hexadecimal
  std::uint8_t Minimization = 0;
  bool AppBarDocking = false;
  bool StayOnTop = true;
  bool MainFinder = true;
};

// Keeps the screen as it was at a scenario's first failure in /tmp, for a look afterwards.
class TScreenAtFailure : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { FSaved = false; }
  void OnTestPartResult(const ::testing::TestPartResult& Result) override {
    if (!Result.failed() || FSaved)
      return;
    FSaved = true;
    const auto* Info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (Info)
      SaveScreen(std::string("/tmp/wyndo-e2e-") + Info->test_suite_name() + "." + Info->name() +
                 ".png");
  }
  bool FSaved = false;
};

class EndToEndTest : public test::SettingsKeyTest {
protected:
  void SetUp() override {
    static bool Listening = false;
    if (!Listening) {
      ::testing::UnitTest::GetInstance()->listeners().Append(new TScreenAtFailure);
      Listening = true;
    }
    test::SettingsKeyTest::SetUp();
  }

  // A complete key with the options given; the lists' columns at their defaults.
  static void Seed(const TSeedOptions& Options = {}) {
    test::SeedSettingsKey();
    test::StoreValue("", test::BinaryValue("IntFormat", {Options.IntFormat}));
    test::StoreValue("", test::BinaryValue("Minimization", {Options.Minimization}));
    test::StoreValue("", test::DwordValue("AppBarDocking", Options.AppBarDocking));
    test::StoreValue("", test::DwordValue("StayOnTop", Options.StayOnTop));
    test::StoreValue("", test::DwordValue("MainFinder", Options.MainFinder));
  }

  // A shown window of this process with a caption, for the program to look at.
  static TFormPtr<TForm> Target(const char* Caption, int Left, int Top, int Width = 260,
                                int Height = 160) {
    auto Form = MakeForm<TForm>();
    Form->SetCaption(Caption);
    Form->SetBounds(Left, Top, Width, Height);
    Form->Show();
    test::WaitFor([&] { return ::IsWindowVisible(Form->Handle()) != FALSE; });
    return Form;
  }
};

// A handle as the program writes it in a number format: 0 decimal, 1 "$", 2 "0x".
inline std::string HandleText(HWND Window, int Format = 1) {
  const auto Value = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(Window));
  char Text[16] = {};
  if (Format == 0)
    std::snprintf(Text, sizeof(Text), "%d", static_cast<std::int32_t>(Value));
  else
    std::snprintf(Text, sizeof(Text), Format == 1 ? "$%08X" : "0x%08X", Value);
  return Text;
}

inline std::string ClassOf(HWND Window) {
  char Class[256] = {};
  ::GetClassNameA(Window, Class, sizeof(Class));
  return Class;
}

inline RECT RectOf(HWND Window) {
  RECT Rect{};
  ::GetWindowRect(Window, &Rect);
  return Rect;
}

inline bool SameRect(const RECT& A, const RECT& B) {
  return ::EqualRect(&A, &B) != FALSE;
}

} // namespace wyndo::e2e
