// Stored layout tables: controls at their exact pixels, fields and handlers connected, anchors.

#include "tests/win/test_support.h"
#include "ui/layout.h"
#include "ui/stdctrls.h"

#include <gtest/gtest.h>

namespace wyndo::test {
namespace {

class TSampleForm : public TForm {
public:
  TSampleForm();

  TLabel* Caption = nullptr;
  TEdit* Name = nullptr;
  TButton* OK = nullptr;
  TPanel* Box = nullptr;
  TCheckBox* Corner = nullptr;
  int Changes = 0;
  int Keys = 0;

private:
  void NameChange(TObject&) { ++Changes; }
  void NameKeyPress(TObject&, char& Key) {
    ++Keys;
    if (Key == 'x')
      Key = 0;
  }

  static const TLayoutItem<TSampleForm> Layout[];
};

const TLayoutItem<TSampleForm> TSampleForm::Layout[] = {
    {.Kind = Kind<TLabel>,
     .Name = "Caption",
     .Bounds = {12, 14, 0, 0},
     .Text = "Name:",
     .Connect = Connect<&TSampleForm::Caption>},
    {.Kind = Kind<TEdit>,
     .Name = "Name",
     .Bounds = {76, 10, 157, 21},
     .TabOrder = 0,
     .Connect = Connect<&TSampleForm::Name, On<&TEdit::OnChange, &TSampleForm::NameChange>,
                        On<&TEdit::OnKeyPress, &TSampleForm::NameKeyPress>>},
    {.Kind = Kind<TButton>,
     .Name = "OK",
     .Bounds = {200, 160, 75, 25},
     .Text = "OK",
     .Anchors = akRight | akBottom,
     .Options = loDefault,
     .ModalResult = mrOk,
     .Connect = Connect<&TSampleForm::OK>},
    {.Kind = Kind<TPanel>,
     .Name = "Box",
     .Bounds = {10, 40, 150, 100},
     .Anchors = akAll,
     .Connect = Connect<&TSampleForm::Box>},
    {.Kind = Kind<TCheckBox>,
     .Name = "Corner",
     .Parent = "Box",
     .Bounds = {90, 70, 50, 17},
     .Text = "x",
     .Anchors = akRight | akBottom,
     .Connect = Connect<&TSampleForm::Corner>},
};

TSampleForm::TSampleForm() {
  SetClientSize(300, 200);
  BuildLayout(*this, Layout);
}

RECT PlaceInParent(HWND Window) {
  RECT Rect;
  ::GetWindowRect(Window, &Rect);
  ::MapWindowPoints(nullptr, ::GetParent(Window), reinterpret_cast<POINT*>(&Rect), 2);
  return Rect;
}

TEST(LayoutTest, BuildsEveryControlAtItsPixelsAndConnectsFieldsAndHandlers) {
  auto Form = MakeForm<TSampleForm>();
  ASSERT_NE(Form->Name, nullptr);
  ASSERT_NE(Form->Corner, nullptr);
  EXPECT_EQ(Form->Name->Name, "Name");
  EXPECT_EQ(Form->Corner->Parent(), Form->Box);

  Form->HandleNeeded();
  const RECT Edit = PlaceInParent(Form->Name->Handle());
  EXPECT_EQ(Edit.left, 76);
  EXPECT_EQ(Edit.top, 10);
  EXPECT_EQ(Edit.right - Edit.left, 157);
  EXPECT_EQ(Edit.bottom - Edit.top, 21);
  RECT Client;
  ::GetClientRect(Form->Handle(), &Client);
  EXPECT_EQ(Client.right, 300);
  EXPECT_EQ(Client.bottom, 200);
  // A label without a size fits its text.
  EXPECT_GT(Form->Caption->Width(), 0);
  EXPECT_GT(Form->Caption->Height(), 0);
  EXPECT_TRUE(Form->OK->Default);
  EXPECT_EQ(Form->OK->ModalResult, mrOk);

  Form->Name->SetText("abc");
  EXPECT_EQ(Form->Changes, 1);
  ::SendMessageA(Form->Name->Handle(), EM_SETSEL, 3, 3);
  ::SendMessageA(Form->Name->Handle(), WM_CHAR, 'y', 0);
  ::SendMessageA(Form->Name->Handle(), WM_CHAR, 'x', 0); // consumed by the handler
  EXPECT_EQ(Form->Keys, 2);
  EXPECT_EQ(Form->Name->Text(), "abcy");
}

TEST(LayoutTest, AnchoredControlsFollowTheirParentsSize) {
  auto Form = MakeForm<TSampleForm>();
  Form->HandleNeeded();
  Form->SetClientSize(400, 260); // 100 wider, 60 higher

  const RECT Button = PlaceInParent(Form->OK->Handle());
  EXPECT_EQ(Button.left, 300);
  EXPECT_EQ(Button.top, 220);
  EXPECT_EQ(Button.right - Button.left, 75);
  const RECT Box = PlaceInParent(Form->Box->Handle());
  EXPECT_EQ(Box.right - Box.left, 250);
  EXPECT_EQ(Box.bottom - Box.top, 160);
  // Inside the panel, the check box keeps its distance to the panel's right and bottom edges.
  const RECT Corner = PlaceInParent(Form->Corner->Handle());
  EXPECT_EQ(Corner.left, 190);
  EXPECT_EQ(Corner.top, 130);
  // The edit is anchored top-left: it stays.
  EXPECT_EQ(PlaceInParent(Form->Name->Handle()).left, 76);
}

class TBrokenForm : public TForm {
public:
  explicit TBrokenForm(int Which);
  TEdit* Field = nullptr;
  static const TLayoutItem<TBrokenForm> WrongKind[];
  static const TLayoutItem<TBrokenForm> UnknownParent[];
};

const TLayoutItem<TBrokenForm> TBrokenForm::WrongKind[] = {
    {.Kind = Kind<TButton>, .Name = "Field", .Connect = Connect<&TBrokenForm::Field>},
};
const TLayoutItem<TBrokenForm> TBrokenForm::UnknownParent[] = {
    {.Kind = Kind<TEdit>, .Name = "Field", .Parent = "Nowhere"},
};

TBrokenForm::TBrokenForm(int Which) {
  if (Which == 0)
    BuildLayout(*this, WrongKind);
  else
    BuildLayout(*this, UnknownParent);
}

TEST(LayoutTest, ATableThatDoesNotFitItsFormIsRefused) {
  EXPECT_THROW(MakeForm<TBrokenForm>(0), std::logic_error);
  EXPECT_THROW(MakeForm<TBrokenForm>(1), std::logic_error);
}

} // namespace
} // namespace wyndo::test
