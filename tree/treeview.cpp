#include "tree/treeview.h"

#include "core/errors.h"
#include "ui/handles.h"

#include <algorithm>
#include <climits>
#include <string>

namespace wyndo {

namespace {

constexpr UINT_PTR BusyTimerId = 1;
constexpr UINT BusyInterval = 150;
constexpr std::string_view BusyWord = "Searching";
// Posted to ourselves when the user drops a dragged column: the header applies the new order only
// after its HDN_ENDDRAG notification has returned. wParam: the column, lParam: its old position.
constexpr UINT WM_HEADERDRAGGED = WM_USER + 1;

constexpr int MinRowHeight = 18; // 16-pixel images with a pixel to spare above and below
constexpr int ButtonHalf = 4;    // the expand button is 2 * 4 + 1 = 9 pixels square
constexpr int TextMargin = 4;
constexpr int HeaderMargin = 6; // what the header keeps free left and right of an item's text
constexpr int SortMarkHalf = 4; // the sort mark is 9 pixels wide and 5 high

// Fills a rectangle with one colour without making a brush.
void FillSolid(HDC DC, const RECT& Rect, COLORREF Color) {
  ::SetBkColor(DC, Color);
  ::ExtTextOutA(DC, 0, 0, ETO_OPAQUE, &Rect, nullptr, 0, nullptr);
}

void FillSolid(HDC DC, int Left, int Top, int Right, int Bottom, COLORREF Color) {
  FillSolid(DC, RECT{Left, Top, Right, Bottom}, Color);
}

// One part of A to two parts of B. Computed here because AlphaBlend is missing on Windows 98.
COLORREF Blend(COLORREF A, COLORREF B) {
  return RGB((GetRValue(A) + 2 * GetRValue(B)) / 3, (GetGValue(A) + 2 * GetGValue(B)) / 3,
             (GetBValue(A) + 2 * GetBValue(B)) / 3);
}

// Dotted lines set every other pixel; Phase is added to the coordinates so that the dots of
// neighbouring rows line up whatever the scroll position.
void DottedVertical(HDC DC, int X, int Top, int Bottom, int Phase, COLORREF Color) {
  for (int Y = Top; Y < Bottom; ++Y)
    if (((X + Y + Phase) & 1) == 0)
      ::SetPixelV(DC, X, Y, Color);
}

void DottedHorizontal(HDC DC, int Left, int Right, int Y, int Phase, COLORREF Color) {
  for (int X = Left; X < Right; ++X)
    if (((X + Y + Phase) & 1) == 0)
      ::SetPixelV(DC, X, Y, Color);
}

POINT PointOf(LPARAM LParam) {
  return {static_cast<short>(LOWORD(LParam)), static_cast<short>(HIWORD(LParam))};
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The header window: a subclassed common-control header whose notifications and owner-drawn
// items the tree handles.

class TVirtualTree::THeader : public TWinControl {
public:
  explicit THeader(TVirtualTree& Tree) : FTree(Tree) {}

  void WndProc(TMessage& Message) override {
    switch (Message.Msg) {
    case CN_NOTIFY:
      Message.Result = FTree.HeaderNotify(*reinterpret_cast<const NMHDR*>(Message.LParam));
      return;
    case CN_DRAWITEM:
      FTree.DrawHeaderItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
      Message.Result = TRUE;
      return;
    case WM_RBUTTONUP: {
      // The header reports a right click only as NM_RCLICK, which does not say on which item.
      HDHITTESTINFO Hit{};
      Hit.pt = PointOf(Message.LParam);
      ::SendMessageA(WindowHandle(), HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&Hit));
      TWinControl::WndProc(Message);
      if (Hit.iItem >= 0 && (Hit.flags & (HHT_ONHEADER | HHT_ONDIVIDER | HHT_ONDIVOPEN)))
        FTree.HeaderClicked(Hit.iItem, TMouseButton::mbRight);
      return;
    }
    default:
      break;
    }
    TWinControl::WndProc(Message);
  }

protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    Params.SystemClass = WC_HEADERA;
    Params.Style |= HDS_HORZ | HDS_BUTTONS | HDS_HOTTRACK | HDS_DRAGDROP | HDS_FULLDRAG;
  }

private:
  TVirtualTree& FTree;
};

// ---------------------------------------------------------------------------------------------
// Construction

TVirtualTree::TVirtualTree() : FNodes(std::make_unique<TNodeModel>()) {
  SetBounds(0, 0, 200, 100);
  SetColor(clWindow);
  TabStop = true;
  FNodes->OnStructureChanged = [this] { StructureChanged(); };
  FNodes->OnFocusChanged = [this](TTreeNode* Node) {
    Invalidate();
    if (OnFocusChanged)
      OnFocusChanged(*this, Node);
  };
  FNodes->OnFreeNode = [this](TTreeNode* Node) {
    if (OnFreeNode)
      OnFreeNode(*this, Node);
  };
  FHeader = std::make_unique<THeader>(*this);
  FHeader->SetParent(this);
}

TVirtualTree::~TVirtualTree() {
  DestroyHandle();
  // The owner still hears of every node that goes, but the view no longer reacts.
  FNodes->OnStructureChanged = nullptr;
  FNodes->OnFocusChanged = nullptr;
  FNodes.reset();
}

void TVirtualTree::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.WinClassName = "TVirtualTree";
  Params.Style |= WS_CLIPCHILDREN;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TVirtualTree::HandleCreated() {
  // A new window's scroll bars start empty, whatever its handle.
  for (TScrollBarState& State : FScrollBars)
    State.Window = nullptr;
  FillHeader();
  Layout();
  UpdateScrollBars();
  if (FBusy)
    StartBusyTimer();
  TCustomControl::HandleCreated();
}

// The header paints its texts grayed while the tree is disabled.
void TVirtualTree::EnabledChanged() {
  TCustomControl::EnabledChanged();
  FHeader->Invalidate();
}

void TVirtualTree::FontChanged() {
  FRowHeight = 0;
  TCustomControl::FontChanged();
  Layout();
  UpdateScrollBars();
}

// ---------------------------------------------------------------------------------------------
// Columns

void TVirtualTree::CheckColumn(int Index) const {
  if (Index < 0 || Index >= ColumnCount())
    throw Exception("Column index out of range: " + std::to_string(Index));
}

const TTreeColumn& TVirtualTree::Column(int Index) const {
  CheckColumn(Index);
  return FColumns[static_cast<std::size_t>(Index)];
}

int TVirtualTree::AddColumn(std::string_view Text, int Width) {
  const int Index = ColumnCount();
  FColumns.push_back({std::string(Text), std::max(0, Width), Index, Index, 0});
  if (FHeader->HandleAllocated()) {
    HDITEMA Item{};
    Item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | HDI_ORDER;
    Item.pszText = FColumns.back().Text.data();
    Item.cxy = FColumns.back().Width;
    Item.fmt = HDF_OWNERDRAW | HDF_LEFT;
    Item.iOrder = Index;
    FSyncingHeader = true;
    ::SendMessageA(FHeader->Handle(), HDM_INSERTITEMA, static_cast<WPARAM>(Index),
                   reinterpret_cast<LPARAM>(&Item));
    FSyncingHeader = false;
  }
  Layout();
  UpdateScrollBars();
  Invalidate();
  return Index;
}

void TVirtualTree::DeleteColumn(int Index) {
  CheckColumn(Index);
  const int Position = FColumns[static_cast<std::size_t>(Index)].Position;
  FColumns.erase(FColumns.begin() + Index);
  for (TTreeColumn& Column : FColumns) {
    if (Column.Index > Index)
      --Column.Index;
    if (Column.Position > Position)
      --Column.Position;
  }
  if (FMainColumn == Index)
    FMainColumn = 0;
  else if (FMainColumn > Index)
    --FMainColumn;
  if (FSortColumn == Index)
    FSortColumn = -1;
  else if (FSortColumn > Index)
    --FSortColumn;
  if (FHeader->HandleAllocated()) {
    FSyncingHeader = true;
    ::SendMessageA(FHeader->Handle(), HDM_DELETEITEM, static_cast<WPARAM>(Index), 0);
    FSyncingHeader = false;
    SyncHeaderOrder();
  }
  ClampOffsets();
  Layout();
  UpdateScrollBars();
  Invalidate();
}

void TVirtualTree::SetColumnText(int Index, std::string_view Text) {
  CheckColumn(Index);
  FColumns[static_cast<std::size_t>(Index)].Text = Text;
  SyncHeaderItem(Index, HDI_TEXT);
}

void TVirtualTree::SetColumnWidth(int Index, int Width) {
  CheckColumn(Index);
  FColumns[static_cast<std::size_t>(Index)].Width = std::max(0, Width);
  SyncHeaderItem(Index, HDI_WIDTH);
  ClampOffsets();
  Layout();
  UpdateScrollBars();
  Invalidate();
}

void TVirtualTree::SetColumnTag(int Index, std::intptr_t Tag) {
  CheckColumn(Index);
  FColumns[static_cast<std::size_t>(Index)].Tag = Tag;
}

void TVirtualTree::SetColumnPosition(int Index, int Position) {
  CheckColumn(Index);
  Position = std::clamp(Position, 0, ColumnCount() - 1);
  const int Old = FColumns[static_cast<std::size_t>(Index)].Position;
  if (Old == Position)
    return;
  for (TTreeColumn& Column : FColumns) {
    if (Old < Position && Column.Position > Old && Column.Position <= Position)
      --Column.Position;
    else if (Position < Old && Column.Position >= Position && Column.Position < Old)
      ++Column.Position;
  }
  FColumns[static_cast<std::size_t>(Index)].Position = Position;
  SyncHeaderOrder();
  Invalidate();
}

int TVirtualTree::ColumnAtPosition(int Position) const {
  for (const TTreeColumn& Column : FColumns)
    if (Column.Position == Position)
      return Column.Index;
  return -1;
}

// Column indexes from left to right.
std::vector<int> TVirtualTree::DisplayOrder() const {
  std::vector<int> Order(FColumns.size(), 0);
  for (const TTreeColumn& Column : FColumns)
    Order[static_cast<std::size_t>(Column.Position)] = Column.Index;
  return Order;
}

int TVirtualTree::TotalColumnWidth() const {
  int Total = 0;
  for (const TTreeColumn& Column : FColumns)
    Total += Column.Width;
  return Total;
}

int TVirtualTree::ColumnLeft(int Index) const {
  int Left = -FOffsetX;
  if (Index < 0 || Index >= ColumnCount())
    return Left;
  const int Position = FColumns[static_cast<std::size_t>(Index)].Position;
  for (const TTreeColumn& Column : FColumns)
    if (Column.Position < Position)
      Left += Column.Width;
  return Left;
}

void TVirtualTree::SetHeaderVisible(bool Value) {
  if (FHeaderVisible == Value)
    return;
  FHeaderVisible = Value;
  FHeader->SetVisible(Value);
  Layout();
  UpdateScrollBars();
  Invalidate();
}

HWND TVirtualTree::HeaderHandle() const {
  return FHeader->WindowHandle();
}

void TVirtualTree::SetMainColumn(int Index) {
  if (FMainColumn != Index) {
    FMainColumn = Index;
    Invalidate();
  }
}

void TVirtualTree::SetSortColumn(int Index) {
  if (FSortColumn != Index) {
    FSortColumn = Index;
    FHeader->Invalidate();
  }
}

void TVirtualTree::SetSortDirection(TSortDirection Value) {
  if (FSortDirection != Value) {
    FSortDirection = Value;
    FHeader->Invalidate();
  }
}

// Puts every column into a newly made header window.
void TVirtualTree::FillHeader() {
  HWND Header = FHeader->Handle();
  FSyncingHeader = true;
  while (::SendMessageA(Header, HDM_GETITEMCOUNT, 0, 0) > 0)
    ::SendMessageA(Header, HDM_DELETEITEM, 0, 0);
  for (TTreeColumn& Column : FColumns) {
    HDITEMA Item{};
    Item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    Item.pszText = Column.Text.data();
    Item.cxy = Column.Width;
    Item.fmt = HDF_OWNERDRAW | HDF_LEFT;
    ::SendMessageA(Header, HDM_INSERTITEMA, static_cast<WPARAM>(Column.Index),
                   reinterpret_cast<LPARAM>(&Item));
  }
  FSyncingHeader = false;
  SyncHeaderOrder();
}

void TVirtualTree::SyncHeaderItem(int Index, UINT Mask) {
  if (!FHeader->HandleAllocated())
    return;
  TTreeColumn& Column = FColumns[static_cast<std::size_t>(Index)];
  HDITEMA Item{};
  Item.mask = Mask;
  Item.pszText = Column.Text.data();
  Item.cxy = Column.Width;
  FSyncingHeader = true;
  ::SendMessageA(FHeader->Handle(), HDM_SETITEMA, static_cast<WPARAM>(Index),
                 reinterpret_cast<LPARAM>(&Item));
  FSyncingHeader = false;
}

void TVirtualTree::SyncHeaderOrder() {
  if (!FHeader->HandleAllocated() || FColumns.empty())
    return;
  std::vector<int> Order = DisplayOrder();
  ::SendMessageA(FHeader->Handle(), HDM_SETORDERARRAY, Order.size(),
                 reinterpret_cast<LPARAM>(Order.data()));
  FHeader->Invalidate();
}

// The A and W forms of a notification carry the fields read here at the same places.
LRESULT TVirtualTree::HeaderNotify(const NMHDR& Notify) {
  const auto& Header = reinterpret_cast<const NMHEADERA&>(Notify);
  switch (Notify.code) {
  case HDN_ITEMCLICKA:
  case HDN_ITEMCLICKW:
    // Right clicks come through WM_RBUTTONUP on the header (some versions report both).
    if (Header.iButton == 0)
      HeaderClicked(Header.iItem, TMouseButton::mbLeft);
    return 0;
  case HDN_ITEMCHANGEDA:
  case HDN_ITEMCHANGEDW:
  case HDN_ENDTRACKA:
  case HDN_ENDTRACKW:
    if (!FSyncingHeader && Header.pitem && (Header.pitem->mask & HDI_WIDTH))
      ColumnResized(Header.iItem, Header.pitem->cxy);
    return 0;
  case HDN_ENDDRAG:
    if (Header.iItem >= 0 && Header.iItem < ColumnCount())
      ::PostMessageA(Handle(), WM_HEADERDRAGGED, static_cast<WPARAM>(Header.iItem),
                     FColumns[static_cast<std::size_t>(Header.iItem)].Position);
    return FALSE; // let the header move the column
  default:
    return 0;
  }
}

void TVirtualTree::HeaderClicked(int Column, TMouseButton Button) {
  if (Column >= 0 && Column < ColumnCount() && OnHeaderClick)
    OnHeaderClick(*this, Column, Button);
}

// Takes the display order the header has applied after a drag.
void TVirtualTree::HeaderDragged(int Column, int OldPosition) {
  const int Count = ColumnCount();
  if (!FHeader->HandleAllocated() || Column < 0 || Column >= Count)
    return;
  std::vector<int> Order(static_cast<std::size_t>(Count), -1);
  if (!::SendMessageA(FHeader->Handle(), HDM_GETORDERARRAY, Order.size(),
                      reinterpret_cast<LPARAM>(Order.data())))
    return;
  std::vector<bool> Seen(Order.size(), false);
  for (int Index : Order) {
    if (Index < 0 || Index >= Count || Seen[static_cast<std::size_t>(Index)])
      return;
    Seen[static_cast<std::size_t>(Index)] = true;
  }
  for (std::size_t Position = 0; Position < Order.size(); ++Position)
    FColumns[static_cast<std::size_t>(Order[Position])].Position = static_cast<int>(Position);
  Invalidate();
  if (FColumns[static_cast<std::size_t>(Column)].Position != OldPosition && OnHeaderDragged)
    OnHeaderDragged(*this, Column, OldPosition);
}

void TVirtualTree::ColumnResized(int Column, int Width) {
  if (Column < 0 || Column >= ColumnCount())
    return;
  TTreeColumn& Changed = FColumns[static_cast<std::size_t>(Column)];
  Width = std::max(0, Width);
  if (Changed.Width == Width)
    return;
  Changed.Width = Width;
  ClampOffsets();
  Layout();
  UpdateScrollBars();
  Invalidate();
  if (OnColumnResize)
    OnColumnResize(*this, Column);
}

// Items are owner-drawn so that the sort mark shows with every common-controls version. The header
// has drawn the item's frame and background already; this adds the text and the mark.
void TVirtualTree::DrawHeaderItem(const DRAWITEMSTRUCT& Item) {
  if (Item.CtlType != ODT_HEADER || Item.itemID >= FColumns.size())
    return;
  const int Index = static_cast<int>(Item.itemID);
  HDC DC = Item.hDC;
  RECT Area = Item.rcItem;
  Area.left += HeaderMargin;
  Area.right -= HeaderMargin;
  if (Item.itemState & ODS_SELECTED)
    ::OffsetRect(&Area, 1, 1);
  const bool Mark = Index == FSortColumn;
  RECT TextArea = Area;
  if (Mark)
    TextArea.right -= 2 * SortMarkHalf + 1 + HeaderMargin;

  const int Saved = ::SaveDC(DC);
  ::SelectObject(DC, Font().Handle());
  ::SetBkMode(DC, TRANSPARENT);
  ::SetTextColor(DC, ColorToRGB(Enabled() ? clBtnText : clGrayText));
  if (TextArea.right > TextArea.left) {
    const std::string& Text = FColumns[static_cast<std::size_t>(Index)].Text;
    ::DrawTextA(DC, Text.data(), static_cast<int>(Text.size()), &TextArea,
                DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
  if (Mark && Area.right - Area.left > 2 * SortMarkHalf) {
    const int X = Area.right - SortMarkHalf - 1;
    const int Y = (Area.top + Area.bottom) / 2;
    const bool Up = FSortDirection == TSortDirection::sdAscending;
    const int Tip = Up ? -2 : 2;
    const POINT Points[3] = {
        {X - SortMarkHalf, Y - Tip}, {X + SortMarkHalf, Y - Tip}, {X, Y + Tip}};
    const COLORREF Color = ColorToRGB(clBtnShadow);
    TGdiObject Brush(::CreateSolidBrush(Color));
    TGdiObject Pen(::CreatePen(PS_SOLID, 1, Color));
    TSelectObject UseBrush(DC, Brush.Get());
    TSelectObject UsePen(DC, Pen.Get());
    ::Polygon(DC, Points, 3);
  }
  ::RestoreDC(DC, Saved);
}

// ---------------------------------------------------------------------------------------------
// Cells, focus, selection

std::string TVirtualTree::Text(TTreeNode* Node, int Column) {
  return OnGetText ? OnGetText(*this, Node, Column) : std::string();
}

void TVirtualTree::SetImages(HIMAGELIST Images) {
  FImages = Images;
  FRowHeight = 0;
  ClampOffsets();
  UpdateScrollBars();
  Invalidate();
}

void TVirtualTree::SetFocusedNode(TTreeNode* Node) {
  if (Node && !FNodes->Updating()) {
    FNodes->BeginUpdate();
    for (TTreeNode* Parent = FNodes->Parent(Node); Parent; Parent = FNodes->Parent(Parent))
      FNodes->SetExpanded(Parent, true);
    FNodes->EndUpdate();
  }
  FNodes->SetFocused(Node);
  if (Node && !FNodes->Updating())
    ScrollIntoView(Node);
  Invalidate();
}

void TVirtualTree::SetSelected(TTreeNode* Node, bool Selected) {
  FNodes->SetSelected(Node, Selected);
  Invalidate();
}

void TVirtualTree::ClearSelection() {
  FNodes->ClearSelection();
  Invalidate();
}

void TVirtualTree::FocusAndSelect(TTreeNode* Node) {
  FNodes->ClearSelection();
  FNodes->SetSelected(Node, true);
  SetFocusedNode(Node);
}

void TVirtualTree::ToggleNode(TTreeNode* Node) {
  const bool Collapse = FNodes->Expanded(Node);
  FNodes->SetExpanded(Node, !Collapse);
  // A collapse that hides the focused node moves the focus to the collapsed node.
  TTreeNode* Focused = FNodes->Focused();
  if (Collapse && Focused && FNodes->RowIndex(Focused) < 0)
    for (TTreeNode* Parent = FNodes->Parent(Focused); Parent; Parent = FNodes->Parent(Parent))
      if (Parent == Node) {
        FocusAndSelect(Node);
        break;
      }
}

void TVirtualTree::BeginUpdate() {
  FNodes->BeginUpdate();
}

void TVirtualTree::EndUpdate() {
  FNodes->EndUpdate();
  if (!FNodes->Updating())
    Refresh();
}

void TVirtualTree::Refresh() {
  ClampOffsets();
  UpdateScrollBars();
  Invalidate();
}

void TVirtualTree::StructureChanged() {
  // Only compared with rows from now on, never followed: it may be a node Clear has freed.
  FHotNode = nullptr;
  if (FBusy)
    return;
  ClampOffsets();
  UpdateScrollBars();
  Invalidate();
}

TTreeNode* TVirtualTree::NextVisibleSibling(TTreeNode* Node) const {
  do
    Node = FNodes->NextSibling(Node);
  while (Node && !FNodes->IsVisible(Node));
  return Node;
}

// ---------------------------------------------------------------------------------------------
// Geometry and scrolling

int TVirtualTree::RowHeight() const {
  if (FRowHeight == 0) {
    TWindowDC Screen(nullptr);
    TSelectObject UseFont(Screen.Get(), Font().Handle());
    TEXTMETRICA Metrics{};
    ::GetTextMetricsA(Screen.Get(), &Metrics);
    int Height = std::max(MinRowHeight, static_cast<int>(Metrics.tmHeight) + 4);
    int ImageWidth = 0, ImageHeight = 0;
    if (FImages && ::ImageList_GetIconSize(FImages, &ImageWidth, &ImageHeight))
      Height = std::max(Height, ImageHeight + 2);
    FRowHeight = Height;
  }
  return FRowHeight;
}

RECT TVirtualTree::BodyRect() const {
  const TSize2 Client = ClientSize();
  return {0, std::min(HeaderHeight(), Client.Height), Client.Width, Client.Height};
}

int TVirtualTree::VisibleRowCount() const {
  const RECT Body = BodyRect();
  return std::max(0, static_cast<int>(Body.bottom - Body.top) / RowHeight());
}

TTreeNode* TVirtualTree::NodeAt(int Y) const {
  const RECT Body = BodyRect();
  if (FBusy || Y < Body.top || Y >= Body.bottom)
    return nullptr;
  const std::size_t Row = static_cast<std::size_t>(FTopRow + (Y - Body.top) / RowHeight());
  const std::vector<TTreeNode*>& Rows = FNodes->Rows();
  return Row < Rows.size() ? Rows[Row] : nullptr;
}

RECT TVirtualTree::NodeRect(TTreeNode* Node) const {
  const std::ptrdiff_t Row = FBusy ? -1 : FNodes->RowIndex(Node);
  const RECT Body = BodyRect();
  if (Row < FTopRow)
    return {};
  const int Top = Body.top + static_cast<int>(Row - FTopRow) * RowHeight();
  if (Top >= Body.bottom)
    return {};
  return {Body.left, Top, Body.right, Top + RowHeight()};
}

// An expand button takes the whole indent cell of its node's level, so it is easy to hit.
TVirtualTree::THit TVirtualTree::HitTest(int X, int Y) const {
  THit Hit;
  Hit.Node = NodeAt(Y);
  if (!Hit.Node || !FNodes->HasChildren(Hit.Node))
    return Hit;
  const bool HasMain = FMainColumn >= 0 && FMainColumn < ColumnCount();
  if (!FColumns.empty() && !HasMain)
    return Hit;
  const int CellLeft = ColumnLeft(FMainColumn);
  const int CellRight =
      HasMain ? CellLeft + FColumns[static_cast<std::size_t>(FMainColumn)].Width : INT_MAX;
  const int ButtonLeft = CellLeft + static_cast<int>(FNodes->Level(Hit.Node)) * FIndent;
  Hit.OnButton = X >= ButtonLeft && X < ButtonLeft + FIndent && X < CellRight;
  return Hit;
}

void TVirtualTree::Layout() {
  if (!HandleAllocated() || !FHeader->HandleAllocated())
    return;
  const TSize2 Client = ClientSize();
  if (FHeaderVisible) {
    RECT Area{0, 0, Client.Width, 0x7FFF};
    WINDOWPOS Position{};
    HDLAYOUT Request{&Area, &Position};
    ::SendMessageA(FHeader->Handle(), HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&Request));
    FHeaderHeight = Position.cy;
    // The header scrolls with the body: it starts left of the client area by the scroll offset.
    FHeader->SetBounds(-FOffsetX, 0, std::max(Client.Width + FOffsetX, TotalColumnWidth()),
                       FHeaderHeight);
  }
}

void TVirtualTree::ClampOffsets() {
  if (FBusy)
    return;
  const int RowCount = static_cast<int>(FNodes->Rows().size());
  FTopRow = std::clamp(FTopRow, 0, std::max(0, RowCount - VisibleRowCount()));
  const int OffsetX = std::clamp(FOffsetX, 0, std::max(0, TotalColumnWidth() - ClientSize().Width));
  if (OffsetX != FOffsetX) {
    FOffsetX = OffsetX;
    Layout();
  }
}

// Showing or hiding a scroll bar resizes the client area, and WM_SIZE comes back here: every
// value is therefore computed just before it is set, and the nesting is bounded.
void TVirtualTree::UpdateScrollBars() {
  if (!HandleAllocated() || FBusy || FScrollBarDepth > 2)
    return;
  ++FScrollBarDepth;
  ClampOffsets();
  const int Rows = static_cast<int>(FNodes->Rows().size());
  const int VerticalMax = std::max(0, Rows - 1);
  SetScrollBar(SB_VERT, SIF_RANGE | SIF_PAGE | SIF_POS, VerticalMax,
               static_cast<UINT>(Rows == 0 ? VerticalMax + 1 : VisibleRowCount()), FTopRow);
  ClampOffsets();
  SetScrollBar(SB_HORZ, SIF_RANGE | SIF_PAGE | SIF_POS, std::max(0, TotalColumnWidth() - 1),
               static_cast<UINT>(std::max(0, ClientSize().Width)), FOffsetX);
  --FScrollBarDepth;
}

// Setting a scroll bar redraws it, which takes real time (milliseconds under Wine), and the tree
// updates its scroll bars after every change of its rows, mostly with what they show already.
void TVirtualTree::SetScrollBar(int Bar, UINT Mask, int Max, UINT Page, int Pos) {
  TScrollBarState& State = FScrollBars[Bar == SB_VERT ? 0 : 1];
  const bool Known = State.Window == Handle();
  if (Known && (!(Mask & SIF_RANGE) || State.Max == Max) &&
      (!(Mask & SIF_PAGE) || State.Page == Page) && (!(Mask & SIF_POS) || State.Pos == Pos))
    return;
  // Recorded first: setting a scroll bar may resize the client area and bring WM_SIZE, whose
  // handling sets the scroll bars again, before this call returns.
  if (!Known && Mask != (SIF_RANGE | SIF_PAGE | SIF_POS))
    State.Window = nullptr; // only a complete state is remembered
  else
    State.Window = Handle();
  if (Mask & SIF_RANGE)
    State.Max = Max;
  if (Mask & SIF_PAGE)
    State.Page = Page;
  if (Mask & SIF_POS)
    State.Pos = Pos;
  SCROLLINFO Info{};
  Info.cbSize = sizeof(Info);
  Info.fMask = Mask;
  Info.nMax = Max;
  Info.nPage = Page;
  Info.nPos = Pos;
  ::SetScrollInfo(Handle(), Bar, &Info, TRUE);
}

void TVirtualTree::SetTopRow(int Row) {
  if (FBusy)
    return;
  const int Old = FTopRow;
  FTopRow = Row;
  ClampOffsets();
  if (FTopRow == Old || !HandleAllocated())
    return;
  SetScrollBar(SB_VERT, SIF_POS, 0, 0, FTopRow);
  Invalidate();
}

void TVirtualTree::SetOffsetX(int Offset) {
  if (FBusy)
    return;
  const int Old = FOffsetX;
  FOffsetX = std::max(0, Offset);
  ClampOffsets();
  if (FOffsetX == Old || !HandleAllocated())
    return;
  Layout();
  SetScrollBar(SB_HORZ, SIF_POS, 0, 0, FOffsetX);
  Invalidate();
}

void TVirtualTree::Scroll(int Bar, WORD Request) {
  SCROLLINFO Info{};
  Info.cbSize = sizeof(Info);
  Info.fMask = SIF_ALL;
  ::GetScrollInfo(Handle(), Bar, &Info);
  const bool Vertical = Bar == SB_VERT;
  const int Line = Vertical ? 1 : 16;
  const int Page = std::max(1, static_cast<int>(Info.nPage));
  int Position = Vertical ? FTopRow : FOffsetX;
  switch (Request) {
  case SB_LINEUP:
    Position -= Line;
    break;
  case SB_LINEDOWN:
    Position += Line;
    break;
  case SB_PAGEUP:
    Position -= Page;
    break;
  case SB_PAGEDOWN:
    Position += Page;
    break;
  case SB_THUMBTRACK:
  case SB_THUMBPOSITION:
    Position = Info.nTrackPos; // 32 bits, unlike the message's 16
    break;
  case SB_TOP:
    Position = 0;
    break;
  case SB_BOTTOM:
    Position = Info.nMax;
    break;
  default:
    return;
  }
  if (Vertical)
    SetTopRow(Position);
  else
    SetOffsetX(Position);
}

void TVirtualTree::MouseWheel(int Delta) {
  UINT Lines = 3;
  ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &Lines, 0);
  if (Lines == 0)
    return;
  if (Lines == WHEEL_PAGESCROLL)
    Lines = static_cast<UINT>(std::max(1, VisibleRowCount()));
  // Fine-grained wheels send small deltas: they add up until they make a row.
  const int PerRow = std::max(1, WHEEL_DELTA / static_cast<int>(Lines));
  FWheelRest += Delta;
  const int Rows = FWheelRest / PerRow;
  FWheelRest -= Rows * PerRow;
  SetTopRow(FTopRow - Rows);
}

void TVirtualTree::ScrollIntoView(TTreeNode* Node) {
  if (FBusy)
    return;
  const std::ptrdiff_t Row = FNodes->RowIndex(Node);
  if (Row < 0)
    return;
  const int Visible = std::max(1, VisibleRowCount());
  if (Row < FTopRow)
    SetTopRow(static_cast<int>(Row));
  else if (Row >= FTopRow + Visible)
    SetTopRow(static_cast<int>(Row) - Visible + 1);
}

// Compares Node only with the rows in view, so a node that has just been freed is harmless.
void TVirtualTree::InvalidateNode(TTreeNode* Node) {
  if (!Node || FBusy || !HandleAllocated())
    return;
  const std::vector<TTreeNode*>& Rows = FNodes->Rows();
  const RECT Body = BodyRect();
  const int Height = RowHeight();
  for (std::size_t Row = static_cast<std::size_t>(FTopRow); Row < Rows.size(); ++Row) {
    const int Top = Body.top + static_cast<int>(Row - static_cast<std::size_t>(FTopRow)) * Height;
    if (Top >= Body.bottom)
      break;
    if (Rows[Row] == Node) {
      const RECT Area{Body.left, Top, Body.right, Top + Height};
      ::InvalidateRect(Handle(), &Area, FALSE);
      break;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Mouse and keyboard

void TVirtualTree::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!FBusy && !(Shift & ssDouble) &&
      (Button == TMouseButton::mbLeft || Button == TMouseButton::mbRight)) {
    if (CanFocus() && !Focused())
      SetFocus();
    const THit Hit = HitTest(X, Y);
    if (Hit.OnButton && Button == TMouseButton::mbLeft)
      ToggleNode(Hit.Node);
    else if (Hit.Node)
      FocusAndSelect(Hit.Node);
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TVirtualTree::MouseMove(TShiftState Shift, int X, int Y) {
  if (!FBusy) {
    TTreeNode* Hot = NodeAt(Y);
    if (Hot != FHotNode) {
      InvalidateNode(FHotNode);
      FHotNode = Hot;
      InvalidateNode(FHotNode);
    }
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TVirtualTree::MouseLeave() {
  InvalidateNode(FHotNode);
  FHotNode = nullptr;
  TCustomControl::MouseLeave();
}

// True when the key is one of the tree's own.
bool TVirtualTree::HandleKey(WORD Key) {
  switch (Key) {
  case VK_UP:
  case VK_DOWN:
  case VK_HOME:
  case VK_END:
  case VK_PRIOR:
  case VK_NEXT:
  case VK_LEFT:
  case VK_RIGHT:
  case VK_ADD:
  case VK_SUBTRACT:
  case VK_MULTIPLY:
    break;
  default:
    return false;
  }
  const std::vector<TTreeNode*>& Rows = FNodes->Rows();
  if (Rows.empty())
    return true;
  TTreeNode* Focused = FNodes->Focused();
  const int Row = static_cast<int>(FNodes->RowIndex(Focused));
  const int Last = static_cast<int>(Rows.size()) - 1;
  const int Page = std::max(1, VisibleRowCount());
  auto RowNode = [&](int Index) {
    return Rows[static_cast<std::size_t>(std::clamp(Index, 0, Last))];
  };

  // Keys that act on the focused node need one that is a row.
  if (Row < 0 && (Key == VK_LEFT || Key == VK_RIGHT || Key == VK_ADD || Key == VK_SUBTRACT ||
                  Key == VK_MULTIPLY)) {
    FocusAndSelect(Rows.front());
    return true;
  }

  TTreeNode* Target = nullptr;
  switch (Key) {
  case VK_UP:
    Target = RowNode(Row < 0 ? 0 : Row - 1);
    break;
  case VK_DOWN:
    Target = RowNode(Row + 1);
    break;
  case VK_HOME:
    Target = Rows.front();
    break;
  case VK_END:
    Target = Rows.back();
    break;
  case VK_PRIOR:
    Target = RowNode(Row - Page);
    break;
  case VK_NEXT:
    Target = RowNode(Row < 0 ? 0 : Row + Page);
    break;
  case VK_LEFT:
    if (FNodes->HasChildren(Focused) && FNodes->Expanded(Focused))
      FNodes->SetExpanded(Focused, false);
    else
      Target = FNodes->Parent(Focused);
    break;
  case VK_RIGHT:
    if (FNodes->HasChildren(Focused) && !FNodes->Expanded(Focused))
      FNodes->SetExpanded(Focused, true);
    else if (Row < Last && FNodes->Parent(RowNode(Row + 1)) == Focused)
      Target = RowNode(Row + 1);
    break;
  case VK_ADD:
    if (FNodes->HasChildren(Focused))
      FNodes->SetExpanded(Focused, true);
    break;
  case VK_SUBTRACT:
    FNodes->SetExpanded(Focused, false);
    break;
  case VK_MULTIPLY:
    FNodes->SetExpandedAll(Focused, true);
    break;
  default:
    break;
  }
  if (Target)
    FocusAndSelect(Target);
  else
    ScrollIntoView(Focused);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Busy display

void TVirtualTree::EnterBusy() {
  FBusy = true;
  FBusyDots = 0;
  FHotNode = nullptr;
  StartBusyTimer();
  Invalidate();
}

void TVirtualTree::LeaveBusy() {
  StopBusyTimer();
  FBusy = false;
  Refresh();
}

void TVirtualTree::AbortBusy() {
  StopBusyTimer();
  FBusy = false;
  FNodes->Clear();
  Refresh();
}

void TVirtualTree::StartBusyTimer() {
  if (HandleAllocated()) {
    ::SetTimer(Handle(), BusyTimerId, BusyInterval, nullptr);
    FBusyTimer = true;
  }
}

void TVirtualTree::StopBusyTimer() {
  if (FBusyTimer && HandleAllocated())
    ::KillTimer(Handle(), BusyTimerId);
  FBusyTimer = false;
}

// ---------------------------------------------------------------------------------------------
// Drawing

void TVirtualTree::Paint(TCanvas& Canvas) {
  const RECT Body = BodyRect();
  const int Width = Body.right - Body.left;
  const int Height = Body.bottom - Body.top;
  if (Width <= 0 || Height <= 0)
    return;
  TOffscreen Buffer(Canvas.Handle(), Width, Height);
  TSelectObject UseFont(Buffer.DC(), Font().Handle());
  ::SetBkMode(Buffer.DC(), TRANSPARENT);
  FillSolid(Buffer.DC(), 0, 0, Width, Height, ColorToRGB(Color()));
  if (FBusy)
    PaintBusy(Buffer.DC(), Width, Height);
  else
    PaintRows(Buffer.DC(), Width, Height);
  Buffer.Flush(Body.left, Body.top);
}

// The word stays in place while the dots are added: its position ignores them.
void TVirtualTree::PaintBusy(HDC DC, int Width, int Height) {
  SIZE Word{};
  ::GetTextExtentPoint32A(DC, BusyWord.data(), static_cast<int>(BusyWord.size()), &Word);
  const std::string Text =
      std::string(BusyWord) + std::string(static_cast<std::size_t>(FBusyDots), '.');
  ::SetTextColor(DC, ColorToRGB(Enabled() ? Font().Color() : clGrayText));
  ::TextOutA(DC, (Width - Word.cx) / 2, (Height - Word.cy) / 2, Text.data(),
             static_cast<int>(Text.size()));
}

void TVirtualTree::PaintRows(HDC DC, int Width, int Height) {
  struct TCell {
    int Column, Left, Right;
  };
  std::vector<TCell> Cells;
  for (int Index : DisplayOrder()) {
    const int Left = ColumnLeft(Index);
    Cells.push_back({Index, Left, Left + FColumns[static_cast<std::size_t>(Index)].Width});
  }
  if (Cells.empty())
    Cells.push_back({-1, -FOffsetX, Width});
  const int RowsLeft = Cells.front().Left;
  const int RowsRight = Cells.back().Right;

  const COLORREF Window = ColorToRGB(Color());
  const COLORREF Grid = ColorToRGB(clBtnFace);
  const COLORREF Highlight = ColorToRGB(clHighlight);
  const COLORREF Selection = Blend(Highlight, Window);
  const COLORREF Normal = ColorToRGB(Enabled() ? Font().Color() : clGrayText);
  const COLORREF Hot = ColorToRGB(HotColor);
  const bool HasFocus = Focused();
  const int RowPixels = RowHeight();
  const std::vector<TTreeNode*>& Rows = FNodes->Rows();
  TTreeNode* Focus = FNodes->Focused();

  for (std::size_t Row = static_cast<std::size_t>(FTopRow); Row < Rows.size(); ++Row) {
    const int Top = static_cast<int>(Row - static_cast<std::size_t>(FTopRow)) * RowPixels;
    if (Top >= Height)
      break;
    const int Bottom = Top + RowPixels;
    TTreeNode* Node = Rows[Row];
    const RECT RowArea{RowsLeft, Top, RowsRight, Bottom - 1};

    if (FNodes->Selected(Node))
      FillSolid(DC, RowArea, Selection);
    for (const TCell& Cell : Cells)
      FillSolid(DC, Cell.Right - 1, Top, Cell.Right, Bottom, Grid);
    FillSolid(DC, RowsLeft, Bottom - 1, RowsRight, Bottom, Grid);
    if (FNodes->Selected(Node)) {
      TGdiObject Frame(::CreateSolidBrush(Highlight));
      ::FrameRect(DC, &RowArea, static_cast<HBRUSH>(Frame.Get()));
    }

    ::SetTextColor(DC, Enabled() && Node == FHotNode ? Hot : Normal);
    for (const TCell& Cell : Cells) {
      if (Cell.Right <= 0 || Cell.Left >= Width)
        continue;
      const RECT Area{Cell.Left, Top, Cell.Right - 1, Bottom - 1};
      const int Saved = ::SaveDC(DC);
      ::IntersectClipRect(DC, Area.left, Area.top, Area.right, Area.bottom);
      if (Cell.Column == FMainColumn || Cell.Column < 0)
        PaintTreeColumn(DC, Node, Area, Top, static_cast<int>(Row) * RowPixels);
      else
        PaintCellText(DC, Node, Cell.Column, Area);
      ::RestoreDC(DC, Saved);
    }

    if (HasFocus && Node == Focus) {
      // Inside the selection frame, which it would otherwise break up.
      RECT FocusArea = RowArea;
      ::InflateRect(&FocusArea, -1, -1);
      ::SetTextColor(DC, RGB(0, 0, 0));
      ::SetBkColor(DC, RGB(255, 255, 255));
      ::DrawFocusRect(DC, &FocusArea);
    }
  }
}

// The main column: tree lines and expand button in the indent, then the image and the text.
void TVirtualTree::PaintTreeColumn(HDC DC, TTreeNode* Node, const RECT& Cell, int RowTop,
                                   int AbsoluteTop) {
  const int Level = static_cast<int>(FNodes->Level(Node));
  const int Bottom = Cell.bottom + 1; // lines run through the grid line to the next row
  const int Middle = RowTop + RowHeight() / 2;
  const int Phase = FOffsetX + AbsoluteTop - RowTop;
  const COLORREF Lines = ColorToRGB(clBtnShadow);

  // From the node's own level outwards: its connector, then a through-line for each ancestor
  // with a later sibling.
  TTreeNode* Current = Node;
  for (int Depth = Level; Depth >= 0; --Depth, Current = FNodes->Parent(Current)) {
    const int X = Cell.left + Depth * FIndent + FIndent / 2;
    const bool Later = NextVisibleSibling(Current) != nullptr;
    if (Current == Node) {
      const bool Earlier = Level > 0 || FNodes->PreviousSibling(Node) != nullptr;
      DottedVertical(DC, X, Earlier ? RowTop : Middle, Later ? Bottom : Middle + 1, Phase, Lines);
      DottedHorizontal(DC, X, Cell.left + (Depth + 1) * FIndent, Middle, Phase, Lines);
    } else if (Later) {
      DottedVertical(DC, X, RowTop, Bottom, Phase, Lines);
    }
  }

  if (FNodes->HasChildren(Node)) {
    const int X = Cell.left + Level * FIndent + FIndent / 2;
    const COLORREF Frame = ColorToRGB(clBtnShadow);
    const COLORREF Sign = ColorToRGB(clWindowText);
    FillSolid(DC, X - ButtonHalf, Middle - ButtonHalf, X + ButtonHalf + 1, Middle + ButtonHalf + 1,
              Frame);
    FillSolid(DC, X - ButtonHalf + 1, Middle - ButtonHalf + 1, X + ButtonHalf, Middle + ButtonHalf,
              ColorToRGB(Color()));
    FillSolid(DC, X - 2, Middle, X + 3, Middle + 1, Sign);
    if (!FNodes->Expanded(Node))
      FillSolid(DC, X, Middle - 2, X + 1, Middle + 3, Sign);
  }

  int Left = Cell.left + (Level + 1) * FIndent;
  if (FImages && OnGetImageIndex) {
    const int Image = OnGetImageIndex(*this, Node, FColumns.empty() ? -1 : FMainColumn);
    int ImageWidth = 0, ImageHeight = 0;
    if (Image >= 0 && ::ImageList_GetIconSize(FImages, &ImageWidth, &ImageHeight)) {
      ::ImageList_Draw(FImages, Image, DC, Left, RowTop + (Cell.bottom - RowTop - ImageHeight) / 2,
                       ILD_TRANSPARENT);
      Left += ImageWidth;
    }
  }
  PaintCellText(DC, Node, FColumns.empty() ? -1 : FMainColumn,
                RECT{Left - TextMargin / 2, Cell.top, Cell.right, Cell.bottom});
}

void TVirtualTree::PaintCellText(HDC DC, TTreeNode* Node, int Column, RECT Area) {
  const std::string Value = Text(Node, Column);
  if (Value.empty())
    return;
  Area.left += TextMargin;
  Area.right -= TextMargin;
  if (Area.right <= Area.left)
    return;
  ::DrawTextA(DC, Value.data(), static_cast<int>(Value.size()), &Area,
              DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

// ---------------------------------------------------------------------------------------------
// Messages

void TVirtualTree::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_ERASEBKGND:
    Message.Result = 1; // Paint covers everything, in one copy
    return;
  case WM_GETDLGCODE:
    Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
    return;
  case WM_SIZE:
    TCustomControl::WndProc(Message);
    Layout();
    UpdateScrollBars();
    Invalidate();
    return;
  case WM_VSCROLL:
  case WM_HSCROLL:
    if (!FBusy)
      Scroll(Message.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(Message.WParam));
    Message.Result = 0;
    return;
  case WM_MOUSEWHEEL:
    if (!FBusy)
      MouseWheel(static_cast<short>(HIWORD(Message.WParam)));
    Message.Result = 0;
    return;
  case WM_KEYDOWN: {
    WORD Key = static_cast<WORD>(Message.WParam);
    if (OnKeyDown) {
      OnKeyDown(*this, Key, KeyboardShiftState());
      if (Key == 0)
        return;
    }
    if (!FBusy && HandleKey(Key))
      return;
    Message.WParam = Key;
    DefaultHandler(Message);
    return;
  }
  case WM_LBUTTONDBLCLK: {
    // On an expand button the second click toggles again instead of raising OnDblClick.
    if (FBusy)
      return;
    const POINT Point = PointOf(Message.LParam);
    const THit Hit = HitTest(Point.x, Point.y);
    if (Hit.OnButton) {
      ToggleNode(Hit.Node);
    } else if (Hit.Node) {
      FocusAndSelect(Hit.Node);
      if (OnDblClick)
        OnDblClick(*this);
    }
    TCustomControl::MouseDown(TMouseButton::mbLeft, MouseShiftState(Message.WParam) | ssDouble,
                              Point.x, Point.y);
    return;
  }
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
    Invalidate();
    break;
  case WM_TIMER:
    if (Message.WParam == BusyTimerId) {
      if (FBusy) {
        FBusyDots = (FBusyDots + 1) % 4;
        Invalidate();
      }
      return;
    }
    break;
  case WM_HEADERDRAGGED:
    HeaderDragged(static_cast<int>(Message.WParam), static_cast<int>(Message.LParam));
    return;
  default:
    break;
  }
  TCustomControl::WndProc(Message);
}

} // namespace wyndo
