#include "finder/wndsearch.h"

#include "controls/shell.h"
#include "core/settings.h"
#include "info/functions.h"
#include "ui/winutil.h"
#include "views/infoform.h"

#include <algorithm>

namespace wyndo {

namespace {
using F = TWndSearchForm;
} // namespace

// clang-format off
const TLayoutItem<TWndSearchForm> TWndSearchForm::Layout[] = {
  {.Kind = Kind<TLabel>, .Name = "Label5", .Bounds = {16, 8, 213, 45}, .Text = "Drag the Finder Tool over a window to select it, then release the mouse button. Or enter a window handle (in the specified format).", .Options = loWordWrap, .Connect = Connect<&F::Label5>},
  {.Kind = Kind<TLabel>, .Name = "Label1", .Bounds = {16, 66, 0, 0}, .Text = "Finder Tool:", .Connect = Connect<&F::Label1>},
  {.Kind = Kind<TFindWndPanel>, .Name = "FindWndPanel", .Bounds = {88, 58, 31, 30}, .Connect = Connect<&F::FindWndPanel>},
  {.Kind = Kind<TCheckBox>, .Name = "HideWyndo", .Bounds = {140, 66, 93, 17}, .Text = "Hide Wyndo", .Connect = Connect<&F::HideWyndo, On<&TCheckBox::OnClick, &F::HideWyndoClick>>},
  {.Kind = Kind<TLabel>, .Name = "Label2", .Bounds = {12, 112, 0, 0}, .Text = "Handle:", .Connect = Connect<&F::Label2>},
  {.Kind = Kind<TEdit>, .Name = "WndHandle", .Bounds = {76, 108, 157, 21}, .TabOrder = 0, .Connect = Connect<&F::WndHandle, On<&TEdit::OnKeyPress, &F::WndHandleKeyPress>>},
  {.Kind = Kind<TLabel>, .Name = "Label3", .Bounds = {12, 140, 0, 0}, .Text = "Caption:", .Connect = Connect<&F::Label3>},
  {.Kind = Kind<THintEdit>, .Name = "WndCaption", .Bounds = {76, 136, 157, 21}, .TabOrder = 1, .Connect = Connect<&F::WndCaption, On<&TEdit::OnChange, &F::WndCaptionChange>>},
  {.Kind = Kind<TLabel>, .Name = "Label4", .Bounds = {12, 168, 0, 0}, .Text = "Class", .Connect = Connect<&F::Label4>},
  {.Kind = Kind<TEdit>, .Name = "WndClass", .Bounds = {76, 164, 157, 21}, .TabOrder = 2, .Connect = Connect<&F::WndClass, On<&TEdit::OnChange, &F::WndCaptionChange>, On<&TEdit::OnKeyPress, &F::WndHandleKeyPress>>},
  {.Kind = Kind<TButton>, .Name = "Select", .Bounds = {12, 196, 105, 25}, .Text = "Select Window", .TabOrder = 4, .Connect = Connect<&F::Select, On<&TButton::OnClick, &F::SelectClick>>},
  {.Kind = Kind<TButton>, .Name = "Properties", .Bounds = {129, 196, 105, 25}, .Text = "Properties", .TabOrder = 5, .Connect = Connect<&F::Properties, On<&TButton::OnClick, &F::PropertiesClick>>},
};
// clang-format on

TWndSearchForm::TWndSearchForm() {
  SetCaption("Find Window");
  SetBorderStyle(TBorderStyle::bsSingle);
  SetBorderIcons(biSystemMenu | biMinimize);
  Position = TPosition::poScreenCenter;
  SetClientSize(246, 235);
  SetColor(clBtnFace);
  BuildLayout(*this, Layout);
  FindWndPanel->OnFoundWnd = [this](HWND Window) { FoundWnd(Window); };
  FFields.WndHandle = WndHandle;
  FFields.WndCaption = WndCaption;
  FFields.WndClass = WndClass;
  OnCreate = [this](TObject& Sender) { FormCreate(Sender); };
  OnClose = [this](TObject& Sender, TCloseAction& Action) { FormClose(Sender, Action); };
}

void TWndSearchForm::SettingsChanged() {
  FFields.RewriteHandle();
}

void TWndSearchForm::FoundWnd(HWND Window) {
  FFields.FoundWnd(Window);
}

void TWndSearchForm::WndHandleKeyPress(TObject&, char& Key) {
  FFields.KeyPress(Key);
}

void TWndSearchForm::WndCaptionChange(TObject&) {
  FFields.CaptionChange();
}

void TWndSearchForm::SelectClick(TObject&) {
  SelectHandleInLists(WndHandle->Text());
}

void TWndSearchForm::PropertiesClick(TObject&) {
  ShowHandleProperties(WndHandle->Text());
}

void TWndSearchForm::HideWyndoClick(TObject&) {
  TForm* Main = Application.MainForm();
  if (HideWyndo->Checked()) {
    const std::vector<TWyndoForm*> Children = Shell().ChildWindows();
    FHiddenStates.clear();
    FHiddenStates.reserve(Children.size());
    for (TWyndoForm* Child : Children)
      if (Child != this) {
        FHiddenStates.push_back(
            {Child, Child->HandleAllocated() ? Child->Handle() : nullptr, Child->Visible()});
        Child->Hide();
      }
    if (Main && !Settings.AppBarDocking)
      Main->Hide();
  } else {
    if (Main)
      Main->BringToFront();
    const std::vector<TWyndoForm*> Children = Shell().ChildWindows();
    for (const THiddenState& State : FHiddenStates) {
      const bool StillOpen =
          std::find(Children.begin(), Children.end(), State.Form) != Children.end();
      if (StillOpen && State.Form != this &&
          (State.Form->HandleAllocated() ? State.Form->Handle() : nullptr) == State.Window)
        State.Form->SetVisible(State.Visible);
    }
    FHiddenStates.clear();
  }
  BringToFront();
}

void TWndSearchForm::FormCreate(TObject&) {
  FFields.FReactToEdits = true;
}

void TWndSearchForm::FormClose(TObject&, TCloseAction&) {
  if (HideWyndo->Checked())
    HideWyndo->SetChecked(false);
}

} // namespace wyndo
