// Picking a window: the finder tool dragged with the real mouse fills the main window's fields
// and leaves no frame behind; the finder tool window opens the picked window's information; the
// find-window dialog finds a window by a typed caption or handle, tells what it cannot read, and
// hides the program while asked to.

#include "tests/e2e/e2e_fixture.h"
#include "tests/win/test_support.h"

#include <algorithm>

namespace wyndo::e2e {
namespace {

using enum TMainCommand;
using test::WaitFor;

class EndToEndFinder : public EndToEndTest {};

// Where two shots of one area differ: the count and the first differing pixel.
std::string Differences(const TDisplayShot& A, const TDisplayShot& B) {
  if (A.Pixels.empty() || B.Pixels.empty())
    return "the display could not be read";
  std::size_t Count = 0;
  std::string First;
  for (int Y = 0; Y < A.Height; ++Y)
    for (int X = 0; X < A.Width; ++X)
      if (A.At(X, Y) != B.At(X, Y) && Count++ == 0) {
        char Text[96] = {};
        std::snprintf(Text, sizeof(Text), " first at (%d, %d): %06lX, was %06lX", X, Y, A.At(X, Y),
                      B.At(X, Y));
        First = Text;
      }
  return Count == 0 ? "" : std::to_string(Count) + " pixels differ," + First;
}

// The panel below the finder tool that opens the finder tool window.
HWND ToolWindowPanel(HWND Main) {
  for (HWND Panel : ChildWindows(Main, "TPanel")) {
    const RECT Rect = RectOf(Panel);
    if (Rect.right - Rect.left == 21 && Rect.bottom - Rect.top == 20)
      return Panel;
  }
  return nullptr;
}

// The texts of every edit field of a window, whatever page they are on.
std::vector<std::string> EditTexts(HWND Window) {
  std::vector<std::string> Texts;
  for (HWND Edit : ChildWindows(Window, "Edit"))
    Texts.push_back(TextOf(Edit));
  return Texts;
}

bool Holds(const std::vector<std::string>& Texts, const std::string& Text) {
  return std::find(Texts.begin(), Texts.end(), Text) != Texts.end();
}

// Clicks an edit field, empties it and types a new text.
::testing::AssertionResult Retype(HWND Edit, const std::string& Text) {
  if (!ClickInto(Edit) || !PressKeys("End shift+Home BackSpace"))
    return ::testing::AssertionFailure() << "the field did not take the keyboard";
  if (!WaitFor([&] { return TextOf(Edit).empty(); }))
    return ::testing::AssertionFailure() << "the field still shows \"" << TextOf(Edit) << "\"";
  if (!TypeText(Text) || !WaitFor([&] { return TextOf(Edit) == Text; }))
    return ::testing::AssertionFailure() << "the field shows \"" << TextOf(Edit) << "\"";
  return ::testing::AssertionSuccess();
}

TEST_F(EndToEndFinder, ADragPicksAWindowAndTheFinderToolWindowOpensItsInformation) {
  Seed();
  auto Picked = Target("E2E Pick Target", 300, 520);
  TWyndo Wyndo;
  const std::vector<HWND> Fields = EditsTopDown(Wyndo.Main());
  ASSERT_EQ(Fields.size(), 3u);
  const std::vector<HWND> Finders = ChildWindows(Wyndo.Main(), "TFindWndPanel");
  ASSERT_EQ(Finders.size(), 1u);
  const RECT TargetRect = RectOf(Picked->Handle());
  // The target has taken its inactive look (this thread has no active window any more).
  ASSERT_TRUE(WaitFor(
      [&] { return ::GetForegroundWindow() == Wyndo.Main() && ::GetActiveWindow() == nullptr; }));
  // Shown as it stays: two shots in a row agree.
  TDisplayShot Before(TargetRect);
  ASSERT_TRUE(WaitFor([&] {
    TDisplayShot Again(TargetRect);
    const bool Settled = !Again.Pixels.empty() && Again == Before;
    Before = std::move(Again);
    return Settled;
  }));

  // Press on the tool, drag over the screen onto the target, release there.
  ASSERT_TRUE(MoveTo(CenterOf(Finders[0])));
  ASSERT_TRUE(Xdotool("mousedown 1"));
  ASSERT_TRUE(MoveTo({640, 400}));
  ASSERT_TRUE(MoveTo(CenterOf(Picked->Handle())));
  const bool Reported = WaitFor([&] { return TextOf(Fields[0]) == HandleText(Picked->Handle()); });
  ASSERT_TRUE(Xdotool("mouseup 1"));
  ASSERT_TRUE(Reported) << "the handle field shows " << TextOf(Fields[0]);
  EXPECT_EQ(TextOf(Fields[1]), "E2E Pick Target");
  EXPECT_EQ(TextOf(Fields[2]), ClassOf(Picked->Handle()));
  // The frame that marked the target is gone: the window looks as before the drag.
  std::string Changed;
  EXPECT_TRUE(WaitFor([&] {
    return (Changed = Differences(TDisplayShot(TargetRect), Before)).empty();
  })) << Changed;

  // Hovering the panel under the tool opens the finder tool window hanging below it.
  HWND Panel = ToolWindowPanel(Wyndo.Main());
  ASSERT_NE(Panel, nullptr);
  ASSERT_TRUE(MoveTo(CenterOf(Panel)));
  HWND Tool = Wyndo.WaitForWindow("TFinderToolWnd");
  ASSERT_NE(Tool, nullptr);
  EXPECT_EQ(RectOf(Tool).right, RectOf(Panel).right);
  EXPECT_EQ(RectOf(Tool).top, RectOf(Panel).bottom);
  ASSERT_TRUE(ClickWindow(test::FindChildWindow(Tool, "Button", "Properties")));
  HWND Info = Wyndo.WaitForWindow("TWindowInfoForm", "Window Info 1");
  ASSERT_NE(Info, nullptr);
  const std::vector<std::string> Texts = EditTexts(Info);
  EXPECT_TRUE(Holds(Texts, "E2E Pick Target"));
  EXPECT_TRUE(Holds(Texts, ClassOf(Picked->Handle())));
  // The tool window closes once the cursor has left it (through the gap between its buttons,
  // as a hand on the mouse goes).
  ASSERT_TRUE(MoveTo(ClientPoint(Tool, 119, 17)));
  ASSERT_TRUE(MoveTo({CenterOf(Tool).x, RectOf(Tool).bottom + 40}));
  EXPECT_TRUE(Wyndo.WaitForNoWindow("TFinderToolWnd"));

  // Escape closes the information window.
  ASSERT_TRUE(ClickAt(ClientPoint(Info, 10, 10)));
  ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == Info; }));
  ASSERT_TRUE(PressKeys("Escape"));
  EXPECT_TRUE(Wyndo.WaitForNoWindow("TWindowInfoForm"));
  EXPECT_EQ(Wyndo.Close(), 0u);
}

