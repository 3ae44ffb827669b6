// The configuration run of wyndo.exe, started as its own process: the Properties dialog before
// the main window on a first start, Cancel ending the program with nothing saved, and OK going
// on with the chosen settings, which are written at exit and read at the next start.

#include "app/registry.h"
#include "app/settingsstore.h"
#include "tests/win/process_support.h"
#include "tests/win/settings_fixture.h"
#include "tests/win/test_support.h"

#include <gtest/gtest.h>

namespace wyndo::test {
namespace {

class ConfigurationTest : public SettingsKeyTest {};

constexpr char FinderBox[] = "Show Window-Finder Tool in MainForm";

struct TComboSearch {
  const std::string& Text;
  HWND Found = nullptr;
};

BOOL CALLBACK MatchCombo(HWND Window, LPARAM Data) {
  auto& Search = *reinterpret_cast<TComboSearch*>(Data);
  char Class[32] = {};
  ::GetClassNameA(Window, Class, sizeof(Class));
  const LRESULT Selected = ::SendMessageA(Window, CB_GETCURSEL, 0, 0);
  if (::lstrcmpiA(Class, "ComboBox") != 0 || Selected < 0)
    return TRUE;
  wchar_t Shown[256] = {};
  ::SendMessageW(Window, CB_GETLBTEXT, static_cast<WPARAM>(Selected),
                 reinterpret_cast<LPARAM>(Shown));
  if (std::string(Shown, Shown + ::lstrlenW(Shown)) != Search.Text)
    return TRUE;
  Search.Found = Window;
  return FALSE;
}

// The drop-down list among Dialog's descendants that shows Text. Another process's combo box
// texts are read with the W message, which is marshalled with its text converted.
HWND FindComboBox(HWND Dialog, const std::string& Text) {
  TComboSearch Search{Text};
  ::EnumChildWindows(Dialog, &MatchCombo, reinterpret_cast<LPARAM>(&Search));
  return Search.Found;
}

std::optional<DWORD> CloseMainWindow(TProgram& Program) {
  HWND Main = Program.WaitForWindow();
  if (!Main)
    return std::nullopt;
  ::PostMessageA(Main, WM_CLOSE, 0, 0);
  return Program.WaitForExit();
}

TEST_F(ConfigurationTest, AFirstStartAsksFirstAndCancelEndsWithExitCodeOneSavingNothing) {
  TProgram Wyndo;
  HWND Dialog = Wyndo.WaitForWindow("TPropertyForm");
  ASSERT_NE(Dialog, nullptr);
  EXPECT_EQ(FindProcessWindow(Wyndo.Id(), "TWyndoMainForm"), nullptr);
  EXPECT_EQ(FindProcessWindow(Wyndo.Id(), "TSplashScreenForm"), nullptr)
      << "the splash screen is hidden while the dialog shows";
  ASSERT_TRUE(ClickButton(Dialog, "Cancel"));
  EXPECT_EQ(Wyndo.WaitForExit(), 1u);

  const std::vector<TStoredValue> Values = StoredValues();
  ASSERT_EQ(Values.size(), 1u);
  EXPECT_EQ(Values[0].Name, "AppPath");
  for (TListKind Kind : AllListKinds)
    EXPECT_FALSE(registry::KeyExists(HKEY_CURRENT_USER, SettingsKeyPath() + "\\" +
                                                            std::string(SettingsKeyNames[Kind])));
}

TEST_F(ConfigurationTest, OKGoesOnWithTheChosenSettingsWhichAreWrittenAtExitAndReadNextTime) {
  {
    TProgram Wyndo;
    HWND Dialog = Wyndo.WaitForWindow("TPropertyForm");
    ASSERT_NE(Dialog, nullptr);
    HWND Format = FindComboBox(Dialog, "Hex in Pascal-Format ($FFFF)");
    ASSERT_NE(Format, nullptr);
    ::SendMessageA(Format, CB_SETCURSEL, 0, 0);
    HWND Finder = FindChildWindow(Dialog, "Button", FinderBox);
    ASSERT_NE(Finder, nullptr);
    ::SendMessageA(Finder, BM_CLICK, 0, 0);
    ASSERT_TRUE(ClickButton(Dialog, "OK"));
    EXPECT_NE(Wyndo.WaitForWindow(), nullptr);
    EXPECT_EQ(FindProcessWindow(Wyndo.Id(), "TPropertyForm"), nullptr);
    EXPECT_EQ(CloseMainWindow(Wyndo), 0u);
  }
  EXPECT_EQ(StoredValue("", "IntFormat")->Data, std::vector<std::uint8_t>{0});
  EXPECT_EQ(StoredValue("", "MainFinder")->Data, DwordValue("MainFinder", 0).Data);
  EXPECT_EQ(StoredValue("", "AppBarDocking")->Data, DwordValue("AppBarDocking", 1).Data);
  const std::size_t Records[] = {12, 3, 3, 2};
  for (TListKind Kind : AllListKinds)
    EXPECT_EQ(StoredValues(std::string(SettingsKeyNames[Kind])).size(), Records[Kind]);

  {
    // A settled start goes straight to the main window, without the finder panel.
    TProgram Wyndo;
    HWND Main = Wyndo.WaitForWindow();
    ASSERT_NE(Main, nullptr);
    EXPECT_EQ(FindProcessWindow(Wyndo.Id(), "TPropertyForm"), nullptr);
    HWND Handle = FindChildWindow(Main, "Edit");
    ASSERT_NE(Handle, nullptr);
    EXPECT_FALSE(::IsWindowVisible(Handle));
    EXPECT_EQ(CloseMainWindow(Wyndo), 0u);
  }
  {
    // Asked to configure, it shows the stored values.
    TProgram Wyndo("-config");
    HWND Dialog = Wyndo.WaitForWindow("TPropertyForm");
    ASSERT_NE(Dialog, nullptr);
    EXPECT_NE(FindComboBox(Dialog, "decimal"), nullptr);
    EXPECT_EQ(::SendMessageA(FindChildWindow(Dialog, "Button", FinderBox), BM_GETCHECK, 0, 0),
              BST_UNCHECKED);
    ASSERT_TRUE(ClickButton(Dialog, "Cancel"));
    EXPECT_EQ(Wyndo.WaitForExit(), 1u);
  }
  EXPECT_EQ(StoredValue("", "IntFormat")->Data, std::vector<std::uint8_t>{0});
}

} // namespace
} // namespace wyndo::test
