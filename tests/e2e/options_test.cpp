// The Properties dialog used as a user does: changed options take effect in the running program
// at once (number format, stay on top, finder panel, docking, tray, columns), are written when
// the program ends and are in force at its next start.

#include "tests/e2e/e2e_fixture.h"
#include "tests/win/test_support.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

namespace wyndo::e2e {
namespace {

using enum TMainCommand;
using test::Topmost;
using test::WaitFor;

class EndToEndOptions : public EndToEndTest {};

// The dialog's drop-down lists in their layout order: minimise target, number format, style,
// and the Lists page's list type.
enum TCombo { coMinimization, coIntFormat, coStyle, coListTypes };

// Chooses the entry Steps below the selected one in a drop-down list (above for a negative
// number), as a user does: open it with a click, go down or up with the arrow keys, take the
// entry with Enter.
bool ChooseBelow(HWND Combo, int Steps) {
  const LRESULT Before = ::SendMessageA(Combo, CB_GETCURSEL, 0, 0);
  std::string Keys;
  for (int Step = 0; Step < std::abs(Steps); ++Step)
    Keys += Steps > 0 ? "Down " : "Up ";
  return ClickWindow(Combo) &&
         WaitFor([&] { return ::SendMessageA(Combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }) &&
         PressKeys(Keys + "Return") &&
         WaitFor([&] { return ::SendMessageA(Combo, CB_GETCURSEL, 0, 0) == Before + Steps; });
}

bool Checked(HWND Box) {
  return ::SendMessageA(Box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Clicks a check box and waits until it shows the state wanted.
bool ClickCheck(HWND Box, bool Wanted) {
  return ClickWindow(Box) && WaitFor([&] { return Checked(Box) == Wanted; });
}

// Whether the caption band of an active window shows Wyndo's own black-to-yellow gradient: a
// yellowish point at two thirds of its width, left of the caption buttons.
bool GradientCaption(HWND Window) {
  const RECT Frame = RectOf(Window);
  const int X = Frame.left + (Frame.right - Frame.left) * 2 / 3;
  const TDisplayShot Point({X, Frame.top + 12, X + 1, Frame.top + 13});
  if (Point.Pixels.empty())
    return false;
  const COLORREF Colour = Point.At(0, 0);
  return GetRValue(Colour) > 100 && GetGValue(Colour) > 100 && GetBValue(Colour) < 60;
}

HWND OpenProperties(const TWyndo& Wyndo) {
  Wyndo.Command(mcProperties);
  return Wyndo.WaitForWindow("TPropertyForm", "Properties");
}

// The shell's notification area lies at the right end of its task bar, on the lower screen
// edge; Wine shows the bar once it has something to show. The icon is what stands out from the
// bar's own colour in the middle rows of its right half: its middle on the screen, or a point
// off the screen while there is none.
POINT TrayIcon() {
  const int Width = ::GetSystemMetrics(SM_CXSCREEN);
  const int Height = ::GetSystemMetrics(SM_CYSCREEN);
  const TDisplayShot Strip({Width / 2, Height - 16, Width, Height - 6});
  if (Strip.Pixels.empty())
    return {-1, -1};
  const COLORREF Bar = Strip.At(0, 0);
  int Left = Strip.Width;
  int Right = -1;
  for (int Y = 0; Y < Strip.Height; ++Y)
    for (int X = 0; X < Strip.Width; ++X)
      if (Strip.At(X, Y) != Bar) {
        Left = std::min(Left, X);
        Right = std::max(Right, X);
      }
  if (Right < 0 || Right - Left > 40)
    return {-1, -1};
  return {Strip.Left + (Left + Right) / 2, Height - 11};
}

// The entries of another process's list box (the W message is the one Wine converts).
std::vector<std::string> ListBoxTexts(HWND ListBox) {
  std::vector<std::string> Texts;
  const int Count = static_cast<int>(::SendMessageW(ListBox, LB_GETCOUNT, 0, 0));
  for (int Index = 0; Index < Count; ++Index) {
    wchar_t Text[256] = {};
    ::SendMessageW(ListBox, LB_GETTEXT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(Text));
    Texts.emplace_back(Text, Text + ::lstrlenW(Text));
  }
  return Texts;
}

// Goes to a list box entry by its text with the keyboard and flips its check box with Space.
bool ToggleEntry(HWND ListBox, const std::string& Text) {
  const std::vector<std::string> Texts = ListBoxTexts(ListBox);
  const auto Found = std::find(Texts.begin(), Texts.end(), Text);
  if (Found == Texts.end())
    return false;
  std::string Keys = "Home";
  for (auto Entry = Texts.begin(); Entry != Found; ++Entry)
    Keys += " Down";
  return PressKeys(Keys + " space");
}

std::vector<std::uint8_t> Dword(std::uint32_t Value) {
  return test::DwordValue("", Value).Data;
}

// The bytes of a stored option; none when it is missing.
std::vector<std::uint8_t> Stored(const char* Name) {
  const std::optional<TStoredValue> Value = test::StoredValue("", Name);
  return Value ? Value->Data : std::vector<std::uint8_t>{};
}

TEST_F(EndToEndOptions, GeneralOptionsTakeEffectAtOnceAndAreInForceAtTheNextStart) {
  Seed();
  auto Picked = Target("E2E Option Target", 300, 600);
  const std::string Dollar = HandleText(Picked->Handle(), 1);
  const std::string C = HandleText(Picked->Handle(), 2);
  RECT Docked{};
  {
    TWyndo Wyndo;
    EXPECT_TRUE(Topmost(Wyndo.Main()));
    // A handle typed into the main window's field and one in a find-window dialog.
    const std::vector<HWND> MainFields = EditsTopDown(Wyndo.Main());
    ASSERT_EQ(MainFields.size(), 3u);
    ASSERT_TRUE(ClickInto(MainFields[0]));
    ASSERT_TRUE(TypeText(Dollar));
    ASSERT_TRUE(PressKeys("Return"));
    EXPECT_TRUE(WaitFor([&] { return TextOf(MainFields[1]) == "E2E Option Target"; }));
    Wyndo.Command(mcFindWindow);
    HWND Find = Wyndo.WaitForWindow("TWndSearchForm", "Find Window 1");
    ASSERT_NE(Find, nullptr);
    const std::vector<HWND> FindFields = EditsTopDown(Find);
    ASSERT_TRUE(ClickInto(FindFields[0]));
    ASSERT_TRUE(TypeText(Dollar));
    ASSERT_TRUE(WaitFor([&] { return TextOf(FindFields[0]) == Dollar; }));

    // Number format "0x", not on top, no finder panel: Apply shows all three at once.
    HWND Dialog = OpenProperties(Wyndo);
    ASSERT_NE(Dialog, nullptr);
    const std::vector<HWND> Combos = ChildWindows(Dialog, "ComboBox");
    ASSERT_EQ(Combos.size(), 4u);
    HWND DockBox = test::FindChildWindow(Dialog, "Button", "Dock window on upper edge");
    HWND OnTopBox = test::FindChildWindow(Dialog, "Button", "Always stay on top");
    HWND FinderBox = test::FindChildWindow(Dialog, "Button", "Show Window-Finder Tool in MainForm");
    ASSERT_TRUE(DockBox && OnTopBox && FinderBox);
    EXPECT_FALSE(Checked(DockBox));
    EXPECT_TRUE(Checked(OnTopBox));
    EXPECT_TRUE(WaitFor([&] { return GradientCaption(Dialog); })) << "Wyndo's own caption";
    ASSERT_TRUE(ChooseBelow(Combos[coIntFormat], 1));
    ASSERT_TRUE(ChooseBelow(Combos[coStyle], 1));
    ASSERT_TRUE(ClickCheck(OnTopBox, false));
    ASSERT_TRUE(ClickCheck(FinderBox, false));
    ASSERT_TRUE(ClickWindow(test::FindChildWindow(Dialog, "Button", "Apply")));
    EXPECT_TRUE(WaitFor([&] { return !GradientCaption(Dialog); })) << "the platform's caption";
    EXPECT_TRUE(WaitFor([&] { return TextOf(MainFields[0]) == C; }))
        << "the main window's handle field shows " << TextOf(MainFields[0]);
    EXPECT_TRUE(WaitFor([&] { return TextOf(FindFields[0]) == C; }))
        << "the dialog's handle field shows " << TextOf(FindFields[0]);
    EXPECT_TRUE(WaitFor([&] { return !Topmost(Wyndo.Main()); }));
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(MainFields[0]); }));

    // Docking: "Always stay on top" is disabled as soon as the box is checked; applied, the
    // window sits on the top strip and a drag of its caption cannot move it.
    ASSERT_TRUE(ClickCheck(DockBox, true));
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowEnabled(OnTopBox); }));
    ASSERT_TRUE(ChooseBelow(Combos[coMinimization], 1));
    EXPECT_LT(TrayIcon().x, 0) << "a tray icon before it was asked for";
    ASSERT_TRUE(ClickWindow(test::FindChildWindow(Dialog, "Button", "OK")));
    ASSERT_TRUE(Wyndo.WaitForNoWindow("TPropertyForm"));
    // The tray icon appears in the shell's notification area.
    POINT Icon{-1, -1};
    ASSERT_TRUE(WaitFor([&] {
      Icon = TrayIcon();
      return Icon.x >= 0;
    })) << "no tray icon appeared";
    ASSERT_TRUE(WaitFor([&] { return RectOf(Wyndo.Main()).top == 0; }));
    Docked = RectOf(Wyndo.Main());
    EXPECT_EQ(Docked.left, 0);
    EXPECT_EQ(Docked.right, ::GetSystemMetrics(SM_CXSCREEN));
    const POINT Caption{Docked.left + 300, Docked.top + 8};
    ASSERT_TRUE(MoveTo(Caption));
    ASSERT_TRUE(Xdotool("mousedown 1"));
    ASSERT_TRUE(MoveTo({Caption.x + 40, Caption.y + 150}));
    ASSERT_TRUE(MoveTo({Caption.x + 80, Caption.y + 300}));
    ASSERT_TRUE(Xdotool("mouseup 1"));
    EXPECT_TRUE(WaitFor([&] { return SameRect(RectOf(Wyndo.Main()), Docked); }));

