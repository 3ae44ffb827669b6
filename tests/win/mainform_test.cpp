// The main window: its size rules, docking, the tray and its menu, the menus and the commands
// that arrange or close the child windows.

#include "finder/wndsearch.h"
#include "tests/win/program_fixture.h"
#include "tests/win/test_support.h"
#include "ui/records.h"

#include <shellapi.h>

#include <gtest/gtest.h>

namespace wyndo::test {
namespace {

class MainWindowTest : public ProgramTest {
protected:
  static RECT WindowRect(HWND Window) {
    RECT Rect{};
    ::GetWindowRect(Window, &Rect);
    return Rect;
  }
  static LRESULT HitTest(HWND Window, int X, int Y) {
    return ::SendMessageA(Window, WM_NCHITTEST, 0, MAKELPARAM(X, Y));
  }
  // The frame, caption and menu bar plus the tool bar and the task bar.
  static LONG ExpectedHeight(TWyndoMainForm& Main) {
    RECT Client{};
    ::GetClientRect(Main.Handle(), &Client);
    const RECT Window = WindowRect(Main.Handle());
    return (Window.bottom - Window.top) - Client.bottom + 42 + 32;
  }
  TWndSearchForm& OpenSearch() {
    auto* Form =
        dynamic_cast<TWndSearchForm*>(Services.OpenChildWindow(TChildKind::ckWndSearch, nullptr));
    EXPECT_NE(Form, nullptr);
    return *Form;
  }
  // Whether the tray icon of the main window is there: only an existing icon can be modified.
  static bool TrayIconPresent(TWyndoMainForm& Main) { return TrayIconPresent(Main.Handle()); }
  static bool TrayIconPresent(HWND Window) {
    TNotifyIconDataV1 Data{};
    Data.cbSize = sizeof(Data);
    Data.hWnd = Window;
    Data.uID = 1;
    return ::Shell_NotifyIconA(NIM_MODIFY, reinterpret_cast<NOTIFYICONDATAA*>(&Data)) != FALSE;
  }
};

TEST_F(MainWindowTest, ItIsAStripOfFixedHeightNeverNarrowerThan348) {
  TWyndoMainForm& Main = OpenMain();
  HWND Window = Main.Handle();
  EXPECT_TRUE(::IsZoomed(Window));
  EXPECT_TRUE(Main.CaptionButtons() & CaptionButton(cbMaximize));
  const RECT WorkArea = Screen.WorkArea();
  const RECT Maximised = WindowRect(Window);
  EXPECT_EQ(Maximised.bottom - Maximised.top, ExpectedHeight(Main));
  EXPECT_GE(Maximised.right - Maximised.left, WorkArea.right - WorkArea.left);

  MINMAXINFO Info{};
  ::SendMessageA(Window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Info));
  const LONG H = ExpectedHeight(Main);
  EXPECT_EQ(Info.ptMaxSize.y, H);
  EXPECT_EQ(Info.ptMinTrackSize.x, 348);
  EXPECT_EQ(Info.ptMinTrackSize.y, H);
  EXPECT_EQ(Info.ptMaxTrackSize.y, H);