TEST_F(EndToEndFinder, TheFinderToolWindowMayGoWhileItsMessageBoxIsUp) {
  Seed();
  TWyndo Wyndo;
  HWND Panel = ToolWindowPanel(Wyndo.Main());
  ASSERT_NE(Panel, nullptr);
  ASSERT_TRUE(MoveTo(CenterOf(Panel)));
  HWND Tool = Wyndo.WaitForWindow("TFinderToolWnd");
  ASSERT_NE(Tool, nullptr);
  // "Properties" with an empty handle field: the box says so. The pointer goes onto the box, so
  // the tool window's close timer takes it away while its click is still in the box.
  ASSERT_TRUE(ClickWindow(test::FindChildWindow(Tool, "Button", "Properties")));
  HWND Box = Wyndo.WaitForMessageBox("Invalid Handle");
  ASSERT_NE(Box, nullptr);
  EXPECT_EQ(test::MessageBoxText(Box), "\"\" is not a valid Handle-Value");
  ASSERT_TRUE(MoveTo(CenterOf(Box)));
  EXPECT_TRUE(Wyndo.WaitForNoWindow("TFinderToolWnd"));
  ASSERT_TRUE(ClickWindow(test::FindChildWindow(Box, "Button", "OK")));
  EXPECT_TRUE(WaitFor([&] { return !::IsWindow(Box); }));
  // The click returned into a tool window that still existed: the program goes on, and the
  // panel opens a new tool window.
  ASSERT_TRUE(MoveTo({CenterOf(Panel).x, CenterOf(Panel).y + 200}));
  ASSERT_TRUE(MoveTo(CenterOf(Panel)));
  EXPECT_NE(Wyndo.WaitForWindow("TFinderToolWnd"), nullptr);
  EXPECT_EQ(Wyndo.Close(), 0u);
}

