// The scrolling banner and the about box: real timers, painting on a shown window, and clicks.

#include "app/startup.h"
#include "controls/aboutform.h"
#include "controls/splash.h"
#include "core/product.h"
#include "core/settings.h"
#include "tests/win/test_support.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <vector>

namespace wyndo::test {
namespace {

// ---------------------------------------------------------------------------------------------
// TBanner

// A banner that records, for every frame it paints, the position it drew at and the position
// it left for the next frame.
class TRecordingBanner : public TBanner {
public:
  struct TFrame {
    int Drawn, Next;
  };
  std::vector<TFrame> Frames;

protected:
  void Paint(TCanvas& Canvas) override {
    const int Drawn = Position();
    TBanner::Paint(Canvas);
    Frames.push_back({Drawn, Position()});
  }
};

// A borderless, topmost form holding one banner at (10, 10), 150 x 40.
class TBannerHost : public TForm {
public:
  TBannerHost() {
    SetBorderStyle(TBorderStyle::bsNone);
    SetFormStyle(TFormStyle::fsStayOnTop);
    SetBounds(100, 100, 200, 80);
    Banner = Make<TRecordingBanner>();
    Banner->SetParent(this);
    Banner->SetBounds(10, 10, 150, 40);
    Banner->SetAlignment(TAlignment::taCenter);
    Banner->SetWordWrap(true);
    Banner->SetColor(0x00336699);
    Banner->Font().SetColor(clWhite);
    Banner->SetLines({"Wrap"});
  }
  TRecordingBanner* Banner = nullptr;
};

// Height of the banner's text as it draws it.
int TextHeight(TBanner& Banner) {
  TWindowDC Screen(nullptr);
  TSelectObject Font(Screen.Get(), Banner.Font().Handle());
  RECT Area{0, 0, Banner.Width(), 0};
  ::DrawTextA(Screen.Get(), "Wrap", -1, &Area, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
  return Area.bottom;
}

TEST(BannerTest, StartsStoppedWithItsConstructorValues) {
  TBanner Banner;
  EXPECT_FALSE(Banner.Run());
  EXPECT_EQ(Banner.Speed(), 10);
  EXPECT_EQ(Banner.Gap(), 1);
  EXPECT_EQ(Banner.Space(), 5);
  EXPECT_EQ(Banner.FadeHeight(), 10);
  EXPECT_TRUE(Banner.Lines().empty());
  EXPECT_FALSE(Banner.AutoSize());
  EXPECT_EQ(Banner.Position(), Banner.Height() + 5);
  EXPECT_FALSE(Banner.Timer().Enabled());
  EXPECT_EQ(Banner.Timer().Interval(), 100u);

  Banner.SetBounds(0, 0, 100, 50);
  Banner.SetSpeed(8);
  EXPECT_EQ(Banner.Timer().Interval(), 80u);
  Banner.SetFadeHeight(500);
  EXPECT_EQ(Banner.FadeHeight(), 50) << "cut to the height";
  Banner.SetFadeHeight(20);
  EXPECT_EQ(Banner.FadeHeight(), 20);
  const std::vector<std::string> Lines = {"one", "two"};
  Banner.SetLines(Lines);
  EXPECT_EQ(Banner.Lines(), Lines);
}

TEST(BannerTest, AShortTextWrapsFromBelowOnceItHasLeftTheTopByMoreThanSpace) {
  auto Host = MakeForm<TBannerHost>();
  TRecordingBanner& Banner = *Host->Banner;
  const int Text = TextHeight(Banner), Space = Banner.Space(), Height = Banner.Height();
  Banner.SetSpeed(1);
  Host->Show();
  Banner.SetRun(true);
  const auto WrappedFrame = [&] {
    return std::find_if(Banner.Frames.begin(), Banner.Frames.end(),
                        [](const auto& Frame) { return Frame.Next != Frame.Drawn; });
  };
  ASSERT_TRUE(WaitFor([&] { return Banner.Frames.end() - WrappedFrame() >= 2; }, 20000))
      << "the text went round once and the next frame was painted";
  for (const auto& Frame : Banner.Frames) {
    const bool Left = Frame.Drawn + Text < -Space;
    ASSERT_EQ(Frame.Next, Left ? Height + Space : Frame.Drawn) << "drawn at " << Frame.Drawn;
  }
  const auto Wrapped = WrappedFrame();
  ASSERT_NE(Wrapped, Banner.Frames.end());
  EXPECT_EQ(Wrapped->Drawn, -Space - Text - 1) << "one pixel past the last frame that counts";
  EXPECT_EQ(std::next(Wrapped)->Drawn, Height + Space - 1) << "the next frame starts from below";

  // The fade reaches the edges: the top and bottom rows are the background colour.
  TWindowDC DC(Host->Handle());
  for (int X = Banner.Left(); X < Banner.Left() + Banner.Width(); X += 7) {
    ASSERT_EQ(::GetPixel(DC.Get(), X, Banner.Top()), 0x00336699u) << "x " << X;
    ASSERT_EQ(::GetPixel(DC.Get(), X, Banner.Top() + Height - 1), 0x00336699u) << "x " << X;
  }
}

TEST(BannerTest, StoppingKeepsThePlaceRestartingStartsFromBelowAndResizingResetsOnlyWhenStopped) {
  auto Host = MakeForm<TBannerHost>();
  TBanner& Banner = *Host->Banner;
  const int Start = Banner.Height() + Banner.Space();
  Banner.SetSpeed(1);
  Host->Show();
  Banner.SetRun(true);
  EXPECT_TRUE(Banner.Timer().Enabled());
  ASSERT_TRUE(WaitFor([&] { return Banner.Position() < Start - 3; }));

  Banner.SetRun(true);
  EXPECT_LT(Banner.Position(), Start - 3) << "running already: no new start";
  Banner.SetBounds(10, 10, 150, 30);
  EXPECT_LT(Banner.Position(), Start - 3) << "a running banner keeps its place when resized";

  Banner.SetRun(false);
  EXPECT_FALSE(Banner.Timer().Enabled());
  const int Stopped = Banner.Position();
  Banner.SetBounds(12, 10, 150, 30);
  EXPECT_EQ(Banner.Position(), Stopped) << "moving is not resizing";
  Banner.SetBounds(12, 10, 150, 44);
  EXPECT_EQ(Banner.Position(), 44 + Banner.Space()) << "a stopped banner starts again when resized";

  Banner.SetRun(true);
  ASSERT_TRUE(WaitFor([&] { return Banner.Position() < 40; }));
  Banner.SetRun(false);
  Banner.SetRun(true);
  EXPECT_EQ(Banner.Position(), 44 + Banner.Space()) << "restarting starts from below";
}

// ---------------------------------------------------------------------------------------------
// TAboutForm

std::string ProductVersion() {
  char Path[MAX_PATH + 1] = {};
  ::GetModuleFileNameA(nullptr, Path, MAX_PATH);
  std::string Text;
  std::array<std::uint16_t, 4> Numbers{};
  GetVersionInfo(Path, &Text, Numbers);
  return Text;
}

// An about box that records the home page being opened instead of starting a browser.
class TTestAboutForm : public TAboutForm {
public:
  using TAboutForm::TAboutForm;
  int HomePageOpened = 0;

protected:
  void OpenHomePage() override { ++HomePageOpened; }
};

class AboutBoxTest : public ::testing::Test {
protected:
  void SetUp() override {
    FSavedVersion = Settings.Version;
    Settings.Version = {1, 2, 3, 4};
    Box = MakeForm<TTestAboutForm>(ProductVersion());
  }
  void TearDown() override { Settings.Version = FSavedVersion; }

  // A left click at a point of the box, with the modifier keys of KeyFlags held.
  void Click(POINT At, WPARAM KeyFlags = 0) {
    Press(At, KeyFlags);
    Release(At, KeyFlags);
  }
  void Press(POINT At, WPARAM KeyFlags = 0, UINT Message = WM_LBUTTONDOWN,
             WPARAM Button = MK_LBUTTON) {
    ::SendMessageA(Box->Handle(), Message, KeyFlags | Button, MAKELPARAM(At.x, At.y));
  }
  void Release(POINT At, WPARAM KeyFlags = 0, UINT Message = WM_LBUTTONUP) {
    ::SendMessageA(Box->Handle(), Message, KeyFlags, MAKELPARAM(At.x, At.y));
  }
  static POINT Inside(const TControl& Control) {
    return {Control.Left() + Control.Width() / 2, Control.Top() + Control.Height() / 2};
  }
  // The colour of a picture's pixel, and of the box's window at a point.
  static COLORREF PictureColor(const TPicture& Picture, int X, int Y) {
    TWindowDC Screen(nullptr);
    TMemoryDC DC(::CreateCompatibleDC(Screen.Get()));
    TSelectObject Select(DC.Get(), Picture.Handle());
    return ::GetPixel(DC.Get(), X, Y);
  }
  COLORREF BoxColor(int X, int Y) {
    TWindowDC DC(Box->Handle());
    return ::GetPixel(DC.Get(), X, Y);
  }

  TFormPtr<TTestAboutForm> Box;

private:
  std::array<std::uint16_t, 4> FSavedVersion{};
};

TEST_F(AboutBoxTest, IsAsWideAsItsPictureAndShowsTheVersionBuildAndHomePage) {
  EXPECT_EQ(Box->BorderStyle(), TBorderStyle::bsNone);
  EXPECT_EQ(Box->Caption(), "About Wyndo");
  Box->HandleNeeded();
  EXPECT_EQ(Box->ClientSize().Width, 649) << "the background's width, not the stored 641";
  EXPECT_EQ(Box->ClientSize().Height, 467);
  EXPECT_FALSE(::GetWindowLongA(Box->Handle(), GWL_STYLE) & WS_CAPTION);

  const struct {
    const TPicture& Picture;
    int Width, Height;
  } Pictures[] = {{Box->Background(), 649, 192},  {Box->Logo(), 143, 47},
                  {Box->BandPattern(), 12, 12},   {Box->LeftPattern(), 150, 12},
                  {Box->RightPattern(), 150, 12}, {Box->HiddenPicture(), 220, 178}};
  for (const auto& Picture : Pictures) {
    EXPECT_EQ(Picture.Picture.Width, Picture.Width);
    EXPECT_EQ(Picture.Picture.Height, Picture.Height);
  }

  ASSERT_FALSE(ProductVersion().empty());
  EXPECT_EQ(Box->Version->Caption(), ProductVersion());
  EXPECT_EQ(Box->Build->Caption(), "1.2.3.4");
  EXPECT_EQ(Box->Label1->Caption(), "Version:");
  EXPECT_EQ(Box->Label2->Caption(), "Build:");
  EXPECT_EQ(Box->Homepage->Caption(), HomePage);
  EXPECT_EQ(Box->Homepage->Cursor, crHandPoint);
  EXPECT_EQ(Box->Homepage->Font().Color(), 0x0060F2F8u);
  EXPECT_EQ(Box->Label4->Caption(), "p");
  EXPECT_EQ(Box->Label4->Font().Name(), "Symbol");
  EXPECT_EQ(Box->Version->Font().Name(), "Verdana");
  EXPECT_EQ(Box->Version->Font().Color(), 0x00E4E4E4u);
  // The texts anchored to the right follow the wider window and keep their stored sizes, so the
  // link's hand cursor covers its whole stored area.
  EXPECT_EQ(Box->Label3->Bounds(), (TBounds{366, 422, 277, 14}));
  EXPECT_EQ(Box->Homepage->Bounds(), (TBounds{494, 441, 149, 14}));
  EXPECT_EQ(Box->Label4->Bounds(), (TBounds{641, 454, 6, 13}));
  EXPECT_EQ(Box->Thanks->Bounds(), (TBounds{125, 229, 391, 178}));

  const TBanner& Thanks = *Box->Thanks;
  EXPECT_TRUE(Thanks.Run());
  EXPECT_EQ(Thanks.Timer().Interval(), 80u);
  EXPECT_EQ(Thanks.FadeHeight(), 30);
  EXPECT_EQ(Thanks.Alignment(), TAlignment::taCenter);
  EXPECT_TRUE(Thanks.WordWrap());
  EXPECT_EQ(Thanks.Font().Name(), "Courier New");
  const auto& Lines = Thanks.Lines();
  ASSERT_GE(Lines.size(), 4u);
  EXPECT_EQ(Lines[Lines.size() - 2], "*");
  EXPECT_EQ(Lines.back(), "end.");
  for (const std::string& Line : Lines) {
    EXPECT_TRUE(!Line.starts_with("-=[ ") || Line.ends_with(" ]=-")) << Line;
    EXPECT_TRUE(!Line.starts_with("~ ") || Line.ends_with(" ~")) << Line;
  }
}

TEST_F(AboutBoxTest, PaintsItsPicturesAroundTheBanner) {
  Box->Show();
  const TPicture& Band = Box->BandPattern();
  // Below the banner the band pattern starts again at the banner's bottom edge.
  const int Below = 229 + 178;
  ASSERT_TRUE(WaitFor([&] {
    return BoxColor(20, 300) == PictureColor(Box->LeftPattern(), 20, (300 - 0) % 12) &&
           BoxColor(30, 14) == PictureColor(Box->Background(), 30, 14);
  }));
  EXPECT_EQ(BoxColor(40, 200), PictureColor(Band, 40 % 12, 200 % 12));
  EXPECT_EQ(BoxColor(300, Below + 3), PictureColor(Band, 300 % 12, 3));
  EXPECT_EQ(BoxColor(640, 300), PictureColor(Box->RightPattern(), 640 - (649 - 150), 300 % 12));
  EXPECT_EQ(BoxColor(13 + 20, 414 + 10), PictureColor(Box->Logo(), 20, 10));
  EXPECT_EQ(BoxColor(300, 229), 0u) << "the banner's top row fades into its black";
}

TEST_F(AboutBoxTest, ClosesOnAClickOnTheWindowOrItsTextsButNotOnTheLinkOrTheBanner) {
  Box->Show();
  Click(Inside(*Box->Homepage));
  EXPECT_EQ(Box->HomePageOpened, 1);
  EXPECT_TRUE(Box->Visible()) << "the link leaves the box open";
  Click(Inside(*Box->Thanks));
  EXPECT_TRUE(Box->Visible());
  Click({300, 100});
  EXPECT_FALSE(Box->Visible());

  for (TLabel* Text : {Box->Version, Box->Build, Box->Label1, Box->Label2, Box->Label3}) {
    Box->Show();
    Click(Inside(*Text));
    EXPECT_FALSE(Box->Visible()) << Text->Name;
  }
}

TEST_F(AboutBoxTest, HoldingTheLeftButtonOnTheBannerScrollsItFiveTimesAsFast) {
  Box->Show();
  const POINT At = Inside(*Box->Thanks);
  Press(At, 0, WM_RBUTTONDOWN, MK_RBUTTON);
  EXPECT_EQ(Box->Thanks->Gap(), 1);
  Release(At, 0, WM_RBUTTONUP);
  Press(At);
  EXPECT_EQ(Box->Thanks->Gap(), 5);
  const int Before = Box->Thanks->Position();
  ASSERT_TRUE(WaitFor([&] { return Box->Thanks->Position() != Before; }));
  EXPECT_EQ((Before - Box->Thanks->Position()) % 5, 0) << "steps of five pixels";
  Release(At);
  EXPECT_EQ(Box->Thanks->Gap(), 1);
}

TEST_F(AboutBoxTest, TheChordOnThePiSignOpensTheHiddenViewAndAPlainClickCloses) {
  Box->Show();
  const POINT Pi = Inside(*Box->Label4);
  Press(Pi, MK_CONTROL);
  EXPECT_FALSE(Box->HiddenView()) << "Ctrl alone is not the chord";
  Release(Pi, MK_CONTROL);
  EXPECT_FALSE(Box->Visible());

  Box->Show();
  Press(Pi, MK_CONTROL | MK_SHIFT);
  EXPECT_TRUE(Box->HiddenView());
  EXPECT_FALSE(Box->Thanks->Run());
  EXPECT_FALSE(Box->Thanks->Visible());
  Release(Pi, MK_CONTROL | MK_SHIFT);
  EXPECT_TRUE(Box->Visible()) << "the chord is still held at the release";
  const TPicture& Hidden = Box->HiddenPicture();
  ASSERT_TRUE(WaitFor(
      [&] { return BoxColor((649 - 220) / 2 + 110, 229 + 60) == PictureColor(Hidden, 110, 60); }));
  EXPECT_EQ(BoxColor(160, 300), 0u) << "black around the hidden picture";

  Press(Pi, MK_CONTROL | MK_SHIFT);
  Release(Pi, MK_SHIFT);
  EXPECT_FALSE(Box->Visible()) << "released without the whole chord";
}

// The about box this process showed, once it was on the screen.
HWND ShownBox = nullptr;

// Clicks the about box once it is on the screen, from a timer of the modal loop.
void CALLBACK ClickShownBox(HWND, UINT, UINT_PTR, DWORD) {
  HWND Box = ::FindWindowA("TAboutForm", "About Wyndo");
  if (Box && ::IsWindowVisible(Box) && !ShownBox) {
    ShownBox = Box;
    ::PostMessageA(Box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 100));
    ::PostMessageA(Box, WM_LBUTTONUP, 0, MAKELPARAM(300, 100));
  }
}

TEST(ShowAboutBoxTest, RunsModallyUntilAClickAndIsFreedThen) {
  ShownBox = nullptr;
  const UINT_PTR Timer = ::SetTimer(nullptr, 0, 50, &ClickShownBox);
  ShowAboutBox("9.9");
  ::KillTimer(nullptr, Timer);
  ASSERT_NE(ShownBox, nullptr);
  EXPECT_FALSE(::IsWindow(ShownBox));
}

} // namespace
} // namespace wyndo::test
