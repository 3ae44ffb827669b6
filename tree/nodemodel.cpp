#include "tree/nodemodel.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace wyndo {

namespace {

// Node states kept in TTreeNode::FFlags.
constexpr std::uint32_t nfExpanded = 1;
constexpr std::uint32_t nfHidden = 2;
constexpr std::uint32_t nfSelected = 4;

// Every node starts at this alignment, so the data area may hold any type.
constexpr std::size_t NodeAlign = alignof(std::max_align_t);

constexpr std::size_t RoundUp(std::size_t Size, std::size_t Align) {
  return (Size + Align - 1) / Align * Align;
}

// Arena layout of a node: the TTreeNode, its row index in the rows cache, then the data area. The
// row index fills what would otherwise be alignment padding before the data area.
constexpr std::size_t RowSlotOffset = sizeof(TTreeNode);
constexpr std::size_t DataOffset = RoundUp(RowSlotOffset + sizeof(std::uint32_t), NodeAlign);
// Stored in a node that has not been a row yet.
constexpr std::uint32_t NoRow = std::numeric_limits<std::uint32_t>::max();

constexpr std::size_t Stride(std::size_t DataSize) {
  return RoundUp(DataOffset + DataSize, NodeAlign);
}

// The index a node had when the rows cache was last built. It may be stale: only an entry of the
// cache that points back at the node confirms it.
std::uint32_t& RowSlot(const TTreeNode* Node) {
  auto* Bytes = reinterpret_cast<std::byte*>(const_cast<TTreeNode*>(Node));
  return *std::launder(reinterpret_cast<std::uint32_t*>(Bytes + RowSlotOffset));
}

// The node after Node's subtree in pre-order, staying inside Top's subtree (nullptr: the whole
// tree).
TTreeNode* NextAfterSubtree(const TNodeModel& Model, const TTreeNode* Node, const TTreeNode* Top) {
  while (Node != Top) {
    if (TTreeNode* Sibling = Model.NextSibling(Node))
      return Sibling;
    Node = Model.Parent(Node);
  }
  return nullptr;
}

} // namespace

// Hands out node memory from chunks of about 64 KiB, so adding a node is a pointer bump. Reset
// keeps the first chunk for the next fill and frees the others.
struct TNodeModel::TArena {
  static constexpr std::size_t ChunkBytes = 64 * 1024;

  struct TChunkDelete {
    void operator()(std::byte* Chunk) const {
      ::operator delete (Chunk, std::align_val_t{NodeAlign});
    }
  };
  using TChunk = std::unique_ptr<std::byte, TChunkDelete>;

  explicit TArena(std::size_t NodeStride)
      : Stride(NodeStride), NodesPerChunk(std::max<std::size_t>(1, ChunkBytes / NodeStride)) {}

  std::byte* Allocate() {
    if (Chunks.empty() || Used == NodesPerChunk) {
      const std::size_t Bytes = NodesPerChunk * Stride;
      Chunks.emplace_back(
          static_cast<std::byte*>(::operator new (Bytes, std::align_val_t{NodeAlign})));
      Used = 0;
    }
    return Chunks.back().get() + Stride * Used++;
  }

  void Reset() {
    if (Chunks.size() > 1)
      Chunks.erase(Chunks.begin() + 1, Chunks.end());
    Used = 0;
  }

  const std::size_t Stride;
  const std::size_t NodesPerChunk;
  std::vector<TChunk> Chunks; // the last one is being filled
  std::size_t Used = 0;       // nodes taken from the last chunk
};

TNodeModel::TNodeModel(std::size_t DataSize)
    : FArena(std::make_unique<TArena>(Stride(DataSize))), FDataSize(DataSize),
      FRoot(new TTreeNode) {}

TNodeModel::~TNodeModel() {
  if (OnFreeNode)
    for (TTreeNode* Node = First(); Node != nullptr; Node = Next(Node))
      OnFreeNode(Node);
  delete FRoot;
}

void TNodeModel::SetDataSize(std::size_t DataSize) {
  if (FCount != 0)
    throw std::logic_error("the node data size can only change while the tree is empty");
  FArena = std::make_unique<TArena>(Stride(DataSize));
  FDataSize = DataSize;
}

void* TNodeModel::Data(TTreeNode* Node) const {
  if (Node == nullptr)
    return nullptr;
  return reinterpret_cast<std::byte*>(Node) + DataOffset;
}

