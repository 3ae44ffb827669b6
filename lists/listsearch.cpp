#include "lists/listsearch.h"

#include "core/settings.h"
#include "core/textmatch.h"
#include "lists/listform.h"

#include <algorithm>

namespace wyndo {

namespace {
using F = TListSearchForm;
} // namespace

// clang-format off
const TLayoutItem<TListSearchForm> TListSearchForm::Layout[] = {
  {.Kind = Kind<TLabel>, .Name = "Label4", .Bounds = {8, 12, 0, 0}, .Text = "Type:", .Connect = Connect<&F::Label4>},
  {.Kind = Kind<TComboBox>, .Name = "SearchType", .Bounds = {48, 8, 285, 21}, .TabOrder = 1, .Connect = Connect<&F::SearchType, On<&TComboBox::OnChange, &F::SearchTypeChange>>},
  {.Kind = Kind<TGroupBox>, .Name = "GroupBox4", .Bounds = {8, 38, 325, 164}, .Text = "Search-Options", .TabOrder = 0, .Connect = Connect<&F::GroupBox4>},
  {.Kind = Kind<TLabel>, .Name = "Label2", .Parent = "GroupBox4", .Bounds = {10, 22, 0, 0}, .Text = "Text:", .Connect = Connect<&F::Label2>},
  {.Kind = Kind<TEdit>, .Name = "SearchText", .Parent = "GroupBox4", .Bounds = {44, 18, 271, 21}, .Connect = Connect<&F::SearchText, On<&TEdit::OnKeyPress, &F::SearchTextKeyPress>>},
  {.Kind = Kind<TListBox>, .Name = "SearchList", .Parent = "GroupBox4", .Bounds = {10, 46, 305, 82}, .Connect = Connect<&F::SearchList, On<&TListBox::OnClick, &F::SearchListClick>, On<&TListBox::OnDrawItem, &F::SearchListDrawItem>>},
  {.Kind = Kind<TButton>, .Name = "Clear", .Parent = "GroupBox4", .Bounds = {159, 134, 75, 25}, .Text = "Clear", .Connect = Connect<&F::Clear, On<&TButton::OnClick, &F::ClearClick>>},
  {.Kind = Kind<TButton>, .Name = "Change", .Parent = "GroupBox4", .Bounds = {240, 134, 75, 25}, .Text = "Change", .Connect = Connect<&F::Change, On<&TButton::OnClick, &F::ChangeClick>>},
  {.Kind = Kind<TGroupBox>, .Name = "GroupBox3", .Bounds = {8, 208, 100, 72}, .Text = "Options", .TabOrder = 2, .Connect = Connect<&F::GroupBox3>},
  {.Kind = Kind<TCheckBox>, .Name = "CaseSensitive", .Parent = "GroupBox3", .Bounds = {8, 22, 90, 17}, .Text = "Case-sensitive", .Connect = Connect<&F::CaseSensitive>},
  {.Kind = Kind<TCheckBox>, .Name = "WildCards", .Parent = "GroupBox3", .Bounds = {8, 46, 90, 17}, .Text = "Wild-Cards", .Connect = Connect<&F::WildCards>},
  {.Kind = Kind<TGroupBox>, .Name = "GroupBox2", .Bounds = {113, 208, 114, 72}, .Text = "Start search at", .TabOrder = 3, .Connect = Connect<&F::GroupBox2>},
  {.Kind = Kind<TRadioButton>, .Name = "StartBegin", .Parent = "GroupBox2", .Bounds = {8, 22, 102, 17}, .Text = "Begin", .Connect = Connect<&F::StartBegin>},
  {.Kind = Kind<TRadioButton>, .Name = "StartCurrent", .Parent = "GroupBox2", .Bounds = {8, 46, 102, 17}, .Text = "Current position", .Connect = Connect<&F::StartCurrent>},
  {.Kind = Kind<TGroupBox>, .Name = "GroupBox1", .Bounds = {232, 208, 101, 72}, .Text = "Search Direction", .TabOrder = 4, .Connect = Connect<&F::GroupBox1>},
  {.Kind = Kind<TRadioButton>, .Name = "Down", .Parent = "GroupBox1", .Bounds = {8, 22, 89, 17}, .Text = "Forward", .Connect = Connect<&F::Down>},
  {.Kind = Kind<TRadioButton>, .Name = "Up", .Parent = "GroupBox1", .Bounds = {8, 46, 89, 17}, .Text = "Backward", .Connect = Connect<&F::Up>},
  {.Kind = Kind<TButton>, .Name = "Search", .Bounds = {177, 288, 75, 25}, .Text = "Search", .Options = loDefault | loDisabled, .TabOrder = 5, .Connect = Connect<&F::Search, On<&TButton::OnClick, &F::SearchClick>>},
  {.Kind = Kind<TButton>, .Name = "Cancel", .Bounds = {258, 288, 75, 25}, .Text = "Cancel", .Options = loCancel, .TabOrder = 6, .Connect = Connect<&F::Cancel, On<&TButton::OnClick, &F::CancelClick>>},
};
// clang-format on

TListSearchForm::TListSearchForm() {
  SetCaption("Search");
  SetBorderStyle(TBorderStyle::bsDialog);
  SetFormStyle(TFormStyle::fsStayOnTop);
  SetHideDisabledButtons(false);
  SetCaptionButtons(AllCaptionButtons);
  SetSystemMenu(true);
  SetUseStandardCaption(Settings.Style == 1);
  SetClientSize(341, 320);
  SetColor(clBtnFace);
  BuildLayout(*this, Layout);
  SearchText->WantReturns = true;
  SearchList->Style = TListBoxStyle::lbOwnerDrawFixed;
  SearchList->SetItemHeight(13);
  WildCards->SetChecked(true);
  StartBegin->SetChecked(true);
  Down->SetChecked(true);
  SetActiveControl(SearchText);
  OnShow = [this](TObject&) {
    if (!FPlaced)
      CentreOverList();
  };
}

void TListSearchForm::ConnectList(TListForm& List) {
  FList = &List;
  SearchType->Clear();
  for (TListKind Kind : List.Kinds())
    SearchType->Add(ListWords[Kind]);
  SearchType->SetItemIndex(0);
  SearchTypeChange(*this);
}

void TListSearchForm::CentreOverList() {
  if (!FList || !FList->HandleAllocated())
    return;
  CentreOver(FList->Handle());
  FPlaced = true;
}

void TListSearchForm::WndProc(TMessage& Message) {
  if (Message.Msg == WM_ACTIVATE) {
    constexpr UINT Flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    if (LOWORD(Message.WParam) == WA_INACTIVE) {
      ::SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, Flags);
    } else {
      if (FList && FList->HandleAllocated())
        ::SetWindowPos(FList->Handle(), HWND_TOP, 0, 0, 0, 0, Flags);
      ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, Flags);
    }
  }
  TStyleForm::WndProc(Message);
}

