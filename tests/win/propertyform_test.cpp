// The Properties dialog with the program's main window, list windows and find dialogs: what it
// shows, how the column preview follows the fields, and what "Apply" changes at once.

#include "app/propertyform.h"
#include "core/format.h"
#include "finder/wndsearch.h"
#include "lists/listform.h"
#include "tests/win/program_fixture.h"
#include "tests/win/test_support.h"
#include "ui/winutil.h"

#include <shellapi.h>

#include <gtest/gtest.h>
#include <thread>

namespace wyndo::test {
namespace {

using TNames = std::vector<std::string>;

// Presses and releases the left button on an item's check box, as a user does.
void ClickBox(TCheckListBox& List, int Index) {
  const RECT Box = List.CheckBoxRect(Index);
  const LPARAM At = MAKELPARAM((Box.left + Box.right) / 2, (Box.top + Box.bottom) / 2);
  ::SendMessageA(List.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At);
  ::SendMessageA(List.Handle(), WM_LBUTTONUP, 0, At);
}

int IndexOf(const TCheckListBox& List, std::string_view Text) {
  for (int Index = 0; Index < List.Count(); ++Index)
    if (List.Item(Index) == Text)
      return Index;
  return -1;
}

// The header's captions and widths from left to right.
TNames HeaderCaptions(const TVirtualTree& Tree) {
  TNames Names;
  for (int Position = 0; Position < Tree.ColumnCount(); ++Position)
    Names.push_back(Tree.Column(Tree.ColumnAtPosition(Position)).Text);
  return Names;
}
std::vector<int> HeaderWidths(const TVirtualTree& Tree) {
  std::vector<int> Widths;
  for (int Position = 0; Position < Tree.ColumnCount(); ++Position)
    Widths.push_back(Tree.Column(Tree.ColumnAtPosition(Position)).Width);
  return Widths;
}

TColumnSettings& Record(TListKind Kind, std::string_view Name) {
  for (TColumnSettings& Each : Settings.ColumnSettings[Kind])
    if (Each.FieldName == Name)
      return Each;
  throw std::logic_error("no such field");
}

class PropertyFormTest : public ProgramTest {
protected:
  TPropertyForm& OpenDialog() {
    Dialog = MakeForm<TPropertyForm>();
    Dialog->Show();
    return *Dialog;
  }
  TPropertyForm& OpenListsPage() {
    OpenDialog().PageControl1->SetActivePageIndex(1);
    return *Dialog;
  }
  void SelectListType(int Index) {
    Dialog->ListTypes->SetItemIndex(Index);
    Dialog->ListTypesChange(*Dialog->ListTypes);
  }
  void Apply() { Dialog->Apply->Click(); }
  template <class T>
  T& Open(TChildKind Kind) {
    auto* Form = dynamic_cast<T*>(Services.OpenChildWindow(Kind, nullptr));
    EXPECT_NE(Form, nullptr);
    return *Form;
  }
  static TListForm& Built(TListForm& List) {
    EXPECT_TRUE(WaitFor([&] { return List.FinishedBuilds() == 1; }, 30000));
    return List;
  }

