// The in-application taskbar with real windows: registration, the buttons' layout and painting,
// following titles and icons, clicks that minimise and restore, closing, and the system menu.

#include "controls/taskbar.h"
#include "tests/win/test_support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace wyndo::test {
namespace {

// A 16 x 16 icon of one colour, so that icons can be told apart by a pixel.
TIconHandle MakeSolidIcon(COLORREF Color) {
  TWindowDC Screen(nullptr);
  TGdiObject Bits(::CreateCompatibleBitmap(Screen.Get(), 16, 16));
  {
    TMemoryDC DC(::CreateCompatibleDC(Screen.Get()));
    TSelectObject UseBits(DC.Get(), Bits.Get());
    TGdiObject Brush(::CreateSolidBrush(Color));
    const RECT All{0, 0, 16, 16};
    ::FillRect(DC.Get(), &All, static_cast<HBRUSH>(Brush.Get()));
  }
  const WORD Opaque[16] = {}; // a mask of zeros: every pixel shows the colour
  TGdiObject Mask(::CreateBitmap(16, 16, 1, 1, Opaque));
  ICONINFO Info{TRUE, 0, 0, static_cast<HBITMAP>(Mask.Get()), static_cast<HBITMAP>(Bits.Get())};
  return TIconHandle(::CreateIconIndirect(&Info));
}

// The colour in the middle of an icon drawn 16 x 16 on white.
COLORREF IconColor(HICON Icon) {
  TWindowDC Screen(nullptr);
  TMemoryDC DC(::CreateCompatibleDC(Screen.Get()));
  TGdiObject Bits(::CreateCompatibleBitmap(Screen.Get(), 16, 16));
  TSelectObject UseBits(DC.Get(), Bits.Get());
  const RECT All{0, 0, 16, 16};
  ::FillRect(DC.Get(), &All, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  ::DrawIconEx(DC.Get(), 0, 0, Icon, 16, 16, 0, nullptr, DI_NORMAL);
  return ::GetPixel(DC.Get(), 8, 8);
}

// A button painted into a bitmap of its own size.
class TPaintedButton {
public:
  explicit TPaintedButton(TTaskButton& Button)
      : FScreen(nullptr), FDC(::CreateCompatibleDC(FScreen.Get())),
        FBits(::CreateCompatibleBitmap(FScreen.Get(), Button.Width(), Button.Height())),
        FUseBits(FDC.Get(), FBits.Get()) {
    Button.PaintTo(FDC.Get());
  }
  COLORREF Pixel(int X, int Y) const { return ::GetPixel(FDC.Get(), X, Y); }
  bool Contains(COLORREF Color, int Width, int Height) const {
    for (int Y = 0; Y < Height; ++Y)
      for (int X = 0; X < Width; ++X)
        if (Pixel(X, Y) == Color)
          return true;
    return false;
  }

private:
  TWindowDC FScreen;
  TMemoryDC FDC;
  TGdiObject FBits;
  TSelectObject FUseBits;
};

// A window that records the commands and system commands that reach its own handling.
class TRecordingForm : public TForm {
public:
  std::vector<std::pair<UINT, WPARAM>> Commands;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_COMMAND || Message.Msg == WM_SYSCOMMAND)
      Commands.emplace_back(Message.Msg, Message.WParam);
    TForm::WndProc(Message);
  }
  bool Saw(UINT Msg, WPARAM WParam) const {
    return std::find(Commands.begin(), Commands.end(), std::make_pair(Msg, WParam)) !=
           Commands.end();
  }
};

class TaskbarTest : public ::testing::Test {
protected:
  void SetUp() override {
    Host = MakeForm<TForm>();
    Host->SetBounds(40, 40, 600, 300);
    Host->SetClientSize(525, 200);
    Bar = Host->Make<TTaskbar>();
    Bar->SetParent(Host.get());
    Host->Show();
  }

  void TearDown() override {
    if (Bar) {
      Bar->OnAddForm = nullptr;
      Bar->OnRemoveForm = nullptr;
    }
    Application.OnException = nullptr;
    Windows.clear();
    Host.reset();
  }

