#include "app/shell.h"

#include "app/mainform.h"
#include "core/settings.h"
#include "finder/wndsearch.h"
#include "lists/listform.h"
#include "ui/records.h"
#include "ui/settingsres.h"
#include "views/infoform.h"

#include <cstring>
#include <set>

namespace wyndo {

namespace {

// Whether Form is of the class Kind opens.
bool IsOfKind(TForm* Form, TChildKind Kind) {
  switch (Kind) {
  case TChildKind::ckWindowList:
    return dynamic_cast<TWindowListForm*>(Form) != nullptr;
  case TChildKind::ckProcessList:
    return dynamic_cast<TProcessListForm*>(Form) != nullptr;
  case TChildKind::ckThreadList:
    return dynamic_cast<TThreadListForm*>(Form) != nullptr;
  case TChildKind::ckModuleList:
    return dynamic_cast<TModuleListForm*>(Form) != nullptr;
  case TChildKind::ckWindowInfo:
    return dynamic_cast<TWindowInfoForm*>(Form) != nullptr;
  case TChildKind::ckWndSearch:
    return dynamic_cast<TWndSearchForm*>(Form) != nullptr;
  }
  return false;
}

TFormPtr<TWyndoForm> MakeChild(TChildKind Kind, const TBasicInfo* Info) {
  switch (Kind) {
  case TChildKind::ckWindowList:
    return MakeForm<TWindowListForm>();
  case TChildKind::ckProcessList:
    return MakeForm<TProcessListForm>();
  case TChildKind::ckThreadList:
    return MakeForm<TThreadListForm>();
  case TChildKind::ckModuleList:
    return MakeForm<TModuleListForm>();
  case TChildKind::ckWindowInfo:
    return Info ? CreateInfoForm<TWindowInfoForm>(*Info) : MakeForm<TWindowInfoForm>();
  case TChildKind::ckWndSearch:
    return MakeForm<TWndSearchForm>();
  }
  return nullptr;
}

// The smallest number that no open window of the kind carries.
std::intptr_t NextNumber(TTaskbar& Taskbar, TChildKind Kind) {
  std::set<std::intptr_t> Taken;
  for (int Index = 0; Index < Taskbar.Items().Count(); ++Index) {
    TForm& Form = Taskbar.Items()[Index].Form();
    if (IsOfKind(&Form, Kind))
      Taken.insert(Form.Tag);
  }
  std::intptr_t Number = 1;
  while (Taken.count(Number))
    ++Number;
  return Number;
}

APPBARDATA AppBarRecord(TWyndoMainForm& Main) {
  APPBARDATA Data{};
  Data.cbSize = sizeof(Data);
  Data.hWnd = Main.Handle();
  Data.uCallbackMessage = WM_APPBARNOTIFY;
  Data.uEdge = ABE_TOP;
  return Data;
}

TNotifyIconDataV1 TrayRecord(TWyndoMainForm& Main) {
  TNotifyIconDataV1 Data{};
  Data.cbSize = sizeof(Data);
  Data.hWnd = Main.Handle();
  Data.uID = 1;
  Data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  Data.uCallbackMessage = WM_TRAYNOTIFY;
  Data.hIcon = SettingsResources.SmallIcon.Get();
  std::strcpy(Data.szTip, "Wyndo");
  return Data;
}

} // namespace

TWyndoForm* TProgramShell::OpenChildWindow(TChildKind Kind, const TBasicInfo* Info) {
  TWyndoMainForm* Main = MainWindow();
  if (!Main)
    return nullptr;
  Main->MenuShowClick();
  TFormPtr<TWyndoForm> Made;
  try {
    Made = MakeChild(Kind, Info);
  } catch (...) {
    return nullptr; // a window that cannot be made (or rejects its object) is not opened
  }
  if (!Made)
    return nullptr;
  TWyndoForm* Form = Made.get();
  bool Registered = false;
  try {
    const std::intptr_t Number = NextNumber(*Main->Taskbar, Kind);
    Form->Tag = Number;
    Form->SetCaption(Form->Caption() + " " + std::to_string(Number));
    Form->SetUseStandardCaption(Settings.Style == 1);
    Main->Taskbar->AddForm(Form, true, true);
    Made.release(); // the taskbar frees it from now on
    Registered = true;
    if (!Settings.AppBarDocking && Settings.StayOnTop && Main->Top() + Main->Height() > Form->Top())
      Form->SetTop(Form->Top() + Main->Height());
    if (auto* List = dynamic_cast<TListForm*>(Form))
      StartBuild(*List);
    Form->BringToFront();
    return Form;
  } catch (...) {
    if (Registered) {
      const int Index = Main->Taskbar->Items().IndexOf(Form);
      if (Index >= 0)
        Main->Taskbar->RemoveForm(Index, true, true);
    }
    return nullptr;
  }
}

std::vector<TWyndoForm*> TProgramShell::ChildWindows() {
  std::vector<TWyndoForm*> Windows;
  if (TWyndoMainForm* Main = MainWindow())
    for (int Index = 0; Index < Main->Taskbar->Items().Count(); ++Index)
      if (auto* Form = dynamic_cast<TWyndoForm*>(&Main->Taskbar->Items()[Index].Form()))
        Windows.push_back(Form);
  return Windows;
}

void TProgramShell::SelectWindowInLists(std::uint32_t Window) {
  for (TWyndoForm* Form : ChildWindows()) {
    auto* List = dynamic_cast<TListForm*>(Form);
    if (!List || List->Building() || List->ListKind() == lkModule)
      continue;
    TNodeModel& Nodes = List->Tree->Nodes();
    for (TTreeNode* Node = Nodes.First(); Node; Node = Nodes.Next(Node)) {
      std::uint32_t Key = 0;
      if (List->NodeData(Node).Kind == lkWindow && List->KeyValue(Node, Key) && Key == Window) {
        List->Tree->SetFocusedNode(Node);
        List->Tree->SetSelected(Node, true);
      }
    }
  }
}

void NotifySettingsChanged() {
  if (TWyndoMainForm* Main = MainWindow()) {
    Main->RewriteHandleField();
    for (int Index = 0; Index < Main->Taskbar->Items().Count(); ++Index)
      if (auto* Form = dynamic_cast<TWyndoForm*>(&Main->Taskbar->Items()[Index].Form()))
        Form->SettingsChanged();
  }
}

void DockAppBar() {
  TWyndoMainForm* Main = MainWindow();
  if (!Main)
    return;
  APPBARDATA Data = AppBarRecord(*Main);
  ::SHAppBarMessage(ABM_NEW, &Data);
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &Data.rc, 0);
  Data.rc.bottom = Data.rc.top + Main->Height();
  ::SHAppBarMessage(ABM_QUERYPOS, &Data);
  ::SHAppBarMessage(ABM_SETPOS, &Data);
  Main->FDockRect = Data.rc;
  Main->ApplyDockRect();
}

