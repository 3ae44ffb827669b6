#pragma once
// The node model of the virtual tree control: nodes with a fixed-size data area in sibling lists
// under an invisible root, their expanded, hidden, selected and focused states, traversal,
// sorting and the list of rows a view shows. No window system here, so all of it is tested
// without windows.
//
// Nodes come from an arena: adding is a pointer bump and linking, clearing frees every node at
// once (after OnFreeNode has seen each). A node pointer stays valid until Clear or the model's
// destruction.
//
// Threads. AddChild and Data may be called from one other thread while the owner does not touch
// the model at all (the list build fills the tree while the view shows its busy display).
//
// Events (unassigned events do nothing):
//   OnFreeNode(Node)     for every node Clear or the destructor frees, before its memory goes;
//                        the data area is still readable.
//   OnFocusChanged(Node) after the focused node changed (Node may be nullptr).
//   OnStructureChanged() after anything that changes which rows are shown (clearing, expanding,
//                        collapsing, hiding, sorting) outside an update, and at the end of an
//                        update in which such a change happened. AddChild raises none, as it may
//                        run on the build thread: the owner refreshes its view after adding.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace wyndo {

class TNodeModel;

class TTreeNode {
public:
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

private:
  friend class TNodeModel;
  TTreeNode() = default;

  TTreeNode* FParent = nullptr; // the invisible root for top-level nodes
  TTreeNode* FFirstChild = nullptr;
  TTreeNode* FNext = nullptr;     // next sibling
  TTreeNode* FPrevious = nullptr; // previous sibling; the first child's is the last child
  std::uint32_t FChildCount = 0;
  std::uint32_t FFlags = 0;
  // The data area follows the node in the arena.
};

enum class TSortDirection : std::uint8_t { sdAscending = 0, sdDescending = 1 };

class TNodeModel {
public:
  // Every node carries DataSize bytes of data, zero-filled when the node is added.
  explicit TNodeModel(std::size_t DataSize = 0);
  ~TNodeModel();
  TNodeModel(const TNodeModel&) = delete;
  TNodeModel& operator=(const TNodeModel&) = delete;

  std::size_t DataSize() const { return FDataSize; }
  // Changes the data size; only while the model is empty.
  void SetDataSize(std::size_t DataSize);
  void* Data(TTreeNode* Node) const;
  template <class T>
  T& DataAs(TTreeNode* Node) const {
    return *static_cast<T*>(Data(Node));
  }

  // Adds a node as the last child of Parent (nullptr: a top-level node). New nodes are visible,
  // collapsed, not selected.
  TTreeNode* AddChild(TTreeNode* Parent);
  // Frees every node; the focused node becomes nullptr (without OnFocusChanged).
  void Clear();
  std::size_t Count() const { return FCount; }

  // Pre-order over all nodes, hidden and collapsed ones included; nullptr past the ends.
  TTreeNode* First() const;
  TTreeNode* Next(const TTreeNode* Node) const;
  TTreeNode* Previous(const TTreeNode* Node) const;
  // The last node in pre-order: the last descendant of the last top-level node.
  TTreeNode* Last() const;

  // nullptr for a top-level node.
  TTreeNode* Parent(const TTreeNode* Node) const;
  TTreeNode* FirstChild(const TTreeNode* Node) const; // nullptr: the first top-level node
  TTreeNode* LastChild(const TTreeNode* Node) const;  // nullptr: the last top-level node
  TTreeNode* NextSibling(const TTreeNode* Node) const;
  TTreeNode* PreviousSibling(const TTreeNode* Node) const;
  std::size_t ChildCount(const TTreeNode* Node) const; // nullptr: the number of top-level nodes
  bool HasChildren(const TTreeNode* Node) const { return ChildCount(Node) != 0; }
  // 0 for a top-level node.
  unsigned Level(const TTreeNode* Node) const;

  bool Expanded(const TTreeNode* Node) const;
  void SetExpanded(TTreeNode* Node, bool Expanded);
  // Expands or collapses a node and all its descendants.
  void SetExpandedAll(TTreeNode* Node, bool Expanded);
  // A node's own visibility; a hidden node hides its whole subtree, whatever its nodes say.
  bool IsVisible(const TTreeNode* Node) const;
  void SetVisible(TTreeNode* Node, bool Visible);
  // Shown: visible itself and every ancestor visible (expansion not considered).
  bool IsShown(const TTreeNode* Node) const;

  bool Selected(const TTreeNode* Node) const;
  void SetSelected(TTreeNode* Node, bool Selected);
  // Unselects every node.
  void ClearSelection();
  TTreeNode* Focused() const { return FFocused; }
  // Raises OnFocusChanged when the focused node changes.
  void SetFocused(TTreeNode* Node);

