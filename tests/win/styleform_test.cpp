// The styled form's own caption: where its buttons stand and how they look on the screen, how a
// press is tracked with real mouse input, the caption's double click and drag, and the system
// metrics it follows.

#include "controls/styleform.h"
#include "tests/win/test_support.h"
#include "ui/application.h"
#include "ui/handles.h"

#include <gtest/gtest.h>
#include <vector>

namespace wyndo::test {
namespace {

// A styled form that records the system commands it gets and keeps the ones that would start a
// modal loop or end the test's window to itself.
struct TRecordingForm : TStyleForm {
  std::vector<WPARAM> Commands;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_SYSCOMMAND) {
      Commands.push_back(Message.WParam);
      const WPARAM Command = Message.WParam & 0xFFF0;
      if (Command == SC_MOVE || Command == SC_CLOSE || Command == SC_CONTEXTHELP)
        return;
    }
    TStyleForm::WndProc(Message);
  }
};

RECT ToScreen(HWND Window, RECT Rect) {
  RECT Area{};
  ::GetWindowRect(Window, &Area);
  ::OffsetRect(&Rect, Area.left, Area.top);
  return Rect;
}

// The left button as the system last saw it: commands of separate xdotool processes may overtake
// each other, so each one is waited for.
bool LeftButtonDown() {
  return (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
}

bool IsEmpty(RECT Rect) {
  return ::IsRectEmpty(&Rect) != FALSE;
}

POINT Centre(const RECT& Rect) {
  return {(Rect.left + Rect.right) / 2, (Rect.top + Rect.bottom) / 2};
}

// What DrawFrameControl draws for a caption button of the given size and state.
std::vector<COLORREF> FrameControlPixels(const RECT& Rect, UINT State) {
  const int Width = Rect.right - Rect.left, Height = Rect.bottom - Rect.top;
  TWindowDC Screen(nullptr);
  TMemoryDC DC(::CreateCompatibleDC(Screen.Get()));
  TGdiObject Bitmap(::CreateCompatibleBitmap(Screen.Get(), Width, Height));
  {
    TSelectObject Select(DC.Get(), Bitmap.Get());
    RECT Local{0, 0, Width, Height};
    ::DrawFrameControl(DC.Get(), &Local, DFC_CAPTION, State);
  }
  return BitmapPixels(DC.Get(), static_cast<HBITMAP>(Bitmap.Get()), Width, Height);
}

class StyledCaptionTest : public ::testing::Test {
protected:
  void SetUp() override {
    Form->SetFormStyle(TFormStyle::fsStayOnTop);
    Form->SetCaption("Styled");
    Form->SetBounds(200, 200, 320, 200);
  }
  void TearDown() override {
    if (ButtonDown) {
      Xdotool("mouseup 1");
      WaitFor([] { return !LeftButtonDown(); });
    }
  }
  void ShowActive() {
    Form->Show();
    ::SetForegroundWindow(Form->Handle());
    ASSERT_TRUE(WaitFor([&] { return Form->Active(); }));
  }
  // The screen shows the button as DrawFrameControl draws it in State.
  bool ScreenShowsButton(TCaptionButton Kind, UINT State) {
    const RECT Rect = Form->ButtonRect(Kind);
    const std::vector<COLORREF> Expected = FrameControlPixels(Rect, State);
    const bool Shown = WaitFor(
        [&] { return TScreenShot(ToScreen(Form->Handle(), Rect)).Pixels == Expected; }, 3000);
    return Shown;
  }
  ::testing::AssertionResult Press(POINT Point) {
    if (!MoveCursorTo(Point))
      return ::testing::AssertionFailure() << "the cursor did not move";
    Xdotool("mousedown 1");
    ButtonDown = true;
    if (!WaitFor([] { return LeftButtonDown(); }))
      return ::testing::AssertionFailure() << "the button did not go down";
    return ::testing::AssertionSuccess();
  }
  // Releases the button and handles what the release posted.
  bool Release() {
    Xdotool("mouseup 1");
    ButtonDown = false;
    const bool Ended = WaitFor([&] { return !LeftButtonDown() && !Form->Tracking(); });
    Application.ProcessMessages();
    return Ended;
  }

  TFormPtr<TRecordingForm> Form = MakeForm<TRecordingForm>();
  bool ButtonDown = false;
};

TEST_F(StyledCaptionTest, ADialogShowsHelpAndCloseWithAGapDrawnAsFrameControls) {
  Form->SetBorderStyle(TBorderStyle::bsDialog);
  ShowActive();
  RECT Area{};
  ::GetWindowRect(Form->Handle(), &Area);
  const RECT Close = Form->ButtonRect(cbClose), Help = Form->ButtonRect(cbHelp);
  EXPECT_EQ(Close.right, Area.right - Area.left - Form->FrameWidth() - 2);
  EXPECT_EQ(Help.right + 2, Close.left);
  EXPECT_TRUE(IsEmpty(Form->ButtonRect(cbMinimize)));
  EXPECT_TRUE(ScreenShowsButton(cbClose, DFCS_CAPTIONCLOSE));
  EXPECT_TRUE(ScreenShowsButton(cbHelp, DFCS_CAPTIONHELP));
}

TEST_F(StyledCaptionTest, DisabledButtonsAreGreyedInPlaceOrTakeNoRoomAndIgnorePresses) {
  Form->SetBorderStyle(TBorderStyle::bsDialog);
  ShowActive();
  // Minimise and maximise were not allowed at creation: back in the set, they stay disabled.
  Form->SetCaptionButtons(AllCaptionButtons);
  const RECT Close = Form->ButtonRect(cbClose), Maximise = Form->ButtonRect(cbMaximize);
  EXPECT_EQ(Maximise.right + 2, Close.left);
  EXPECT_TRUE(ScreenShowsButton(cbMaximize, DFCS_CAPTIONMAX | DFCS_INACTIVE));
  EXPECT_TRUE(ScreenShowsButton(cbMinimize, DFCS_CAPTIONMIN | DFCS_INACTIVE));

  ASSERT_TRUE(Press(Centre(ToScreen(Form->Handle(), Maximise))));
  Release();
  EXPECT_FALSE(Form->Tracking());
  EXPECT_TRUE(Form->Commands.empty()) << "a press on a disabled button does nothing";

  Form->SetHideDisabledButtons(true);
  ::SendMessageA(Form->Handle(), WM_NCPAINT, 1, 0);
  EXPECT_TRUE(IsEmpty(Form->ButtonRect(cbMaximize)));
  EXPECT_EQ(Form->ButtonRect(cbHelp).right + 2, Close.left);
  EXPECT_TRUE(ScreenShowsButton(cbHelp, DFCS_CAPTIONHELP));
}

TEST_F(StyledCaptionTest, APressActsOnlyWhenReleasedOverTheSameButton) {
  ShowActive();
  const POINT Help = Centre(ToScreen(Form->Handle(), Form->ButtonRect(cbHelp)));
  const POINT Outside{Help.x - 60, Help.y + 80};

  ASSERT_TRUE(Press(Help));
  ASSERT_TRUE(WaitFor([&] { return Form->Tracking() && Form->Button(cbHelp).Down; }));
  EXPECT_TRUE(ScreenShowsButton(cbHelp, DFCS_CAPTIONHELP | DFCS_PUSHED));
  ASSERT_TRUE(MoveCursorTo(Outside));
  ASSERT_TRUE(WaitFor([&] { return !Form->Button(cbHelp).Hot; }));
  EXPECT_TRUE(ScreenShowsButton(cbHelp, DFCS_CAPTIONHELP)) << "drawn up while outside";
  ASSERT_TRUE(Release());
  EXPECT_TRUE(Form->Commands.empty());
  EXPECT_FALSE(Form->Button(cbHelp).Down);

  ASSERT_TRUE(Press(Help));
  ASSERT_TRUE(WaitFor([&] { return Form->Tracking(); }));
  ASSERT_TRUE(MoveCursorTo(Outside));
  ASSERT_TRUE(WaitFor([&] { return !Form->Button(cbHelp).Hot; }));
  ASSERT_TRUE(MoveCursorTo({Help.x + 1, Help.y}));
  ASSERT_TRUE(WaitFor([&] { return Form->Button(cbHelp).Hot; }));
  EXPECT_TRUE(ScreenShowsButton(cbHelp, DFCS_CAPTIONHELP | DFCS_PUSHED)) << "pushed again";
  ASSERT_TRUE(Release());
  EXPECT_EQ(Form->Commands, std::vector<WPARAM>{SC_CONTEXTHELP});
}

TEST_F(StyledCaptionTest, TheCaptionDoubleClicksToMaximiseOnlyWithThatButtonAndNeverMovesZoomed) {
  auto NoMaximise = MakeForm<TRecordingForm>();
  NoMaximise->SetBorderIcons(biSystemMenu | biMinimize);
  NoMaximise->Show();
  ::SendMessageA(NoMaximise->Handle(), WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  ::SendMessageA(NoMaximise->Handle(), WM_NCLBUTTONDBLCLK, HTLEFT, 0);
  Application.ProcessMessages();
  EXPECT_TRUE(NoMaximise->Commands.empty()) << "no maximise button: nothing; the frame swallows";

  ShowActive();
  const HWND Window = Form->Handle();
  // A double click arrives after the hit test of its point: here the caption, off the buttons.
  RECT Area{};
  ::GetWindowRect(Window, &Area);
  ASSERT_EQ(::SendMessageA(Window, WM_NCHITTEST, 0,
                           MAKELPARAM(Area.left + 60, Area.top + Form->FrameWidth() + 4)),
            HTCAPTION);
  ::SendMessageA(Window, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  ASSERT_TRUE(WaitFor([&] { return ::IsZoomed(Window) != FALSE; }));
  EXPECT_EQ(Form->Commands, std::vector<WPARAM>{SC_MAXIMIZE});
  EXPECT_TRUE(ScreenShowsButton(cbMaximize, DFCS_CAPTIONRESTORE)) << "the restore image";

  // A press on the bare caption of a zoomed window does not start the move loop.
  ::GetWindowRect(Window, &Area);
  const LPARAM OnCaption = MAKELPARAM(Area.left + 60, Area.top + Form->FrameWidth() + 4);
  Form->Commands.clear();
  ASSERT_EQ(::SendMessageA(Window, WM_NCHITTEST, 0, OnCaption), HTCAPTION);
  ::SendMessageA(Window, WM_NCLBUTTONDOWN, HTCAPTION, OnCaption);
  EXPECT_TRUE(Form->Commands.empty());

  Form->ButtonAction(cbMaximize);
  ASSERT_TRUE(WaitFor([&] { return !::IsZoomed(Window); }));
  EXPECT_EQ(Form->Commands.back(), static_cast<WPARAM>(SC_RESTORE));
  ::GetWindowRect(Window, &Area);
  const LPARAM Again = MAKELPARAM(Area.left + 60, Area.top + Form->FrameWidth() + 4);
  ASSERT_EQ(::SendMessageA(Window, WM_NCHITTEST, 0, Again), HTCAPTION);
  ::SendMessageA(Window, WM_NCLBUTTONDOWN, HTCAPTION, Again);
  EXPECT_EQ(Form->Commands.back(), static_cast<WPARAM>(SC_MOVE | HTCAPTION));
}

TEST_F(StyledCaptionTest, ButtonsFollowTheSystemMetricsWhileTheCaptionFontStays) {
  ShowActive();
  NONCLIENTMETRICSA Saved{};
  Saved.cbSize = 340;
  ASSERT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &Saved, 0));
  const RECT Before = Form->ButtonRect(cbClose);
  const HFONT Font = Form->CaptionFont();
  LOGFONTA FontBefore{};
  ::GetObjectA(Font, sizeof(FontBefore), &FontBefore);

  NONCLIENTMETRICSA Wider = Saved;
  Wider.iCaptionWidth += 8;
  Wider.lfCaptionFont.lfHeight *= 2;
  ASSERT_TRUE(::SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, 340, &Wider, 0));
  ::SendMessageA(Form->Handle(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
  const RECT After = Form->ButtonRect(cbClose);
  ::SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, 340, &Saved, 0);
  ::SendMessageA(Form->Handle(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);

  EXPECT_EQ((After.right - After.left) - (Before.right - Before.left), 8);
  EXPECT_EQ(Form->CaptionFont(), Font);
  LOGFONTA FontAfter{};
  ::GetObjectA(Form->CaptionFont(), sizeof(FontAfter), &FontAfter);
  EXPECT_EQ(FontAfter.lfHeight, FontBefore.lfHeight);
}

} // namespace
} // namespace wyndo::test
