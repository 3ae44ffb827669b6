#pragma once
// The program's main window: a low strip at the top of the screen with a tool bar, the
// in-application taskbar of the open child windows and the finder panel. It owns the program's
// presence in the shell: the tray icon and its menu, the task-bar button, staying on top and
// docking as a desktop toolbar on the upper screen edge. Closing it ends the program.

#include "controls/styleform.h"
#include "controls/taskbar.h"
#include "finder/findertool.h"
#include "finder/findwndpanel.h"
#include "finder/wndfields.h"
#include "ui/comctrls.h"
#include "ui/layout.h"
#include "ui/menus.h"
#include "ui/stdctrls.h"

namespace wyndo {

class TWyndoMainForm final : public TStyleForm {
public:
  // Builds the window from the settings: docked or a maximised strip on the work area, on top,
  // tray icon, finder panel (the window is made here, as docking needs it).
  TWyndoMainForm();
  ~TWyndoMainForm() override;
  const char* WindowClassName() const override { return "TWyndoMainForm"; }
  // Closes every child window, gives the docked strip back and removes the tray icon.
  void BeforeDestruction() override;
  void WndProc(TMessage& Message) override;

  // Rewrites the handle field in the new number format (read in the old one); a field that
  // does not read as a number stays as it is.
  void RewriteHandleField();
  // Places the window on FDockRect at its own height.
  void ApplyDockRect();
  // Brings the program back from the tray or the task bar: restores a minimised program,
  // hides the task-bar button again where the settings say so, docks again, and activates.
  void MenuShowClick();

  // Commands of the tool bar and the menus.
  void ButtonWindowsClick();
  void ButtonProcessesClick();
  void ButtonThreadsClick();
  void ButtonModulesClick();
  void ButtonFindWndClick();
  // Shows the Properties dialog modally.
  void ButtonPropertiesClick();
  void AboutClick();
  void CascadeExecute();
  void TileHorizontallyExecute();
  void TileVerticallyExecute();
  void MenuCloseAllClick();
  void MenuCloseClick();

  // The finder panel's fields.
  void FoundWnd(HWND Window);
  void WndHandleKeyPress(TObject& Sender, char& Key);
  void WndCaptionChange(TObject& Sender);

  // Tray menu entries of the child windows, newest first.
  void TaskbarAddForm(TTaskItems& Sender, TForm& Form);
  void TaskbarRemoveForm(TTaskItems& Sender, TForm& Form);
  void TrayItemClick(TObject& Sender);

  // The program's task-bar button (the application window's): while the program is visible it is
  // there only with "Taskbar" and not docked; while it is minimised or hidden, unless "Tray".
  void ApplyTaskbarButton(bool ProgramVisible);
  // The button as the rule wants it for the program's present state.
  void ApplyTaskbarButton();
  // Gives the docked strip back and removes the tray icon, once: when the window goes, or when
  // the session ends before that.
  void LeaveShell();

  // The form's show and hide events, also run when the program is restored and minimised:
  // they keep the program's task-bar button as the settings want it.
  void StyleFormShow(TObject& Sender);
  void StyleFormHide(TObject& Sender);
  void AppMinimize(TObject& Sender);
  void AppRestore(TObject& Sender);

  TPanel* MainPanel = nullptr;
  TToolBar* ToolBar = nullptr;
  TToolButton* ButtonWindows = nullptr;
  TToolButton* ButtonProcesses = nullptr;
  TToolButton* ButtonThreads = nullptr;
  TToolButton* ButtonModules = nullptr;
  TToolButton* WindowStationButton = nullptr;
  TToolButton* ButtonFindWnd = nullptr;
  TToolButton* ButtonProperties = nullptr;
  TTaskbar* Taskbar = nullptr;
  TPanel* FinderPanel = nullptr;
  TFindWndPanel* FindWndPanel = nullptr;
  TToolWindowPanel* ToolWindowPanel = nullptr;
  TEdit* WndHandle = nullptr;
  THintEdit* WndCaption = nullptr;
  TEdit* WndClass = nullptr;

  TMainMenu MainMenu;
  TMenuItem* WyndoMenu = nullptr;
  TMenuItem* WindowsMenu = nullptr;
  TMenuItem* ProcessesMenu = nullptr;
  TMenuItem* ThreadsMenu = nullptr;
  TMenuItem* ModulesMenu = nullptr;
  TMenuItem* FindWindow1 = nullptr;
  TMenuItem* PropertiesMenu = nullptr;
  TMenuItem* Windows_Menu = nullptr;
  TMenuItem* MenuCascade = nullptr;
  TMenuItem* MenuTileHorizontally = nullptr;
  TMenuItem* MenuTilevertically = nullptr;
  TMenuItem* MenuCloseAll = nullptr;
  TMenuItem* Help = nullptr;
  TMenuItem* UpdateCheck = nullptr;
  TMenuItem* About = nullptr;

  TPopupMenu TrayMenu;
  TMenuItem* MenuSeperator = nullptr;
  TMenuItem* MenuWindows = nullptr;
  TMenuItem* MenuProcesses = nullptr;
  TMenuItem* MenuThreads = nullptr;
  TMenuItem* MenuModules = nullptr;
  TMenuItem* MenuFindWindow = nullptr;
  TMenuItem* MenuProperties = nullptr;
  TMenuItem* MenuShow = nullptr;
  TMenuItem* MenuClose = nullptr;

  TImageList ImageListBig{"IMG_MAIN_BIG", 32};
  TImageList ImageListSmall{"IMG_MAIN_SMALL", 18};

  // Set when the right button goes down on the tray icon; a release pops the menu up only then.
  bool FTrayMenuArmed = false;
  // The rectangle the window occupies: the docked bar, or the top strip of the work area.
  RECT FDockRect{};

private:
  void BuildToolBar();
  void BuildMenus();
  void HandleMessage(TMessage& Message);
  void ArrangeWindows(int How);
  void ArrangeWithoutSystem(const std::vector<HWND>& Windows, int How);
  bool Docked() const;

  TWndFields FFields{*this};
  bool FConstructing = true;
  bool FApplyingDockRect = false;
  bool FLeftShell = false;
  static const TLayoutItem<TWyndoMainForm> Layout[];
};

// The program's main window while it exists (from the start of its construction), or nullptr.
TWyndoMainForm* MainWindow();

// Runs ShowWindow with the system's minimise animation switched off for the call.
void ShowWindowNoAnimation(HWND Window, int Command);

} // namespace wyndo
