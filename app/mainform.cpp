#include "app/mainform.h"

#include "app/commands.h"
#include "app/propertyform.h"
#include "app/shell.h"
#include "app/startup.h"
#include "controls/aboutform.h"
#include "core/settings.h"
#include "ui/settingsres.h"
#include "ui/winutil.h"

#include <shellapi.h>

#include <vector>

namespace wyndo {

namespace {

TWyndoMainForm* GMainWindow = nullptr;

using F = TWyndoMainForm;

// The colour of a task-bar button that is down, under the pointer or being clicked.
constexpr TColor TaskButtonHighlight = 0xDCE4E8;

} // namespace

TWyndoMainForm* MainWindow() {
  return GMainWindow;
}

void ShowWindowNoAnimation(HWND Window, int Command) {
  ANIMATIONINFO Animation{};
  Animation.cbSize = sizeof(Animation);
  const bool Animated =
      ::SystemParametersInfoA(SPI_GETANIMATION, sizeof(Animation), &Animation, 0) &&
      Animation.iMinAnimate != 0;
  if (!Animated) {
    ::ShowWindow(Window, Command);
    return;
  }
  Animation.iMinAnimate = 0;
  ::SystemParametersInfoA(SPI_SETANIMATION, sizeof(Animation), &Animation, 0);
  ::ShowWindow(Window, Command);
  Animation.iMinAnimate = -1;
  ::SystemParametersInfoA(SPI_SETANIMATION, sizeof(Animation), &Animation, 0);
}

// The design client area is 687 x 74: the window's 695 x 120 less its frame, caption and menu.
// clang-format off
const TLayoutItem<TWyndoMainForm> TWyndoMainForm::Layout[] = {
  {.Kind = Kind<TPanel>, .Name = "MainPanel", .Bounds = {0, 0, 525, 74}, .Anchors = akAll, .Connect = Connect<&F::MainPanel>},
  {.Kind = Kind<TToolBar>, .Name = "ToolBar", .Parent = "MainPanel", .Bounds = {0, 0, 525, 42}, .Align = TAlign::alTop, .Connect = Connect<&F::ToolBar>},
  {.Kind = Kind<TTaskbar>, .Name = "Taskbar", .Parent = "MainPanel", .Bounds = {0, 42, 525, 32}, .Align = TAlign::alTop, .Connect = Connect<&F::Taskbar>},
  {.Kind = Kind<TPanel>, .Name = "FinderPanel", .Bounds = {526, 0, 161, 74}, .Anchors = akTop | akRight | akBottom, .Connect = Connect<&F::FinderPanel>},
  {.Kind = Kind<TFindWndPanel>, .Name = "FindWndPanel", .Parent = "FinderPanel", .Bounds = {126, 4, 31, 30}, .Connect = Connect<&F::FindWndPanel>},
  {.Kind = Kind<TToolWindowPanel>, .Name = "ToolWindowPanel", .Parent = "FinderPanel", .Bounds = {131, 49, 21, 20}, .Connect = Connect<&F::ToolWindowPanel>},
  {.Kind = Kind<TEdit>, .Name = "WndHandle", .Parent = "FinderPanel", .Bounds = {6, 4, 115, 21}, .Connect = Connect<&F::WndHandle, On<&TEdit::OnKeyPress, &F::WndHandleKeyPress>>},
  {.Kind = Kind<THintEdit>, .Name = "WndCaption", .Parent = "FinderPanel", .Bounds = {6, 27, 115, 21}, .Connect = Connect<&F::WndCaption, On<&TEdit::OnChange, &F::WndCaptionChange>>},
  {.Kind = Kind<TEdit>, .Name = "WndClass", .Parent = "FinderPanel", .Bounds = {6, 49, 115, 21}, .Connect = Connect<&F::WndClass, On<&TEdit::OnChange, &F::WndCaptionChange>>},
};
// clang-format on

TWyndoMainForm::TWyndoMainForm() {
  if (!GMainWindow)
    GMainWindow = this;
  SetCaption("Wyndo");
  SetClientSize(687, 74);
  const RECT WorkArea = Screen.WorkArea();
  SetBounds(WorkArea.left, WorkArea.top, 695, 120);
  SetCaptionButtons(CaptionButton(cbHelp) | CaptionButton(cbMinimize) | CaptionButton(cbMaximize) |
                    CaptionButton(cbClose));
  SetSystemMenu(true);
  SetHideDisabledButtons(false);
  OnShow = [this](TObject& Sender) { StyleFormShow(Sender); };
  OnHide = [this](TObject& Sender) { StyleFormHide(Sender); };

  BuildLayout(*this, Layout);
  MainPanel->SetBevelOuter(TBevelCut::bvNone);
  FinderPanel->SetBevelOuter(TBevelCut::bvSpace);
  BuildToolBar();
  Taskbar->SetButtonWidth(120);
  Taskbar->SetButtonHeight(24);
  Taskbar->SetAutoSizeButtons(true);
  TButtonSettings& Buttons = Taskbar->ButtonSettings();
  Buttons.SetColorWhenDown(TaskButtonHighlight);
  Buttons.SetColorOnMouseOver(TaskButtonHighlight);
  Buttons.SetColorOnClick(TaskButtonHighlight);
  if (HICON Icon = ::LoadIconA(::GetModuleHandleA(nullptr), "STDICON"))
    Taskbar->SetStdIcon(Icon);
  Taskbar->OnAddForm = [this](TTaskItems& Sender, TForm& Form) { TaskbarAddForm(Sender, Form); };
  Taskbar->OnRemoveForm = [this](TTaskItems& Sender, TForm& Form) {
    TaskbarRemoveForm(Sender, Form);
  };
  FindWndPanel->OnFoundWnd = [this](HWND Window) { FoundWnd(Window); };
  FFields.WndHandle = WndHandle;
  FFields.WndCaption = WndCaption;
  FFields.WndClass = WndClass;
  BuildMenus();
  SetMenu(&MainMenu);

  // 1. The program's minimise and restore come here.
  Application.OnMinimize = [this](TObject& Sender) { AppMinimize(Sender); };
  Application.OnRestore = [this](TObject& Sender) { AppRestore(Sender); };
  // 2., 3.
  SetUseStandardCaption(Settings.Style == 1);
  FFields.FReactToEdits = true;
  // 4. Hovering the panel under the finder tool opens the finder tool window.
  ToolWindowPanel->FToolWindowClass = [this](TToolWindowPanel& Panel) {
    return TFormPtr<TForm>(MakeForm<TFinderToolWnd>(Panel, *WndHandle).release());
  };
  // The window is made now, with its menu bar; asking for its own size again lets it take the
  // fixed height of its frame, tool bar and task bar before it is placed.
  ::SetWindowPos(Handle(), nullptr, 0, 0, Width(), Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // 5. Docked, or a strip over the top of the work area.
  if (Settings.AppBarDocking) {
    DockAppBar();
    SetCaptionButtons(CaptionButtons() & ~CaptionButton(cbMaximize));
  } else {
    SetCaptionButtons(CaptionButtons() | CaptionButton(cbMaximize));
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &FDockRect, 0);
    FDockRect.bottom = FDockRect.top + Height();
    if (Settings.StayOnTop)
      ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    ApplyDockRect();
  }
  // 6.
  if (Settings.Minimization == mzTray || Settings.Minimization == mzTrayAndTaskbar)
    ShowTrayIcon();
  // 7. The finder panel.
  if (Settings.MainFinder) {
    FinderPanel->Show();
    MainPanel->SetWidth(ClientSize().Width - FinderPanel->Width() - 1);
  } else {
    FinderPanel->Hide();
    MainPanel->SetWidth(ClientSize().Width);
  }
  // 8.
  SetWindowState(TWindowState::wsMaximized);
  FConstructing = false;
}

TWyndoMainForm::~TWyndoMainForm() {
  if (GMainWindow == this)
    GMainWindow = nullptr;
}

void TWyndoMainForm::BeforeDestruction() {
  MenuCloseAllClick();
  LeaveShell();
  // The application outlives this window: its events must not call into it any more.
  Application.OnMinimize = nullptr;
  Application.OnRestore = nullptr;
  SetMenu(nullptr);
  TStyleForm::BeforeDestruction();
}

void TWyndoMainForm::BuildToolBar() {
  ToolBar->SetImages(ImageListBig.Handle());
  ButtonWindows = ToolBar->AddButton(*this, "Windows", "Windows", 0,
                                     [this](TObject&) { ButtonWindowsClick(); });
  ButtonProcesses = ToolBar->AddButton(*this, "Processes", "Processes", 1,
                                       [this](TObject&) { ButtonProcessesClick(); });
  ButtonThreads = ToolBar->AddButton(*this, "Threads", "Threads", 2,
                                     [this](TObject&) { ButtonThreadsClick(); });
  ButtonModules = ToolBar->AddButton(*this, "Modules", "Modules", 5,
                                     [this](TObject&) { ButtonModulesClick(); });
  ToolBar->AddSeparator(*this, 8);
  // Window stations are not listed (yet): the button and its neighbours stay hidden.
  WindowStationButton = ToolBar->AddButton(*this, "WindowStations", "WindowStations", 6, {});
  WindowStationButton->Hide();
  ToolBar->AddButton(*this, "Desktops", "Desktops", -1, {})->Hide();
  ToolBar->AddButton(*this, "Services", "Services", -1, {})->Hide();
  ToolBar->AddSeparator(*this, 8)->Hide();
  ButtonFindWnd = ToolBar->AddButton(*this, "Find Window", "Find Window", 4,
                                     [this](TObject&) { ButtonFindWndClick(); });
  ToolBar->AddSeparator(*this, 8);
  ButtonProperties = ToolBar->AddButton(*this, "Properties", "Properties", 3,
                                        [this](TObject&) { ButtonPropertiesClick(); });
  ToolBar->ArrangeButtons();
}

void TWyndoMainForm::BuildMenus() {
  auto Command = [this](void (TWyndoMainForm::*Method)()) {
    return [this, Method](TObject&) { (this->*Method)(); };
  };
  using enum TMainCommand;
  MainMenu.SetImages(ImageListSmall.Handle());
  TMenuItem& Bar = MainMenu.Items();
  WyndoMenu = Bar.AddItem("&Wyndo");
  WindowsMenu =
      WyndoMenu->AddItem(CommandId(mcWindows), "&Windows...", Command(&F::ButtonWindowsClick), 0);
  ProcessesMenu = WyndoMenu->AddItem(CommandId(mcProcesses), "&Processes...",
                                     Command(&F::ButtonProcessesClick), 1);
  ThreadsMenu =
      WyndoMenu->AddItem(CommandId(mcThreads), "&Threads...", Command(&F::ButtonThreadsClick), 2);
  ModulesMenu =
      WyndoMenu->AddItem(CommandId(mcModules), "&Modules...", Command(&F::ButtonModulesClick), 3);
  WyndoMenu->AddSeparator();
  FindWindow1 = WyndoMenu->AddItem(CommandId(mcFindWindow), "&Find Window...",
                                   Command(&F::ButtonFindWndClick));
  WyndoMenu->AddSeparator();
  PropertiesMenu = WyndoMenu->AddItem(CommandId(mcProperties), "Properties...",
                                      Command(&F::ButtonPropertiesClick));
  PropertiesMenu->SetShortCut(ShortCut(VK_RETURN, scAlt));
  Windows_Menu = Bar.AddItem("&Window");
  MenuCascade =
      Windows_Menu->AddItem(CommandId(mcCascade), "&Cascade", Command(&F::CascadeExecute));
  MenuTileHorizontally = Windows_Menu->AddItem(CommandId(mcTileHorizontally), "Tile &Horizontally",
                                               Command(&F::TileHorizontallyExecute));
  MenuTilevertically = Windows_Menu->AddItem(CommandId(mcTileVertically), "Tile &Vertically",
                                             Command(&F::TileVerticallyExecute));
  Windows_Menu->AddSeparator();
  MenuCloseAll =
      Windows_Menu->AddItem(CommandId(mcCloseAll), "Close &All", Command(&F::MenuCloseAllClick));
  Help = Bar.AddItem("&Help");
  // There is no update service: the entry and its separator stay hidden.
  UpdateCheck = Help->AddItem("Updates..");
  UpdateCheck->SetVisible(false);
  Help->AddSeparator()->SetVisible(false);
  About = Help->AddItem(CommandId(mcAbout), "&About...", Command(&F::AboutClick));

  TMenuItem& Tray = TrayMenu.Items();
  MenuSeperator = Tray.AddSeparator();
  MenuSeperator->SetVisible(false);
  MenuWindows =
      Tray.AddItem(CommandId(mcTrayWindows), "Windows...", Command(&F::ButtonWindowsClick));
  MenuProcesses =
      Tray.AddItem(CommandId(mcTrayProcesses), "Processes...", Command(&F::ButtonProcessesClick));
  MenuThreads =
      Tray.AddItem(CommandId(mcTrayThreads), "Threads...", Command(&F::ButtonThreadsClick));
  MenuModules =
      Tray.AddItem(CommandId(mcTrayModules), "Modules...", Command(&F::ButtonModulesClick));
  MenuFindWindow =
      Tray.AddItem(CommandId(mcTrayFindWindow), "Find Window...", Command(&F::ButtonFindWndClick));
  Tray.AddSeparator();
  MenuProperties = Tray.AddItem(CommandId(mcTrayProperties), "Properties...",
                                Command(&F::ButtonPropertiesClick));
  MenuShow = Tray.AddItem(CommandId(mcTrayShow), "&Show Wyndo", Command(&F::MenuShowClick));
  MenuShow->SetDefault(true);
  MenuClose = Tray.AddItem(CommandId(mcTrayClose), "&Close Wyndo", Command(&F::MenuCloseClick));
}

bool TWyndoMainForm::Docked() const {
  return Settings.AppBarDocking;
}

// ---------------------------------------------------------------------------------------------
// Message handling

void TWyndoMainForm::WndProc(TMessage& Message) {
  HandleMessage(Message);
  const UINT TaskbarCreated = SettingsResources.TaskbarCreated;
  if (TaskbarCreated != 0 && Message.Msg == TaskbarCreated &&
      (Settings.Minimization == mzTray || Settings.Minimization == mzTrayAndTaskbar))
    ShowTrayIcon();
}

void TWyndoMainForm::HandleMessage(TMessage& Message) {
  switch (Message.Msg) {
  case WM_GETMINMAXINFO: {
    TStyleForm::WndProc(Message);
    if (!ToolBar || !Taskbar || !HandleAllocated())
      return;
    RECT Window{};
    RECT Client{};
    ::GetWindowRect(Handle(), &Window);
    ::GetClientRect(Handle(), &Client);
    const LONG Frame = (Window.bottom - Window.top) - (Client.bottom - Client.top);
    const LONG H = Frame + Taskbar->Height() + ToolBar->Height();
    auto* Info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
    Info->ptMaxSize.y = H;
    Info->ptMinTrackSize = {348, H};
    Info->ptMaxTrackSize.y = H;
    return;
  }
  case WM_NCHITTEST:
    TStyleForm::WndProc(Message);
    switch (Message.Result) {
    case HTTOP:
    case HTBOTTOM:
      Message.Result = HTBORDER;
      break;
    case HTSIZE:
    case HTLEFT:
    case HTRIGHT:
    case HTTOPLEFT:
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
      if (Docked())
        Message.Result = HTBORDER;
      break;
    default:
      break;
    }
    return;
  case WM_WINDOWPOSCHANGING:
    if (Docked() && !FConstructing) {
      auto* Pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
      Pos->x = FDockRect.left;
      Pos->y = FDockRect.top;
      Pos->cx = FDockRect.right - FDockRect.left;
      Pos->cy = FDockRect.bottom - FDockRect.top;
    }
    break;
  case WM_SIZE:
  case WM_WINDOWPOSCHANGED:
    // Re-entry from ApplyDockRect itself passes on, so a rectangle the system will not take
    // cannot make the two call each other without end.
    if (Docked() && !FConstructing && !FApplyingDockRect) {
      RECT Bounds{};
      ::GetWindowRect(Handle(), &Bounds);
      if (!::EqualRect(&Bounds, &FDockRect)) {
        ApplyDockRect();
        return;
      }
    }
    break;
  case WM_SYSCOMMAND:
    if ((Message.WParam & 0xFFF0) == SC_MINIMIZE && Settings.Minimization == mzTray) {
      HWND App = Application.Handle();
      ShowWindowNoAnimation(App, SW_MINIMIZE);
      // Windows hides the forms with their minimised owner; Wine does not.
      ::ShowOwnedPopups(App, FALSE);
      ::ShowWindow(App, SW_HIDE);
      if (Docked())
        UndockAppBar();
      return;
    }
    break;
  case WM_APPBARNOTIFY:
    if (Message.WParam == ABN_POSCHANGED)
      AppBarPositionChanged();
    return;
  case WM_TRAYNOTIFY:
    switch (Message.LParam) {
    case WM_LBUTTONDBLCLK:
      MenuShow->Click();
      break;
    case WM_RBUTTONDOWN:
      FTrayMenuArmed = true;
      break;
    case WM_RBUTTONUP:
      if (FTrayMenuArmed) {
        POINT Cursor{};
        ::GetCursorPos(&Cursor);
        ::SetForegroundWindow(Handle());
        TrayMenu.Owner = Handle();
        TrayMenu.Popup(Cursor.x, Cursor.y);
      }
      break;
    default:
      break;
    }
    return;
  default:
    break;
  }
  TStyleForm::WndProc(Message);
}

// ---------------------------------------------------------------------------------------------
// Placement, show and hide

void TWyndoMainForm::ApplyDockRect() {
  Application.ProcessMessages();
  const bool Nested = FApplyingDockRect;
  FApplyingDockRect = true;
  ::MoveWindow(Handle(), FDockRect.left, FDockRect.top, FDockRect.right - FDockRect.left, Height(),
               TRUE);
  FApplyingDockRect = Nested;
  Realign();
}

void TWyndoMainForm::ApplyTaskbarButton(bool ProgramVisible) {
  const bool Shown = ProgramVisible ? Settings.Minimization == mzTaskbar && !Docked()
                                    : Settings.Minimization != mzTray;
  // Shown without activation: the application window has no size, the main form keeps the focus.
  ::ShowWindow(Application.Handle(), Shown ? SW_SHOWNA : SW_HIDE);
}

void TWyndoMainForm::ApplyTaskbarButton() {
  ApplyTaskbarButton(Visible() && !::IsIconic(Application.Handle()));
}

void TWyndoMainForm::LeaveShell() {
  if (FLeftShell)
    return;
  FLeftShell = true;
  if (Settings.AppBarDocking)
    UndockAppBar();
  if (Settings.Minimization == mzTray || Settings.Minimization == mzTrayAndTaskbar)
    HideTrayIcon();
}

void TWyndoMainForm::StyleFormShow(TObject&) {
  ApplyTaskbarButton(true);
}

void TWyndoMainForm::StyleFormHide(TObject&) {
  ApplyTaskbarButton(false);
}

void TWyndoMainForm::AppMinimize(TObject& Sender) {
  StyleFormHide(Sender);
  if (Docked())
    UndockAppBar();
}

void TWyndoMainForm::AppRestore(TObject& Sender) {
  StyleFormShow(Sender);
  if (Docked())
    DockAppBar();
}

void TWyndoMainForm::MenuShowClick() {
  HWND App = Application.Handle();
  if (::IsIconic(App)) {
    Application.Restore();
    ApplyTaskbarButton(true);
    if (Docked())
      DockAppBar();
  }
  ::SetForegroundWindow(Handle());
}

void TWyndoMainForm::MenuCloseClick() {
  Close();
}

// ---------------------------------------------------------------------------------------------
// Commands

void TWyndoMainForm::ButtonWindowsClick() {
  Shell().OpenChildWindow(TChildKind::ckWindowList, nullptr);
}

void TWyndoMainForm::ButtonProcessesClick() {
  Shell().OpenChildWindow(TChildKind::ckProcessList, nullptr);
}

void TWyndoMainForm::ButtonThreadsClick() {
  Shell().OpenChildWindow(TChildKind::ckThreadList, nullptr);
}

void TWyndoMainForm::ButtonModulesClick() {
  Shell().OpenChildWindow(TChildKind::ckModuleList, nullptr);
}

void TWyndoMainForm::ButtonFindWndClick() {
  Shell().OpenChildWindow(TChildKind::ckWndSearch, nullptr);
}

void TWyndoMainForm::ButtonPropertiesClick() {
  MakeForm<TPropertyForm>()->ShowModal();
}

void TWyndoMainForm::ArrangeWindows(int How) {
  std::vector<HWND> Windows;
  for (int Index = 0; Index < Taskbar->Items().Count(); ++Index)
    Windows.push_back(Taskbar->Items()[Index].Form().Handle());
  if (Windows.empty())
    return;
  const UINT Count = static_cast<UINT>(Windows.size());
  HWND Desktop = ::GetDesktopWindow();
  const WORD Arranged =
      How < 0 ? ::CascadeWindows(Desktop, MDITILE_SKIPDISABLED, nullptr, Count, Windows.data())
              : ::TileWindows(Desktop, static_cast<UINT>(How), nullptr, Count, Windows.data());
  if (Arranged == 0)
    ArrangeWithoutSystem(Windows, How);
}

void TWyndoMainForm::ArrangeWithoutSystem(const std::vector<HWND>& Windows, int How) {
  // Where the system cannot arrange windows (Wine has no CascadeWindows or TileWindows), they
  // are arranged the same way here: the shown, restored windows over the whole screen, for a
  // cascade only the enabled ones.
  std::vector<HWND> Placed;
  std::vector<TSize2> Sizes;
  for (HWND Window : Windows) {
    if (!::IsWindowVisible(Window) || ::IsIconic(Window) || (How < 0 && !::IsWindowEnabled(Window)))
      continue;
    RECT Rect{};
    ::GetWindowRect(Window, &Rect);
    Placed.push_back(Window);
    Sizes.push_back({Rect.right - Rect.left, Rect.bottom - Rect.top});
  }
  RECT Screen{};
  ::GetClientRect(::GetDesktopWindow(), &Screen);
  const TBounds Area{Screen.left, Screen.top, Screen.right - Screen.left,
                     Screen.bottom - Screen.top};
  const int Step = ::GetSystemMetrics(SM_CYCAPTION) + ::GetSystemMetrics(SM_CYSIZEFRAME);
  const std::vector<TBounds> Bounds =
      How < 0 ? CascadeBounds(Area, Sizes, Step)
              : TileBounds(Area, static_cast<int>(Placed.size()), How == MDITILE_VERTICAL);
  for (std::size_t Index = 0; Index < Placed.size(); ++Index)
    ::SetWindowPos(Placed[Index], HWND_TOP, Bounds[Index].Left, Bounds[Index].Top,
                   Bounds[Index].Width, Bounds[Index].Height, SWP_NOACTIVATE);
}

void TWyndoMainForm::CascadeExecute() {
  ArrangeWindows(-1);
}

void TWyndoMainForm::TileHorizontallyExecute() {
  ArrangeWindows(MDITILE_HORIZONTAL);
}

void TWyndoMainForm::TileVerticallyExecute() {
  ArrangeWindows(MDITILE_VERTICAL);
}

void TWyndoMainForm::MenuCloseAllClick() {
  while (Taskbar->Items().Count() > 0)
    Taskbar->RemoveForm(0, true, true);
}

// ---------------------------------------------------------------------------------------------
// Finder panel

void TWyndoMainForm::FoundWnd(HWND Window) {
  FFields.FoundWnd(Window);
}

void TWyndoMainForm::WndHandleKeyPress(TObject&, char& Key) {
  FFields.KeyPress(Key);
}

void TWyndoMainForm::WndCaptionChange(TObject&) {
  FFields.CaptionChange();
}

void TWyndoMainForm::RewriteHandleField() {
  FFields.RewriteHandle();
}

// ---------------------------------------------------------------------------------------------
// Tray menu entries

void TWyndoMainForm::TaskbarAddForm(TTaskItems&, TForm& Form) {
  auto Item = std::make_unique<TMenuItem>();
  Item->SetCaption(Form.Caption());
  Item->Tag = reinterpret_cast<std::intptr_t>(&Form);
  Item->OnClick = [this](TObject& Sender) { TrayItemClick(Sender); };
  TrayMenu.Items().Insert(0, std::move(Item));
  MenuSeperator->SetVisible(true);
}

void TWyndoMainForm::TaskbarRemoveForm(TTaskItems&, TForm& Form) {
  TMenuItem& Tray = TrayMenu.Items();
  for (int Index = 0; Index <= Tray.Count() - 10; ++Index)
    if (Tray.Items(Index)->Tag == reinterpret_cast<std::intptr_t>(&Form)) {
      Tray.Delete(Index);
      break;
    }
  if (Tray.Count() == 10)
    MenuSeperator->SetVisible(false);
}

void TWyndoMainForm::TrayItemClick(TObject& Sender) {
  auto* Form = reinterpret_cast<TForm*>(static_cast<TMenuItem&>(Sender).Tag);
  HWND Window = Form->Handle();
  if (::IsIconic(Window))
    ::ShowWindow(Window, SW_RESTORE);
  else
    Form->BringToFront();
  ::ShowWindow(Window, SW_SHOW);
}

void TWyndoMainForm::AboutClick() {
  std::string ProductVersion;
  std::array<std::uint16_t, 4> FileVersion{};
  GetVersionInfo(ProgramPath(), &ProductVersion, FileVersion);
  ShowAboutBox(ProductVersion);
}

} // namespace wyndo