// AddChild runs on the build thread while the owner leaves the model alone. It therefore only
// links the node and marks the rows cache stale; it raises no event (not even through an update),
// and the owner refreshes its view once the build is done.
TTreeNode* TNodeModel::AddChild(TTreeNode* Parent) {
  if (Parent == nullptr)
    Parent = FRoot;
  std::byte* Memory = FArena->Allocate();
  auto* Node = new (Memory) TTreeNode;
  new (Memory + RowSlotOffset) std::uint32_t(NoRow);
  std::memset(Memory + DataOffset, 0, FDataSize);

  Node->FParent = Parent;
  if (TTreeNode* First = Parent->FFirstChild) {
    TTreeNode* Last = First->FPrevious;
    Last->FNext = Node;
    Node->FPrevious = Last;
    First->FPrevious = Node;
  } else {
    Parent->FFirstChild = Node;
    Node->FPrevious = Node;
  }
  ++Parent->FChildCount;
  ++FCount;
  FRowsValid = false;
  return Node;
}

void TNodeModel::Clear() {
  if (OnFreeNode)
    for (TTreeNode* Node = First(); Node != nullptr; Node = Next(Node))
      OnFreeNode(Node);
  FRoot->FFirstChild = nullptr;
  FRoot->FChildCount = 0;
  FCount = 0;
  FFocused = nullptr;
  FMaybeSelected.clear();
  FSelectedCount = 0;
  FRows.clear();
  FArena->Reset();
  Changed();
}

TTreeNode* TNodeModel::First() const {
  return FRoot->FFirstChild;
}

TTreeNode* TNodeModel::Next(const TTreeNode* Node) const {
  if (Node == nullptr)
    return nullptr;
  if (Node->FFirstChild != nullptr)
    return Node->FFirstChild;
  return NextAfterSubtree(*this, Node, nullptr);
}

TTreeNode* TNodeModel::Previous(const TTreeNode* Node) const {
  if (Node == nullptr)
    return nullptr;
  TTreeNode* Parent = Node->FParent;
  if (Parent->FFirstChild == Node)
    return Parent == FRoot ? nullptr : Parent;
  TTreeNode* Result = Node->FPrevious;
  while (Result->FFirstChild != nullptr)
    Result = Result->FFirstChild->FPrevious;
  return Result;
}

TTreeNode* TNodeModel::Last() const {
  TTreeNode* Node = FRoot;
  while (Node->FFirstChild != nullptr)
    Node = Node->FFirstChild->FPrevious;
  return Node == FRoot ? nullptr : Node;
}

TTreeNode* TNodeModel::Parent(const TTreeNode* Node) const {
  if (Node == nullptr || Node->FParent == FRoot)
    return nullptr;
  return Node->FParent;
}

TTreeNode* TNodeModel::FirstChild(const TTreeNode* Node) const {
  return (Node != nullptr ? Node : FRoot)->FFirstChild;
}

TTreeNode* TNodeModel::LastChild(const TTreeNode* Node) const {
  const TTreeNode* First = FirstChild(Node);
  return First != nullptr ? First->FPrevious : nullptr;
}

TTreeNode* TNodeModel::NextSibling(const TTreeNode* Node) const {
  return Node != nullptr ? Node->FNext : nullptr;
}

TTreeNode* TNodeModel::PreviousSibling(const TTreeNode* Node) const {
  if (Node == nullptr || Node->FParent->FFirstChild == Node)
    return nullptr;
  return Node->FPrevious;
}

std::size_t TNodeModel::ChildCount(const TTreeNode* Node) const {
  return (Node != nullptr ? Node : FRoot)->FChildCount;
}

unsigned TNodeModel::Level(const TTreeNode* Node) const {
  unsigned Result = 0;
  if (Node != nullptr)
    for (const TTreeNode* Parent = Node->FParent; Parent != FRoot; Parent = Parent->FParent)
      ++Result;
  return Result;
}

bool TNodeModel::Expanded(const TTreeNode* Node) const {
  return Node != nullptr && (Node->FFlags & nfExpanded) != 0;
}

void TNodeModel::SetExpanded(TTreeNode* Node, bool Expanded) {
  if (Node == nullptr || this->Expanded(Node) == Expanded)
    return;
  Node->FFlags ^= nfExpanded;
  Changed();
}

// nullptr stands for the whole tree.
void TNodeModel::SetExpandedAll(TTreeNode* Node, bool Expanded) {
  TTreeNode* Current = Node != nullptr ? Node : FRoot->FFirstChild;
  bool Any = false;
  while (Current != nullptr) {
    if (this->Expanded(Current) != Expanded) {
      Current->FFlags ^= nfExpanded;
      Any = true;
    }
    Current = Current->FFirstChild != nullptr ? Current->FFirstChild
                                              : NextAfterSubtree(*this, Current, Node);
  }
  if (Any)
    Changed();
}

bool TNodeModel::IsVisible(const TTreeNode* Node) const {
  return Node != nullptr && (Node->FFlags & nfHidden) == 0;
}

