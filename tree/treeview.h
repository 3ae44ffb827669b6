#pragma once
// TVirtualTree: the tree-list control. It shows the rows of its node model (tree/nodemodel.h) in
// columns under a common-control header, painting only the rows in view; the owner supplies the
// cell texts and images through events and fills, sorts and filters the model itself.
//
// Columns. A column has an index (its place in the column list, which the events and the
// owner's texts use) and a display position (its place on the screen, which the user changes by
// dragging its header). Both are kept here and mirrored into the header window, so columns may
// be set up before the window exists. The main column draws the tree lines, expand buttons and
// images; the sort column shows a sort mark (a triangle pointing up for ascending, down for
// descending). Sorting itself is the owner's: Nodes().Sort(...), after which the view repaints.
//
// Rows. Row height follows the font (at least 18 pixels, so 16-pixel images fit). In the main
// column each level is indented by Indent() pixels holding the dotted tree lines and, for a node
// with children, a 9 x 9 expand button (also at the top level). Selection is a full-row blended
// rectangle, the focused row gets a focus rectangle while the control has the keyboard focus, and
// the row under the mouse is drawn in HotColor.
//
// Mouse and keyboard. A left or right click takes the keyboard focus and makes the clicked row the
// focused and only selected node; a click or double click on an expand button toggles the node
// instead. Up/Down, Home/End, Page Up/Down move through the rows; Left collapses or goes to the
// parent, Right expands or goes to the first child; keypad + and - expand and collapse, keypad *
// expands the whole subtree. Every move selects the new node and scrolls it into view.
//
// Busy display. Between EnterBusy and LeaveBusy (or AbortBusy) another thread may fill the model:
// the view then neither reads the model (no rows painted, no mouse or keyboard handling, no
// scroll-bar updates, structure changes ignored) and paints "Searching" followed by 0 to 3 dots,
// advancing every 150 ms.
//
// Events (unassigned events do nothing; Sender is the tree):
//   OnGetText(Node, Column) -> text  for every cell painted, and whenever Text() is called. Must
//                        not change the model. Column is -1 when the tree has no columns.
//   OnGetImageIndex(Node, Column) -> index  for each painted cell of the main column; -1 draws no
//                        image. Must not change the model.
//   OnFocusChanged(Node) after the focused node changed, by the user or by SetFocusedNode (Node
//                        may be nullptr). May change the header (captions) and the model.
//   OnFreeNode(Node)     for each node the model frees (Clear, AbortBusy, destruction), before its
//                        memory goes; the node's data is still readable. Must not change the model.
//   OnHeaderClick(Column, Button)  after a left or right click on a column's header. May sort the
//                        model and change the sort column and direction.
//   OnHeaderDragged(Column, OldPosition)  after the user dropped a column at a new display
//                        position; ColumnPosition already reports the new order. May change the
//                        main column.
//   OnColumnResize(Column)  after the user changed a column's width with the header (also while
//                        dragging its divider); Column(i).Width already has the new width.
//   OnDblClick           after a double click on a row (not on an expand button), once that row is
//                        focused and selected.
//   OnMouseDown/OnMouseUp  as for every control, after the tree has handled the press.
//   OnKeyDown            before the tree handles the key; a key set to 0 is not handled.
//
// The view uses the model's own events (OnStructureChanged, OnFocusChanged, OnFreeNode); owners
// use the view's. Adding nodes raises nothing: call Refresh, or add inside an update.

#include "tree/nodemodel.h"
#include "ui/controls.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace wyndo {

struct TTreeColumn {
  std::string Text;
  int Width = 50;
  int Index = 0;         // place in the column list
  int Position = 0;      // place on the screen, 0 = leftmost
  std::intptr_t Tag = 0; // the owner's
};