void TListSearchForm::SearchTypeChange(TObject& Sender) {
  const int Selected = SearchType->ItemIndex();
  if (!FList || Selected < 0)
    return;
  FCurrentKind = FList->Kinds().at(static_cast<std::size_t>(Selected));
  SearchList->Clear();
  FRecords.clear();
  for (int Column = 0; Column < FList->Tree->ColumnCount(); ++Column)
    if (const TColumnSettings* Record = FList->ColumnRecord(Column, FCurrentKind)) {
      SearchList->Add("");
      FRecords.push_back(Record);
    }
  ChangeClick(Sender);
  SearchList->SetItemIndex(0);
  SearchListClick(Sender);
}

std::string TListSearchForm::EntryText(int Index) const {
  return FRecords.at(static_cast<std::size_t>(Index))->FieldName + ": '" + SearchList->Item(Index) +
         "'";
}

void TListSearchForm::SearchListDrawItem(TObject&, TCanvas& Canvas, int Index, const RECT& Rect,
                                         TOwnerDrawState) {
  Canvas.FillRect(Rect);
  Canvas.TextOut(Rect.left, Rect.top, EntryText(Index));
}

void TListSearchForm::SearchListClick(TObject&) {
  if (const int Selected = SearchList->ItemIndex(); Selected >= 0)
    SearchText->SetText(SearchList->Item(Selected));
  if (Visible())
    SearchText->SetFocus();
}

void TListSearchForm::ChangeClick(TObject&) {
  if (const int Selected = SearchList->ItemIndex(); Selected >= 0)
    SearchList->SetItem(Selected, SearchText->Text());
  const std::vector<std::string>& Texts = SearchList->Items();
  Search->SetEnabled(std::any_of(Texts.begin(), Texts.end(),
                                 [](const std::string& Text) { return !Text.empty(); }));
}

void TListSearchForm::ClearClick(TObject& Sender) {
  SearchText->SetText("");
  ChangeClick(Sender);
}

void TListSearchForm::SearchTextKeyPress(TObject& Sender, char& Key) {
  if (Key == '\r') {
    Key = 0;
    ChangeClick(Sender);
  }
}

void TListSearchForm::SearchClick(TObject&) {
  if (!FList || FList->Building())
    return; // the build owns the tree
  TVirtualTree& Tree = *FList->Tree;
  const TNodeModel& Nodes = Tree.Nodes();
  const bool Forward = Down->Checked();
  TTreeNode* Node = nullptr;
  if (StartBegin->Checked()) {
    Node = Forward ? Nodes.First() : Nodes.Last();
    StartCurrent->SetChecked(true); // the next search goes on from the hit
  } else if (TTreeNode* Focused = Tree.FocusedNode()) {
    Node = Forward ? Nodes.Next(Focused) : Nodes.Previous(Focused);
  }
  const TTextCriteria Criteria(SearchList->Items(), CaseSensitive->Checked(), WildCards->Checked());
  for (; Node; Node = Forward ? Nodes.Next(Node) : Nodes.Previous(Node))
    if (FList->NodeData(Node).Kind == FCurrentKind && FList->NodeMatches(Node, Criteria)) {
      Tree.SetFocusedNode(Node);
      Tree.ClearSelection();
      Tree.SetSelected(Node, true);
      return;
    }
  ::MessageBoxA(FList->Handle(), "No entry found that corresponds to your search-options",
                "Searching done", MB_OK | MB_ICONINFORMATION);
}

void TListSearchForm::CancelClick(TObject&) {
  Hide();
}

} // namespace wyndo
