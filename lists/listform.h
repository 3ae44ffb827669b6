#pragma once
// List windows: one of the four system lists (windows, processes, threads, modules) as a tree
// with the columns the user chose, filled by a list build on open and on every refresh, sorted
// by any column, filtered, searched, and able to highlight a listed window or open its
// information window.
//
// A build owns the tree between WM_BUILDSTARTED and WM_BUILDFINISHED: the window then shows the
// busy display and keeps its hands off the tree. A window being destroyed stops its build before
// any control goes, and ignores build messages from then on.

#include "controls/smallcontrols.h"
#include "controls/wyndoform.h"
#include "lists/columnmodel.h"
#include "lists/filterform.h"
#include "lists/listbuilding.h"
#include "lists/listsearch.h"
#include "tree/treeview.h"
#include "ui/comctrls.h"
#include "ui/forms.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace wyndo {

class TTextCriteria;

// Per node kind: a filter text per column (empty: no condition) and whether nodes need children.
struct TKindFilter {
  std::vector<std::string> Texts;
  bool MustHaveChildNodes = false;
};

class TListForm : public TWyndoForm, public TBuildTarget {
public:
  ~TListForm() override;
  void BeforeDestruction() override;

  // TBuildTarget
  HWND BuildWindow() override { return Handle(); }
  TListKind BuildKind() const override { return FListKind; }
  TNodeModel& BuildNodes() override { return Tree->Nodes(); }
  const TColumnModel& BuildColumns() const override { return FColumns; }
  std::string BuildCaption() override { return Caption(); }

  // Repaints the tree: every cell is written again in the current number format.
  void SettingsChanged() override;
  void WndProc(TMessage& Message) override;

  TListKind ListKind() const { return FListKind; }
  const std::vector<TListKind>& Kinds() const { return FKinds; }
  // Between WM_BUILDSTARTED and the handling of WM_BUILDFINISHED.
  bool Building() const { return FBuilding; }
  // From the start of a build until its finish has been handled.
  bool BuildRunning() const { return FBuilding || FThreadData.load() != nullptr; }
  // Builds whose finish has been handled (completed or not).
  int FinishedBuilds() const { return FFinishedBuilds; }
  const TListNodeData& NodeData(TTreeNode* Node) const;
  // The node's key value (a window handle, an identifier); false when the key is not shown.
  bool KeyValue(TTreeNode* Node, std::uint32_t& Value) const;
  // The cell text of a node in a column, as the tree shows it.
  std::string CellText(TTreeNode* Node, int Column) const;
  // The column settings record a column shows for a kind of node (its tag entry), or nullptr.
  const TColumnSettings* ColumnRecord(int Column, TListKind Kind) const;
  // Whether a node's cells match criteria given per column. Raises EMaskException for an
  // invalid mask.
  bool NodeMatches(TTreeNode* Node, const TTextCriteria& Criteria) const;

  // Commands.
  void RefreshButtonClick(TObject& Sender);
  void HighlightClick(TObject& Sender);
  void PropertiesButtonClick(TObject& Sender);
  void SearchButtonClick(TObject& Sender);
  void FilterButtonClick(TObject& Sender);
  // Applies the filter: every node visible when the filter button's box is clear; otherwise
  // each node shown or hidden by the filter texts of its kind, between one update of the tree.
  // An invalid mask stops the pass with EMaskException; the tree's update ends all the same.
  void FilterButtonCheckClick(TObject& Sender);
  // A node counts as a root for the filter: a top-level node, and in the window list the
  // top-level windows below the desktop node.
  bool IsFilterRoot(TTreeNode* Node) const;

  // Sorts every sibling list by a column in a direction, with the list's comparison.
  void SortTree(int Column, TSortDirection Direction);

  TToolBar* ToolBar = nullptr;
  TToolButton* RefreshButton = nullptr;
  TToolButton* Highlight = nullptr;
  TToolButton* PropertiesButton = nullptr;
  TToolButton* SearchButton = nullptr;
  TCheckSpeedButton* FilterButton = nullptr;
  TStatusBar* StatusBar = nullptr;
  TVirtualTree* Tree = nullptr;

  // Filter settings (not stored: a new list window starts with an empty filter).
  std::array<TKindFilter, ListKindCount> FFilters;
  bool FFilterCaseSensitive = false;
  bool FFilterWildCards = true;
  bool FFilterRootOnly = true;
  // The open filter dialog (it frees itself when closed, and clears this as it goes).
  TFilterForm* FFilterForm = nullptr;
  // The list's search dialog, made with the list and freed with it.
  TFormPtr<TListSearchForm> FSearchForm;

protected:
  // Kind: the list's own kind; Kinds: every kind its nodes have, its own first.
  TListForm(TListKind Kind, std::vector<TListKind> Kinds, const char* Caption);

private:
  void BuildStarted();
  void BuildFinished(bool Completed);
  void SetButtonsEnabled(bool Enabled);
  // Activation: the visible search dialog is topmost exactly while the list (or the dialog
  // itself) is active; an open filter dialog stays in front of the list and takes its activation.
  void Activated(bool Active, HWND Other);
  void TreeFocusChanged(TTreeNode* Node);
  void TreeHeaderClick(int Column);
  void TreeHeaderDragged();
  std::string TreeGetText(TTreeNode* Node, int Column) const;
  int TreeGetImageIndex(TTreeNode* Node, int Column) const;

  TListKind FListKind;
  std::vector<TListKind> FKinds;
  TColumnModel FColumns;
  TImageList FButtonImages;
  TImageList FNodeImages;
  TImageList FFilterImage;
  bool FBuilding = false;
  bool FClosing = false;
  int FFinishedBuilds = 0;
};

class TWindowListForm : public TListForm {
public:
  TWindowListForm();
  const char* WindowClassName() const override { return "TWindowListForm"; }
};

class TProcessListForm : public TListForm {
public:
  TProcessListForm();
  const char* WindowClassName() const override { return "TProcessListForm"; }
};

class TThreadListForm : public TListForm {
public:
  TThreadListForm();
  const char* WindowClassName() const override { return "TThreadListForm"; }
};

class TModuleListForm : public TListForm {
public:
  TModuleListForm();
  const char* WindowClassName() const override { return "TModuleListForm"; }
};

} // namespace wyndo
