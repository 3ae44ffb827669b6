// Start-up in this process: version information, the system kind, the start-up sequence with
// its hooks, exit codes and the instance semaphore.

#include "app/mainform.h"
#include "app/settingsstore.h"
#include "app/startup.h"
#include "core/settings.h"
#include "tests/win/settings_fixture.h"
#include "tests/win/test_support.h"
#include "ui/settingsres.h"
#include "version.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace wyndo::test {
namespace {

std::string OwnPath() {
  char Path[MAX_PATH + 1] = {};
  ::GetModuleFileNameA(nullptr, Path, MAX_PATH);
  return Path;
}

TEST(VersionInfoTest, ReadsTheFileVersionAndTheProductVersion) {
  std::array<std::uint16_t, 4> Version{};
  std::string Product = "stale";
  GetVersionInfo(OwnPath(), &Product, Version);
  EXPECT_EQ(Version[0], WYNDO_VERSION_MAJOR);
  EXPECT_EQ(Version[1], WYNDO_VERSION_MINOR);
  EXPECT_EQ(Version[2], WYNDO_VERSION_PATCH);
  EXPECT_EQ(Version[3], WYNDO_VERSION_BUILD);
  EXPECT_EQ(Product, WYNDO_VERSION_TEXT);
}

TEST(VersionInfoTest, AFileWithoutVersionInformationGivesZeros) {
  char Temp[MAX_PATH], File[MAX_PATH];
  ::GetTempPathA(MAX_PATH, Temp);
  ::GetTempFileNameA(Temp, "wyn", 0, File);
  std::array<std::uint16_t, 4> Version{9, 9, 9, 9};
  std::string Product = "stale";
  GetVersionInfo(File, &Product, Version);
  ::DeleteFileA(File);
  EXPECT_EQ(Version, (std::array<std::uint16_t, 4>{0, 0, 0, 0}));
  EXPECT_EQ(Product, "");
  GetVersionInfo("C:\\no\\such\\file.exe", nullptr, Version);
  EXPECT_EQ(Version, (std::array<std::uint16_t, 4>{0, 0, 0, 0}));
}

TEST(OSKindTest, WinesDefaultSystemIsOfTheNTLine) {
  EXPECT_EQ(GetOSKind(), osNT);
}

TEST(DebugPrivilegeTest, IsGrantedWithoutAMessage) {
  TMessageBoxWatcher Watcher("No Debug-Privilege", 2500);
  EnableDebugPrivilege();
  EXPECT_FALSE(Watcher.Result().has_value());
}

class StartupTest : public SettingsKeyTest {};

TEST_F(StartupTest, AFirstStartConfiguresAndPreparesTheSharedResources) {
  TStartup Startup;
  std::vector<std::string> Calls;
  Startup.MakeSplash = [&] {
    Calls.push_back("splash");
    return MakeForm<TForm>();
  };
  Startup.RunConfiguration = [&] {
    Calls.push_back(Settings.Initialising ? "configure while initialising" : "configure late");
    return true;
  };
  EXPECT_EQ(Startup.Initialize("wyndo.exe"), std::nullopt);
  EXPECT_EQ(Calls, (std::vector<std::string>{"splash", "configure while initialising"}));
  EXPECT_FALSE(Settings.Initialising);
  EXPECT_TRUE(Settings.SaveOnExit);
  EXPECT_EQ(Settings.ParseFormat, ifCurrent);
  EXPECT_EQ(Settings.OSKind, osNT);
  EXPECT_EQ(Settings.Version[0], WYNDO_VERSION_MAJOR);
  EXPECT_NE(SettingsResources.TaskbarCreated, 0u);
  EXPECT_EQ(SettingsResources.TaskbarCreated, ::RegisterWindowMessageA("TaskbarCreated"));
  EXPECT_TRUE(SettingsResources.SmallIcon);
  EXPECT_TRUE(SettingsResources.Splash);
  // The build semaphore starts with five free slots.
  LONG Previous = -1;
  ASSERT_EQ(::WaitForSingleObject(SettingsResources.ThreadCounter.Get(), 0), WAIT_OBJECT_0);
  ::ReleaseSemaphore(SettingsResources.ThreadCounter.Get(), 1, &Previous);
  EXPECT_EQ(Previous, 4);
  Startup.FreeSplash();
  EXPECT_FALSE(SettingsResources.Splash);
}

TEST_F(StartupTest, ASettledStartDoesNotConfigureUnlessAsked) {
  SeedSettingsKey();
  int Configured = 0;
  {
    TStartup Startup;
    Startup.RunConfiguration = [&] { return ++Configured > 0; };
    EXPECT_EQ(Startup.Initialize("wyndo.exe"), std::nullopt);
    EXPECT_EQ(Configured, 0);
  }
}

TEST_F(StartupTest, TheConfigSwitchConfiguresWithTheStoredValues) {
  SeedSettingsKey();
  StoreValue("", BinaryValue("IntFormat", {2}));
  TStartup Startup;
  std::uint8_t SeenFormat = 0;
  Startup.RunConfiguration = [&] {
    SeenFormat = Settings.IntFormat;
    return true;
  };
  EXPECT_EQ(Startup.Initialize("wyndo.exe -CONFIG"), std::nullopt);
  EXPECT_EQ(SeenFormat, 2);
}

TEST_F(StartupTest, CancellingTheConfigurationEndsWithExitCodeOneAndSavesNothing) {
  {
    TStartup Startup;
    Startup.RunConfiguration = [] { return false; };
    EXPECT_EQ(Startup.Initialize("wyndo.exe"), 1);
    EXPECT_FALSE(Settings.SaveOnExit);
  } // exit: nothing is written
  const auto Values = StoredValues();
  ASSERT_EQ(Values.size(), 1u);
  EXPECT_EQ(Values[0].Name, "AppPath");
  for (TListKind Kind : AllListKinds)
    EXPECT_TRUE(StoredValues(std::string(SettingsKeyNames[Kind])).empty());
}

TEST_F(StartupTest, ExitWritesTheSettings) {
  {
    TStartup Startup;
    ASSERT_EQ(Startup.Initialize("wyndo.exe"), std::nullopt);
    Settings.IntFormat = 0;
  }
  EXPECT_EQ(StoredValue("", "IntFormat")->Data, (std::vector<std::uint8_t>{0}));
  EXPECT_EQ(StoredValues("ModuleProperties").size(), 2u);
}

TEST_F(StartupTest, ASecondInstanceBringsTheFirstMainWindowForwardAndEnds) {
  SeedSettingsKey();
  // The instance semaphore of "another instance".
  TKernelHandle First(::CreateSemaphoreA(nullptr, 0, 1, InstanceSemaphoreName));
  auto Running = MakeForm<TWyndoMainForm>();
  Running->Show();
  auto Other = MakeForm<TForm>();
  Other->SetBounds(300, 300, 200, 100);
  Other->Show();
  ::SetForegroundWindow(Other->Handle());
  ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == Other->Handle(); }));

  TStartup Second;
  EXPECT_EQ(Second.Initialize("wyndo.exe"), 0);
  EXPECT_FALSE(Settings.SaveOnExit);
  EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == Running->Handle(); }));
}

} // namespace
} // namespace wyndo::test
