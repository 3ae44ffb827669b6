// The find-window dialog and the main window's finder fields: naming a window by its handle or
// by caption and class, its message boxes, "Properties", "Select Window" and "Hide Wyndo".

#include "core/format.h"
#include "finder/wndsearch.h"
#include "tests/win/finder_drag.h"
#include "tests/win/program_fixture.h"
#include "tests/win/test_support.h"
#include "ui/winutil.h"
#include "views/infoform.h"

#include <gtest/gtest.h>

namespace wyndo::test {
namespace {

constexpr char TargetClass[] = "WyndoSearchTarget";
constexpr char TargetCaption[] = "Search Target";

// A top-level window of a class of its own with one child, both hidden. The child answers hit
// tests (a plain static control lets the mouse through to its parent).
class TTarget {
public:
  TTarget() {
    WNDCLASSA Class{};
    Class.lpfnWndProc = &::DefWindowProcA;
    Class.hInstance = ::GetModuleHandleA(nullptr);
    Class.lpszClassName = TargetClass;
    ::RegisterClassA(&Class);
    Window = ::CreateWindowExA(0, TargetClass, TargetCaption, WS_OVERLAPPEDWINDOW, 50, 50, 200, 100,
                               nullptr, nullptr, Class.hInstance, nullptr);
    Child = ::CreateWindowExA(0, "STATIC", "Child Text", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 5, 5,
                              50, 20, Window, nullptr, Class.hInstance, nullptr);
  }
  ~TTarget() { ::DestroyWindow(Window); }
  HWND Window;
  HWND Child;
};

class WndSearchTest : public ProgramTest {
protected:
  void SetUp() override {
    ProgramTest::SetUp();
    OpenMain();
    Search =
        dynamic_cast<TWndSearchForm*>(Services.OpenChildWindow(TChildKind::ckWndSearch, nullptr));
    ASSERT_NE(Search, nullptr);
  }
  static std::string Hex(HWND Window) { return FormatValue(FromWindow(Window), "", ifCurrent); }
  // Enter in an edit, as the keyboard gives it.
  static void PressEnter(TEdit& Edit) { ::SendMessageA(Edit.Handle(), WM_CHAR, '\r', 0); }
  // Runs Action while a message box titled Title is expected, and returns what it showed.
  static TMessageBoxSeen Box(const std::string& Title, const std::function<void()>& Action) {
    TMessageBoxWatcher Watcher(Title);
    Action();
    const std::optional<TMessageBoxSeen> Seen = Watcher.Result();
    EXPECT_TRUE(Seen.has_value()) << "no \"" << Title << "\" box";
    return Seen.value_or(TMessageBoxSeen{});
  }

