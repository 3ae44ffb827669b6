// The framework's message dispatch, reflection, window-less controls, close protocol, error
// handling and handle ownership, on real windows.

#include "core/errors.h"
#include "tests/win/test_support.h"
#include "ui/forms.h"
#include "ui/guard.h"
#include "ui/handles.h"
#include "ui/menus.h"
#include "ui/stdctrls.h"

#include <gtest/gtest.h>
#include <vector>

namespace wyndo::test {
namespace {

constexpr UINT WM_PROBE_ANSWER = WM_USER + 1; // answered with 42
constexpr UINT WM_PROBE_FAIL = WM_USER + 2;   // raises an exception

// A windowed control of our own class that records every message and handles two of its own.
class TProbe : public TCustomControl {
public:
  std::vector<UINT> Seen;
  int Paints = 0;
  void WndProc(TMessage& Message) override {
    Seen.push_back(Message.Msg);
    if (Message.Msg == WM_PROBE_ANSWER) {
      Message.Result = 42;
      return;
    }
    if (Message.Msg == WM_PROBE_FAIL)
      throw Exception("probe failure");
    TCustomControl::WndProc(Message);
  }
  bool SawMessage(UINT Msg) const { return std::find(Seen.begin(), Seen.end(), Msg) != Seen.end(); }

protected:
  void Paint(TCanvas&) override { ++Paints; }
};

// A window-less control that records what its mouse handlers receive.
class TGraphicProbe : public TGraphicControl {
public:
  std::vector<POINT> Downs;
  int Enters = 0, Leaves = 0;

protected:
  void Paint(TCanvas&) override {}
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    Downs.push_back({X, Y});
    TGraphicControl::MouseDown(Button, Shift, X, Y);
  }
  void MouseEnter() override { ++Enters; }
  void MouseLeave() override { ++Leaves; }
};

class FrameworkTest : public ::testing::Test {
protected:
  void SetUp() override {
    Form = MakeForm<TForm>();
    Form->SetBounds(100, 100, 400, 300);
  }
  void TearDown() override { Application.OnException = nullptr; }

  template <class T>
  T* Add(int Left, int Top, int Width, int Height) {
    T* Control = Form->Make<T>();
    Control->SetParent(Form.get());
    Control->SetBounds(Left, Top, Width, Height);
    return Control;
  }

  TFormPtr<TForm> Form;
};

TEST_F(FrameworkTest, BindsTheObjectAtCreationAndRoutesMessagesThroughWndProc) {
  auto* Probe = Add<TProbe>(10, 10, 50, 50);
  HWND Window = Probe->Handle(); // made with its form

  EXPECT_TRUE(Form->HandleAllocated());
  EXPECT_EQ(TWinControl::FromHandle(Window), Probe);
  EXPECT_EQ(TWinControl::FromHandle(Form->Handle()), Form.get());
  // Bound from WM_NCCREATE on, so the object saw its own creation.
  ASSERT_FALSE(Probe->Seen.empty());
  EXPECT_EQ(Probe->Seen.front(), static_cast<UINT>(WM_NCCREATE));
  EXPECT_TRUE(Probe->SawMessage(WM_CREATE));

  EXPECT_EQ(::SendMessageA(Window, WM_PROBE_ANSWER, 0, 0), 42);
  // Messages the class does not handle reach the window's default procedure.
  Probe->SetCaption("four");
  EXPECT_EQ(::SendMessageA(Window, WM_GETTEXTLENGTH, 0, 0), 4);
  EXPECT_EQ(::GetDlgCtrlID(Window) != 0, true);
}

TEST_F(FrameworkTest, AWindowDestroyedUnderneathLeavesTheObjectUsable) {
  auto* Probe = Add<TProbe>(10, 10, 50, 50);
  HWND Window = Probe->Handle();
  ::DestroyWindow(Window);

  EXPECT_FALSE(Probe->HandleAllocated());
  EXPECT_EQ(TWinControl::FromHandle(Window), nullptr);
  EXPECT_TRUE(Probe->SawMessage(WM_NCDESTROY));
  // The next use makes a new window.
  EXPECT_NE(Probe->Handle(), nullptr);
  EXPECT_EQ(::SendMessageA(Probe->Handle(), WM_PROBE_ANSWER, 0, 0), 42);
}

TEST_F(FrameworkTest, AFailureInAWindowProcedureReachesTheErrorHandlerAndTheProgramGoesOn) {
  std::vector<std::string> Reported;
  Application.OnException = [&](const std::string& Message) { Reported.push_back(Message); };
  auto* Probe = Add<TProbe>(10, 10, 50, 50);

  EXPECT_EQ(::SendMessageA(Probe->Handle(), WM_PROBE_FAIL, 0, 0), 0);
  ASSERT_EQ(Reported.size(), 1u);
  EXPECT_EQ(Reported[0], "probe failure");
  EXPECT_EQ(::SendMessageA(Probe->Handle(), WM_PROBE_ANSWER, 0, 0), 42);

  // Posted messages fail the same way inside the message loop.
  ::PostMessageA(Probe->Handle(), WM_PROBE_FAIL, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return Reported.size() == 2; }));
}