using TTreeGetTextEvent = std::function<std::string(TObject& Sender, TTreeNode* Node, int Column)>;
using TTreeGetImageIndexEvent = std::function<int(TObject& Sender, TTreeNode* Node, int Column)>;
using TTreeNodeEvent = std::function<void(TObject& Sender, TTreeNode* Node)>;
using TTreeHeaderClickEvent = std::function<void(TObject& Sender, int Column, TMouseButton Button)>;
using TTreeHeaderDraggedEvent = std::function<void(TObject& Sender, int Column, int OldPosition)>;
using TTreeColumnEvent = std::function<void(TObject& Sender, int Column)>;

class TVirtualTree : public TCustomControl {
public:
  TVirtualTree();
  ~TVirtualTree() override;

  TNodeModel& Nodes() { return *FNodes; }
  const TNodeModel& Nodes() const { return *FNodes; }

  // --- Columns
  // Appends a column at the right end; returns its index.
  int AddColumn(std::string_view Text, int Width);
  // Removes a column; later columns move down one index. The main column and the sort column
  // follow their columns (a deleted main column becomes 0, a deleted sort column -1).
  void DeleteColumn(int Index);
  int ColumnCount() const { return static_cast<int>(FColumns.size()); }
  const TTreeColumn& Column(int Index) const;
  void SetColumnText(int Index, std::string_view Text);
  void SetColumnWidth(int Index, int Width);
  void SetColumnTag(int Index, std::intptr_t Tag);
  int ColumnPosition(int Index) const { return Column(Index).Position; }
  // Moves a column to a display position; the columns in between shift by one.
  void SetColumnPosition(int Index, int Position);
  // The column at a display position, or -1.
  int ColumnAtPosition(int Position) const;
  bool HeaderVisible() const { return FHeaderVisible; }
  void SetHeaderVisible(bool Value);
  // Height of the header window (0 while hidden or before the window exists).
  int HeaderHeight() const { return FHeaderVisible ? FHeaderHeight : 0; }
  HWND HeaderHandle() const;

  int MainColumn() const { return FMainColumn; }
  void SetMainColumn(int Index);
  int SortColumn() const { return FSortColumn; }
  void SetSortColumn(int Index); // -1: no sort mark
  TSortDirection SortDirection() const { return FSortDirection; }
  void SetSortDirection(TSortDirection Value);

  // --- Cells
  // The text of a cell, from OnGetText (empty without a handler). Callable for any node.
  std::string Text(TTreeNode* Node, int Column);
  // Not owned; image indexes come from OnGetImageIndex.
  HIMAGELIST Images() const { return FImages; }
  void SetImages(HIMAGELIST Images);
  // Text colour of the row under the mouse.
  TColor HotColor = 0x00000080;

  // --- Focus, selection, updates
  // Makes Node the model's focused node. Outside an update it also expands the node's collapsed
  // ancestors and scrolls it into view.
  void SetFocusedNode(TTreeNode* Node);
  TTreeNode* FocusedNode() const { return FNodes->Focused(); }
  // Selection through the view repaints; the model's own setters do not.
  void SetSelected(TTreeNode* Node, bool Selected);
  void ClearSelection();
  void BeginUpdate();
  // Ends an update; the last one applies pending changes and repaints once.
  void EndUpdate();
  // Repaints every row.
  void Refresh();

  // --- Scrolling and geometry (client coordinates)
  int RowHeight() const;
  int Indent() const { return FIndent; }
  // Index in Nodes().Rows() of the row at the top of the view.
  int TopRow() const { return FTopRow; }
  void SetTopRow(int Row);
  int OffsetX() const { return FOffsetX; }
  void SetOffsetX(int Offset);
  // Rows that fit completely in the view.
  int VisibleRowCount() const;
  // Scrolls vertically the least amount that shows Node's row completely.
  void ScrollIntoView(TTreeNode* Node);
  // The row rectangle of Node, across all columns; empty when Node is not a row in view.
  RECT NodeRect(TTreeNode* Node) const;
  // The left edge of a column's cell in client coordinates (after horizontal scrolling).
  int ColumnLeft(int Index) const;
  // The node whose row is at client point Y, or nullptr.
  TTreeNode* NodeAt(int Y) const;