void AppBarPositionChanged() {
  TWyndoMainForm* Main = MainWindow();
  if (!Main)
    return;
  APPBARDATA Data = AppBarRecord(*Main);
  Data.rc = Main->FDockRect;
  ::SHAppBarMessage(ABM_QUERYPOS, &Data);
  Data.rc.bottom = Data.rc.top + Main->Height();
  ::SHAppBarMessage(ABM_SETPOS, &Data);
  Main->FDockRect = Data.rc;
  Main->ApplyDockRect();
}

void UndockAppBar() {
  if (TWyndoMainForm* Main = MainWindow()) {
    APPBARDATA Data = AppBarRecord(*Main);
    ::SHAppBarMessage(ABM_REMOVE, &Data);
  }
}

void ShowTrayIcon() {
  TWyndoMainForm* Main = MainWindow();
  if (!Main)
    return;
  TNotifyIconDataV1 Data = TrayRecord(*Main);
  ::Shell_NotifyIconA(NIM_ADD, reinterpret_cast<NOTIFYICONDATAA*>(&Data));
  Main->ApplyTaskbarButton();
}

void HideTrayIcon() {
  TWyndoMainForm* Main = MainWindow();
  if (!Main)
    return;
  TNotifyIconDataV1 Data = TrayRecord(*Main);
  ::Shell_NotifyIconA(NIM_DELETE, reinterpret_cast<NOTIFYICONDATAA*>(&Data));
  Main->ApplyTaskbarButton();
}

} // namespace wyndo