  // A window of the program, registered with the taskbar (the test owns it) and shown.
  template <class T = TForm>
  T& Open(const char* Title, bool Show = true, bool RemoveOnClose = true) {
    auto Form = MakeForm<T>();
    const int Step = static_cast<int>(Windows.size());
    Form->SetBounds(120 + 30 * Step, 360 + 20 * Step, 320, 160);
    Form->SetCaption(Title);
    T& Result = *Form;
    Windows.push_back(std::move(Form));
    Bar->AddForm(&Result, RemoveOnClose, false);
    if (Show)
      Result.Show();
    return Result;
  }

  TTaskButton& ButtonOf(TForm& Form) {
    const int Index = Bar->Items().IndexOf(&Form);
    EXPECT_GE(Index, 0);
    return Bar->Items()[Index].Button();
  }

  // A press and release of a mouse button in the middle of Button, as the taskbar gets them.
  void Press(TTaskButton& Button, bool Right = false) {
    const LPARAM At =
        MAKELPARAM(Button.Left() + Button.Width() / 2, Button.Top() + Button.Height() / 2);
    HWND Window = Bar->Handle();
    ::SendMessageA(Window, WM_MOUSEMOVE, 0, At);
    ::SendMessageA(Window, Right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, Right ? MK_RBUTTON : MK_LBUTTON,
                   At);
    ::SendMessageA(Window, Right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, At);
  }

  static bool Active(TForm& Form) { return ::GetActiveWindow() == Form.Handle(); }

  TFormPtr<TForm> Host;
  TTaskbar* Bar = nullptr;
  std::vector<TFormPtr<TForm>> Windows;
};

TEST_F(TaskbarTest, AWindowRegisteredTwiceHasOneButtonAndOneAddEvent) {
  std::vector<TForm*> Added;
  Bar->OnAddForm = [&](TTaskItems& Sender, TForm& Form) {
    EXPECT_EQ(&Sender, &Bar->Items());
    Added.push_back(&Form);
  };
  TForm& Window = Open("Window List");
  Bar->AddForm(&Window, true, false);

  EXPECT_EQ(Bar->Items().Count(), 1);
  EXPECT_EQ(Bar->Controls().size(), 1u);
  EXPECT_EQ(Added, std::vector<TForm*>{&Window});
  // The title is the button's text and its tooltip; the taskbar shows hints.
  EXPECT_EQ(ButtonOf(Window).Text(), "Window List");
  EXPECT_EQ(ButtonOf(Window).Hint(), "Window List");
  EXPECT_TRUE(ButtonOf(Window).ShowHint);
  EXPECT_TRUE(Bar->ShowHint);
}

TEST_F(TaskbarTest, RegisteringNoWindowRaisesInvalidForm) {
  try {
    Bar->AddForm(nullptr, true, true);
    ADD_FAILURE() << "no error raised";
  } catch (const ETaskbarError& Error) {
    EXPECT_STREQ(Error.what(), "Invalid Form");
  }
  EXPECT_EQ(Bar->Items().Count(), 0);
}

TEST_F(TaskbarTest, ButtonsShareTheWidthUpToButtonWidthAndAreCentredVertically) {
  ASSERT_EQ(Bar->Width(), 525);
  ASSERT_EQ(Bar->Height(), 32);
  Open("One", false);
  Open("Two", false);
  // (525 - 8) / 2 = 258.5 goes to 258; 257 is wider than ButtonWidth.
  // Top: (32 - (24 + 2 + 2)) / 2, the frame lying on top and bottom.
  for (int I = 0; I < 2; ++I) {
    const TBounds Expected{121 * I + 1, 2, 120, 24};
    EXPECT_EQ(Bar->Controls()[static_cast<std::size_t>(I)]->Bounds(), Expected) << I;
  }

  for (int I = 2; I < 10; ++I)
    Open("More", false);
  // 517 / 10 = 51.7 goes to 52: buttons 51 wide, one pixel apart.
  for (int I = 0; I < 10; ++I) {
    const TBounds Expected{52 * I + 1, 2, 51, 24};
    EXPECT_EQ(Bar->Controls()[static_cast<std::size_t>(I)]->Bounds(), Expected) << I;
  }

  Bar->SetAutoSizeButtons(false);
  EXPECT_EQ(Bar->Controls()[9]->Bounds(), (TBounds{121 * 9 + 1, 2, 120, 24}));
}

