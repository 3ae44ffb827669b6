#include "lists/filterform.h"

#include "core/settings.h"
#include "lists/listform.h"

namespace wyndo {

namespace {
using F = TFilterForm;
} // namespace

// clang-format off
const TLayoutItem<TFilterForm> TFilterForm::Layout[] = {
  {.Kind = Kind<TLabel>, .Name = "Label4", .Bounds = {8, 12, 0, 0}, .Text = "Type:", .Connect = Connect<&F::Label4>},
  {.Kind = Kind<TComboBox>, .Name = "ListType", .Bounds = {48, 8, 286, 21}, .Connect = Connect<&F::ListType, On<&TComboBox::OnChange, &F::ListTypeChange>>},
  {.Kind = Kind<TGroupBox>, .Name = "GroupBox4", .Bounds = {8, 38, 326, 184}, .Text = "Filter-Options", .Connect = Connect<&F::GroupBox4>},
  {.Kind = Kind<TLabel>, .Name = "Label2", .Parent = "GroupBox4", .Bounds = {10, 22, 0, 0}, .Text = "Text:", .Connect = Connect<&F::Label2>},
  {.Kind = Kind<TEdit>, .Name = "FilterText", .Parent = "GroupBox4", .Bounds = {44, 18, 272, 21}, .Connect = Connect<&F::FilterText, On<&TEdit::OnKeyPress, &F::FilterTextKeyPress>>},
  {.Kind = Kind<TListBox>, .Name = "FilterList", .Parent = "GroupBox4", .Bounds = {10, 46, 306, 95}, .Connect = Connect<&F::FilterList, On<&TListBox::OnClick, &F::FilterListClick>, On<&TListBox::OnDrawItem, &F::FilterListDrawItem>>},
  {.Kind = Kind<TButton>, .Name = "Clear", .Parent = "GroupBox4", .Bounds = {160, 148, 75, 25}, .Text = "Clear", .Connect = Connect<&F::Clear, On<&TButton::OnClick, &F::ClearClick>>},
  {.Kind = Kind<TButton>, .Name = "Change", .Parent = "GroupBox4", .Bounds = {241, 148, 75, 25}, .Text = "Change", .Connect = Connect<&F::Change, On<&TButton::OnClick, &F::ChangeClick>>},
  {.Kind = Kind<TCheckBox>, .Name = "ChildNodes", .Parent = "GroupBox4", .Bounds = {10, 152, 140, 17}, .Text = "Must have Child-Nodes", .Connect = Connect<&F::ChildNodes>},
  {.Kind = Kind<TGroupBox>, .Name = "Groupbox2", .Bounds = {8, 228, 326, 60}, .Text = "Options", .Connect = Connect<&F::Groupbox2>},
  {.Kind = Kind<TCheckBox>, .Name = "CaseSensitive", .Parent = "Groupbox2", .Bounds = {10, 18, 140, 17}, .Text = "Case-sensitive", .Connect = Connect<&F::CaseSensitive>},
  {.Kind = Kind<TCheckBox>, .Name = "WildCards", .Parent = "Groupbox2", .Bounds = {10, 37, 140, 17}, .Text = "Wild-Cards", .Connect = Connect<&F::WildCards>},
  {.Kind = Kind<TCheckBox>, .Name = "RootNode", .Parent = "Groupbox2", .Bounds = {160, 18, 156, 17}, .Text = "Filter only Root-Nodes", .Connect = Connect<&F::RootNode>},
  {.Kind = Kind<TCheckBox>, .Name = "ActivateFilter", .Bounds = {12, 297, 150, 17}, .Text = "Activate Filter", .Connect = Connect<&F::ActivateFilter>},
  {.Kind = Kind<TButton>, .Name = "OK", .Bounds = {178, 293, 75, 25}, .Text = "OK", .Options = loDefault, .Connect = Connect<&F::OK, On<&TButton::OnClick, &F::OKClick>>},
  {.Kind = Kind<TButton>, .Name = "Cancel", .Bounds = {259, 293, 75, 25}, .Text = "Cancel", .Options = loCancel, .Connect = Connect<&F::Cancel, On<&TButton::OnClick, &F::CancelClick>>},
};
// clang-format on

TFilterForm::TFilterForm() {
  SetCaption("Filter");
  SetBorderStyle(TBorderStyle::bsSingle);
  SetBorderIcons(biSystemMenu);
  SetHideDisabledButtons(false);
  SetCaptionButtons(AllCaptionButtons);
  SetSystemMenu(true);
  SetUseStandardCaption(Settings.Style == 1);
  SetClientSize(342, 322);
  SetColor(clBtnFace);
  BuildLayout(*this, Layout);
  FilterText->WantReturns = true;
  FilterList->Style = TListBoxStyle::lbOwnerDrawFixed;
  FilterList->SetItemHeight(13);
  ActivateFilter->SetChecked(true);
  OnClose = [](TObject&, TCloseAction& Action) { Action = TCloseAction::caFree; };
}

void TFilterForm::BeforeDestruction() {
  // A list that is going itself has let go of the dialog already.
  if (FList && FList->FFilterForm == this) {
    FList->FFilterForm = nullptr;
    FList->SetEnabled(true);
    FList->BringToFront();
  }
  TStyleForm::BeforeDestruction();
}

void TFilterForm::WndProc(TMessage& Message) {
  if (Message.Msg == WM_ACTIVATE && LOWORD(Message.WParam) != WA_INACTIVE && FList &&
      FList->HandleAllocated()) {
    // The list window stays directly behind the dialog.
    constexpr UINT Flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    ::SetWindowPos(FList->Handle(), HWND_TOP, 0, 0, 0, 0, Flags);
    ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, Flags);
  }
  TStyleForm::WndProc(Message);
}