  // Restored, the edges tell: upper and lower edges are plain border, the sides size.
  ::ShowWindow(Window, SW_RESTORE);
  ::SetWindowPos(Window, nullptr, 100, 200, 600, 400, SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT Rect = WindowRect(Window);
  EXPECT_EQ(Rect.bottom - Rect.top, H) << "the height is not the caller's to choose";
  const int MidX = (Rect.left + Rect.right) / 2;
  const int MidY = (Rect.top + Rect.bottom) / 2;
  EXPECT_EQ(HitTest(Window, MidX, Rect.top + 1), HTBORDER);
  EXPECT_EQ(HitTest(Window, MidX, Rect.bottom - 2), HTBORDER);
  EXPECT_EQ(HitTest(Window, Rect.left + 1, MidY), HTLEFT);
  EXPECT_EQ(HitTest(Window, Rect.right - 2, MidY), HTRIGHT);
  ::SetWindowPos(Window, nullptr, 100, 200, 120, H, SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT Narrow = WindowRect(Window);
  EXPECT_EQ(Narrow.right - Narrow.left, 348);
}

TEST_F(MainWindowTest, DockedItKeepsItsRectangleAndCannotBeSized) {
  Settings.AppBarDocking = true;
  TWyndoMainForm& Main = OpenMain();
  HWND Window = Main.Handle();
  EXPECT_FALSE(Main.CaptionButtons() & CaptionButton(cbMaximize));
  EXPECT_TRUE(RegisteredAppBar(Window));
  const RECT Dock = Main.FDockRect;
  EXPECT_EQ(Dock.bottom - Dock.top, ExpectedHeight(Main));
  EXPECT_TRUE(WaitFor([&] {
    const RECT Rect = WindowRect(Window);
    return ::EqualRect(&Rect, &Dock) != FALSE;
  }));

  ::MoveWindow(Window, 300, 400, 500, 200, TRUE);
  WaitFor([] { return false; }, 50);
  RECT Rect = WindowRect(Window);
  EXPECT_TRUE(::EqualRect(&Rect, &Dock)) << Rect.left << "," << Rect.top;
  ::SetWindowPos(Window, nullptr, 10, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Rect = WindowRect(Window);
  EXPECT_TRUE(::EqualRect(&Rect, &Dock));

  for (LONG X : {Rect.left + 1, Rect.right - 2})
    EXPECT_EQ(HitTest(Window, X, (Rect.top + Rect.bottom) / 2), HTBORDER);
  EXPECT_EQ(HitTest(Window, Rect.right - 2, Rect.bottom - 2), HTBORDER);

  // The shell moving the bars about: the window asks again and stays on its strip.
  ::SendMessageA(Window, WM_APPBARNOTIFY, ABN_POSCHANGED, 0);
  Rect = WindowRect(Window);
  EXPECT_TRUE(::EqualRect(&Rect, &Main.FDockRect));
}

TEST_F(MainWindowTest, MinimisedToTheTrayItLeavesNoButtonAndGivesTheDockedStripBack) {
  Settings.Minimization = mzTray;
  Settings.AppBarDocking = true;
  TWyndoMainForm& Main = OpenMain();
  HWND App = Application.Handle();
  HWND Window = Main.Handle();
  EXPECT_TRUE(TrayIconPresent(Main));
  EXPECT_FALSE(::IsWindowVisible(App)) << "no task-bar button while docked or in the tray";

  ::SendMessageA(Window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(::IsIconic(App));
  EXPECT_FALSE(::IsWindowVisible(App));
  EXPECT_FALSE(::IsWindowVisible(Window));
  EXPECT_FALSE(RegisteredAppBar(Window));
  EXPECT_TRUE(TrayIconPresent(Main));

  // A double click on the icon brings it back, docked again, still without a button.
  ::SendMessageA(Window, WM_TRAYNOTIFY, 1, WM_LBUTTONDBLCLK);
  EXPECT_FALSE(::IsIconic(App));
  EXPECT_FALSE(::IsWindowVisible(App));
  EXPECT_TRUE(::IsWindowVisible(Window));
  EXPECT_TRUE(RegisteredAppBar(Window));
}

TEST_F(MainWindowTest, TheTrayIconComesBackWhenTheShellsTaskBarIsMadeAgain) {
  Settings.Minimization = mzTrayAndTaskbar;
  TWyndoMainForm& Main = OpenMain();
  EXPECT_TRUE(TrayIconPresent(Main));
  TNotifyIconDataV1 Data{};
  Data.cbSize = sizeof(Data);
  Data.hWnd = Main.Handle();
  Data.uID = 1;
  ::Shell_NotifyIconA(NIM_DELETE, reinterpret_cast<NOTIFYICONDATAA*>(&Data));
  ASSERT_FALSE(TrayIconPresent(Main));
  ::SendMessageA(Main.Handle(), SettingsResources.TaskbarCreated, 0, 0);
  EXPECT_TRUE(TrayIconPresent(Main));

  // Minimised with "Tray and Taskbar", the program keeps a task-bar button.
  ::SendMessageA(Main.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(::IsIconic(Application.Handle()));
  EXPECT_TRUE(::IsWindowVisible(Application.Handle()));
  Main.MenuShowClick();
  EXPECT_FALSE(::IsIconic(Application.Handle()));
  EXPECT_FALSE(::IsWindowVisible(Application.Handle()));
}

// Counts the pop-up menus that showed while a message was handled, and closes each.
class TPopupWatch {
public:
  TPopupWatch() {
    Self = this;
    FTimer = ::SetTimer(nullptr, 0, 30, &Tick);
  }
  ~TPopupWatch() {
    ::KillTimer(nullptr, FTimer);
    Self = nullptr;
  }
  int Shown = 0;
  std::vector<std::string> Texts;

private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND Menu = ::FindWindowA("#32768", nullptr);
    if (Self && Menu && ::IsWindowVisible(Menu)) {
      ++Self->Shown;
      ::EndMenu();
    }
  }
  static inline TPopupWatch* Self = nullptr;
  UINT_PTR FTimer = 0;
};

TEST_F(MainWindowTest, TheTrayMenuPopsUpOnARightButtonReleaseOnlyAfterAPress) {
  Settings.Minimization = mzTray;
  TWyndoMainForm& Main = OpenMain();
  TPopupWatch Watch;
  ::SendMessageA(Main.Handle(), WM_TRAYNOTIFY, 1, WM_RBUTTONUP);
  WaitFor([] { return false; }, 100);
  EXPECT_EQ(Watch.Shown, 0);
  EXPECT_FALSE(Main.FTrayMenuArmed);
  ::SendMessageA(Main.Handle(), WM_TRAYNOTIFY, 1, WM_RBUTTONDOWN);
  EXPECT_TRUE(Main.FTrayMenuArmed);
  ::SendMessageA(Main.Handle(), WM_TRAYNOTIFY, 1, WM_RBUTTONUP);
  EXPECT_EQ(Watch.Shown, 1);
  // Armed once, armed for good.
  ::SendMessageA(Main.Handle(), WM_TRAYNOTIFY, 1, WM_RBUTTONUP);
  EXPECT_EQ(Watch.Shown, 2);
}

TEST_F(MainWindowTest, TrayEntriesAreNewestFirstAboveTheCommandsAndGoWithTheirWindows) {
  TWyndoMainForm& Main = OpenMain();
  TMenuItem& Tray = Main.TrayMenu.Items();
  ASSERT_EQ(Tray.Count(), 10);
  EXPECT_FALSE(Main.MenuSeperator->Visible());
  EXPECT_EQ(::GetMenuItemCount(Main.TrayMenu.Handle()), 9);
  EXPECT_EQ(static_cast<int>(::GetMenuDefaultItem(Main.TrayMenu.Handle(), TRUE, 0)), 7)
      << "\"&Show Wyndo\" is the default item";

  TWndSearchForm& First = OpenSearch();
  TWndSearchForm& Second = OpenSearch();
  TWndSearchForm& Third = OpenSearch();
  ASSERT_EQ(Tray.Count(), 13);
  EXPECT_EQ(Tray.Items(0)->Caption(), "Find Window 3");
  EXPECT_EQ(Tray.Items(1)->Caption(), "Find Window 2");
  EXPECT_EQ(Tray.Items(2)->Caption(), "Find Window 1");
  EXPECT_EQ(Tray.Items(3), Main.MenuSeperator);
  EXPECT_TRUE(Main.MenuSeperator->Visible());
  EXPECT_EQ(::GetMenuItemCount(Main.TrayMenu.Handle()), 13);

  // An entry brings its window back, also from the minimised state; its caption stays as made.
  Second.SetCaption("Renamed");
  ::ShowWindow(Second.Handle(), SW_MINIMIZE);
  Tray.Items(1)->Click();
  EXPECT_FALSE(::IsIconic(Second.Handle()));
  EXPECT_TRUE(::IsWindowVisible(Second.Handle()));
  EXPECT_EQ(Tray.Items(1)->Caption(), "Find Window 2");

  ::SendMessageA(Second.Handle(), WM_CLOSE, 0, 0);
  ASSERT_EQ(Tray.Count(), 12);
  EXPECT_EQ(Tray.Items(0)->Caption(), "Find Window 3");
  EXPECT_EQ(Tray.Items(1)->Caption(), "Find Window 1");
  ::SendMessageA(First.Handle(), WM_CLOSE, 0, 0);
  ::SendMessageA(Third.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(Tray.Count(), 10);
  EXPECT_FALSE(Main.MenuSeperator->Visible());
  EXPECT_EQ(::GetMenuItemCount(Main.TrayMenu.Handle()), 9);
}

TEST_F(MainWindowTest, CloseAllClosesEveryChildAndDoesNothingWithoutOne) {
  TWyndoMainForm& Main = OpenMain();
  Main.MenuCloseAllClick();
  EXPECT_EQ(Main.Taskbar->Items().Count(), 0);
  OpenSearch();
  OpenSearch();
  ASSERT_EQ(Main.Taskbar->Items().Count(), 2);
  // Through the menu, as a user chooses it.
  ::SendMessageA(Main.Handle(), WM_COMMAND, Main.MenuCloseAll->Command(), 0);
  EXPECT_EQ(Main.Taskbar->Items().Count(), 0);
  EXPECT_EQ(Main.TrayMenu.Items().Count(), 10);
}

TEST_F(MainWindowTest, CascadeAndTileMoveTheChildWindowsOnly) {
  TWyndoMainForm& Main = OpenMain();
  TWndSearchForm& First = OpenSearch();
  TWndSearchForm& Second = OpenSearch();
  First.SetBounds(500, 500, First.Width(), First.Height());
  Second.SetBounds(500, 500, Second.Width(), Second.Height());
  const RECT MainBefore = WindowRect(Main.Handle());

  Main.CascadeExecute();
  RECT A = WindowRect(First.Handle());
  RECT B = WindowRect(Second.Handle());
  EXPECT_NE(A.left, B.left) << "cascaded windows are offset from each other";
  EXPECT_NE(A.top, B.top);
  RECT MainAfter = WindowRect(Main.Handle());
  EXPECT_TRUE(::EqualRect(&MainBefore, &MainAfter));

  Main.TileVerticallyExecute();
  A = WindowRect(First.Handle());
  B = WindowRect(Second.Handle());
  EXPECT_NE(A.left, B.left) << "side by side";
  Main.TileHorizontallyExecute();
  A = WindowRect(First.Handle());
  B = WindowRect(Second.Handle());
  EXPECT_NE(A.top, B.top) << "one above the other";
  MainAfter = WindowRect(Main.Handle());
  EXPECT_TRUE(::EqualRect(&MainBefore, &MainAfter));
}

// The about box shown from the main window, clicked away from a timer of its modal loop.
HWND AboutBox = nullptr;
void CALLBACK ClickAboutBox(HWND, UINT, UINT_PTR, DWORD) {
  HWND Box = ::FindWindowA("TAboutForm", nullptr);
  if (Box && ::IsWindowVisible(Box) && !AboutBox) {
    AboutBox = Box;
    ::PostMessageA(Box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 100));
    ::PostMessageA(Box, WM_LBUTTONUP, 0, MAKELPARAM(300, 100));
  }
}

TEST_F(MainWindowTest, TheMenusOpenTheirWindowsAndDialogs) {
  TWyndoMainForm& Main = OpenMain();
  HMENU Bar = ::GetMenu(Main.Handle());
  ASSERT_NE(Bar, nullptr);
  EXPECT_EQ(::GetMenuItemCount(Bar), 3);
  HMENU Wyndo = ::GetSubMenu(Bar, 0);
  EXPECT_EQ(::GetMenuItemCount(Wyndo), 8);
  char Text[64] = {};
  ::GetMenuStringA(Wyndo, 7, Text, sizeof(Text), MF_BYPOSITION);
  EXPECT_STREQ(Text, "Properties...\tAlt+Enter");
  EXPECT_FALSE(::GetMenuState(Wyndo, 7, MF_BYPOSITION) & MF_GRAYED);
  HMENU HelpMenu = ::GetSubMenu(Bar, 2);
  ASSERT_EQ(::GetMenuItemCount(HelpMenu), 1) << "the update entry and its separator are hidden";
  ::GetMenuStringA(HelpMenu, 0, Text, sizeof(Text), MF_BYPOSITION);
  EXPECT_STREQ(Text, "&About...");
  EXPECT_FALSE(::GetMenuState(HelpMenu, 0, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_TRUE(Main.ButtonProperties->Enabled());
  AboutBox = nullptr;
  const UINT_PTR Timer = ::SetTimer(nullptr, 0, 50, &ClickAboutBox);
  ::SendMessageA(Main.Handle(), WM_COMMAND, Main.About->Command(), 0);
  ::KillTimer(nullptr, Timer);
  EXPECT_NE(AboutBox, nullptr) << "the about box was shown";
  EXPECT_FALSE(::IsWindow(AboutBox)) << "and freed once closed";

  ::SendMessageA(Main.Handle(), WM_COMMAND, Main.FindWindow1->Command(), 0);
  ::SendMessageA(Main.Handle(), WM_COMMAND, Main.MenuFindWindow->Command(), 0);
  Main.ButtonFindWnd->Click();
  ASSERT_EQ(Main.Taskbar->Items().Count(), 3);
  EXPECT_EQ(Main.Taskbar->Items()[2].Form().Caption(), "Find Window 3")
      << "every command opens one more window";
}

TEST_F(MainWindowTest, TheFinderPanelFollowsItsSetting) {
  Settings.MainFinder = false;
  TWyndoMainForm& Main = OpenMain();
  EXPECT_FALSE(Main.FinderPanel->Visible());
  EXPECT_EQ(Main.MainPanel->Width(), Main.ClientSize().Width);
  Application.SetMainForm(nullptr);
  Settings.MainFinder = true;
  TWyndoMainForm& Again = OpenMain();
  EXPECT_TRUE(Again.FinderPanel->Showing());
  EXPECT_EQ(Again.MainPanel->Width(), Again.ClientSize().Width - Again.FinderPanel->Width() - 1);
  EXPECT_EQ(Again.FinderPanel->Left() + Again.FinderPanel->Width(), Again.ClientSize().Width);
}

TEST_F(MainWindowTest, GoingItTakesTheTrayIconAndTheDockedStripAndLetsGoOfTheProgram) {
  Settings.Minimization = mzTray;
  Settings.AppBarDocking = true;
  TWyndoMainForm& Main = OpenMain();
  HWND Window = Main.Handle();
  OpenSearch();
  Application.SetMainForm(nullptr);
  EXPECT_FALSE(::IsWindow(Window));
  EXPECT_FALSE(TrayIconPresent(Window));
  EXPECT_EQ(MainWindow(), nullptr);
  EXPECT_FALSE(::FindWindowA("TWndSearchForm", nullptr));
  // The program's minimise and restore no longer reach the window that went.
  EXPECT_FALSE(Application.OnMinimize);
  EXPECT_FALSE(Application.OnRestore);
}

} // namespace
} // namespace wyndo::test