TEST_F(TaskbarTest, HalvesGoToTheEvenWidthAndAResizeLaysTheButtonsOutAgain) {
  Bar->SetButtonWidth(300);
  Open("One", false);
  Open("Two", false);
  EXPECT_EQ(Bar->Controls()[0]->Width(), 257) << "517 / 2 = 258.5 goes to 258";

  Host->SetClientSize(527, 200);
  ASSERT_EQ(Bar->Width(), 527);
  EXPECT_EQ(Bar->Controls()[1]->Bounds(), (TBounds{261, 2, 259, 24}))
      << "519 / 2 = 259.5 goes to 260";

  // Without a frame on top and bottom the buttons move down to the middle.
  Bar->SetEdgeBorders(ebLeft | ebRight);
  EXPECT_EQ(Bar->ClientSize().Height, 32);
  EXPECT_EQ(Bar->Controls()[0]->Top(), 4);
}

TEST(TaskbarButtonLayoutTest, TheIconGoesAndTheTextMovesLeftAsTheButtonNarrows) {
  struct TCase {
    int Width;
    bool Down;
    bool ShowIcon;
    int TextLeft;
  };
  const TCase Cases[] = {
      {120, false, true, 24}, {24, false, true, 24}, {23, false, false, 8}, {8, false, false, 8},
      {7, false, false, 4},   {120, true, true, 25}, {25, true, true, 25},  {24, true, false, 9},
      {9, true, false, 9},    {8, true, false, 5},
  };
  for (const TCase& Case : Cases) {
    const auto Layout = TTaskButton::ContentLayout(Case.Width, Case.Down);
    EXPECT_EQ(Layout.ShowIcon, Case.ShowIcon) << Case.Width << (Case.Down ? " down" : "");
    EXPECT_EQ(Layout.TextLeft, Case.TextLeft) << Case.Width << (Case.Down ? " down" : "");
    EXPECT_EQ(Layout.IconLeft, Case.Down ? 6 : 5);
  }
}

TEST_F(TaskbarTest, AButtonPaintsItsStateColourEdgesAndIcon) {
  const TIconHandle Blue = MakeSolidIcon(RGB(0, 0, 255));
  TForm& Window = Open("W", false);
  ::SendMessageA(Window.Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(Blue.Get()));
  TTaskButton& Button = ButtonOf(Window);
  ASSERT_EQ(Button.Width(), 120);
  const TButtonSettings& Settings = Bar->ButtonSettings();

  {
    const TPaintedButton Up(Button);
    EXPECT_EQ(Up.Pixel(5 + 8, 4 + 8), RGB(0, 0, 255)) << "the icon at (5, 4), 16 x 16";
    EXPECT_EQ(Up.Pixel(110, 12), ColorToRGB(Settings.Color()));
    EXPECT_EQ(Up.Pixel(0, 12), ColorToRGB(Settings.LightColor())) << "raised";
    EXPECT_EQ(Up.Pixel(119, 12), ColorToRGB(Settings.ShadowColor()));
  }
  Button.SetDown(true);
  {
    const TPaintedButton Down(Button);
    EXPECT_EQ(Down.Pixel(6 + 8, 5 + 8), RGB(0, 0, 255)) << "one pixel further when down";
    EXPECT_EQ(Down.Pixel(5, 4), ColorToRGB(Settings.ColorWhenDown()));
    EXPECT_EQ(Down.Pixel(110, 12), ColorToRGB(Settings.ColorWhenDown()));
    EXPECT_EQ(Down.Pixel(0, 12), ColorToRGB(Settings.ShadowColor())) << "sunken";
    EXPECT_EQ(Down.Pixel(119, 12), ColorToRGB(Settings.LightColor()));
  }
  Bar->SetAutoSizeButtons(false);
  Bar->SetButtonWidth(23);
  {
    const TPaintedButton Narrow(Button);
    EXPECT_FALSE(Narrow.Contains(RGB(0, 0, 255), 23, 24)) << "no icon below 25 when down";
  }
}