void TNodeModel::SetVisible(TTreeNode* Node, bool Visible) {
  if (Node == nullptr || IsVisible(Node) == Visible)
    return;
  Node->FFlags ^= nfHidden;
  Changed();
}

bool TNodeModel::IsShown(const TTreeNode* Node) const {
  if (Node == nullptr)
    return false;
  for (; Node != FRoot; Node = Node->FParent)
    if ((Node->FFlags & nfHidden) != 0)
      return false;
  return true;
}

bool TNodeModel::Selected(const TTreeNode* Node) const {
  return Node != nullptr && (Node->FFlags & nfSelected) != 0;
}

void TNodeModel::SetSelected(TTreeNode* Node, bool Selected) {
  if (Node == nullptr || this->Selected(Node) == Selected)
    return;
  if (!Selected) {
    Node->FFlags &= ~nfSelected;
    --FSelectedCount;
    return;
  }
  // Nodes selected and unselected again leave entries behind: dropped once they are many.
  if (FMaybeSelected.size() >= 2 * FSelectedCount + 16) {
    std::erase_if(FMaybeSelected, [this](TTreeNode* Each) { return !this->Selected(Each); });
    std::sort(FMaybeSelected.begin(), FMaybeSelected.end());
    FMaybeSelected.erase(std::unique(FMaybeSelected.begin(), FMaybeSelected.end()),
                         FMaybeSelected.end());
  }
  Node->FFlags |= nfSelected;
  ++FSelectedCount;
  FMaybeSelected.push_back(Node);
}

// Only the nodes selected since the last clearing, not the whole tree: a search or a click
// clears the selection of a tree of any size.
void TNodeModel::ClearSelection() {
  for (TTreeNode* Node : FMaybeSelected)
    Node->FFlags &= ~nfSelected;
  FMaybeSelected.clear();
  FSelectedCount = 0;
}

void TNodeModel::SetFocused(TTreeNode* Node) {
  if (FFocused == Node)
    return;
  FFocused = Node;
  if (OnFocusChanged)
    OnFocusChanged(Node);
}

// Rebuilt on demand after a change: a pre-order walk that skips the subtrees of hidden and of
// collapsed nodes, storing each row's index in its node for RowIndex.
const std::vector<TTreeNode*>& TNodeModel::Rows() const {
  if (FRowsValid)
    return FRows;
  FRows.clear();
  TTreeNode* Node = FRoot->FFirstChild;
  while (Node != nullptr) {
    bool Descend = false;
    if ((Node->FFlags & nfHidden) == 0) {
      RowSlot(Node) = static_cast<std::uint32_t>(FRows.size());
      FRows.push_back(Node);
      Descend = (Node->FFlags & nfExpanded) != 0 && Node->FFirstChild != nullptr;
    }
    Node = Descend ? Node->FFirstChild : NextAfterSubtree(*this, Node, nullptr);
  }
  FRowsValid = true;
  return FRows;
}

std::ptrdiff_t TNodeModel::RowIndex(const TTreeNode* Node) const {
  if (Node == nullptr || Node == FRoot)
    return -1;
  const std::vector<TTreeNode*>& AllRows = Rows();
  const std::uint32_t Index = RowSlot(Node);
  if (Index < AllRows.size() && AllRows[Index] == Node)
    return static_cast<std::ptrdiff_t>(Index);
  return -1;
}

void TNodeModel::BeginUpdate() {
  ++FUpdateCount;
}

void TNodeModel::EndUpdate() {
  if (FUpdateCount == 0 || --FUpdateCount > 0 || !FPendingChange)
    return;
  FPendingChange = false;
  if (OnStructureChanged)
    OnStructureChanged();
}

std::size_t TNodeModel::BytesPerNode() const {
  return FArena->Stride;
}

std::vector<TTreeNode*> TNodeModel::Parents() const {
  std::vector<TTreeNode*> Result;
  if (FRoot->FChildCount >= 2)
    Result.push_back(FRoot);
  for (TTreeNode* Node = First(); Node != nullptr; Node = Next(Node))
    if (Node->FChildCount >= 2)
      Result.push_back(Node);
  return Result;
}

void TNodeModel::Relink(TTreeNode* Parent, const std::vector<TTreeNode*>& Children) {
  if (Children.empty())
    return;
  Parent->FFirstChild = Children.front();
  Children.front()->FPrevious = Children.back();
  for (std::size_t I = 0; I + 1 < Children.size(); ++I) {
    Children[I]->FNext = Children[I + 1];
    Children[I + 1]->FPrevious = Children[I];
  }
  Children.back()->FNext = nullptr;
}

void TNodeModel::Changed() {
  FRowsValid = false;
  if (Updating())
    FPendingChange = true;
  else if (OnStructureChanged)
    OnStructureChanged();
}

} // namespace wyndo
