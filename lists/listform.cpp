#include "lists/listform.h"

#include "controls/shell.h"
#include "core/product.h"
#include "core/settings.h"
#include "core/textmatch.h"
#include "info/functions.h"
#include "info/infoobjects.h"
#include "lists/listsort.h"
#include "ui/winutil.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <utility>

namespace wyndo {

namespace {

// Images of the list windows' tool bar.
constexpr int RefreshImage = 0;
constexpr int HighlightImage = 1;
constexpr int PropertiesImageOf(TListKind Kind) {
  return 2 + Kind;
}
constexpr int SearchImage = 6;

// The cells of one node, through the list's text function (what the filter compares).
class TNodeCells : public ICellTexts {
public:
  TNodeCells(const TListForm& Form, TTreeNode* Node) : FForm(Form), FNode(Node) {}
  std::string CellText(std::size_t Column) const override {
    return FForm.CellText(FNode, static_cast<int>(Column));
  }

private:
  const TListForm& FForm;
  TTreeNode* FNode;
};

} // namespace

TListForm::TListForm(TListKind Kind, std::vector<TListKind> Kinds, const char* Caption)
    : FListKind(Kind), FKinds(std::move(Kinds)),
      FColumns(BuildColumnModel(Kind, FKinds, Settings.ColumnSettings)),
      FButtonImages("IMG_LIST_TOOLBAR", 32), FNodeImages("IMG_LIST_NODES", 18),
      FFilterImage("IMG_FILTER", 28) {
  SetCaption(Caption);
  SetBounds(0, 0, 567, 219);
  Position = TPosition::poDefaultPosOnly;
  SetIcon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(501 + Kind)));

  ToolBar = Make<TToolBar>();
  ToolBar->SetParent(this);
  ToolBar->SetAlign(TAlign::alTop);
  ToolBar->SetImages(FButtonImages.Handle());
  auto Handler = [this](void (TListForm::*Method)(TObject&)) {
    return [this, Method](TObject& Sender) { (this->*Method)(Sender); };
  };
  RefreshButton = ToolBar->AddButton(*this, "Refresh", "Refresh list", RefreshImage,
                                     Handler(&TListForm::RefreshButtonClick));
  ToolBar->AddSeparator(*this);
  Highlight = ToolBar->AddButton(*this, "Highlight Window", "Highlight the selected window",
                                 HighlightImage, Handler(&TListForm::HighlightClick));
  PropertiesButton =
      ToolBar->AddButton(*this, "Properties", "Show Properties", PropertiesImageOf(Kind),
                         Handler(&TListForm::PropertiesButtonClick));
  ToolBar->AddSeparator(*this);
  SearchButton = ToolBar->AddButton(*this, "Search", "Search list", SearchImage,
                                    Handler(&TListForm::SearchButtonClick));
  FilterButton = Make<TCheckSpeedButton>();
  FilterButton->Name = "FilterButton";
  FilterButton->SetHint("Filter");
  FilterButton->SetFlat(true);
  FilterButton->SetCheckboxSize(10);
  FilterButton->SetCheckboxSpace(3);
  FilterButton->SetGlyph(FFilterImage.Handle(), 0);
  FilterButton->OnClick = Handler(&TListForm::FilterButtonClick);
  FilterButton->OnCheckClick = Handler(&TListForm::FilterButtonCheckClick);
  ToolBar->AddControl(*FilterButton);
  Highlight->SetEnabled(false);
  PropertiesButton->SetEnabled(false);

  StatusBar = Make<TStatusBar>();
  StatusBar->SetParent(this);
  StatusBar->SetAlign(TAlign::alBottom);
  StatusBar->SetPanels(FColumns.PanelWidths);

  Tree = Make<TVirtualTree>();
  Tree->Name = "Tree";
  Tree->SetParent(this);
  Tree->SetAlign(TAlign::alClient);
  Tree->SetColor(clWindow);
  Tree->SetImages(FNodeImages.Handle());
  Tree->Nodes().SetDataSize(sizeof(TListNodeData));
  Tree->SetSortDirection(TSortDirection::sdDescending);
  for (std::size_t Index = 0; Index < FColumns.Columns.size(); ++Index) {
    const TListColumn& Column = FColumns.Columns[Index];
    const int Added =
        Tree->AddColumn(Column.Caption, Column.Width ? Column.Width : DefaultColumnWidth);
    Tree->SetColumnTag(Added, static_cast<std::intptr_t>(Index));
  }
  Tree->OnGetText = [this](TObject&, TTreeNode* Node, int Column) {
    return TreeGetText(Node, Column);
  };
  Tree->OnGetImageIndex = [this](TObject&, TTreeNode* Node, int Column) {
    return TreeGetImageIndex(Node, Column);
  };
  Tree->OnFocusChanged = [this](TObject&, TTreeNode* Node) { TreeFocusChanged(Node); };
  Tree->OnFreeNode = [this](TObject&, TTreeNode* Node) {
    FreeRowSnapshot(Tree->Nodes().DataAs<TListNodeData>(Node).Row);
  };
  Tree->OnHeaderClick = [this](TObject&, int Column, TMouseButton) { TreeHeaderClick(Column); };
  Tree->OnHeaderDragged = [this](TObject&, int, int) { TreeHeaderDragged(); };
  Tree->OnDblClick = Handler(&TListForm::PropertiesButtonClick);

  FSearchForm = MakeForm<TListSearchForm>();
  FSearchForm->ConnectList(*this);

  for (TListKind Each : AllListKinds)
    for (const TListColumn& Column : FColumns.Columns)
      if (Column.Records[Each])
        FFilters[Each].Texts.emplace_back();
}

