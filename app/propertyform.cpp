#include "app/propertyform.h"

#include "app/mainform.h"
#include "app/shell.h"
#include "core/settings.h"
#include "lists/listform.h"

namespace wyndo {

namespace {

using F = TPropertyForm;

constexpr UINT KeepPlaceAndFocus = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;

// The effects of a changed option on the running program.

void ApplyStyle(TStyleForm& Dialog, bool Standard) {
  Dialog.SetUseStandardCaption(Standard);
  TWyndoMainForm* Main = MainWindow();
  if (!Main)
    return;
  Main->SetUseStandardCaption(Standard);
  TTaskItems& Children = Main->Taskbar->Items();
  for (int Index = 0; Index < Children.Count(); ++Index) {
    TForm& Child = Children[Index].Form();
    if (auto* Styled = dynamic_cast<TStyleForm*>(&Child))
      Styled->SetUseStandardCaption(Standard);
    // A list window's search dialog is no child window of its own.
    if (auto* List = dynamic_cast<TListForm*>(&Child))
      if (auto* Search = dynamic_cast<TStyleForm*>(List->FSearchForm.get()))
        Search->SetUseStandardCaption(Standard);
  }
}

void ApplyDocking(bool Docked) {
  TWyndoMainForm* Main = MainWindow();
  if (!Main)
    return;
  if (Docked) {
    ::SetWindowPos(Main->Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, KeepPlaceAndFocus);
    Main->SetCaptionButtons(Main->CaptionButtons() & ~CaptionButton(cbMaximize));
    DockAppBar();
  } else {
    // The window stays where it is and is not made topmost again.
    Main->SetCaptionButtons(Main->CaptionButtons() | CaptionButton(cbMaximize));
    UndockAppBar();
  }
  Main->ApplyTaskbarButton();
}

void ApplyStayOnTop(bool OnTop) {
  TWyndoMainForm* Main = MainWindow();
  if (!Main)
    return;
  if (!OnTop)
    ::SetWindowPos(Main->Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, KeepPlaceAndFocus);
  else if (!Settings.AppBarDocking)
    ::SetWindowPos(Main->Handle(), HWND_TOPMOST, 0, 0, 0, 0, KeepPlaceAndFocus);
}

void ApplyMinimization(std::uint8_t Value) {
  if (Value == mzTray || Value == mzTrayAndTaskbar)
    ShowTrayIcon();
  else
    HideTrayIcon();
}

void ApplyMainFinder(bool Shown) {
  TWyndoMainForm* Main = MainWindow();
  if (!Main)
    return;
  Main->FinderPanel->SetVisible(Shown);
  const int Width = Main->ClientSize().Width;
  Main->MainPanel->SetWidth(Shown ? Width - Main->FinderPanel->Width() - 1 : Width);
}

// The selected item of a drop-down list as the option's value; nothing selected changes nothing.
bool Changed(const TComboBox& Control, std::uint8_t Value) {
  return Control.ItemIndex() >= 0 && Control.ItemIndex() != Value;
}

} // namespace

// clang-format off
const TLayoutItem<TPropertyForm> TPropertyForm::Layout[] = {
  {.Kind = Kind<TPageControl>, .Name = "PageControl1", .Bounds = {8, 8, 332, 236}, .Anchors = akAll, .TabOrder = 0, .Connect = Connect<&F::PageControl1>},

  {.Kind = Kind<TTabSheet>, .Name = "GeneralProperties", .Parent = "PageControl1", .Text = "General", .Connect = Connect<&F::GeneralProperties>},
  {.Kind = Kind<TCheckBox>, .Name = "AppBar", .Parent = "GeneralProperties", .Bounds = {8, 10, 201, 0}, .Text = "Dock window on upper edge", .Connect = Connect<&F::AppBar, On<&TCheckBox::OnClick, &F::AppBarClick>>},
  {.Kind = Kind<TCheckBox>, .Name = "StayOnTop", .Parent = "GeneralProperties", .Bounds = {28, 34, 117, 0}, .Text = "Always stay on top", .Connect = Connect<&F::StayOnTop>},
  {.Kind = Kind<TLabel>, .Name = "Label4", .Parent = "GeneralProperties", .Bounds = {8, 70, 0, 0}, .Text = "Minimize to:", .Connect = Connect<&F::Label4>},
  {.Kind = Kind<TComboBox>, .Name = "Minimization", .Parent = "GeneralProperties", .Bounds = {72, 66, 141, 0}, .Connect = Connect<&F::Minimization>},
  {.Kind = Kind<TLabel>, .Name = "Label1", .Parent = "GeneralProperties", .Bounds = {8, 112, 0, 0}, .Text = "Show decimals as ", .Connect = Connect<&F::Label1>},
  {.Kind = Kind<TComboBox>, .Name = "IntFormat", .Parent = "GeneralProperties", .Bounds = {100, 108, 185, 0}, .Connect = Connect<&F::IntFormat>},
  {.Kind = Kind<TLabel>, .Name = "Label2", .Parent = "GeneralProperties", .Bounds = {8, 150, 0, 0}, .Text = "Style:", .Connect = Connect<&F::Label2>},
  {.Kind = Kind<TComboBox>, .Name = "StyleList", .Parent = "GeneralProperties", .Bounds = {44, 146, 165, 0}, .Connect = Connect<&F::StyleList>},
  {.Kind = Kind<TCheckBox>, .Name = "MainFinder", .Parent = "GeneralProperties", .Bounds = {8, 182, 213, 0}, .Text = "Show Window-Finder Tool in MainForm", .Connect = Connect<&F::MainFinder>},

  {.Kind = Kind<TTabSheet>, .Name = "ListProperties", .Parent = "PageControl1", .Text = "Lists", .Connect = Connect<&F::ListProperties>},
  {.Kind = Kind<TLabel>, .Name = "Label3", .Parent = "ListProperties", .Bounds = {8, 12, 0, 0}, .Text = "List-Type:", .Connect = Connect<&F::Label3>},
  {.Kind = Kind<TComboBox>, .Name = "ListTypes", .Parent = "ListProperties", .Bounds = {64, 8, 145, 0}, .Connect = Connect<&F::ListTypes, On<&TComboBox::OnChange, &F::ListTypesChange>>},
  {.Kind = Kind<TVirtualTree>, .Name = "Tree", .Parent = "ListProperties", .Bounds = {8, 33, 307, 54}, .Connect = Connect<&F::Tree, On<&TVirtualTree::OnColumnResize, &F::TreeColumnResize>, On<&TVirtualTree::OnHeaderDragged, &F::TreeHeaderDragged>>},
  {.Kind = Kind<TCheckListBox>, .Name = "PropertyList", .Parent = "ListProperties", .Bounds = {8, 92, 307, 111}, .Connect = Connect<&F::PropertyList, On<&TCheckListBox::OnClickCheck, &F::PropertyListClickCheck>>},

  {.Kind = Kind<TButton>, .Name = "OK", .Bounds = {100, 255, 75, 25}, .Text = "OK", .Anchors = akRight | akBottom, .Options = loDefault, .TabOrder = 1, .ModalResult = mrOk, .Connect = Connect<&F::OK, On<&TButton::OnClick, &F::ApplyClick>>},
  {.Kind = Kind<TButton>, .Name = "Cancel", .Bounds = {180, 255, 75, 25}, .Text = "Cancel", .Anchors = akRight | akBottom, .Options = loCancel, .TabOrder = 2, .ModalResult = mrCancel, .Connect = Connect<&F::Cancel>},
  {.Kind = Kind<TButton>, .Name = "Apply", .Bounds = {261, 255, 82, 25}, .Text = "Apply", .Anchors = akRight | akBottom, .TabOrder = 3, .Connect = Connect<&F::Apply, On<&TButton::OnClick, &F::ApplyClick>>},
};
// clang-format on

TPropertyForm::TPropertyForm() {
  SetCaption("Properties");
  SetBorderStyle(TBorderStyle::bsDialog);
  Position = TPosition::poScreenCenter;
  SetClientSize(348, 286);
  SetHideDisabledButtons(false);
  SetCaptionButtons(AllCaptionButtons);
  SetSystemMenu(true);
  SetUseStandardCaption(false);
  BuildLayout(*this, Layout);
  for (const char* Item : {"Taskbar", "Tray", "Tray and Taskbar"})
    Minimization->Add(Item);
  for (const char* Item : {"decimal", "Hex in Pascal-Format ($FFFF)", "Hex in C-Format (0xFFFF)"})
    IntFormat->Add(Item);
  for (const char* Item : {"Wyndo Style", "Windows Standard"})
    StyleList->Add(Item);
  PropertyList->SetColumns(2);
  Tree->SetHeaderVisible(true);
  OnCreate = [this](TObject& Sender) { FormCreate(Sender); };
  OnDestroy = [this](TObject& Sender) { FormDestroy(Sender); };
}

void TPropertyForm::FormCreate(TObject& Sender) {
  SetUseStandardCaption(Settings.Style == 1);
  IntFormat->SetItemIndex(Settings.IntFormat);
  StyleList->SetItemIndex(Settings.Style);
  Minimization->SetItemIndex(Settings.Minimization);
  AppBar->SetChecked(Settings.AppBarDocking);
  StayOnTop->SetChecked(Settings.StayOnTop);
  MainFinder->SetChecked(Settings.MainFinder);
  AppBarClick(Sender);
  for (TListKind Kind : AllListKinds) {
    ListTypes->Add(std::string(ListWords[Kind]) + "List");
    FColumns[Kind] = Settings.ColumnSettings[Kind];
  }
  ListTypes->SetItemIndex(0);
  ListTypesChange(Sender);
}

void TPropertyForm::FormDestroy(TObject&) {
  // The list and the header point into the working copies.
  PropertyList->Clear();
  DeleteHeaderColumns();
  for (TColumnList& List : FColumns)
    List.clear();
}

void TPropertyForm::AppBarClick(TObject&) {
  StayOnTop->SetEnabled(!AppBar->Checked());
}

void TPropertyForm::ListTypesChange(TObject&) {
  PropertyList->Clear();
  DeleteHeaderColumns();
  const int Selected = ListTypes->ItemIndex();
  FListType = static_cast<std::uint8_t>(Selected >= 0 ? Selected : 0);
  for (TColumnSettings& Record : FColumns[FListType])
    PropertyList->Add(Record.FieldName, &Record, Record.Shown != 0);
  BuildHeader();
}

void TPropertyForm::DeleteHeaderColumns() {
  while (Tree->ColumnCount() > 0)
    Tree->DeleteColumn(Tree->ColumnCount() - 1);
}

void TPropertyForm::BuildHeader() {
  std::vector<TColumnSettings*> Shown;
  for (int Index = 0; Index < PropertyList->Count(); ++Index)
    if (PropertyList->Checked(Index))
      Shown.push_back(static_cast<TColumnSettings*>(PropertyList->Data(Index)));
  for (TColumnSettings* Record : PlaceShownColumns(Shown)) {
    // A width of 0 keeps the column's own, as the list windows do.
    const int Column =
        Tree->AddColumn(Record->FieldName, Record->Width != 0 ? Record->Width : DefaultColumnWidth);
    Tree->SetColumnTag(Column, reinterpret_cast<std::intptr_t>(Record));
  }
}

void TPropertyForm::PropertyListClickCheck(TObject&) {
  const std::string_view Required = KeyNames[FListType];
  for (int Index = 0; Index < PropertyList->Count(); ++Index)
    if (PropertyList->Item(Index) == Required && !PropertyList->Checked(Index)) {
      PropertyList->SetChecked(Index, true);
      Application.MessageBox("This item can't be deactivated!", "Error", MB_ICONHAND);
      break;
    }
  for (int Index = 0; Index < PropertyList->Count(); ++Index) {
    auto* Record = static_cast<TColumnSettings*>(PropertyList->Data(Index));
    const std::uint8_t Shown = PropertyList->Checked(Index) ? 1 : 0;
    if (Shown != (Record->Shown != 0 ? 1 : 0)) {
      Record->Shown = Shown;
      if (!Shown)
        Record->Position = NoPosition;
    }
  }
  DeleteHeaderColumns();
  BuildHeader();
}

void TPropertyForm::TreeColumnResize(TObject&, int Column) {
  if (TColumnSettings* Record = RecordOf(Tree->Column(Column).Tag))
    Record->Width = static_cast<std::uint16_t>(Tree->Column(Column).Width);
}

void TPropertyForm::TreeHeaderDragged(TObject&, int, int) {
  for (int Column = 0; Column < Tree->ColumnCount(); ++Column)
    if (TColumnSettings* Record = RecordOf(Tree->Column(Column).Tag))
      Record->Position = static_cast<std::uint8_t>(Tree->ColumnPosition(Column));
}

void TPropertyForm::ApplyClick(TObject&) {
  // While the program starts there is nothing to apply the options to yet.
  const bool Live = !Settings.Initialising;
  if (Changed(*IntFormat, Settings.IntFormat)) {
    // The texts on the screen are read back in the old format and written in the new one.
    if (Live)
      Settings.ParseFormat = Settings.IntFormat;
    Settings.IntFormat = static_cast<std::uint8_t>(IntFormat->ItemIndex());
    if (Live) {
      NotifySettingsChanged();
      Settings.ParseFormat = ifCurrent;
    }
  }
  if (Changed(*StyleList, Settings.Style)) {
    Settings.Style = static_cast<std::uint8_t>(StyleList->ItemIndex());
    if (Live)
      ApplyStyle(*this, Settings.Style == 1);
  }
  if (AppBar->Checked() != Settings.AppBarDocking) {
    Settings.AppBarDocking = AppBar->Checked();
    if (Live)
      ApplyDocking(Settings.AppBarDocking);
  }
  if (StayOnTop->Checked() != Settings.StayOnTop) {
    Settings.StayOnTop = StayOnTop->Checked();
    if (Live)
      ApplyStayOnTop(Settings.StayOnTop);
  }
  if (Changed(*Minimization, Settings.Minimization)) {
    Settings.Minimization = static_cast<std::uint8_t>(Minimization->ItemIndex());
    if (Live)
      ApplyMinimization(Settings.Minimization);
  }
  if (MainFinder->Checked() != Settings.MainFinder) {
    Settings.MainFinder = MainFinder->Checked();
    if (Live)
      ApplyMainFinder(Settings.MainFinder);
  }
  // The records are overwritten in place: open list windows keep pointers to them (and their
  // columns); list windows opened from now on use the new values.
  for (TListKind Kind : AllListKinds) {
    TColumnList& Stored = Settings.ColumnSettings[Kind];
    for (std::size_t Index = 0; Index < Stored.size() && Index < FColumns[Kind].size(); ++Index)
      Stored[Index] = FColumns[Kind][Index];
  }
}

} // namespace wyndo