  // Sorts every sibling list, stable, by Compare(A, B) (a comparison whose sign says A's place):
  // with sdAscending a node A is placed before a node B when Compare(A, B) <= 0, with
  // sdDescending when Compare(A, B) >= 0. A merge sort applies exactly this rule, so nodes the
  // comparison calls equal keep their order or come reversed as the rule decides.
  // Key(Node) is called once per node; Compare gets the keys.
  template <class TKeyFn, class TCompareFn>
  void Sort(TKeyFn Key, TCompareFn Compare, TSortDirection Direction);

  // The rows a view shows, top to bottom: shown nodes whose ancestors are all expanded.
  const std::vector<TTreeNode*>& Rows() const;
  // Index of a node in Rows(), or -1 when it is not a row.
  std::ptrdiff_t RowIndex(const TTreeNode* Node) const;

  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return FUpdateCount > 0; }

  std::function<void(TTreeNode* Node)> OnFreeNode;
  std::function<void(TTreeNode* Node)> OnFocusChanged;
  std::function<void()> OnStructureChanged;

  // Memory taken per node by the model (node and data area), for the benchmarks.
  std::size_t BytesPerNode() const;

private:
  // The sibling lists of every parent, collected for sorting.
  std::vector<TTreeNode*> Parents() const;
  void Relink(TTreeNode* Parent, const std::vector<TTreeNode*>& Children);
  void Changed();

  struct TArena;
  std::unique_ptr<TArena> FArena;
  std::size_t FDataSize;
  std::size_t FCount = 0;
  TTreeNode* FRoot;
  TTreeNode* FFocused = nullptr;
  // Every selected node, possibly with nodes unselected since and repeats (freed with the nodes).
  std::vector<TTreeNode*> FMaybeSelected;
  std::size_t FSelectedCount = 0;
  int FUpdateCount = 0;
  bool FPendingChange = false;
  mutable std::vector<TTreeNode*> FRows;
  mutable bool FRowsValid = false;
};

namespace node_sort_detail {

// Merges the sorted runs [Left, Middle) and [Middle, Right) of Items into Buffer by the
// placement rule, then copies back. Buffer holds at least Right items.
template <class TItem, class TCompareFn>
void Merge(std::vector<TItem>& Items, std::vector<TItem>& Buffer, std::size_t Left,
           std::size_t Middle, std::size_t Right, TCompareFn& Compare, bool Descending) {
  std::size_t A = Left, B = Middle, Out = Left;
  while (A < Middle && B < Right) {
    const auto Result = Compare(Items[A].first, Items[B].first);
    const bool TakeLeft = Descending ? Result >= 0 : Result <= 0;
    Buffer[Out++] = std::move(TakeLeft ? Items[A++] : Items[B++]);
  }
  while (A < Middle)
    Buffer[Out++] = std::move(Items[A++]);
  while (B < Right)
    Buffer[Out++] = std::move(Items[B++]);
  for (std::size_t I = Left; I < Right; ++I)
    Items[I] = std::move(Buffer[I]);
}

// Bottom-up merge sort: runs of 1, 2, 4, ... merged left to right. Buffer is the merge space,
// kept by the caller from one sibling list to the next.
template <class TItem, class TCompareFn>
void MergeSort(std::vector<TItem>& Items, std::vector<TItem>& Buffer, TCompareFn& Compare,
               bool Descending) {
  if (Buffer.size() < Items.size())
    Buffer.resize(Items.size());
  for (std::size_t Width = 1; Width < Items.size(); Width *= 2)
    for (std::size_t Left = 0; Left + Width < Items.size(); Left += 2 * Width)
      Merge(Items, Buffer, Left, Left + Width, std::min(Left + 2 * Width, Items.size()), Compare,
            Descending);
}

} // namespace node_sort_detail

template <class TKeyFn, class TCompareFn>
void TNodeModel::Sort(TKeyFn Key, TCompareFn Compare, TSortDirection Direction) {
  using TKey = decltype(Key(static_cast<TTreeNode*>(nullptr)));
  const bool Descending = Direction == TSortDirection::sdDescending;
  // One set of vectors for every sibling list: a tree has as many lists as parents.
  std::vector<std::pair<TKey, TTreeNode*>> Items, Buffer;
  std::vector<TTreeNode*> Sorted;
  for (TTreeNode* Parent : Parents()) {
    Items.clear();
    for (TTreeNode* Child = Parent->FFirstChild; Child != nullptr; Child = Child->FNext)
      Items.emplace_back(Key(Child), Child);
    if (Items.size() < 2)
      continue;
    node_sort_detail::MergeSort(Items, Buffer, Compare, Descending);
    Sorted.clear();
    for (auto& Item : Items)
      Sorted.push_back(Item.second);
    Relink(Parent, Sorted);
  }
  Changed();
}

} // namespace wyndo