  TWndSearchForm* Search = nullptr;
  TTarget Target;
};

TEST_F(WndSearchTest, ItIsTheNumberedDialogWithItsLayout) {
  EXPECT_EQ(Search->Caption(), "Find Window 1");
  EXPECT_EQ(Search->ClientSize(), (TSize2{246, 235}));
  EXPECT_EQ(Search->Select->Caption(), "Select Window");
  EXPECT_EQ(Search->Properties->Caption(), "Properties");
  EXPECT_EQ(Search->HideWyndo->Caption(), "Hide Wyndo");
  EXPECT_GE(Search->Label5->Height(), 45) << "the whole instruction shows";
  EXPECT_LE(Search->Label5->Top() + Search->Label5->Height(), Search->FindWndPanel->Top() + 3);
}

TEST_F(WndSearchTest, EveryLetterOfTheCaptionSearchesAndOnlyTheExactCaptionFinds) {
  const std::string Caption = TargetCaption;
  for (std::size_t Length = 1; Length < Caption.size(); ++Length) {
    Search->WndCaption->SetText(Caption.substr(0, Length));
    EXPECT_EQ(Search->WndHandle->Text(), "<no window found>") << Caption.substr(0, Length);
  }
  Search->WndCaption->SetText(Caption);
  EXPECT_EQ(Search->WndHandle->Text(), Hex(Target.Window));
  // Case does not matter; the class narrows the search down.
  Search->WndCaption->SetText("SEARCH TARGET");
  EXPECT_EQ(Search->WndHandle->Text(), Hex(Target.Window));
  Search->WndClass->SetText("Edit");
  EXPECT_EQ(Search->WndHandle->Text(), "<no window found>");
  Search->WndClass->SetText(TargetClass);
  EXPECT_EQ(Search->WndHandle->Text(), Hex(Target.Window));
  // The class alone finds it; with both fields empty the system names some top-level window.
  Search->WndCaption->SetText("");
  EXPECT_EQ(Search->WndHandle->Text(), Hex(Target.Window));
  Search->WndClass->SetText("");
  EXPECT_EQ(Search->WndHandle->Text(), Hex(::FindWindowA(nullptr, nullptr)));
  // Child windows are not searched.
  Search->WndCaption->SetText("Child Text");
  EXPECT_EQ(Search->WndHandle->Text(), "<no window found>");
}

TEST_F(WndSearchTest, EnterInEitherFieldPicksTheHandleFieldsWindowWithoutASearch) {
  Search->WndHandle->SetText(Hex(Target.Child));
  PressEnter(*Search->WndHandle);
  EXPECT_EQ(Search->WndCaption->Text(), "Child Text");
  EXPECT_EQ(Search->WndCaption->Hint(), "Child Text");
  EXPECT_EQ(Search->WndClass->Text(), "Static");
  EXPECT_EQ(Search->WndHandle->Text(), Hex(Target.Child)) << "filling the fields searched";

  // Enter in the class field reads the handle field, not the class.
  Search->WndHandle->SetText(Hex(Target.Window));
  PressEnter(*Search->WndClass);
  EXPECT_EQ(Search->WndCaption->Text(), TargetCaption);
  EXPECT_EQ(Search->WndClass->Text(), TargetClass);

  // A pick with the finder tool fills the fields in the same way; the desktop says what it is.
  Search->FoundWnd(::GetDesktopWindow());
  EXPECT_EQ(Search->WndHandle->Text(), Hex(::GetDesktopWindow()));
  EXPECT_EQ(Search->WndClass->Text(), "#32769 (Desktop)");

  // Other keys do nothing.
  Search->WndHandle->SetText(Hex(Target.Window));
  ::SendMessageA(Search->WndHandle->Handle(), WM_CHAR, 'x', 0);
  EXPECT_EQ(Search->WndClass->Text(), "#32769 (Desktop)");
}

TEST_F(WndSearchTest, DraggingTheFinderFillsTheFieldsAndThePickSearchesNothing) {
  // The target in view, on top, clear of the dialog and the main window.
  ::SetWindowPos(Target.Window, HWND_TOPMOST, 60, 620, 300, 200, SWP_SHOWWINDOW);
  ::SetWindowPos(Search->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ASSERT_TRUE(WaitFor([&] { return ::WindowFromPoint({90, 700}) == Target.Window; }));
  TFinderDrag Drag(*Search->FindWndPanel);
  ASSERT_TRUE(Drag.Press(Search->FindWndPanel->ClientToScreen({15, 15})));
  POINT InWindow{90, 700};
  ASSERT_TRUE(Drag.DragTo(InWindow));
  EXPECT_EQ(Search->WndHandle->Text(), Hex(Target.Window));
  EXPECT_EQ(Search->WndCaption->Text(), TargetCaption);
  EXPECT_EQ(Search->WndClass->Text(), TargetClass);

  // The child's caption names no top-level window: a search would replace its handle.
  POINT InChild{10, 10};
  ::ClientToScreen(Target.Child, &InChild);
  ASSERT_TRUE(Drag.DragTo(InChild));
  ASSERT_TRUE(Drag.Release());
  EXPECT_EQ(Search->WndHandle->Text(), Hex(Target.Child));
  EXPECT_EQ(Search->WndCaption->Text(), "Child Text");
  EXPECT_EQ(Search->WndClass->Text(), "Static");
}

TEST_F(WndSearchTest, MistakesAreToldInTheirMessageBoxes) {
  Search->WndHandle->SetText("zz");
  TMessageBoxSeen Seen = Box("Invalid Handle", [&] { PressEnter(*Search->WndHandle); });
  EXPECT_EQ(Seen.Text, "\"zz\" is not a valid Handle-Value");

  Search->WndCaption->SetText("No Such Caption Anywhere");
  ASSERT_EQ(Search->WndHandle->Text(), "<no window found>");
  Seen = Box("No window", [&] { PressEnter(*Search->WndClass); });
  EXPECT_EQ(Seen.Text, "No such window found");
  Seen = Box("No window", [&] { Search->Properties->Click(); });
  EXPECT_EQ(Seen.Text, "No such window found");

  // A number that names no window: the fields stay as they were.
  Search->WndHandle->SetText("$00000004");
  Seen = Box("Invalid Handle", [&] { PressEnter(*Search->WndHandle); });
  EXPECT_EQ(Seen.Text, "$00000004 is not a Window");
  EXPECT_EQ(Seen.Icon, static_cast<UINT>(MB_ICONERROR));
  EXPECT_EQ(Search->WndCaption->Text(), "No Such Caption Anywhere");

  // "Select Window" and "Properties" on a number that is no window say nothing (a box would
  // hold these calls until closed).
  Search->SelectClick(*Search->Select);
  Search->WndHandle->SetText("zz");
  Search->SelectClick(*Search->Select);
  Search->WndHandle->SetText("$00000004");
  Search->PropertiesClick(*Search->Properties);
  EXPECT_EQ(MainWindow()->Taskbar->Items().Count(), 1);
}

TEST_F(WndSearchTest, PropertiesBringsTheOpenInformationWindowForward) {
  Search->WndHandle->SetText(Hex(Target.Window));
  Search->Properties->Click();
  std::vector<TWyndoForm*> Children = Services.ChildWindows();
  ASSERT_EQ(Children.size(), 2u);
  auto* Info = dynamic_cast<TWindowInfoForm*>(Children[1]);
  ASSERT_NE(Info, nullptr);
  EXPECT_EQ(Info->WindowInfo().Handle(), FromWindow(Target.Window));

  ::ShowWindow(Info->Handle(), SW_MINIMIZE);
  Search->Properties->Click();
  EXPECT_EQ(Services.ChildWindows().size(), 2u) << "no second information window";
  EXPECT_FALSE(::IsIconic(Info->Handle()));
  EXPECT_TRUE(::IsWindowVisible(Info->Handle()));

  Search->WndHandle->SetText(Hex(Target.Child));
  Search->Properties->Click();
  EXPECT_EQ(Services.ChildWindows().size(), 3u) << "another window, another information window";
}

TEST_F(WndSearchTest, ANewNumberFormatRewritesTheHandleAndLeavesOtherTextsAlone) {
  Search->WndHandle->SetText(Hex(Target.Window));
  Settings.ParseFormat = ifPascalHex;
  Settings.IntFormat = ifDecimal;
  Search->SettingsChanged();
  EXPECT_EQ(Search->WndHandle->Text(), std::to_string(FromWindow(Target.Window)));
  Search->WndHandle->SetText("<no window found>");
  Search->SettingsChanged();
  EXPECT_EQ(Search->WndHandle->Text(), "<no window found>");
  Settings.ParseFormat = ifCurrent;
}

class HideWyndoTest : public WndSearchTest {
protected:
  TWndSearchForm& OpenAnother() {
    return *dynamic_cast<TWndSearchForm*>(
        Services.OpenChildWindow(TChildKind::ckWndSearch, nullptr));
  }
};

TEST_F(HideWyndoTest, HidesTheOthersAndGivesBackWhatWasVisible) {
  TWndSearchForm& Shown = OpenAnother();
  TWndSearchForm& AlreadyHidden = OpenAnother();
  AlreadyHidden.Hide();
  TWyndoMainForm& Main = *MainWindow();

  Search->HideWyndo->SetChecked(true);
  EXPECT_FALSE(::IsWindowVisible(Shown.Handle()));
  EXPECT_FALSE(::IsWindowVisible(AlreadyHidden.Handle()));
  EXPECT_FALSE(::IsWindowVisible(Main.Handle()));
  EXPECT_TRUE(::IsWindowVisible(Search->Handle()));

  Search->HideWyndo->SetChecked(false);
  EXPECT_TRUE(::IsWindowVisible(Main.Handle()));
  EXPECT_TRUE(::IsWindowVisible(Shown.Handle()));
  EXPECT_FALSE(::IsWindowVisible(AlreadyHidden.Handle())) << "hidden before, hidden after";
  EXPECT_TRUE(::IsWindowVisible(Search->Handle()));
}

TEST_F(HideWyndoTest, DockedTheMainWindowStays) {
  Application.SetMainForm(nullptr);
  Settings.AppBarDocking = true;
  OpenMain();
  Search =
      dynamic_cast<TWndSearchForm*>(Services.OpenChildWindow(TChildKind::ckWndSearch, nullptr));
  TWndSearchForm& Other = OpenAnother();
  Search->HideWyndo->SetChecked(true);
  EXPECT_TRUE(::IsWindowVisible(MainWindow()->Handle()));
  EXPECT_FALSE(::IsWindowVisible(Other.Handle()));
  Search->HideWyndo->SetChecked(false);
  EXPECT_TRUE(::IsWindowVisible(Other.Handle()));
}

TEST_F(HideWyndoTest, ClosingTheDialogBringsEverythingBack) {
  TWndSearchForm& Other = OpenAnother();
  HWND Main = MainWindow()->Handle();
  Search->HideWyndo->SetChecked(true);
  ASSERT_FALSE(::IsWindowVisible(Main));
  ::SendMessageA(Search->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(::IsWindowVisible(Main));
  EXPECT_TRUE(::IsWindowVisible(Other.Handle()));
  EXPECT_EQ(Services.ChildWindows().size(), 1u);
}

TEST_F(HideWyndoTest, WindowsClosedOrOpenedMeanwhileAreNotMistakenForTheHiddenOnes) {
  TWndSearchForm& WillClose = OpenAnother();
  TWndSearchForm& Stays = OpenAnother();
  Search->HideWyndo->SetChecked(true);
  // From the tray menu, while the program is hidden: one window closes, two new ones open.
  ::SendMessageA(WillClose.Handle(), WM_CLOSE, 0, 0);
  TWndSearchForm& New = OpenAnother();
  TWndSearchForm& NewHidden = OpenAnother();
  NewHidden.Hide();
  Search->HideWyndo->SetChecked(false);
  EXPECT_TRUE(::IsWindowVisible(Stays.Handle()));
  EXPECT_TRUE(::IsWindowVisible(New.Handle()));
  EXPECT_FALSE(::IsWindowVisible(NewHidden.Handle())) << "not one of the recorded windows";
}

TEST_F(WndSearchTest, TheMainWindowsFinderFieldsBehaveTheSame) {
  TWyndoMainForm& Main = *MainWindow();
  Main.WndCaption->SetText(TargetCaption);
  EXPECT_EQ(Main.WndHandle->Text(), Hex(Target.Window));
  Main.WndHandle->SetText(Hex(Target.Child));
  PressEnter(*Main.WndHandle);
  EXPECT_EQ(Main.WndCaption->Text(), "Child Text");
  EXPECT_EQ(Main.WndClass->Text(), "Static");
  EXPECT_EQ(Main.WndHandle->Text(), Hex(Target.Child));
  // The class field has no Enter of its own there.
  Main.WndHandle->SetText(Hex(Target.Window));
  PressEnter(*Main.WndClass);
  EXPECT_EQ(Main.WndClass->Text(), "Static");
  Settings.ParseFormat = ifPascalHex;
  Settings.IntFormat = ifCHex;
  Main.RewriteHandleField();
  EXPECT_EQ(Main.WndHandle->Text(), Hex(Target.Window));
  EXPECT_EQ(Main.WndHandle->Text().substr(0, 2), "0x");
  Settings.ParseFormat = ifCurrent;
}

} // namespace
} // namespace wyndo::test