TEST_F(TaskbarTest, ClickingTheActiveWindowsButtonMinimisesItAndClickingAgainRestoresIt) {
  TForm& First = Open("First");
  TForm& Second = Open("Second");
  ASSERT_TRUE(WaitFor([&] { return Active(Second); }));
  TTaskButton& Button = ButtonOf(Second);
  EXPECT_TRUE(Button.Down());
  EXPECT_FALSE(ButtonOf(First).Down()) << "one button down at a time";

  Press(Button);
  EXPECT_TRUE(::IsIconic(Second.Handle()));
  EXPECT_FALSE(::IsWindowVisible(Second.Handle())) << "a minimised window lives as its button";
  EXPECT_FALSE(Second.Visible());
  EXPECT_FALSE(Button.Down());
  EXPECT_EQ(Button.Parent(), Bar);
  EXPECT_FALSE(Button.Clicking());

  Press(Button);
  EXPECT_TRUE(WaitFor([&] { return Active(Second); }));
  EXPECT_FALSE(::IsIconic(Second.Handle()));
  EXPECT_TRUE(::IsWindowVisible(Second.Handle()));
  EXPECT_TRUE(Button.Down());
  EXPECT_FALSE(ButtonOf(First).Down());
}

TEST_F(TaskbarTest, TheButtonFollowsTheWindowsTitleAtOnce) {
  TForm& Window = Open("Window List");
  ::SetWindowTextA(Window.Handle(), "Window List 2");
  EXPECT_EQ(ButtonOf(Window).Text(), "Window List 2");
  EXPECT_EQ(ButtonOf(Window).Hint(), "Window List 2");

  ButtonOf(Window).AutoCaption = false;
  ::SetWindowTextA(Window.Handle(), "Elsewhere");
  EXPECT_EQ(ButtonOf(Window).Text(), "Window List 2");
}

TEST_F(TaskbarTest, AWindowWithoutIconsShowsStdIconAndItsOwnIconOnceItHasOne) {
  const TIconHandle Red = MakeSolidIcon(RGB(255, 0, 0));
  const TIconHandle Green = MakeSolidIcon(RGB(0, 255, 0));
  Bar->SetStdIcon(Red.Get());
  EXPECT_EQ(IconColor(Bar->StdIcon()), RGB(255, 0, 0));
  EXPECT_NE(Bar->StdIcon(), Red.Get()) << "a copy";

  TForm& Window = Open("No icon", false);
  // A form carries the program icon as its big icon; without it the window has none at all.
  ::SendMessageA(Window.Handle(), WM_SETICON, ICON_BIG, 0);
  ASSERT_EQ(::SendMessageA(Window.Handle(), WM_GETICON, ICON_SMALL, 0), 0);
  ASSERT_EQ(::SendMessageA(Window.Handle(), WM_GETICON, ICON_BIG, 0), 0);
  ASSERT_TRUE(ButtonOf(Window).Icon());
  EXPECT_EQ(IconColor(ButtonOf(Window).Icon().Get()), RGB(255, 0, 0));

  ::SendMessageA(Window.Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(Green.Get()));
  EXPECT_EQ(IconColor(ButtonOf(Window).Icon().Get()), RGB(0, 255, 0));
}

TEST_F(TaskbarTest, ClosingAWindowRemovesItsButtonAndDestroysIt) {
  bool Destroyed = false;
  std::vector<TForm*> Removed;
  Bar->OnRemoveForm = [&](TTaskItems& Sender, TForm& Form) {
    EXPECT_EQ(&Sender, &Bar->Items());
    EXPECT_FALSE(Destroyed) << "the event comes before the window goes";
    Removed.push_back(&Form);
  };
  TForm* Window = MakeForm<TForm>().release(); // the taskbar destroys it
  Window->SetCaption("Closing");
  Window->OnDestroy = [&](TObject&) { Destroyed = true; };
  Bar->AddForm(Window, true, true);
  Window->Show();
  HWND Handle = Window->Handle();

  ::SendMessageA(Handle, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Destroyed);
  EXPECT_FALSE(::IsWindow(Handle));
  EXPECT_EQ(Bar->Items().Count(), 0);
  EXPECT_TRUE(Bar->Controls().empty());
  EXPECT_EQ(Removed, std::vector<TForm*>{Window});
}

