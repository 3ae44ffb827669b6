// The styled form's properties, the splash screen and the small controls.

#include "controls/smallcontrols.h"
#include "controls/splash.h"
#include "controls/styleform.h"
#include "tests/win/test_support.h"

#include <gtest/gtest.h>

namespace wyndo::test {
namespace {

// ---------------------------------------------------------------------------------------------
// TStyleForm

DWORD StyleOf(TForm& Form) {
  return static_cast<DWORD>(::GetWindowLongA(Form.Handle(), GWL_STYLE));
}

TEST(StyleFormTest, TheBorderDecidesWhichCaptionButtonsRemainOnceTheWindowExists) {
  auto Sizeable = MakeForm<TStyleForm>();
  EXPECT_TRUE(Sizeable->UnderConstruction());
  Sizeable->HandleNeeded();
  EXPECT_FALSE(Sizeable->UnderConstruction());
  EXPECT_EQ(Sizeable->CaptionButtons(), AllCaptionButtons);
  EXPECT_EQ(Sizeable->Button(cbClose).Window, Sizeable->Handle());

  auto Dialog = MakeForm<TStyleForm>();
  Dialog->SetBorderStyle(TBorderStyle::bsDialog);
  Dialog->HandleNeeded();
  EXPECT_EQ(Dialog->CaptionButtons(), CaptionButton(cbHelp) | CaptionButton(cbClose));
  EXPECT_FALSE(Dialog->Button(cbMinimize).Enabled);
  EXPECT_TRUE(Dialog->Button(cbHelp).Enabled);

  auto Single = MakeForm<TStyleForm>();
  Single->SetBorderStyle(TBorderStyle::bsSingle);
  Single->SetBorderIcons(biSystemMenu | biMinimize);
  Single->HandleNeeded();
  EXPECT_EQ(Single->CaptionButtons(),
            CaptionButton(cbHelp) | CaptionButton(cbMinimize) | CaptionButton(cbClose));
  EXPECT_FALSE(StyleOf(*Single) & WS_MAXIMIZEBOX);
}

TEST(StyleFormTest, TheSettersKeepTheWindowStyleAndSystemMenuInStep) {
  auto Form = MakeForm<TStyleForm>();
  Form->HandleNeeded();
  Form->SetCaptionButtons(CaptionButton(cbHelp) | CaptionButton(cbClose));
  EXPECT_FALSE(StyleOf(*Form) & WS_MAXIMIZEBOX);
  EXPECT_FALSE(StyleOf(*Form) & WS_MINIMIZEBOX);
  Form->SetCaptionButtons(AllCaptionButtons);
  EXPECT_TRUE(StyleOf(*Form) & WS_MAXIMIZEBOX);
  EXPECT_TRUE(StyleOf(*Form) & WS_MINIMIZEBOX);

  HMENU Menu = ::GetSystemMenu(Form->Handle(), FALSE);
  Form->SetCaptionButtons(CaptionButton(cbHelp) | CaptionButton(cbMinimize));
  EXPECT_TRUE(::GetMenuState(Menu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
  Form->SetCaptionButtons(AllCaptionButtons);
  EXPECT_TRUE(::GetMenuState(Menu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED)
      << "adding Close back does not enable the menu entry";

  Form->SetSystemMenu(false);
  EXPECT_FALSE(StyleOf(*Form) & WS_SYSMENU);
  Form->SetSystemMenu(true);
  EXPECT_TRUE(StyleOf(*Form) & WS_SYSMENU);

  EXPECT_EQ(Form->CaptionColor(scEnd), 0x0000FAFAu);
  Form->SetCaptionColor(scStart, 0x00112233);
  EXPECT_EQ(Form->CaptionColor(scStart), 0x00112233u);
}

TEST(StyleFormTest, ACaptionButtonsActionIsTheMatchingSystemCommand) {
  struct TRecording : TStyleForm {
    std::vector<WPARAM> Commands;
    void WndProc(TMessage& Message) override {
      if (Message.Msg == WM_SYSCOMMAND) {
        Commands.push_back(Message.WParam);
        return;
      }
      TStyleForm::WndProc(Message);
    }
  };
  auto Form = MakeForm<TRecording>();
  Form->HandleNeeded();
  for (TCaptionButton Kind : {cbHelp, cbMinimize, cbMaximize, cbClose})
    Form->ButtonAction(Kind);
  ASSERT_TRUE(WaitFor([&] { return Form->Commands.size() == 4; }));
  EXPECT_EQ(Form->Commands,
            (std::vector<WPARAM>{SC_CONTEXTHELP, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE}));
}

// ---------------------------------------------------------------------------------------------
// The splash screen

TEST(SplashTest, TheWindowHasExactlyThePicturesSize) {
  auto Splash = MakeForm<TSplashScreenForm>();
  ASSERT_TRUE(Splash->Picture());
  EXPECT_EQ(Splash->Picture().Width, 649);
  EXPECT_EQ(Splash->Picture().Height, 192);
  RECT Window;
  ::GetWindowRect(Splash->Handle(), &Window);
  EXPECT_EQ(Window.right - Window.left, 649);
  EXPECT_EQ(Window.bottom - Window.top, 192);
  EXPECT_TRUE(::GetWindowLongA(Splash->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

// ---------------------------------------------------------------------------------------------
// TCheckSpeedButton

class CheckSpeedButtonTest : public ::testing::Test {
protected:
  void SetUp() override {
    Form->SetBounds(100, 100, 200, 120);
    Button->SetParent(Form.get());
    Button->SetBounds(20, 10, 39, 38);
    Button->SetCheckboxSize(10);
    Button->SetCheckboxSpace(3);
    Button->OnClick = [this](TObject&) { ++Clicks; };
    Button->OnCheckClick = [this](TObject&) { ++CheckClicks; };
    Form->HandleNeeded();
  }
  // Sends a mouse message to the form at a point in the button's coordinates.
  void Mouse(UINT Msg, int X, int Y) {
    ::SendMessageA(Form->Handle(), Msg, Msg == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                   MAKELPARAM(Button->Left() + X, Button->Top() + Y));
  }
  TFormPtr<TForm> Form = MakeForm<TForm>();
  TCheckSpeedButton* Button = Form->Make<TCheckSpeedButton>();
  int Clicks = 0, CheckClicks = 0;
};

TEST_F(CheckSpeedButtonTest, APressAndReleaseInTheBoxTogglesOnceAndNeverClicksTheButton) {
  // The box is (3, 25)-(13, 35) on this 39 x 38 button.
  EXPECT_EQ(Button->BoxRect().top, 25);
  Mouse(WM_LBUTTONDOWN, 8, 30);
  EXPECT_TRUE(Button->BoxPressed());
  EXPECT_FALSE(Button->Pressed()) << "the button itself does not go down";
  Mouse(WM_LBUTTONUP, 8, 30);
  EXPECT_TRUE(Button->Checked());
  EXPECT_EQ(CheckClicks, 1);
  EXPECT_EQ(Clicks, 0);

  // Pressed in the box, released outside: nothing, and the press is over, so that hovering the
  // box later does not draw it pushed.
  Mouse(WM_LBUTTONDOWN, 8, 30);
  Mouse(WM_LBUTTONUP, 30, 5);
  EXPECT_TRUE(Button->Checked());
  EXPECT_EQ(CheckClicks, 1);
  EXPECT_EQ(Clicks, 0);
  EXPECT_FALSE(Button->BoxPressed());
  Mouse(WM_MOUSEMOVE, 8, 30);
  EXPECT_TRUE(Button->BoxHot());
  EXPECT_FALSE(Button->BoxPressed());
}

TEST_F(CheckSpeedButtonTest, ADoubleClickInTheBoxTogglesTwice) {
  Mouse(WM_LBUTTONDOWN, 8, 30);
  Mouse(WM_LBUTTONUP, 8, 30);
  Mouse(WM_LBUTTONDBLCLK, 8, 30);
  Mouse(WM_LBUTTONUP, 8, 30);
  EXPECT_FALSE(Button->Checked());
  EXPECT_EQ(CheckClicks, 2);
  EXPECT_EQ(Clicks, 0);
}

TEST_F(CheckSpeedButtonTest, OutsideTheBoxItIsAnOrdinaryButtonAndTheBoxEdgesCountAsOutside) {
  Mouse(WM_LBUTTONDOWN, 25, 10);
  Mouse(WM_LBUTTONUP, 25, 10);
  EXPECT_EQ(Clicks, 1);
  EXPECT_FALSE(Button->Checked());
  // The edge pixels x = CheckboxSpace and y = height - space - size belong to the button.
  EXPECT_FALSE(Button->InBox(3, 30));
  EXPECT_FALSE(Button->InBox(8, 25));
  EXPECT_TRUE(Button->InBox(4, 26));
  Mouse(WM_LBUTTONDOWN, 3, 30);
  Mouse(WM_LBUTTONUP, 3, 30);
  EXPECT_EQ(Clicks, 2);
  EXPECT_EQ(CheckClicks, 0);
  // Writing Checked by code raises nothing.
  Button->SetChecked(true);
  EXPECT_EQ(CheckClicks, 0);
}

// ---------------------------------------------------------------------------------------------
// THintEdit

void SetControlKey(bool Down) {
  BYTE Keys[256];
  ::GetKeyboardState(Keys);
  Keys[VK_CONTROL] = Down ? 0x80 : 0;
  ::SetKeyboardState(Keys);
}

TEST(HintEditTest, TheHintShowsOnlyWithCtrlHeldAndAHintToShow) {
  auto Form = MakeForm<TForm>();
  Form->SetBounds(100, 100, 300, 100);
  auto* Edit = Form->Make<THintEdit>();
  Edit->SetParent(Form.get());
  Edit->SetText("a long window caption");
  HWND Window = Edit->Handle();
  auto Move = [&] { ::SendMessageA(Window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); };

  SetControlKey(true);
  Move();
  EXPECT_FALSE(Edit->HintShown()) << "no hint, whatever the field holds";
  Edit->SetHint("the whole caption");
  SetControlKey(false);
  Move();
  EXPECT_FALSE(Edit->HintShown()) << "not without Ctrl";
  SetControlKey(true);
  Move();
  ASSERT_TRUE(Edit->HintShown());
  ASSERT_NE(Edit->HintWindow(), nullptr);
  EXPECT_EQ(Edit->HintWindow()->Caption(), "the whole caption");
  EXPECT_TRUE(::IsWindowVisible(Edit->HintWindow()->Handle()));
  SetControlKey(false);
  Move();
  EXPECT_FALSE(Edit->HintShown());
  EXPECT_FALSE(::IsWindowVisible(Edit->HintWindow()->Handle()));
}

// ---------------------------------------------------------------------------------------------
// TLinkLabel

TEST(LinkLabelTest, ItLooksAndActsAsALinkExactlyWhileAHandlerIsAssigned) {
  auto Form = MakeForm<TForm>();
  auto* Label = Form->Make<TLinkLabel>();
  Label->SetParent(Form.get());
  Label->SetCaption("(None)");
  const TFont Normal = Label->Font();
  int Links = 0, Clicks = 0;
  Label->OnClick = [&](TObject&) { ++Clicks; };
  EXPECT_FALSE(Label->IsLink());
  Label->Click();
  EXPECT_EQ(Clicks, 1);

  Label->SetOnLinkClick([&](TObject&) { ++Links; });
  EXPECT_EQ(Label->Font().Color(), 0x00008000u);
  EXPECT_TRUE(Label->Font().Style() & fsUnderline);
  EXPECT_EQ(Label->Cursor, crHandPoint);
  Label->Click();
  EXPECT_EQ(Links, 1);
  EXPECT_EQ(Clicks, 1);

  // A new link colour reaches the font only with the next handler.
  Label->SetLinkColor(0x00FF0000);
  EXPECT_EQ(Label->Font().Color(), 0x00008000u);
  Label->SetOnLinkClick(nullptr);
  EXPECT_TRUE(Label->Font() == Normal);
  EXPECT_EQ(Label->Cursor, crDefault);
  Label->SetOnLinkClick([&](TObject&) { ++Links; });
  EXPECT_EQ(Label->Font().Color(), 0x00FF0000u);
}

} // namespace
} // namespace wyndo::test