TListForm::~TListForm() = default;

void TListForm::BeforeDestruction() {
  // The build goes first: nothing of the window may go while a worker fills its tree.
  FClosing = true;
  StopBuild(*this);
  FSearchForm.reset();
  if (TFilterForm* Filter = std::exchange(FFilterForm, nullptr))
    Filter->Free();
  TWyndoForm::BeforeDestruction();
}

void TListForm::SettingsChanged() {
  Tree->Refresh();
}

const TListNodeData& TListForm::NodeData(TTreeNode* Node) const {
  return Tree->Nodes().DataAs<TListNodeData>(Node);
}

bool TListForm::KeyValue(TTreeNode* Node, std::uint32_t& Value) const {
  const TListNodeData& Data = NodeData(Node);
  if (!Data.Key)
    return false;
  Value = RowKeyValue(Data.Row, Data.Key);
  return true;
}

const TColumnSettings* TListForm::ColumnRecord(int Column, TListKind Kind) const {
  if (Column < 0 || Column >= static_cast<int>(FColumns.Columns.size()))
    return nullptr;
  return FColumns.Columns[static_cast<std::size_t>(Column)].Records[Kind];
}

bool TListForm::NodeMatches(TTreeNode* Node, const TTextCriteria& Criteria) const {
  return Criteria.Matches(TNodeCells(*this, Node));
}

std::string TListForm::TreeGetText(TTreeNode* Node, int Column) const {
  const TListNodeData& Data = NodeData(Node);
  const TColumnSettings* Record = ColumnRecord(Column, Data.Kind);
  TRowValue Value;
  if (!Record || !FindRowValue(Data.Row, Record, FColumns.Columns.size(), Value))
    return {};
  return FormatRowValue(Value);
}

std::string TListForm::CellText(TTreeNode* Node, int Column) const {
  return TreeGetText(Node, Column);
}

int TListForm::TreeGetImageIndex(TTreeNode* Node, int Column) const {
  // Only the leftmost column shows the node's kind.
  return Tree->ColumnPosition(Column) == 0 ? NodeData(Node).Kind : -1;
}

void TListForm::SortTree(int Column, TSortDirection Direction) {
  if (Column < 0 || Column >= static_cast<int>(FColumns.Columns.size()))
    return;
  const TListColumn& Model = FColumns.Columns[static_cast<std::size_t>(Column)];
  const std::size_t Count = FColumns.Columns.size();
  TNodeModel& Nodes = Tree->Nodes();
  Nodes.Sort(
      [&](TTreeNode* Node) { return ListSortKey(Nodes.DataAs<TListNodeData>(Node), Model, Count); },
      CompareListSortKeys, Direction);
  Tree->Refresh();
}

void TListForm::TreeHeaderClick(int Column) {
  TSortDirection Direction = TSortDirection::sdDescending;
  if (Tree->SortColumn() != Column)
    Tree->SetSortColumn(Column);
  else if (Tree->SortDirection() == TSortDirection::sdDescending)
    Direction = TSortDirection::sdAscending;
  Tree->SetSortDirection(Direction);
  SortTree(Column, Direction);
}