TEST_F(TaskbarTest, ARefusedCloseKeepsTheWindowAndItsButton) {
  TForm& Window = Open("Refuses");
  bool Destroyed = false;
  Window.OnDestroy = [&](TObject&) { Destroyed = true; };
  Window.OnCloseQuery = [](TObject&, bool& CanClose) { CanClose = false; };
  ::SendMessageA(Window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(Destroyed);
  EXPECT_TRUE(::IsWindowVisible(Window.Handle()));
  EXPECT_EQ(Bar->Items().Count(), 1);
  // Nor does a close event that chooses to do nothing.
  Window.OnCloseQuery = nullptr;
  Window.OnClose = [](TObject&, TCloseAction& Action) { Action = TCloseAction::caNone; };
  ::SendMessageA(Window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(Destroyed);
  EXPECT_EQ(Bar->Items().Count(), 1);
}

TEST_F(TaskbarTest, AWindowHiddenByItsCloseTakesItsButtonAlongUntilItIsShownAgain) {
  TForm& Kept = Open("Kept", true, false);
  TForm& Other = Open("Other");
  ::SendMessageA(Kept.Handle(), WM_CLOSE, 0, 0);

  EXPECT_TRUE(::IsWindow(Kept.Handle()));
  EXPECT_FALSE(::IsWindowVisible(Kept.Handle()));
  EXPECT_EQ(Bar->Items().Count(), 2);
  ASSERT_EQ(Bar->Controls().size(), 1u) << "a hidden window's button takes no slot";
  EXPECT_EQ(Bar->Controls()[0], &ButtonOf(Other));
  EXPECT_EQ(ButtonOf(Other).Left(), 1);

  Kept.Show();
  ASSERT_EQ(Bar->Controls().size(), 2u);
  EXPECT_EQ(Bar->Controls()[1], &ButtonOf(Kept)) << "back after the others";
  EXPECT_EQ(ButtonOf(Kept).Left(), 122);
  EXPECT_TRUE(ButtonOf(Kept).Down());
}

TEST_F(TaskbarTest, TheMainWindowsCloseIsNeverIntercepted) {
  auto Main = MakeForm<TForm>();
  TForm* MainWindow = Main.get();
  int Closes = 0;
  MainWindow->OnClose = [&](TObject&, TCloseAction& Action) {
    ++Closes;
    Action = TCloseAction::caNone; // keeps the test's message loop running
  };
  Application.SetMainForm(std::move(Main));
  Bar->AddForm(MainWindow, true, true);
  MainWindow->Show();

  ::SendMessageA(MainWindow->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(Closes, 1) << "the main window's own close ran";
  EXPECT_EQ(Bar->Items().Count(), 1) << "the taskbar did not remove it";
  EXPECT_TRUE(::IsWindowVisible(MainWindow->Handle()));

  Application.SetMainForm(nullptr);
  EXPECT_EQ(Bar->Items().Count(), 0) << "a window destroyed elsewhere leaves the taskbar";
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) {
  ::EndMenu();
}

TEST_F(TaskbarTest, ACommandFromTheSystemMenuOfARightClickReachesTheWindowAsASystemCommand) {
  auto& Window = Open<TRecordingForm>("Menu");
  Open("Active");
  ASSERT_FALSE(ButtonOf(Window).Down());
  // Not a command the default handling knows, so it changes nothing when it arrives.
  constexpr WPARAM Command = 0x1230;

  // The command waits in the queue and is handled while the system menu is open (or right after
  // it, in the button's own processing of pending messages); the timer closes the menu.
  ::PostMessageA(Window.Handle(), WM_COMMAND, Command, 0);
  const UINT_PTR Timer = ::SetTimer(nullptr, 0, 100, &CloseMenu);
  Press(ButtonOf(Window), true);
  ::KillTimer(nullptr, Timer);

  EXPECT_TRUE(Window.Saw(WM_SYSCOMMAND, Command));
  EXPECT_FALSE(Window.Saw(WM_COMMAND, Command));
  EXPECT_FALSE(ButtonOf(Window).InSystemMenu());
  EXPECT_TRUE(ButtonOf(Window).Down()) << "a right click shows the window";

  ::SendMessageA(Window.Handle(), WM_COMMAND, Command, 0);
  EXPECT_TRUE(Window.Saw(WM_COMMAND, Command)) << "outside the menu a command stays one";
}

TEST_F(TaskbarTest, AClickThatCannotShowTheWindowDropsItsItemButKeepsTheWindow) {
  std::vector<std::string> Reported;
  Application.OnException = [&](const std::string& Message) { Reported.push_back(Message); };
  TForm& Window = Open("Failing", false);
  Window.OnShow = [](TObject&) { throw Exception("cannot show"); };

  Press(ButtonOf(Window));
  EXPECT_EQ(Bar->Items().Count(), 0);
  EXPECT_TRUE(Bar->Controls().empty());
  EXPECT_TRUE(::IsWindow(Window.Handle()));
  EXPECT_TRUE(Reported.empty()) << "the failure is swallowed";
}

TEST_F(TaskbarTest, RemovingDestroysOnlyWindowsRegisteredToBeFreedOrForcedTo) {
  std::vector<std::string> Destroyed;
  auto Make = [&](const char* Name, bool FreeOnRemove) {
    TForm* Form = MakeForm<TForm>().release();
    Form->OnDestroy = [&Destroyed, Name](TObject&) { Destroyed.push_back(Name); };
    Bar->AddForm(Form, true, FreeOnRemove);
    return Form;
  };
  TFormPtr<TForm> Kept(Make("kept", false));
  Make("forced", false);
  TForm* Owned = Make("owned", true);
  Make("owned by the taskbar", true);
  std::vector<TForm*> Removed;
  Bar->OnRemoveForm = [&](TTaskItems&, TForm& Form) { Removed.push_back(&Form); };

  Bar->RemoveForm(0, true, false);
  EXPECT_TRUE(Destroyed.empty()) << "not registered to be freed";
  EXPECT_EQ(Removed, std::vector<TForm*>{Kept.get()});
  HWND Handle = Kept->Handle();
  EXPECT_EQ(::GetWindowLongPtrA(Handle, GWLP_WNDPROC),
            static_cast<LONG_PTR>(::GetClassLongPtrA(Handle, GCLP_WNDPROC)))
      << "its own window procedure is back";

  Bar->RemoveForm(0, false, true);
  EXPECT_EQ(Destroyed, std::vector<std::string>{"forced"});

  Bar->RemoveForm(0, false, false);
  TFormPtr<TForm> NowOurs(Owned);
  EXPECT_EQ(Destroyed.size(), 1u) << "destroying the window was not asked for";
  EXPECT_EQ(Bar->Items().Count(), 1);

  Bar->OnRemoveForm = nullptr;
  Host.reset();
  Bar = nullptr;
  EXPECT_EQ(Destroyed.back(), "owned by the taskbar") << "destroyed with the taskbar";
}

TEST_F(TaskbarTest, ButtonSettingsStartFromTheTaskbarsColourAndAreCopiedWhole) {
  const TButtonSettings& Settings = Bar->ButtonSettings();
  const COLORREF Face = ::GetSysColor(COLOR_BTNFACE);
  const COLORREF Lighter =
      RGB(std::min(255, GetRValue(Face) + 20), std::min(255, GetGValue(Face) + 20),
          std::min(255, GetBValue(Face) + 20));
  EXPECT_EQ(Settings.Color(), clBtnFace);
  EXPECT_EQ(Settings.ColorWhenDown(), 0x80000016u);
  EXPECT_EQ(Settings.ColorOnMouseOver(), Lighter);
  EXPECT_EQ(Settings.ColorOnClick(), Lighter);
  EXPECT_EQ(Settings.Font().Style(), 0);
  EXPECT_EQ(Settings.FontWhenDown().Style(), fsBold);
  EXPECT_EQ(Settings.FontOnMouseOver().Style(), fsUnderline);
  EXPECT_EQ(Settings.FontOnClick().Style(), fsBold);
  EXPECT_EQ(Settings.LightColor(), clWhite);
  EXPECT_EQ(Settings.ShadowColor(), clBlack);

  // Each byte stops at 255.
  Bar->SetColor(0x00F0E010);
  EXPECT_EQ(TButtonSettings(*Bar).ColorOnMouseOver(), 0x00FFF424u);

  TTaskbar Other;
  TFont Plain;
  Plain.SetName("Tahoma");
  Other.ButtonSettings().SetColorWhenDown(0x00DCE4E8);
  Other.ButtonSettings().SetFontOnClick(Plain);
  Other.ButtonSettings().SetShadowColor(0x00404040);
  Bar->SetButtonSettings(Other.ButtonSettings());
  EXPECT_EQ(Bar->ButtonSettings().ColorWhenDown(), 0x00DCE4E8u);
  EXPECT_EQ(Bar->ButtonSettings().FontOnClick().Name(), "Tahoma");
  EXPECT_EQ(Bar->ButtonSettings().FontOnClick().Style(), 0);
  EXPECT_EQ(Bar->ButtonSettings().ShadowColor(), 0x00404040u);
}

} // namespace
} // namespace wyndo::test