  // --- Busy display
  void EnterBusy();
  void LeaveBusy();
  // Ends the busy display and frees every node.
  void AbortBusy();
  bool Busy() const { return FBusy; }
  int BusyDots() const { return FBusyDots; }

  TTreeGetTextEvent OnGetText;
  TTreeGetImageIndexEvent OnGetImageIndex;
  TTreeNodeEvent OnFocusChanged;
  TTreeNodeEvent OnFreeNode;
  TTreeHeaderClickEvent OnHeaderClick;
  TTreeHeaderDraggedEvent OnHeaderDragged;
  TTreeColumnEvent OnColumnResize;

  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void HandleCreated() override;
  void Paint(TCanvas& Canvas) override;
  void FontChanged() override;
  void EnabledChanged() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseLeave() override;

private:
  class THeader;
  friend class THeader;

  // What a client point is over.
  struct THit {
    TTreeNode* Node = nullptr;
    bool OnButton = false;
  };

  // Nodes
  void StructureChanged();
  void FocusAndSelect(TTreeNode* Node);
  void ToggleNode(TTreeNode* Node);
  THit HitTest(int X, int Y) const;
  TTreeNode* NextVisibleSibling(TTreeNode* Node) const;
  bool HandleKey(WORD Key);

  // Columns and header
  void CheckColumn(int Index) const;
  std::vector<int> DisplayOrder() const;
  int TotalColumnWidth() const;
  int FirstColumnInOrder() const;
  void FillHeader();
  void SyncHeaderItem(int Index, UINT Mask);
  void SyncHeaderOrder();
  LRESULT HeaderNotify(const NMHDR& Header);
  void HeaderDragged(int Column, int OldPosition);
  void ColumnResized(int Column, int Width);
  void HeaderClicked(int Column, TMouseButton Button);
  void DrawHeaderItem(const DRAWITEMSTRUCT& Item);

  // Scrolling
  void Layout();
  void ClampOffsets();
  void UpdateScrollBars();
  // Gives a scroll bar (SB_VERT or SB_HORZ) the fields of Mask (SIF_RANGE with a minimum of 0,
  // SIF_PAGE, SIF_POS), unless it has them already: setting a scroll bar redraws it.
  void SetScrollBar(int Bar, UINT Mask, int Max, UINT Page, int Pos);
  void Scroll(int Bar, WORD Request);
  void MouseWheel(int Delta);
  RECT BodyRect() const;
  void InvalidateNode(TTreeNode* Node);

  // Drawing
  void PaintRows(HDC DC, int Width, int Height);
  void PaintBusy(HDC DC, int Width, int Height);
  void PaintTreeColumn(HDC DC, TTreeNode* Node, const RECT& Cell, int RowTop, int AbsoluteTop);
  void PaintCellText(HDC DC, TTreeNode* Node, int Column, RECT Area);

  // Busy display
  void StartBusyTimer();
  void StopBusyTimer();

  std::unique_ptr<TNodeModel> FNodes;
  std::unique_ptr<THeader> FHeader;
  std::vector<TTreeColumn> FColumns;
  bool FHeaderVisible = true;
  int FHeaderHeight = 0;
  bool FSyncingHeader = false; // changes made here, not by the user
  int FMainColumn = 0;
  int FSortColumn = -1;
  TSortDirection FSortDirection = TSortDirection::sdAscending;
  HIMAGELIST FImages = nullptr;
  int FIndent = 18;
  mutable int FRowHeight = 0; // 0: to be measured from the font
  int FTopRow = 0;
  int FOffsetX = 0;
  int FWheelRest = 0;      // wheel movement not yet turned into rows
  int FScrollBarDepth = 0; // UpdateScrollBars re-entered through WM_SIZE
  // What each scroll bar was last given, and for which window.
  struct TScrollBarState {
    HWND Window = nullptr;
    int Max = 0;
    UINT Page = 0;
    int Pos = 0;
  };
  TScrollBarState FScrollBars[2];
  TTreeNode* FHotNode = nullptr;
  bool FBusy = false;
  int FBusyDots = 0;
  bool FBusyTimer = false;
};

} // namespace wyndo