    // "Tray": minimising leaves no window of the program on the screen; a double click on the
    // tray icon brings the docked window back.
    ::PostMessageA(Wyndo.Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(Wyndo.Main()); }));
    EXPECT_TRUE(Wyndo.WaitForNoWindow("TApplication"));
    ASSERT_TRUE(ClickAt(Icon, 2));
    EXPECT_TRUE(WaitFor([&] {
      return ::IsWindowVisible(Wyndo.Main()) && !::IsIconic(Wyndo.Main()) &&
             SameRect(RectOf(Wyndo.Main()), Docked);
    }));
    // A right click on the icon pops up the tray menu; Escape closes it.
    ASSERT_TRUE(MoveTo(Icon) && Xdotool("click 3"));
    EXPECT_NE(Wyndo.WaitForWindow("#32768"), nullptr) << "no tray menu";
    ASSERT_TRUE(PressKeys("Escape"));
    EXPECT_TRUE(Wyndo.WaitForNoWindow("#32768"));
    EXPECT_EQ(Wyndo.Close(), 0u);
  }
  // Written at exit.
  EXPECT_EQ(Stored("IntFormat"), std::vector<std::uint8_t>{2});
  EXPECT_EQ(Stored("Minimization"), std::vector<std::uint8_t>{1});
  EXPECT_EQ(Stored("Style"), std::vector<std::uint8_t>{1});
  EXPECT_EQ(Stored("AppBarDocking"), Dword(1));
  EXPECT_EQ(Stored("StayOnTop"), Dword(0));
  EXPECT_EQ(Stored("MainFinder"), Dword(0));

  // In force at the next start: docked, no finder panel, handles read and written with "0x".
  TWyndo Wyndo;
  EXPECT_TRUE(WaitFor([&] { return SameRect(RectOf(Wyndo.Main()), Docked); }));
  EXPECT_FALSE(Topmost(Wyndo.Main()));
  EXPECT_FALSE(::IsWindowVisible(EditsTopDown(Wyndo.Main()).at(0)));
  Wyndo.Command(mcFindWindow);
  HWND Find = Wyndo.WaitForWindow("TWndSearchForm", "Find Window 1");
  ASSERT_NE(Find, nullptr);
  const std::vector<HWND> FindFields = EditsTopDown(Find);
  ASSERT_TRUE(ClickInto(FindFields[1]));
  ASSERT_TRUE(TypeText("E2E Option Target"));
  EXPECT_TRUE(WaitFor([&] { return TextOf(FindFields[0]) == C; }));
  EXPECT_EQ(Wyndo.Close(), 0u);
}