TEST_F(EndToEndFinder, TheCaptionsCtrlHintGoesAtTheFirstMoveWithoutCtrlEvenOverTheHint) {
  Seed();
  auto Named = Target("E2E Hint Target", 300, 520);
  TWyndo Wyndo;
  const std::vector<HWND> Fields = EditsTopDown(Wyndo.Main());
  ASSERT_EQ(Fields.size(), 3u);
  ASSERT_TRUE(ClickInto(Fields[0]));
  ASSERT_TRUE(TypeText(HandleText(Named->Handle())));
  ASSERT_TRUE(PressKeys("Return"));
  ASSERT_TRUE(WaitFor([&] { return TextOf(Fields[1]) == "E2E Hint Target"; }));

  // Ctrl held over the caption field shows its hint with the corner at the pointer.
  const POINT Middle = CenterOf(Fields[1]);
  ASSERT_TRUE(MoveTo({Middle.x - 20, Middle.y}));
  ASSERT_TRUE(Xdotool("keydown ctrl"));
  ASSERT_TRUE(MoveTo(Middle));
  HWND Hint = Wyndo.WaitForWindow("THintWindow");
  const bool Shown = Hint != nullptr;
  ASSERT_TRUE(Xdotool("keyup ctrl"));
  ASSERT_TRUE(Shown) << "no hint with Ctrl held";
  // Ctrl released, the pointer moves onto the hint window: the hint goes.
  ASSERT_TRUE(MoveTo({Middle.x + 4, Middle.y + 3}));
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(Hint); })) << "the hint stayed up";
  EXPECT_EQ(Wyndo.Close(), 0u);
}

