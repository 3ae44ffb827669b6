// wyndo.exe started as its own process: a single instance per user, the command-line switches,
// the unsupported-system path, and the settings written at exit.

#include "app/settingsstore.h"
#include "tests/win/process_support.h"
#include "tests/win/settings_fixture.h"
#include "tests/win/test_support.h"
#include "ui/forms.h"

#include <gtest/gtest.h>

namespace wyndo::test {
namespace {

class ProgramTest : public SettingsKeyTest {};

// Closes the program's main window as a user would and waits for the program to end.
std::optional<DWORD> CloseNormally(TProgram& Program) {
  HWND Main = Program.WaitForWindow();
  if (!Main)
    return std::nullopt;
  ::PostMessageA(Main, WM_CLOSE, 0, 0);
  return Program.WaitForExit();
}

TEST_F(ProgramTest, AFirstStartWritesItsSettingsAtExit) {
  TProgram Wyndo;
  // A first start shows the Properties dialog before the main window.
  HWND Dialog = Wyndo.WaitForWindow("TPropertyForm");
  ASSERT_NE(Dialog, nullptr);
  ASSERT_TRUE(ClickButton(Dialog, "OK"));
  EXPECT_EQ(CloseNormally(Wyndo), 0u);
  for (const char* Name : {"IntFormat", "Style", "Minimization", "AppBarDocking", "StayOnTop",
                           "MainFinder", "AppPath"})
    EXPECT_TRUE(StoredValue("", Name).has_value()) << Name;
  const std::size_t Expected[] = {12, 3, 3, 2};
  for (TListKind Kind : AllListKinds)
    EXPECT_EQ(StoredValues(std::string(SettingsKeyNames[Kind])).size(), Expected[Kind]);
}

TEST_F(ProgramTest, TheSplashScreenIsGoneOnceTheMainWindowIsUp) {
  SeedSettingsKey();
  TProgram Wyndo;
  ASSERT_NE(Wyndo.WaitForWindow(), nullptr);
  EXPECT_TRUE(WaitFor([&] { return !FindProcessWindow(Wyndo.Id(), "TSplashScreenForm"); }));
  EXPECT_EQ(CloseNormally(Wyndo), 0u);
}

TEST_F(ProgramTest, ASecondInstanceEndsWithExitCodeZeroAndBringsTheFirstForward) {
  SeedSettingsKey();
  TProgram First;
  HWND Main = First.WaitForWindow();
  ASSERT_NE(Main, nullptr);
  auto Other = MakeForm<TForm>();
  Other->SetBounds(400, 400, 200, 100);
  Other->Show();
  ::SetForegroundWindow(Other->Handle());
  ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == Other->Handle(); }));

  TProgram Second;
  EXPECT_EQ(Second.WaitForExit(), 0u);
  EXPECT_EQ(FindProcessWindow(Second.Id(), "TWyndoMainForm"), nullptr);
  EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == Main; }));
  EXPECT_EQ(CloseNormally(First), 0u);
}

TEST_F(ProgramTest, TheSwitchesCountInAnyLetterCaseAndOtherSpellingsAreIgnored) {
  for (const char* Switch : {"-RESET", "-Reset", "/reset", "reset", "-resets"}) {
    SeedSettingsKey();
    StoreValue("", BinaryValue("IntFormat", {2}));
    TProgram Wyndo(Switch);
    EXPECT_EQ(CloseNormally(Wyndo), 0u) << Switch;
    // "-reset" takes the defaults ("$" hexadecimal), which are written back at exit.
    const std::uint8_t Expected = std::string(Switch) == "-resets" || Switch[0] != '-' ? 2 : 1;
    EXPECT_EQ(StoredValue("", "IntFormat")->Data, std::vector<std::uint8_t>{Expected}) << Switch;
  }
}

TEST_F(ProgramTest, AnUnsupportedSystemIsToldAndTheProgramEndsWithExitCodeZero) {
  const std::string Defaults = "Software\\Wine\\AppDefaults\\wyndo.exe";
  for (const char* Version : {"nt40", "win95"}) {
    {
      TRegKey Key = registry::CreateKey(HKEY_CURRENT_USER, Defaults);
      const std::string Text = Version;
      registry::WriteValue(Key.Get(), {"Version", RegSzType, {Text.begin(), Text.end() + 1}});
    }
    TProgram Wyndo;
    HWND Box = Wyndo.WaitForMessageBox("Unsupported OS");
    ASSERT_NE(Box, nullptr) << Version;
    EXPECT_EQ(MessageBoxText(Box), "This Program needs Win98/Win2000 or higher");
    ::PostMessageA(Box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(Wyndo.WaitForExit(), 0u);
    EXPECT_FALSE(registry::KeyExists(HKEY_CURRENT_USER, SettingsKeyPath()))
        << "nothing is loaded or saved";
  }
  registry::DeleteTree(HKEY_CURRENT_USER, Defaults);
  // Windows 98 and 2000 are supported.
  SeedSettingsKey();
  TRegKey Key = registry::CreateKey(HKEY_CURRENT_USER, Defaults);
  for (const char* Version : {"win98", "win2k"}) {
    const std::string Text = Version;
    registry::WriteValue(Key.Get(), {"Version", RegSzType, {Text.begin(), Text.end() + 1}});
    TProgram Wyndo;
    EXPECT_EQ(CloseNormally(Wyndo), 0u) << Version;
  }
  registry::DeleteTree(HKEY_CURRENT_USER, Defaults);
}

} // namespace
} // namespace wyndo::test