  TFormPtr<TPropertyForm> Dialog;
};

TEST_F(PropertyFormTest, OpensOnTheGeneralPageWithTheSettingsAndTheStoredColumns) {
  Record(lkWindow, "WindowText").Position = 0;
  Record(lkWindow, "WindowText").Width = 120;
  Record(lkWindow, "Handle").Position = 1;
  Record(lkWindow, "Handle").Width = 80;
  Settings.StayOnTop = true;
  TPropertyForm& Form = OpenDialog();

  EXPECT_EQ(Form.Caption(), "Properties");
  EXPECT_EQ(Form.ClientSize().Width, 348);
  EXPECT_EQ(Form.ClientSize().Height, 286);
  RECT Window{};
  ::GetWindowRect(Form.Handle(), &Window);
  EXPECT_NEAR((Window.left + Window.right) / 2, Screen.Width() / 2, 1);
  EXPECT_NEAR((Window.top + Window.bottom) / 2, Screen.Height() / 2, 1);
  ASSERT_EQ(Form.PageControl1->PageCount(), 2);
  EXPECT_EQ(Form.PageControl1->ActivePageIndex(), 0);
  EXPECT_EQ(Form.PageControl1->Page(0)->Caption(), "General");
  EXPECT_EQ(Form.PageControl1->Page(1)->Caption(), "Lists");

  EXPECT_EQ(Form.IntFormat->Items(),
            (TNames{"decimal", "Hex in Pascal-Format ($FFFF)", "Hex in C-Format (0xFFFF)"}));
  EXPECT_EQ(Form.IntFormat->ItemIndex(), ifPascalHex);
  EXPECT_EQ(Form.StyleList->Items(), (TNames{"Wyndo Style", "Windows Standard"}));
  EXPECT_EQ(Form.StyleList->ItemIndex(), 1);
  EXPECT_EQ(Form.Minimization->Items(), (TNames{"Taskbar", "Tray", "Tray and Taskbar"}));
  EXPECT_EQ(Form.Minimization->ItemIndex(), mzTaskbar);
  EXPECT_FALSE(Form.AppBar->Checked());
  EXPECT_TRUE(Form.StayOnTop->Checked());
  EXPECT_TRUE(Form.StayOnTop->Enabled());
  EXPECT_TRUE(Form.MainFinder->Checked());
  EXPECT_TRUE(Form.UseStandardCaption());

  EXPECT_EQ(Form.ListTypes->Items(),
            (TNames{"WindowsList", "ProcessesList", "ThreadsList", "ModulesList"}));
  EXPECT_EQ(Form.ListTypes->ItemIndex(), 0);
  ASSERT_EQ(Form.PropertyList->Count(), 12);
  EXPECT_EQ(Form.PropertyList->Columns(), 2);
  for (int Index = 0; Index < 12; ++Index) {
    const TColumnSettings& Stored = Settings.ColumnSettings[lkWindow][Index];
    EXPECT_EQ(Form.PropertyList->Item(Index), Stored.FieldName);
    EXPECT_EQ(Form.PropertyList->Checked(Index), Stored.Shown == 1) << Stored.FieldName;
  }
  EXPECT_EQ(HeaderCaptions(*Form.Tree), (TNames{"WindowText", "Handle", "ClassName"}));
  EXPECT_EQ(HeaderWidths(*Form.Tree), (std::vector<int>{120, 80, 150}));

  SelectListType(lkModule);
  EXPECT_EQ(Form.PropertyList->Count(), 2);
  EXPECT_EQ(HeaderCaptions(*Form.Tree), (TNames{"ModuleName", "ModulePath"}));
}

TEST_F(PropertyFormTest, AnUncheckedFieldLeavesThePreviewAndComesBackAsTheLastColumn) {
  TPropertyForm& Form = OpenListsPage();
  TCheckListBox& List = *Form.PropertyList;
  const int Text = IndexOf(List, "WindowText");
  ClickBox(List, Text);
  EXPECT_FALSE(List.Checked(Text));
  EXPECT_EQ(HeaderCaptions(*Form.Tree), (TNames{"Handle", "ClassName"}));
  const TColumnSettings& Working = Form.Columns(lkWindow)[static_cast<std::size_t>(Text)];
  EXPECT_EQ(Working.Shown, 0);
  EXPECT_EQ(Working.Position, NoPosition);
  EXPECT_EQ(Record(lkWindow, "WindowText").Shown, 1) << "nothing is stored before Apply";

  ClickBox(List, Text);
  EXPECT_EQ(HeaderCaptions(*Form.Tree), (TNames{"Handle", "ClassName", "WindowText"}));
  EXPECT_EQ(Working.Position, 2);
  // A field never shown before joins at the end too.
  ClickBox(List, IndexOf(List, "ThreadID"));
  EXPECT_EQ(HeaderCaptions(*Form.Tree), (TNames{"Handle", "ClassName", "WindowText", "ThreadID"}));

  // Resizing a preview column sets the field's width.
  HDITEMA Width{};
  Width.mask = HDI_WIDTH;
  Width.cxy = 97;
  ::SendMessageA(Form.Tree->HeaderHandle(), HDM_SETITEMA,
                 static_cast<WPARAM>(Form.Tree->ColumnAtPosition(0)),
                 reinterpret_cast<LPARAM>(&Width));
  EXPECT_EQ(Form.Columns(lkWindow)[static_cast<std::size_t>(IndexOf(List, "Handle"))].Width, 97);
}

TEST_F(PropertyFormTest, TheRequiredFieldOfEachListTypeCannotBeUnchecked) {
  TPropertyForm& Form = OpenListsPage();
  for (TListKind Kind : AllListKinds) {
    SCOPED_TRACE(KeyNames[Kind]);
    SelectListType(Kind);
    const TNames Before = HeaderCaptions(*Form.Tree);
    const int Required = IndexOf(*Form.PropertyList, KeyNames[Kind]);
    TMessageBoxWatcher Watcher("Error");
    ClickBox(*Form.PropertyList, Required);
    const std::optional<TMessageBoxSeen> Seen = Watcher.Result();
    ASSERT_TRUE(Seen.has_value());
    EXPECT_EQ(Seen->Text, "This item can't be deactivated!");
    EXPECT_EQ(Seen->Icon, static_cast<UINT>(MB_ICONHAND));
    EXPECT_TRUE(Form.PropertyList->Checked(Required));
    EXPECT_EQ(HeaderCaptions(*Form.Tree), Before);
  }
}

TEST_F(PropertyFormTest, ADraggedColumnOrderReachesListWindowsOpenedAfterApply) {
  OpenMain();
  TListForm& Before = Built(Open<TWindowListForm>(TChildKind::ckWindowList));
  TPropertyForm& Form = OpenListsPage();
  // The header is given a new order and reports the drag as it does for the user's.
  TVirtualTree& Tree = *Form.Tree;
  HWND Header = Tree.HeaderHandle();
  int Order[] = {2, 0, 1}; // ClassName, Handle, WindowText
  ::SendMessageA(Header, HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(Order));
  NMHEADERA Drag{};
  Drag.hdr = {Header, static_cast<UINT_PTR>(::GetDlgCtrlID(Header)), HDN_ENDDRAG};
  Drag.iItem = 2;
  ::SendMessageA(Tree.Handle(), WM_NOTIFY, Drag.hdr.idFrom, reinterpret_cast<LPARAM>(&Drag));
  const auto ClassName = static_cast<std::size_t>(IndexOf(*Form.PropertyList, "ClassName"));
  ASSERT_TRUE(WaitFor([&] { return Form.Columns(lkWindow)[ClassName].Position == 0; }));
  EXPECT_EQ(HeaderCaptions(Tree), (TNames{"ClassName", "Handle", "WindowText"}));
  EXPECT_EQ(Record(lkWindow, "ClassName").Position, 2) << "nothing is stored before Apply";

  Apply();
  EXPECT_EQ(Record(lkWindow, "ClassName").Position, 0);
  TListForm& After = Built(Open<TWindowListForm>(TChildKind::ckWindowList));
  EXPECT_EQ(HeaderCaptions(*After.Tree), (TNames{"ClassName", "Handle", "WindowText"}));
  EXPECT_EQ(HeaderCaptions(*Before.Tree), (TNames{"Handle", "WindowText", "ClassName"}))
      << "open list windows keep their columns";
}

TEST_F(PropertyFormTest, ANewNumberFormatRewritesEveryHandleFieldAtOnce) {
  TWyndoMainForm& Main = OpenMain();
  const std::uint32_t Value = FromWindow(Main.Handle());
  Main.WndHandle->SetText(FormatValue(Value));
  auto& First = Open<TWndSearchForm>(TChildKind::ckWndSearch);
  auto& Second = Open<TWndSearchForm>(TChildKind::ckWndSearch);
  First.WndHandle->SetText(FormatValue(Value));
  Second.WndHandle->SetText(FormatValue(0x1234));
  TPropertyForm& Form = OpenDialog();

  Form.IntFormat->SetItemIndex(ifCHex);
  Apply();
  EXPECT_EQ(Settings.IntFormat, ifCHex);
  EXPECT_EQ(Settings.ParseFormat, ifCurrent);
  EXPECT_EQ(Main.WndHandle->Text(), FormatValue(Value, "", ifCHex));
  EXPECT_EQ(First.WndHandle->Text(), FormatValue(Value, "", ifCHex));
  EXPECT_EQ(Second.WndHandle->Text(), "0x00001234");

  Form.IntFormat->SetItemIndex(ifDecimal);
  Form.OK->Click();
  EXPECT_EQ(Form.ModalResult(), mrOk);
  EXPECT_EQ(Second.WndHandle->Text(), "4660");
  EXPECT_EQ(Main.WndHandle->Text(), std::to_string(static_cast<std::int32_t>(Value)));
}

TEST_F(PropertyFormTest, DockingDisablesStayOnTopAtOnceAndDocksTheMainWindowWhenApplied) {
  Settings.StayOnTop = true;
  TWyndoMainForm& Main = OpenMain();
  HWND Window = Main.Handle();
  ASSERT_TRUE(Topmost(Window));
  TPropertyForm& Form = OpenDialog();

  ::SendMessageA(Form.AppBar->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(Form.AppBar->Checked());
  EXPECT_FALSE(Form.StayOnTop->Enabled());
  EXPECT_TRUE(Form.StayOnTop->Checked()) << "a disabled box keeps its value";
  EXPECT_FALSE(Settings.AppBarDocking);

  Apply();
  EXPECT_TRUE(Settings.AppBarDocking);
  EXPECT_TRUE(RegisteredAppBar(Window));
  EXPECT_FALSE(Main.CaptionButtons() & CaptionButton(cbMaximize));
  EXPECT_FALSE(Topmost(Window));
  const RECT Dock = Main.FDockRect;
  EXPECT_TRUE(WaitFor([&] {
    RECT Rect{};
    ::GetWindowRect(Window, &Rect);
    return ::EqualRect(&Rect, &Dock) != FALSE;
  }));

  // Undocked again: the maximise button is back, the window stays where it is, not on top.
  ::SendMessageA(Form.AppBar->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(Form.StayOnTop->Enabled());
  Apply();
  EXPECT_FALSE(RegisteredAppBar(Window));
  EXPECT_TRUE(Main.CaptionButtons() & CaptionButton(cbMaximize));
  EXPECT_FALSE(Topmost(Window));
  // Stay on top switched off and on again takes effect at once while undocked.
  ::SendMessageA(Form.StayOnTop->Handle(), BM_CLICK, 0, 0);
  Apply();
  EXPECT_FALSE(Settings.StayOnTop);
  ::SendMessageA(Form.StayOnTop->Handle(), BM_CLICK, 0, 0);
  Apply();
  EXPECT_TRUE(Topmost(Window));
}

TEST_F(PropertyFormTest, TheRemainingOptionsTakeEffectAtOnce) {
  TWyndoMainForm& Main = OpenMain();
  auto& Windows = Built(Open<TWindowListForm>(TChildKind::ckWindowList));
  ASSERT_TRUE(Windows.FSearchForm);
  TPropertyForm& Form = OpenDialog();

  Form.StyleList->SetItemIndex(0);
  ::SendMessageA(Form.MainFinder->Handle(), BM_CLICK, 0, 0);
  Form.Minimization->SetItemIndex(mzTray);
  Apply();
  for (TStyleForm* Styled :
       std::initializer_list<TStyleForm*>{&Form, &Main, &Windows, Windows.FSearchForm.get()})
    EXPECT_FALSE(Styled->UseStandardCaption()) << Styled->Caption();
  EXPECT_FALSE(Main.FinderPanel->Visible());
  EXPECT_EQ(Main.MainPanel->Width(), Main.ClientSize().Width);
  EXPECT_FALSE(::IsWindowVisible(Application.Handle())) << "no task-bar button with the tray";

  Form.Minimization->SetItemIndex(mzTaskbar);
  ::SendMessageA(Form.MainFinder->Handle(), BM_CLICK, 0, 0);
  Apply();
  EXPECT_TRUE(Main.FinderPanel->Showing());
  EXPECT_EQ(Main.MainPanel->Width(), Main.ClientSize().Width - Main.FinderPanel->Width() - 1);
  EXPECT_TRUE(::IsWindowVisible(Application.Handle()));
}

TEST_F(PropertyFormTest, ApplyWithoutChangesCopiesTheColumnSettingsAndChangesNothingVisible) {
  TWyndoMainForm& Main = OpenMain();
  Main.WndHandle->SetText("$00001234");
  RECT Before{};
  ::GetWindowRect(Main.Handle(), &Before);
  const TWYNDO_Settings Options = Settings;
  const TColumnSettings* Address = &Settings.ColumnSettings[lkThread][1];
  TPropertyForm& Form = OpenDialog();
  // A record changed behind the dialog's back is overwritten by its working copy.
  Settings.ColumnSettings[lkThread][1].Width = 999;

  Apply();
  EXPECT_EQ(Settings.ColumnSettings[lkThread][1].Width, DefaultColumnWidth);
  EXPECT_EQ(&Settings.ColumnSettings[lkThread][1], Address) << "records stay where they are";
  EXPECT_EQ(Settings.ColumnSettings, Options.ColumnSettings);
  EXPECT_EQ(Settings.IntFormat, Options.IntFormat);
  EXPECT_EQ(Settings.Style, Options.Style);
  EXPECT_EQ(Settings.AppBarDocking, Options.AppBarDocking);
  EXPECT_EQ(Settings.StayOnTop, Options.StayOnTop);
  EXPECT_EQ(Settings.Minimization, Options.Minimization);
  EXPECT_EQ(Settings.MainFinder, Options.MainFinder);
  RECT After{};
  ::GetWindowRect(Main.Handle(), &After);
  EXPECT_TRUE(::EqualRect(&Before, &After));
  EXPECT_EQ(Main.WndHandle->Text(), "$00001234");
  EXPECT_TRUE(Main.FinderPanel->Showing());
  EXPECT_FALSE(RegisteredAppBar(Main.Handle()));
  EXPECT_TRUE(Form.UseStandardCaption());
}

TEST_F(PropertyFormTest, WhileTheProgramStartsOKOnlyStoresTheValues) {
  TWyndoMainForm& Main = OpenMain();
  Main.WndHandle->SetText("$00001234");
  Settings.Initialising = true;
  TPropertyForm& Form = OpenDialog();
  Form.IntFormat->SetItemIndex(ifDecimal);
  Form.StyleList->SetItemIndex(0);
  ::SendMessageA(Form.AppBar->Handle(), BM_CLICK, 0, 0);
  ::SendMessageA(Form.MainFinder->Handle(), BM_CLICK, 0, 0);
  Form.PageControl1->SetActivePageIndex(1);
  ClickBox(*Form.PropertyList, IndexOf(*Form.PropertyList, "ClassName"));
  Form.OK->Click();

  EXPECT_EQ(Settings.IntFormat, ifDecimal);
  EXPECT_EQ(Settings.ParseFormat, ifCurrent);
  EXPECT_EQ(Settings.Style, 0);
  EXPECT_TRUE(Settings.AppBarDocking);
  EXPECT_FALSE(Settings.MainFinder);
  EXPECT_EQ(Record(lkWindow, "ClassName").Shown, 0);
  EXPECT_EQ(Main.WndHandle->Text(), "$00001234");
  EXPECT_TRUE(Main.UseStandardCaption());
  EXPECT_TRUE(Form.UseStandardCaption());
  EXPECT_FALSE(RegisteredAppBar(Main.Handle()));
  EXPECT_TRUE(Main.FinderPanel->Showing());
  // The main window goes as it came.
  Settings.AppBarDocking = false;
  Settings.Initialising = false;
}

TEST_F(PropertyFormTest, TheMainWindowsPropertiesCommandsShowTheDialogModally) {
  TWyndoMainForm& Main = OpenMain();
  HWND MainHandle = Main.Handle();
  for (const auto& Command : std::initializer_list<std::function<void()>>{
           [&] { Main.ButtonProperties->Click(); }, [&] { Main.PropertiesMenu->Click(); },
           [&] { Main.MenuProperties->Click(); }}) {
    // Another thread finds the dialog, sees the main window disabled and closes the dialog.
    std::atomic<bool> Seen{false}, MainDisabled{false};
    std::thread Closer([&] {
      const DWORD Start = ::GetTickCount();
      while (::GetTickCount() - Start < 10000) {
        if (HWND Found = ::FindWindowA("TPropertyForm", "Properties");
            Found && ::IsWindowVisible(Found)) {
          Seen = true;
          MainDisabled = !::IsWindowEnabled(MainHandle);
          ::PostMessageA(Found, WM_CLOSE, 0, 0);
          return;
        }
        ::Sleep(20);
      }
    });
    Command();
    Closer.join();
    EXPECT_TRUE(Seen);
    EXPECT_TRUE(MainDisabled);
    EXPECT_TRUE(::IsWindowEnabled(MainHandle));
    EXPECT_EQ(::FindWindowA("TPropertyForm", nullptr), nullptr) << "the dialog is freed";
  }
}

// ---- The check list box

class CheckListBoxTest : public ::testing::Test {
protected:
  void SetUp() override {
    Form = MakeForm<TForm>();
    Form->SetClientSize(320, 140);
    List = Form->Make<TCheckListBox>();
    List->SetParent(Form.get());
    List->SetBounds(8, 8, 307, 111);
    List->SetColumns(2);
    for (int Index = 0; Index < 12; ++Index)
      List->Add("Item " + std::to_string(Index), &Data[Index], Index % 2 == 0);
    List->OnClickCheck = [this](TObject&) { ++Clicks; };
    Form->Show();
  }
  TFormPtr<TForm> Form;
  TCheckListBox* List = nullptr;
  int Data[12] = {};
  int Clicks = 0;
};

TEST_F(CheckListBoxTest, ItemsRunDownTwoColumnsAndOnlyTheUserRaisesOnClickCheck) {
  EXPECT_EQ(List->Data(5), &Data[5]);
  const RECT First = List->CheckBoxRect(0);
  EXPECT_EQ(First.right - First.left, 13);
  // The items that do not fit the first column go on at the top of the second.
  int Next = 1;
  while (Next < List->Count() && List->CheckBoxRect(Next).left == First.left)
    ++Next;
  ASSERT_LT(Next, List->Count());
  EXPECT_GT(Next, 4);
  EXPECT_EQ(List->CheckBoxRect(Next).top, First.top);
  EXPECT_NEAR(List->CheckBoxRect(Next).left - First.left, 303 / 2, 2);

  List->SetChecked(1, true);
  EXPECT_TRUE(List->Checked(1));
  EXPECT_EQ(Clicks, 0);

  ClickBox(*List, 6);
  EXPECT_FALSE(List->Checked(6));
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(List->ItemIndex(), 6);
  // A click on the text selects without toggling.
  const RECT Box = List->CheckBoxRect(3);
  const LPARAM OnText = MAKELPARAM(Box.right + 30, (Box.top + Box.bottom) / 2);
  ::SendMessageA(List->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, OnText);
  ::SendMessageA(List->Handle(), WM_LBUTTONUP, 0, OnText);
  EXPECT_EQ(List->ItemIndex(), 3);
  EXPECT_FALSE(List->Checked(3));
  EXPECT_EQ(Clicks, 1);
  // Space toggles the selected item.
  ::SendMessageA(List->Handle(), WM_CHAR, ' ', 0);
  EXPECT_TRUE(List->Checked(3));
  EXPECT_EQ(Clicks, 2);
}

} // namespace
} // namespace wyndo::test