TEST_F(EndToEndFinder, TheFindWindowDialogFindsTypedCaptionsAndHandlesAndTellsWhatItCannotRead) {
  Seed();
  auto Found = Target("E2E Find Target", 300, 520);
  auto Other = Target("E2E Other Target", 620, 520);
  HWND Gone = nullptr;
  {
    auto Closed = Target("E2E Closed", 900, 520);
    Gone = Closed->Handle();
  }
  TWyndo Wyndo;
  Wyndo.Command(mcFindWindow);
  HWND Dialog = Wyndo.WaitForWindow("TWndSearchForm", "Find Window 1");
  ASSERT_NE(Dialog, nullptr);
  const std::vector<HWND> Fields = EditsTopDown(Dialog);
  ASSERT_EQ(Fields.size(), 3u);

  // A caption typed letter by letter finds the window once it is complete.
  ASSERT_TRUE(ClickInto(Fields[1]));
  ASSERT_TRUE(TypeText("E2E Find Target"));
  EXPECT_TRUE(WaitFor([&] { return TextOf(Fields[0]) == HandleText(Found->Handle()); }))
      << "the handle field shows " << TextOf(Fields[0]);

  // A typed handle that does not read as a number, or names no window, is refused.
  ASSERT_TRUE(Retype(Fields[0], "zz"));
  ASSERT_TRUE(PressKeys("Return"));
  HWND Box = Wyndo.WaitForMessageBox("Invalid Handle");
  ASSERT_NE(Box, nullptr);
  EXPECT_EQ(test::MessageBoxText(Box), "\"zz\" is not a valid Handle-Value");
  ASSERT_TRUE(CloseMessageBox(Box));
  ASSERT_TRUE(Retype(Fields[0], HandleText(Gone)));
  ASSERT_TRUE(PressKeys("Return"));
  Box = Wyndo.WaitForMessageBox("Invalid Handle");
  ASSERT_NE(Box, nullptr);
  EXPECT_EQ(test::MessageBoxText(Box), HandleText(Gone) + " is not a Window");
  ASSERT_TRUE(CloseMessageBox(Box));
  EXPECT_EQ(TextOf(Fields[1]), "E2E Find Target") << "the fields stay as they were";

  // A valid handle and Enter fill the caption and class as a pick does.
  ASSERT_TRUE(Retype(Fields[0], HandleText(Other->Handle())));
  ASSERT_TRUE(PressKeys("Return"));
  EXPECT_TRUE(WaitFor([&] { return TextOf(Fields[1]) == "E2E Other Target"; }));
  EXPECT_EQ(TextOf(Fields[2]), ClassOf(Other->Handle()));

  // Properties opens the information window once; asked again it brings that one forward.
  ASSERT_TRUE(ClickWindow(test::FindChildWindow(Dialog, "Button", "Properties")));
  HWND Info = Wyndo.WaitForWindow("TWindowInfoForm", "Window Info 1");
  ASSERT_NE(Info, nullptr);
  EXPECT_TRUE(Holds(EditTexts(Info), "E2E Other Target"));
  ASSERT_TRUE(ClickAt(ClientPoint(Dialog, 5, 5)));
  ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == Dialog; }));
  ASSERT_TRUE(ClickWindow(test::FindChildWindow(Dialog, "Button", "Properties")));
  EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == Info; }));
  EXPECT_EQ(Wyndo.Windows("TWindowInfoForm").size(), 1u);
  EXPECT_EQ(Wyndo.Close(), 0u);
}

TEST_F(EndToEndFinder, HideWyndoHidesTheProgramUntilUncheckedOrTheDialogCloses) {
  Seed();
  TWyndo Wyndo;
  HWND List = Wyndo.OpenList(mcWindows, "TWindowListForm", "Window List 1");
  ASSERT_NE(List, nullptr);
  Wyndo.Command(mcFindWindow);
  HWND Dialog = Wyndo.WaitForWindow("TWndSearchForm", "Find Window 1");
  ASSERT_NE(Dialog, nullptr);
  HWND Hide = test::FindChildWindow(Dialog, "Button", "Hide Wyndo");
  ASSERT_NE(Hide, nullptr);
  auto Shown = [&] { return ::IsWindowVisible(Wyndo.Main()) && ::IsWindowVisible(List); };
  auto Hidden = [&] { return !::IsWindowVisible(Wyndo.Main()) && !::IsWindowVisible(List); };

  // Checked, only the dialog stays; unchecked, everything is back.
  ASSERT_TRUE(ClickWindow(Hide));
  EXPECT_TRUE(WaitFor(Hidden));
  EXPECT_TRUE(::IsWindowVisible(Dialog));
  ASSERT_TRUE(ClickWindow(Hide));
  EXPECT_TRUE(WaitFor(Shown));

  // Closing the dialog while the program is hidden brings it back too.
  ASSERT_TRUE(ClickWindow(Hide));
  ASSERT_TRUE(WaitFor(Hidden));
  ::PostMessageA(Dialog, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Wyndo.WaitForNoWindow("TWndSearchForm"));
  EXPECT_TRUE(WaitFor(Shown));
  EXPECT_EQ(Wyndo.Close(), 0u);
}

} // namespace
} // namespace wyndo::e2e