void TFilterForm::ShowForList(TListForm& List) {
  FList = &List;
  List.SetEnabled(false);
  CentreOver(List.Handle());
  ListType->Clear();
  for (TListKind Kind : List.Kinds())
    ListType->Add(ListWords[Kind]);
  CaseSensitive->SetChecked(List.FFilterCaseSensitive);
  WildCards->SetChecked(List.FFilterWildCards);
  RootNode->SetChecked(List.FFilterRootOnly);
  for (TListKind Kind : AllListKinds) {
    FTexts[Kind] = List.FFilters[Kind].Texts;
    FMustHaveChildNodes[Kind] = List.FFilters[Kind].MustHaveChildNodes;
  }
  Show();
  ListType->SetItemIndex(0);
  ListTypeChange(*this);
}

void TFilterForm::SaveCurrentKind() {
  if (!FCurrentKind)
    return;
  FTexts[*FCurrentKind] = FilterList->Items();
  FMustHaveChildNodes[*FCurrentKind] = ChildNodes->Checked();
}

void TFilterForm::ListTypeChange(TObject&) {
  SaveCurrentKind();
  const int Selected = ListType->ItemIndex();
  if (!FList || Selected < 0)
    return;
  const TListKind Kind = FList->Kinds().at(static_cast<std::size_t>(Selected));
  FCurrentKind = Kind;
  ChildNodes->SetChecked(FMustHaveChildNodes[Kind]);
  FilterList->Clear();
  FRecords.clear();
  const std::vector<std::string>& Texts = FTexts[Kind];
  for (int Column = 0; Column < FList->Tree->ColumnCount(); ++Column)
    if (const TColumnSettings* Record = FList->ColumnRecord(Column, Kind)) {
      FilterList->Add(FRecords.size() < Texts.size() ? Texts[FRecords.size()] : std::string());
      FRecords.push_back(Record);
    }
  FilterList->SetItemIndex(0);
  FilterListClick(*this);
}

std::string TFilterForm::EntryText(int Index) const {
  return FRecords.at(static_cast<std::size_t>(Index))->FieldName + ": '" + FilterList->Item(Index) +
         "'";
}

void TFilterForm::FilterListDrawItem(TObject&, TCanvas& Canvas, int Index, const RECT& Rect,
                                     TOwnerDrawState) {
  Canvas.FillRect(Rect);
  Canvas.TextOut(Rect.left, Rect.top, EntryText(Index));
}

void TFilterForm::FilterListClick(TObject&) {
  if (const int Selected = FilterList->ItemIndex(); Selected >= 0)
    FilterText->SetText(FilterList->Item(Selected));
  if (Visible())
    FilterText->SetFocus();
}

void TFilterForm::ChangeClick(TObject&) {
  if (const int Selected = FilterList->ItemIndex(); Selected >= 0)
    FilterList->SetItem(Selected, FilterText->Text());
}

void TFilterForm::ClearClick(TObject& Sender) {
  FilterText->SetText("");
  ChangeClick(Sender);
}

void TFilterForm::FilterTextKeyPress(TObject& Sender, char& Key) {
  if (Key == '\r') {
    Key = 0;
    ChangeClick(Sender);
  }
}

void TFilterForm::OKClick(TObject& Sender) {
  ListTypeChange(Sender);
  FList->FFilterCaseSensitive = CaseSensitive->Checked();
  FList->FFilterWildCards = WildCards->Checked();
  FList->FFilterRootOnly = RootNode->Checked();
  for (TListKind Kind : AllListKinds) {
    FList->FFilters[Kind].Texts = FTexts[Kind];
    FList->FFilters[Kind].MustHaveChildNodes = FMustHaveChildNodes[Kind];
  }
  FList->FilterButton->SetChecked(ActivateFilter->Checked());
  // An invalid mask ends OK here, with the settings taken: the dialog stays open to correct it.
  if (ActivateFilter->Checked())
    FList->FilterButtonCheckClick(*this);
  Close();
}

void TFilterForm::CancelClick(TObject&) {
  Close();
}

} // namespace wyndo
