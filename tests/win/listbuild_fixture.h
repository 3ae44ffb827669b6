#pragma once
// What the list-building tests share: a window that takes builds the way a list window does, the
// fixture with fresh column settings and build slots, and helpers that hold slots or start many
// builds at once.

#include "app/startup.h"
#include "core/columns.h"
#include "core/settings.h"
#include "lists/listbuilding.h"
#include "tests/win/test_support.h"
#include "ui/forms.h"
#include "ui/settingsres.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace wyndo::test {

// A window that receives the build messages and keeps the tree the way a list window does.
class TTestList : public TForm, public TBuildTarget {
public:
  TTestList(TListKind Kind, std::vector<TListKind> Kinds, std::string Caption = "Test List")
      : FKind(Kind), FCaption(std::move(Caption)), FNodes(sizeof(TListNodeData)),
        FColumns(BuildColumnModel(Kind, Kinds, Settings.ColumnSettings)) {
    FNodes.OnFreeNode = [this](TTreeNode* Node) {
      FreeRowSnapshot(FNodes.DataAs<TListNodeData>(Node).Row);
    };
    OnClose = [this](TObject&, TCloseAction&) { ++Closes; };
  }
  void BeforeDestruction() override {
    StopBuild(*this); // before the window goes
    TForm::BeforeDestruction();
  }

  HWND BuildWindow() override { return Handle(); }
  TListKind BuildKind() const override { return FKind; }
  TNodeModel& BuildNodes() override { return FNodes; }
  const TColumnModel& BuildColumns() const override { return FColumns; }
  std::string BuildCaption() override { return FCaption; }

  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_BUILDSTARTED) {
      FNodes.Clear();
      ++Started;
      return;
    }
    if (Message.Msg == WM_BUILDFINISHED) {
      ++Finished;
      LastResult = Message.WParam;
      ReportBuildFailure(*this);
      return;
    }
    TForm::WndProc(Message);
  }

  bool Build(DWORD TimeoutMs = 30000) {
    const int Before = Finished;
    StartBuild(*this);
    return WaitFor([&] { return Finished > Before && !FThreadData.load(); }, TimeoutMs);
  }

  TNodeModel& Nodes() { return FNodes; }
  const TListNodeData& Data(TTreeNode* Node) { return FNodes.DataAs<TListNodeData>(Node); }
  std::uint32_t KeyOf(TTreeNode* Node) { return RowKeyValue(Data(Node).Row, Data(Node).Key); }
  TTreeNode* Find(TListKind Kind, std::uint32_t Key) {
    for (TTreeNode* Node = FNodes.First(); Node; Node = FNodes.Next(Node))
      if (Data(Node).Kind == Kind && Data(Node).Key && KeyOf(Node) == Key)
        return Node;
    return nullptr;
  }
  std::string Text(TTreeNode* Node, std::size_t Column) {
    const TColumnSettings* Record = FColumns.Columns[Column].Records[Data(Node).Kind];
    TRowValue Value;
    return FindRowValue(Data(Node).Row, Record, FColumns.Columns.size(), Value)
               ? FormatRowValue(Value)
               : "";
  }

  int Started = 0, Finished = 0, Closes = 0;
  WPARAM LastResult = 0;

private:
  TListKind FKind;
  std::string FCaption;
  TNodeModel FNodes;
  TColumnModel FColumns;
};

class ListBuildingTest : public ::testing::Test {
protected:
  void SetUp() override {
    Saved = Settings;
    Settings.OSKind = osNT;
    for (TListKind Kind : AllListKinds)
      Settings.ColumnSettings[Kind] = DefaultColumnList(Kind);
    SettingsResources.ThreadCounter.Reset(::CreateSemaphoreA(nullptr, 5, 5, ThreadCounterName));
  }
  void TearDown() override {
    BuildHooks = {};
    Settings = Saved;
    SettingsResources.ThreadCounter.Reset();
  }
  TWYNDO_Settings Saved;
};

// Takes every build slot of every instance until released.
struct THeldSlots {
  TKernelHandle Semaphore{::OpenSemaphoreA(SEMAPHORE_ALL_ACCESS, FALSE, ThreadCounterName)};
  int Held = 0;
  THeldSlots() {
    while (Held < 5 && ::WaitForSingleObject(Semaphore.Get(), 5000) == WAIT_OBJECT_0)
      ++Held;
  }
  ~THeldSlots() { Release(); }
  void Release() {
    if (Held)
      ::ReleaseSemaphore(Semaphore.Get(), Held, nullptr);
    Held = 0;
  }
};

inline std::vector<TFormPtr<TTestList>> StartBuilds(int Count, const std::string& Prefix) {
  std::vector<TFormPtr<TTestList>> Lists;
  for (int I = 0; I < Count; ++I) {
    Lists.push_back(
        MakeForm<TTestList>(lkThread, std::vector{lkThread, lkWindow}, Prefix + std::to_string(I)));
    StartBuild(*Lists.back());
  }
  return Lists;
}

} // namespace wyndo::test
