// Reading typed handles with their message boxes, highlighting a window on the screen, waiting
// with a live user interface.

#include "core/settings.h"
#include "info/functions.h"
#include "tests/win/test_support.h"
#include "ui/forms.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace wyndo::test {
namespace {

class ParseHandleTest : public ::testing::Test {
protected:
  void SetUp() override {
    Saved = Settings;
    Settings.IntFormat = ifCHex;
    Settings.ParseFormat = ifCurrent;
  }
  void TearDown() override { Settings = Saved; }
  TWYNDO_Settings Saved;
};

TEST_F(ParseHandleTest, NoWindowFoundGivesItsMessageBox) {
  TMessageBoxWatcher Watcher("No window");
  EXPECT_EQ(ParseHandle("<no window found>", true), 0u);
  const auto Seen = Watcher.Result();
  ASSERT_TRUE(Seen.has_value());
  EXPECT_EQ(Seen->Text, "No such window found");
}

TEST_F(ParseHandleTest, AnUnreadableHandleGivesItsMessageBoxWithTheTextInQuotes) {
  TMessageBoxWatcher Watcher("Invalid Handle");
  EXPECT_EQ(ParseHandle("0X1F", true), 0u);
  const auto Seen = Watcher.Result();
  ASSERT_TRUE(Seen.has_value());
  EXPECT_EQ(Seen->Text, "\"0X1F\" is not a valid Handle-Value");
}

TEST_F(ParseHandleTest, WithoutMessagesEveryFailureIsSilent) {
  TMessageBoxWatcher Invalid("Invalid Handle", 2500);
  TMessageBoxWatcher NoWindow("No window", 2500);
  EXPECT_EQ(ParseHandle("<no window found>", false), 0u);
  EXPECT_EQ(ParseHandle("", false), 0u);
  EXPECT_EQ(ParseHandle("12", false), 0u);
  EXPECT_FALSE(Invalid.Result().has_value());
  EXPECT_FALSE(NoWindow.Result().has_value());
}

TEST_F(ParseHandleTest, AValidHandleIsReadInTheCurrentFormat) {
  EXPECT_EQ(ParseHandle("0x0001002A", true), 0x1002Au);
  Settings.IntFormat = ifDecimal;
  EXPECT_EQ(ParseHandle("-1", true), 0xFFFFFFFFu) << "as values from $80000000 are written";
  EXPECT_EQ(ParseHandle("4096", true), 4096u);
}

// A borderless, topmost form painted in one colour.
class TSolid : public TForm {
public:
  TSolid() {
    SetBorderStyle(TBorderStyle::bsNone);
    SetFormStyle(TFormStyle::fsStayOnTop);
    SetBounds(300, 300, 120, 80);
    SetColor(RGB(255, 0, 0));
  }
};

COLORREF ScreenPixel(int X, int Y) {
  HDC DC = ::GetDC(nullptr);
  const COLORREF Pixel = ::GetPixel(DC, X, Y);
  ::ReleaseDC(nullptr, DC);
  return Pixel;
}

TEST(HighlightTest, InvertsTheWholeWindowForAMomentThenRepaintsIt) {
  auto Solid = MakeForm<TSolid>();
  Solid->Show();
  ASSERT_TRUE(WaitFor([] { return ScreenPixel(310, 310) == RGB(255, 0, 0); }));

  // Watch the screen while the highlight runs on this thread.
  std::atomic<bool> SawInverted{false}, Done{false};
  std::thread Watcher([&] {
    while (!Done) {
      if (ScreenPixel(310, 310) == RGB(0, 255, 255) && ScreenPixel(419, 379) == RGB(0, 255, 255))
        SawInverted = true;
      ::Sleep(10);
    }
  });
  const DWORD Start = ::GetTickCount();
  HighlightWindow(Solid->Handle());
  const DWORD Elapsed = ::GetTickCount() - Start;
  Done = true;
  Watcher.join();

  EXPECT_TRUE(SawInverted);
  EXPECT_GE(Elapsed, 350u);
  EXPECT_TRUE(WaitFor([] { return ScreenPixel(310, 310) == RGB(255, 0, 0); }, 2000))
      << "repainted, not left inverted";
}

TEST(DelayTest, KeepsHandlingMessagesWhileItWaits) {
  auto Form = MakeForm<TForm>();
  int Handled = 0;
  Form->OnResize = [&](TObject&) { ++Handled; };
  ::PostMessageA(Form->Handle(), WM_SIZE, 0, MAKELPARAM(10, 10));
  const DWORD Start = ::GetTickCount();
  Delay(120);
  EXPECT_GE(::GetTickCount() - Start, 120u);
  EXPECT_EQ(Handled, 1);
  // A zero wait still handles pending messages once.
  ::PostMessageA(Form->Handle(), WM_SIZE, 0, MAKELPARAM(10, 10));
  Delay(0);
  EXPECT_EQ(Handled, 2);
}

} // namespace
} // namespace wyndo::test
