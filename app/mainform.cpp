#include "app/mainform.h"

#include "app/shell.h"
#include "core/errors.h"
#include "core/format.h"
#include "core/settings.h"

namespace wyndo {

TWyndoMainForm* MainWindow() {
  return dynamic_cast<TWyndoMainForm*>(Application.MainForm());
}

TWyndoMainForm::TWyndoMainForm() {
  SetCaption("Wyndo");
  SetUseStandardCaption(Settings.Style == 1);
  SetClientSize(695, 120);
  const RECT WorkArea = Screen.WorkArea();
  SetBounds(WorkArea.left, WorkArea.top, 695, 120);

  MainPanel = Make<TPanel>();
  MainPanel->SetParent(this);
  MainPanel->SetBevelOuter(TBevelCut::bvNone);
  MainPanel->SetBounds(0, 0, 525, 74);
  MainPanel->SetAnchors(akAll);
  Taskbar = Make<TTaskbar>();
  Taskbar->SetParent(MainPanel);
  Taskbar->SetBounds(0, 42, 525, 32);
  Taskbar->SetAlign(TAlign::alTop);

  FinderPanel = Make<TPanel>();
  FinderPanel->SetParent(this);
  FinderPanel->SetBevelOuter(TBevelCut::bvSpace);
  FinderPanel->SetBounds(526, 0, 161, 74);
  FinderPanel->SetAnchors(akTop | akRight | akBottom);
  WndHandle = Make<TEdit>();
  WndHandle->Name = "WndHandle";
  WndHandle->SetParent(FinderPanel);
  WndHandle->SetBounds(6, 4, 115, 21);
  FDockRect = {WorkArea.left, WorkArea.top, WorkArea.right, WorkArea.top + Height()};
}

void TWyndoMainForm::RewriteHandleField() {
  try {
    WndHandle->SetText(FormatValue(ParseValue(WndHandle->Text(), "Invalid Value"), "", ifCurrent));
  } catch (const EConvertError&) {
    // An empty field, "<no window found>" or a text that does not read: left as it is.
  }
}

void TWyndoMainForm::ApplyDockRect() {
  Application.ProcessMessages();
  ::MoveWindow(Handle(), FDockRect.left, FDockRect.top, FDockRect.right - FDockRect.left, Height(),
               TRUE);
  Realign();
}

void TWyndoMainForm::MenuShowClick() {
  HWND App = Application.Handle();
  if (::IsIconic(App)) {
    Application.Restore();
    if (Settings.Minimization != mzTaskbar)
      ::ShowWindow(App, SW_HIDE); // removes only the task-bar button
    if (Settings.AppBarDocking)
      DockAppBar();
  }
  ::SetForegroundWindow(Handle());
}

} // namespace wyndo