void TListForm::TreeHeaderDragged() {
  // The tree lines and images stay in the leftmost column.
  for (int Column = 0; Column < Tree->ColumnCount(); ++Column)
    if (Tree->ColumnPosition(Column) == 0) {
      Tree->SetMainColumn(Column);
      break;
    }
}

void TListForm::TreeFocusChanged(TTreeNode* Node) {
  if (Highlight->Visible())
    Highlight->SetEnabled(Node && NodeData(Node).Kind == lkWindow);
  PropertiesButton->SetEnabled(Node != nullptr);
  if (!Node)
    return;
  const TListKind Kind = NodeData(Node).Kind;
  PropertiesButton->SetImageIndex(PropertiesImageOf(Kind));
  for (int Column = 0; Column < Tree->ColumnCount(); ++Column) {
    const TColumnSettings* Record =
        FColumns.Columns[static_cast<std::size_t>(Column)].Records[Kind];
    Tree->SetColumnText(Column, Record ? Record->FieldName : "");
  }
}

void TListForm::SetButtonsEnabled(bool Enabled) {
  ToolBar->SetEnabled(Enabled);
  Tree->SetEnabled(Enabled);
  RefreshButton->SetEnabled(Enabled);
  FilterButton->SetEnabled(Enabled);
  SearchButton->SetEnabled(Enabled);
}

void TListForm::BuildStarted() {
  FBuilding = true;
  Screen.SetCursor(crDefault);
  Cursor = crHourGlass;
  Tree->Cursor = crHourGlass;
  SetButtonsEnabled(false);
  Tree->Nodes().Clear();
  Tree->Refresh();
  Tree->Update();
  Tree->EnterBusy();
}

void TListForm::BuildFinished(bool Completed) {
  FBuilding = false;
  ++FFinishedBuilds;
  if (!Completed) {
    Tree->AbortBusy();
    Cursor = crDefault;
    Tree->Cursor = crDefault;
    ReportBuildFailure(*this); // what was built is discarded and the window goes
    return;
  }
  // Sorted by the first column, smallest first; the header's sort mark stays as it was.
  SortTree(0, TSortDirection::sdDescending);
  Tree->LeaveBusy();
  if (TTreeNode* First = Tree->Nodes().First()) {
    Tree->SetFocusedNode(First);
    Tree->ClearSelection();
    Tree->SetSelected(First, true);
    if (FListKind == lkWindow)
      Tree->Nodes().SetExpanded(First, true);
  }
  for (std::size_t Panel = 0; Panel < FKinds.size(); ++Panel)
    StatusBar->SetPanelText(static_cast<int>(Panel), std::to_string(Counts[FKinds[Panel]]) + ": " +
                                                         std::string(ListWords[FKinds[Panel]]));
  SetButtonsEnabled(true);
  // An invalid mask is reported once the window is back in its idle state.
  std::exception_ptr FilterFailure;
  try {
    FilterButtonCheckClick(*this);
  } catch (...) {
    FilterFailure = std::current_exception();
  }
  Cursor = crDefault;
  Tree->Cursor = crDefault;
  Tree->Refresh();
  if (FilterFailure)
    Application.HandleException(FilterFailure);
}