TEST_F(EndToEndOptions, FromTrayToTaskbarWhileDockedTheTrayIconGoesAndNoTaskBarButtonComes) {
  Seed({.Minimization = 1, .AppBarDocking = true});
  TWyndo Wyndo;
  ASSERT_TRUE(WaitFor([&] { return TrayIcon().x >= 0; })) << "no tray icon at the start";
  HWND Dialog = OpenProperties(Wyndo);
  ASSERT_NE(Dialog, nullptr);
  const std::vector<HWND> Combos = ChildWindows(Dialog, "ComboBox");
  ASSERT_EQ(Combos.size(), 4u);
  ASSERT_TRUE(ChooseBelow(Combos[coMinimization], -1)); // "Taskbar"
  ASSERT_TRUE(ClickWindow(test::FindChildWindow(Dialog, "Button", "Apply")));
  EXPECT_TRUE(WaitFor([&] { return TrayIcon().x < 0; })) << "the tray icon stayed";
  // Docked, the program shows no task-bar button whatever the minimise target.
  DWORD_PTR Ignored = 0;
  ASSERT_TRUE(::SendMessageTimeoutA(Wyndo.Main(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &Ignored));
  EXPECT_TRUE(Wyndo.Windows("TApplication").empty());
  ASSERT_TRUE(ClickWindow(test::FindChildWindow(Dialog, "Button", "Cancel")));
  ASSERT_TRUE(Wyndo.WaitForNoWindow("TPropertyForm"));
  EXPECT_EQ(Wyndo.Close(), 0u);
}

TEST_F(EndToEndOptions, TheListsPageChoosesTheColumnsOfListsOpenedAfterwards) {
  Seed();
  TWyndo Wyndo;
  HWND Dialog = OpenProperties(Wyndo);
  ASSERT_NE(Dialog, nullptr);
  const std::vector<HWND> Tabs = ChildWindows(Dialog, WC_TABCONTROLA);
  ASSERT_EQ(Tabs.size(), 1u);
  ASSERT_TRUE(ClickAt(TabPoint(Tabs[0], 1)));
  const std::vector<HWND> Boxes = ChildWindows(Dialog, "ListBox");
  ASSERT_EQ(Boxes.size(), 1u);
  HWND Fields = Boxes[0];
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(Fields) != FALSE; }));
  EXPECT_EQ(ListBoxTexts(Fields).size(), 12u) << "the window list's fields";
  // "Handle" cannot be switched off.
  ASSERT_TRUE(ClickAt(ClientPoint(Fields, 40, 6)));
  ASSERT_TRUE(ToggleEntry(Fields, "Handle"));
  HWND Box = Wyndo.WaitForMessageBox("Error");
  ASSERT_NE(Box, nullptr);
  EXPECT_EQ(test::MessageBoxText(Box), "This item can't be deactivated!");
  ASSERT_TRUE(CloseMessageBox(Box));
  // "ControlID" on, "ClassName" off: the keys go to the field list, which has the focus again.
  ASSERT_TRUE(
      WaitFor([&] { return ::GetForegroundWindow() == Dialog && FocusOf(Fields) == Fields; }));
  ASSERT_TRUE(ToggleEntry(Fields, "ControlID"));
  ASSERT_TRUE(ToggleEntry(Fields, "ClassName"));
  ASSERT_TRUE(ClickWindow(test::FindChildWindow(Dialog, "Button", "OK")));
  ASSERT_TRUE(Wyndo.WaitForNoWindow("TPropertyForm"));

  HWND List = Wyndo.OpenList(mcWindows, "TWindowListForm", "Window List 1");
  ASSERT_NE(List, nullptr);
  EXPECT_EQ(HeaderCaptions(List), (std::vector<std::string>{"Handle", "WindowText", "ControlID"}));
  EXPECT_EQ(Wyndo.Close(), 0u);
}

} // namespace
} // namespace wyndo::e2e
