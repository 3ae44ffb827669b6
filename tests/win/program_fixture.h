#pragma once
// A test with the program's services in place and, once OpenMain has run, its main window as
// the application's main form: child windows open through the shell as in the program.

#include "app/mainform.h"
#include "app/shell.h"
#include "app/startup.h"
#include "core/columns.h"
#include "core/settings.h"
#include "lists/listform.h"
#include "tests/win/test_support.h"
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

  // Opens a list window through the shell and waits until its first build has been handled.
  template <class T>
  T& OpenList(TChildKind Kind) {
    auto* List = dynamic_cast<T*>(Services.OpenChildWindow(Kind, nullptr));
    EXPECT_NE(List, nullptr);
    EXPECT_TRUE(WaitFor([&] { return List->FinishedBuilds() == 1; }, 30000));
    return *List;
  }
  // The node of this kind whose key is Key, or nullptr.
  static TTreeNode* FindNode(TListForm& List, TListKind Kind, std::uint32_t Key) {
    TNodeModel& Nodes = List.Tree->Nodes();
    for (TTreeNode* Node = Nodes.First(); Node; Node = Nodes.Next(Node)) {
      std::uint32_t Value = 0;
      if (List.NodeData(Node).Kind == Kind && List.KeyValue(Node, Value) && Value == Key)
        return Node;
    }
    return nullptr;
  }

  TWYNDO_Settings Saved;
  TProgramShell Services;
};

} // namespace wyndo::test