void TListForm::Activated(bool Active, HWND Other) {
  if (FSearchForm && FSearchForm->HandleAllocated()) {
    HWND Search = FSearchForm->Handle();
    if (!Active) {
      ::SetWindowPos(Search, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else if (::IsWindowVisible(Search)) {
      ::SetWindowPos(Search, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  if (!FFilterForm)
    return;
  HWND Filter = FFilterForm->Handle();
  if (Active)
    FFilterForm->BringToFront(); // the list is disabled: its dialog takes the activation
  else if (Other != Filter)
    // Stays in front of the list without taking the place of the window now active.
    ::SetWindowPos(Handle(), Filter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TListForm::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_BUILDSTARTED:
    if (!FClosing)
      BuildStarted();
    return;
  case WM_BUILDFINISHED:
    if (!FClosing)
      BuildFinished(Message.WParam == 0);
    return;
  case WM_ACTIVATE:
    if (FClosing)
      break;
    Activated(LOWORD(Message.WParam) != WA_INACTIVE, reinterpret_cast<HWND>(Message.LParam));
    // With a filter dialog open the list is disabled and must not take the focus back.
    if (FFilterForm)
      return;
    break;
  default:
    break;
  }
  TWyndoForm::WndProc(Message);
}

void TListForm::RefreshButtonClick(TObject&) {
  // A click that arrives before the window knows of the running build (its start message not
  // yet handled) must not put a second worker on the tree.
  if (BuildRunning())
    return;
  if (FSearchForm)
    FSearchForm->Hide();
  StartBuild(*this);
}

void TListForm::HighlightClick(TObject&) {
  TTreeNode* Node = Tree->FocusedNode();
  std::uint32_t Window = 0;
  if (Node && NodeData(Node).Kind == lkWindow && KeyValue(Node, Window))
    HighlightWindow(ToWindow(Window));
}

void TListForm::PropertiesButtonClick(TObject&) {
  TTreeNode* Node = Tree->FocusedNode();
  if (!Node)
    return;
  if (NodeData(Node).Kind != lkWindow) {
    Application.MessageBox("This function is not implemented yet.\nTake a look at " +
                               std::string(HomePage) + " for new versions.",
                           "Error", MB_ICONHAND);
    return;
  }
  std::uint32_t Window = 0;
  if (!KeyValue(Node, Window))
    return; // without the handle column there is no window to show
  const TWindowInfoObject Info(Window);
  Shell().OpenChildWindow(TChildKind::ckWindowInfo, &Info);
}

void TListForm::SearchButtonClick(TObject&) {
  FSearchForm->SetVisible(!FSearchForm->Visible());
}

void TListForm::FilterButtonClick(TObject&) {
  if (FFilterForm) {
    FFilterForm->BringToFront();
    return;
  }
  FFilterForm = MakeForm<TFilterForm>().release(); // frees itself when closed
  FFilterForm->ShowForList(*this);
}

bool TListForm::IsFilterRoot(TTreeNode* Node) const {
  const TNodeModel& Nodes = Tree->Nodes();
  TTreeNode* Parent = Nodes.Parent(Node);
  return !Parent || (FListKind == lkWindow && Parent == Nodes.First());
}

void TListForm::FilterButtonCheckClick(TObject&) {
  TNodeModel& Nodes = Tree->Nodes();
  Tree->BeginUpdate();
  // The update ends also when a mask turns out invalid, so the tree keeps painting.
  struct TUpdate {
    TVirtualTree& Tree;
    ~TUpdate() { Tree.EndUpdate(); }
  } Update{*Tree};
  if (!FilterButton->Checked()) {
    for (TTreeNode* Node = Nodes.First(); Node; Node = Nodes.Next(Node))
      Nodes.SetVisible(Node, true);
    return;
  }
  std::array<std::optional<TTextCriteria>, ListKindCount> Criteria;
  TTreeNode* Node = Nodes.First();
  if (FListKind == lkWindow && Node)
    Node = Nodes.Next(Node); // the desktop node is never filtered
  for (; Node; Node = Nodes.Next(Node)) {
    if (FFilterRootOnly && !IsFilterRoot(Node)) {
      Nodes.SetVisible(Node, true);
      continue;
    }
    const TListKind Kind = NodeData(Node).Kind;
    const TKindFilter& Filter = FFilters[Kind];
    bool Passes = !Filter.MustHaveChildNodes || Nodes.HasChildren(Node);
    if (Passes) {
      if (!Criteria[Kind])
        Criteria[Kind].emplace(Filter.Texts, FFilterCaseSensitive, FFilterWildCards);
      Passes = NodeMatches(Node, *Criteria[Kind]);
    }
    Nodes.SetVisible(Node, Passes);
  }
}

TWindowListForm::TWindowListForm() : TListForm(lkWindow, {lkWindow}, "Window List") {}
TProcessListForm::TProcessListForm()
    : TListForm(lkProcess, {lkProcess, lkThread, lkWindow}, "Process List") {}
TThreadListForm::TThreadListForm() : TListForm(lkThread, {lkThread, lkWindow}, "Thread List") {}
TModuleListForm::TModuleListForm() : TListForm(lkModule, {lkModule, lkProcess}, "Module List") {}

} // namespace wyndo
