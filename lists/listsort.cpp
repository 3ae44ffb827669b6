#include "lists/listsort.h"

#include "core/format.h"
#include "core/rowvalue.h"

namespace wyndo {

TListSortKey ListSortKey(const TListNodeData& Node, const TListColumn& Column,
                         std::size_t ColumnCount) {
  TListSortKey Key;
  Key.Kind = Node.Kind;
  const TColumnSettings* Record = Column.Records[Node.Kind];
  TRowValue Value;
  if (!Record || !FindRowValue(Node.Row, Record, ColumnCount, Value))
    return Key;
  if (Value.IsText) {
    Key.Type = TListSortKey::skText;
    Key.Text = Value.Text;
  } else {
    Key.Type = TListSortKey::skNumber;
    Key.Number = OrdinalAsInt32(Value.Ordinal, Value.OrdKind);
  }
  return Key;
}

int CompareListSortKeys(const TListSortKey& A, const TListSortKey& B) {
  if (A.Kind != B.Kind || A.Type != B.Type)
    return 0;
  switch (A.Type) {
  case TListSortKey::skText:
    return CompareTexts(A.Text, B.Text);
  case TListSortKey::skNumber:
    return CompareNumbers(A.Number, B.Number);
  default:
    return 0;
  }
}

} // namespace wyndo
