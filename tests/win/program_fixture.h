#pragma once
// A test with the program's services in place and, once OpenMain has run, its main window as
// the application's main form: child windows open through the shell as in the program.

#include "app/mainform.h"
#include "app/shell.h"
#include "app/startup.h"
#include "core/columns.h"
#include "core/settings.h"
#include "ui/settingsres.h"

#include <gtest/gtest.h>

namespace wyndo::test {

class ProgramTest : public ::testing::Test {
protected:
  void SetUp() override {
    Saved = Settings;
    Settings.OSKind = osNT;
    Settings.IntFormat = ifPascalHex;
    Settings.ParseFormat = ifCurrent;
    Settings.Style = 1;
    Settings.AppBarDocking = false;
    Settings.StayOnTop = false;
    Settings.Minimization = mzTaskbar;
    Settings.MainFinder = true;
    for (TListKind Kind : AllListKinds)
      Settings.ColumnSettings[Kind] = DefaultColumnList(Kind);
    SettingsResources.ThreadCounter.Reset(::CreateSemaphoreA(nullptr, 5, 5, ThreadCounterName));
    SettingsResources.TaskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
    InstallShell(&Services);
  }
  void TearDown() override {
    Application.SetMainForm(nullptr); // closes every child window with the taskbar
    InstallShell(nullptr);
    SettingsResources.ThreadCounter.Reset();
    Settings = Saved;
  }

  // Makes, shows and installs the main window with the settings as they are now.
  TWyndoMainForm& OpenMain() {
    auto Main = MakeForm<TWyndoMainForm>();
    Main->Show();
    TWyndoMainForm& Result = *Main;
    Application.SetMainForm(std::move(Main));
    return Result;
  }

  TWYNDO_Settings Saved;
  TProgramShell Services;
};

} // namespace wyndo::test