TEST_F(FrameworkTest, NotificationsReachTheControlTheyConcern) {
  int ButtonClicks = 0, EditChanges = 0, CheckClicks = 0;
  auto* Button = Add<TButton>(10, 10, 75, 25);
  Button->OnClick = [&](TObject&) { ++ButtonClicks; };
  auto* Edit = Add<TEdit>(10, 40, 100, 21);
  Edit->OnChange = [&](TObject&) { ++EditChanges; };
  auto* Check = Add<TCheckBox>(10, 70, 100, 17);
  Check->OnClick = [&](TObject&) { ++CheckClicks; };
  Form->HandleNeeded();

  ::SendMessageA(Button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(ButtonClicks, 1);

  // Typing and setting the text by code both raise OnChange.
  Edit->SetText("abc");
  EXPECT_EQ(EditChanges, 1);
  ::SendMessageA(Edit->Handle(), EM_SETSEL, 3, 3);
  ::SendMessageA(Edit->Handle(), WM_CHAR, 'd', 0);
  EXPECT_EQ(EditChanges, 2);
  EXPECT_EQ(Edit->Text(), "abcd");

  Check->SetChecked(true);
  EXPECT_EQ(CheckClicks, 1);
  EXPECT_EQ(::SendMessageA(Check->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  ::SendMessageA(Check->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(CheckClicks, 2);
  EXPECT_FALSE(Check->Checked());
  Check->SetChecked(false); // no change, no event
  EXPECT_EQ(CheckClicks, 2);
}

TEST_F(FrameworkTest, AWindowlessControlGetsItsMouseMessagesInItsOwnCoordinates) {
  auto* Graphic = Add<TGraphicProbe>(40, 30, 60, 20);
  int Clicks = 0;
  Graphic->OnClick = [&](TObject&) { ++Clicks; };
  HWND Window = Form->Handle();
  auto At = [](int X, int Y) { return MAKELPARAM(X, Y); };

  ::SendMessageA(Window, WM_MOUSEMOVE, 0, At(45, 35));
  EXPECT_EQ(Graphic->Enters, 1);
  ::SendMessageA(Window, WM_LBUTTONDOWN, MK_LBUTTON, At(45, 35));
  ASSERT_EQ(Graphic->Downs.size(), 1u);
  EXPECT_EQ(Graphic->Downs[0].x, 5);
  EXPECT_EQ(Graphic->Downs[0].y, 5);
  ::SendMessageA(Window, WM_LBUTTONUP, 0, At(46, 36));
  EXPECT_EQ(Clicks, 1);

  // Pressed inside, released outside: the release still goes to it, but it is no click.
  ::SendMessageA(Window, WM_LBUTTONDOWN, MK_LBUTTON, At(45, 35));
  ::SendMessageA(Window, WM_MOUSEMOVE, MK_LBUTTON, At(200, 200));
  EXPECT_EQ(Graphic->Leaves, 0);
  ::SendMessageA(Window, WM_LBUTTONUP, 0, At(200, 200));
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(Graphic->Leaves, 1);

  // Elsewhere on the form nothing reaches it.
  ::SendMessageA(Window, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  ::SendMessageA(Window, WM_LBUTTONUP, 0, At(5, 5));
  EXPECT_EQ(Graphic->Downs.size(), 2u);
}

TEST_F(FrameworkTest, CloseHidesByDefaultAndFollowsTheCloseProtocol) {
  Form->Show();
  ASSERT_TRUE(::IsWindowVisible(Form->Handle()));

  bool Allow = false;
  Form->OnCloseQuery = [&](TObject&, bool& CanClose) { CanClose = Allow; };
  ::SendMessageA(Form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(::IsWindowVisible(Form->Handle()));

  Allow = true;
  TCloseAction Chosen = TCloseAction::caNone;
  Form->OnClose = [&](TObject&, TCloseAction& Action) { Action = Chosen; };
  ::SendMessageA(Form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(::IsWindowVisible(Form->Handle())) << "caNone keeps the form";

  Chosen = TCloseAction::caHide;
  ::SendMessageA(Form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindowVisible(Form->Handle()));
  EXPECT_FALSE(Form->Visible());
}

TEST_F(FrameworkTest, ReleaseDestroysTheFormOnlyAfterItsPendingMessages) {
  TForm* Released = Form.release();
  bool Destroyed = false;
  Released->OnDestroy = [&](TObject&) { Destroyed = true; };
  Released->OnClose = [](TObject&, TCloseAction& Action) { Action = TCloseAction::caFree; };
  HWND Window = Released->Handle();

  ::SendMessageA(Window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(Destroyed);
  EXPECT_TRUE(WaitFor([&] { return Destroyed; }));
  EXPECT_FALSE(::IsWindow(Window));
}

TEST_F(FrameworkTest, VisibleFollowsShowWindowCalledDirectly) {
  Form->Show();
  ::ShowWindow(Form->Handle(), SW_HIDE);
  EXPECT_FALSE(Form->Visible());
  ::ShowWindow(Form->Handle(), SW_SHOW);
  EXPECT_TRUE(Form->Visible());
}

TEST_F(FrameworkTest, MenusAreBuiltFromTheirItemsAndRunTheChosenOne) {
  TMainMenu Menu;
  int Opened = 0;
  int Greyed = 0;
  TMenuItem* File = Menu.Items().AddItem("&File");
  TMenuItem* Open = File->AddItem("&Open", [&](TObject&) { ++Opened; });
  Open->SetShortCut(ShortCut(VK_RETURN, scAlt));
  TMenuItem* Hidden = File->AddItem("Hidden");
  Hidden->SetVisible(false);
  TMenuItem* Disabled = File->AddItem("Disabled", [&](TObject&) { ++Greyed; });
  Disabled->SetEnabled(false);
  Disabled->SetShortCut(ShortCut('K', scAlt));
  Form->SetMenu(&Menu);
  Form->Show();

  HMENU Sub = ::GetSubMenu(::GetMenu(Form->Handle()), 0);
  ASSERT_EQ(::GetMenuItemCount(Sub), 2);
  char Text[32] = {};
  ::GetMenuStringA(Sub, 0, Text, sizeof(Text), MF_BYPOSITION);
  EXPECT_STREQ(Text, "&Open\tAlt+Enter");
  // A change rebuilds the menu bar of the window.
  Hidden->SetVisible(true);
  EXPECT_EQ(::GetMenuItemCount(::GetSubMenu(::GetMenu(Form->Handle()), 0)), 3);

  // Chosen from the menu, or by its shortcut key; a greyed item runs neither way.
  ::SendMessageA(Form->Handle(), WM_COMMAND, Open->Command(), 0);
  ::PostMessageA(Form->Handle(), WM_SYSKEYDOWN, VK_RETURN, 1 << 29);
  ::PostMessageA(Form->Handle(), WM_SYSKEYDOWN, 'K', 1 << 29);
  ::SendMessageA(Form->Handle(), WM_COMMAND, Disabled->Command(), 0);
  EXPECT_TRUE(WaitFor([&] { return Opened == 2; }));
  EXPECT_EQ(Greyed, 0);
  EXPECT_EQ(TMenuItem::FromCommand(Open->Command()), Open);
  const UINT Gone = Hidden->Command();
  File->Delete(File->IndexOf(Hidden));
  EXPECT_EQ(TMenuItem::FromCommand(Gone), nullptr);
  Form->SetMenu(nullptr);
  EXPECT_EQ(::GetMenu(Form->Handle()), nullptr);
}

TEST_F(FrameworkTest, AFormGivesTheFocusBackToTheControlThatLastHadIt) {
  Add<TEdit>(10, 10, 100, 21)->TabOrder = 0;
  auto* Second = Add<TEdit>(10, 40, 100, 21);
  Second->TabOrder = 1;
  Form->Show();
  ::SetActiveWindow(Form->Handle());
  ::SetFocus(Second->Handle()); // as a click or Tab would
  EXPECT_EQ(Form->ActiveControl(), Second);

  // Back from a message box it owned and from another window of the program.
  {
    TMessageBoxWatcher Watcher("Focus");
    ::MessageBoxA(Form->Handle(), "Closed by the test", "Focus", MB_OK);
    EXPECT_TRUE(Watcher.Result().has_value());
  }
  EXPECT_EQ(::GetFocus(), Second->Handle());
  auto Other = MakeForm<TForm>();
  Other->Show();
  ::SetActiveWindow(Other->Handle());
  ASSERT_NE(::GetFocus(), Second->Handle());
  ::SetActiveWindow(Form->Handle());
  EXPECT_EQ(::GetFocus(), Second->Handle());

  // A control going away is forgotten.
  {
    TEdit Passing;
    Passing.SetParent(Form.get());
    Passing.SetBounds(10, 70, 100, 21);
    ::SetFocus(Passing.Handle());
    EXPECT_EQ(Form->ActiveControl(), &Passing);
  }
  EXPECT_EQ(Form->ActiveControl(), nullptr);
  ::SetActiveWindow(Other->Handle());
  ::SetActiveWindow(Form->Handle());
  EXPECT_NE(::GetFocus(), nullptr);
}

TEST_F(FrameworkTest, AFixedCommandIdentifierIsKeptAndATakenOneFallsBackToAHandedOutOne) {
  TPopupMenu Menu;
  int Runs = 0;
  TMenuItem* Fixed = Menu.Items().AddItem(LastFixedCommand, "Fixed", [&](TObject&) { ++Runs; });
  TMenuItem* Second = Menu.Items().AddItem(LastFixedCommand, "Second");
  TMenuItem* Handed = Menu.Items().AddItem("Handed out");
  EXPECT_EQ(Fixed->Command(), LastFixedCommand);
  EXPECT_GE(Second->Command(), 0xC000u);
  EXPECT_LT(Second->Command(), FirstFixedCommand);
  EXPECT_LT(Handed->Command(), FirstFixedCommand);
  Form->Show();
  ::SendMessageA(Form->Handle(), WM_COMMAND, LastFixedCommand, 0);
  EXPECT_EQ(Runs, 1);
  // Freed, the identifier can be claimed again.
  Menu.Items().Delete(0);
  EXPECT_EQ(Menu.Items().AddItem(LastFixedCommand, "Again")->Command(), LastFixedCommand);
}

TEST(EnumerationGuardTest, AFailureStopsTheEnumerationAndIsRaisedAfterIt) {
  int Calls = 0;
  EXPECT_THROW(EnumWindowsGuarded([&](HWND) -> bool {
                 if (++Calls == 2)
                   throw Exception("stop here");
                 return true;
               }),
               Exception);
  EXPECT_EQ(Calls, 2);

  // Returning false ends it quietly.
  Calls = 0;
  EnumWindowsGuarded([&](HWND) {
    ++Calls;
    return false;
  });
  EXPECT_EQ(Calls, 1);
}

TEST(HandleTest, WrappersOwnTheirHandlesAndCountThem) {
  const long Before = TKernelHandle::Live();
  {
    TKernelHandle Event(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(Event);
    EXPECT_EQ(TKernelHandle::Live(), Before + 1);
    TKernelHandle Moved(std::move(Event));
    EXPECT_FALSE(Event);
    EXPECT_EQ(TKernelHandle::Live(), Before + 1);
    // INVALID_HANDLE_VALUE (a failed snapshot) is no handle.
    TKernelHandle Invalid(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(Invalid);
    EXPECT_EQ(TKernelHandle::Live(), Before + 1);
  }
  EXPECT_EQ(TKernelHandle::Live(), Before);

  TGdiObject Brush(::CreateSolidBrush(RGB(1, 2, 3)));
  HGDIOBJ Raw = Brush.Get();
  Brush.Reset();
  EXPECT_EQ(::GetObjectType(Raw), 0u) << "the brush was deleted";
}

TEST(ScreenTest, TheApplicationWideCursorOverridesEveryControl) {
  HCURSOR Cross = reinterpret_cast<HCURSOR>(
      ::CopyIcon(reinterpret_cast<HICON>(::LoadCursorA(nullptr, IDC_CROSS))));
  Screen.SetCursorImage(1, Cross);
  EXPECT_EQ(Screen.CursorHandle(1), Cross);
  EXPECT_EQ(Screen.CursorHandle(crDefault), ::LoadCursorA(nullptr, IDC_ARROW));

  auto Form = MakeForm<TForm>();
  Form->SetBounds(0, 0, 200, 100);
  HWND Window = Form->Handle();
  Screen.SetCursor(1);
  ::SendMessageA(Window, WM_SETCURSOR, reinterpret_cast<WPARAM>(Window),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(::GetCursor(), Cross);
  Screen.SetCursor(crDefault);
  Screen.SetCursorImage(1, nullptr);
}

} // namespace
} // namespace wyndo::test
