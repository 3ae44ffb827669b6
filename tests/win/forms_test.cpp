// The modal loop, dialog keys, the main form and the default error report, with real focus,
// keyboard messages and message boxes.

#include "core/errors.h"
#include "tests/win/test_support.h"
#include "ui/layout.h"
#include "ui/stdctrls.h"

#include <gtest/gtest.h>

namespace wyndo::test {
namespace {

class TDialog : public TForm {
public:
  TDialog();
  TEdit* First = nullptr;
  TEdit* Second = nullptr;
  TButton* OK = nullptr;
  TButton* Cancel = nullptr;
  static const TLayoutItem<TDialog> Layout[];
};

const TLayoutItem<TDialog> TDialog::Layout[] = {
    {.Kind = Kind<TEdit>,
     .Name = "First",
     .Bounds = {10, 10, 100, 21},
     .TabOrder = 0,
     .Connect = Connect<&TDialog::First>},
    {.Kind = Kind<TEdit>,
     .Name = "Second",
     .Bounds = {10, 40, 100, 21},
     .TabOrder = 1,
     .Connect = Connect<&TDialog::Second>},
    {.Kind = Kind<TButton>,
     .Name = "OK",
     .Bounds = {90, 85, 75, 25},
     .Text = "OK",
     .Options = loDefault,
     .TabOrder = 2,
     .ModalResult = mrOk,
     .Connect = Connect<&TDialog::OK>},
    {.Kind = Kind<TButton>,
     .Name = "Cancel",
     .Bounds = {175, 85, 75, 25},
     .Text = "Cancel",
     .Options = loCancel,
     .TabOrder = 3,
     .ModalResult = mrCancel,
     .Connect = Connect<&TDialog::Cancel>},
};

TDialog::TDialog() {
  SetBorderStyle(TBorderStyle::bsDialog);
  Position = TPosition::poScreenCenter;
  SetClientSize(260, 120);
  BuildLayout(*this, Layout);
}

// Runs the steps one after the other, 50 ms apart, once the dialog is modal and on screen.
std::vector<std::function<void()>> PendingSteps;

void CALLBACK RunNextStep(HWND Window, UINT, UINT_PTR Id, DWORD) {
  if (PendingSteps.empty()) {
    ::KillTimer(Window, Id);
    return;
  }
  auto Step = PendingSteps.front();
  PendingSteps.erase(PendingSteps.begin());
  Step();
}

TModalResult RunModal(TDialog& Dialog, std::vector<std::function<void()>> Steps) {
  PendingSteps = std::move(Steps);
  Dialog.OnShow = [&Dialog](TObject&) { ::SetTimer(Dialog.Handle(), 1, 50, &RunNextStep); };
  return Dialog.ShowModal();
}

TEST(ModalTest, ReturnsTheButtonsResultAndDisablesOtherWindowsMeanwhile) {
  auto Other = MakeForm<TForm>();
  Other->SetBounds(0, 0, 200, 100);
  Other->Show();
  auto Dialog = MakeForm<TDialog>();
  bool OtherWasDisabled = false;

  const TModalResult Result = RunModal(*Dialog, {[&] {
    OtherWasDisabled = !::IsWindowEnabled(Other->Handle());
    ::PostMessageA(Dialog->OK->Handle(), BM_CLICK, 0, 0);
  }});

  EXPECT_EQ(Result, mrOk);
  EXPECT_TRUE(OtherWasDisabled);
  EXPECT_TRUE(::IsWindowEnabled(Other->Handle()));
  EXPECT_FALSE(::IsWindowVisible(Dialog->Handle()));
  EXPECT_FALSE(Dialog->Modal());
}

TEST(ModalTest, EnterClicksTheDefaultButtonAndEscapeTheCancelButton) {
  auto Dialog = MakeForm<TDialog>();
  EXPECT_EQ(RunModal(*Dialog, {[&] {
              ::PostMessageA(Dialog->First->Handle(), WM_KEYDOWN, VK_RETURN, 0x001C0001);
            }}),
            mrOk);
  EXPECT_EQ(RunModal(*Dialog, {[&] {
              ::PostMessageA(Dialog->Second->Handle(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            }}),
            mrCancel);
}

TEST(ModalTest, TheFirstControlHasTheFocusAndTabMovesItInTabOrder) {
  auto Dialog = MakeForm<TDialog>();
  HWND AtStart = nullptr, AfterTab = nullptr, AfterShiftTab = nullptr;
  const TModalResult Result =
      RunModal(*Dialog, {[&] {
                           AtStart = ::GetFocus();
                           ::PostMessageA(AtStart, WM_KEYDOWN, VK_TAB, 0x000F0001);
                         },
                         [&] {
                           AfterTab = ::GetFocus();
                           // Shift+Tab goes back; the key state is what the dialog reads.
                           BYTE Keys[256];
                           ::GetKeyboardState(Keys);
                           Keys[VK_SHIFT] = 0x80;
                           ::SetKeyboardState(Keys);
                           ::PostMessageA(AfterTab, WM_KEYDOWN, VK_TAB, 0x000F0001);
                         },
                         [&] {
                           AfterShiftTab = ::GetFocus();
                           BYTE Keys[256];
                           ::GetKeyboardState(Keys);
                           Keys[VK_SHIFT] = 0;
                           ::SetKeyboardState(Keys);
                           Dialog->SetModalResult(mrOk);
                         }});
  EXPECT_EQ(Result, mrOk);
  EXPECT_EQ(AtStart, Dialog->First->Handle());
  EXPECT_EQ(AfterTab, Dialog->Second->Handle());
  EXPECT_EQ(AfterShiftTab, Dialog->First->Handle());
}

TEST(ModalTest, ClosingAModalFormCancelsItUnlessItRefuses) {
  auto Dialog = MakeForm<TDialog>();
  int Asked = 0;
  Dialog->OnCloseQuery = [&](TObject&, bool& CanClose) { CanClose = ++Asked > 1; };
  const TModalResult Result =
      RunModal(*Dialog, {[&] {
                           ::PostMessageA(Dialog->Handle(), WM_CLOSE, 0, 0); // refused
                         },
                         [&] {
                           ::PostMessageA(Dialog->Handle(), WM_CLOSE, 0, 0); // allowed
                         }});
  EXPECT_EQ(Result, mrCancel);
  EXPECT_EQ(Asked, 2);
}

TEST(ApplicationTest, ClosingTheMainFormEndsTheMessageLoop) {
  auto Main = MakeForm<TForm>();
  bool Destroyed = false;
  Main->OnDestroy = [&](TObject&) { Destroyed = true; };
  Main->OnShow = [&](TObject& Sender) {
    ::PostMessageA(static_cast<TForm&>(Sender).Handle(), WM_CLOSE, 0, 0);
  };
  Application.SetMainForm(std::move(Main));
  Application.Run();
  EXPECT_TRUE(Application.Terminated());
  EXPECT_TRUE(Destroyed) << "the application frees its main form after the loop";
}

TEST(ApplicationTest, MinimisingTheApplicationHidesItsFormsAndRestoringBringsThemBack) {
  auto Form = MakeForm<TForm>();
  Form->SetBounds(50, 50, 200, 100);
  Form->Show();
  int Minimized = 0, Restored = 0;
  Application.OnMinimize = [&](TObject&) { ++Minimized; };
  Application.OnRestore = [&](TObject&) { ++Restored; };

  // The form's own minimise command minimises the whole application when it is the main form;
  // any form's owner is the application window, so the form goes with it.
  Application.Minimize();
  EXPECT_EQ(Minimized, 1);
  EXPECT_TRUE(::IsIconic(Application.Handle()));
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(Form->Handle()); }));
  EXPECT_TRUE(Form->Visible()) << "hidden with its owner, not by the program";

  Application.Restore();
  EXPECT_EQ(Restored, 1);
  EXPECT_FALSE(::IsIconic(Application.Handle()));
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(Form->Handle()) != FALSE; }));
  Application.OnMinimize = nullptr;
  Application.OnRestore = nullptr;
}

// A control whose window procedure fails on request.
class TFailing : public TCustomControl {
public:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_USER + 7)
      throw Exception("Something went wrong here");
    TCustomControl::WndProc(Message);
  }

protected:
  void Paint(TCanvas&) override {}
};

TEST(ApplicationTest, TheDefaultErrorReportIsAMessageBoxWithTheFailuresText) {
  auto Form = MakeForm<TForm>();
  auto* Failing = Form->Make<TFailing>();
  Failing->SetParent(Form.get());
  Application.OnException = nullptr;
  TMessageBoxWatcher Watcher(Application.Title());
  ::SendMessageA(Failing->Handle(), WM_USER + 7, 0, 0);
  const auto Seen = Watcher.Result();
  ASSERT_TRUE(Seen.has_value());
  EXPECT_EQ(Seen->Text, "Something went wrong here");
}

} // namespace
} // namespace wyndo::test
