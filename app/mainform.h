#pragma once
// The program's main window: a low strip at the top of the screen with its in-application
// taskbar of the open child windows and the finder panel's fields.

#include "controls/styleform.h"
#include "controls/taskbar.h"
#include "ui/stdctrls.h"

namespace wyndo {

class TWyndoMainForm : public TStyleForm {
public:
  TWyndoMainForm();
  const char* WindowClassName() const override { return "TWyndoMainForm"; }

  // Rewrites the handle field in the new number format (read in the old one); a field that
  // does not read as a number stays as it is.
  void RewriteHandleField();
  // Places the window on FDockRect at its own height.
  void ApplyDockRect();
  // Brings the program back from the tray or the task bar: restores a minimised program,
  // hides the task-bar button again where the settings say so, docks again, and activates.
  void MenuShowClick();

  TPanel* MainPanel = nullptr;
  TTaskbar* Taskbar = nullptr;
  TPanel* FinderPanel = nullptr;
  TEdit* WndHandle = nullptr;
  // The rectangle the window occupies: the docked bar, or the top strip of the work area.
  RECT FDockRect{};
};

// The program's main window (the application's main form), or nullptr.
TWyndoMainForm* MainWindow();

} // namespace wyndo
