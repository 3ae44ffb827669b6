#include "lists/columnmodel.h"

#include <algorithm>
#include <stdexcept>

namespace wyndo {

TColumnModel BuildColumnModel(TListKind OwnKind, std::span<const TListKind> Kinds,
                              const std::array<TColumnList, ListKindCount>& Settings) {
  TColumnModel Model;
  std::size_t Count = 0;
  for (TListKind Kind : Kinds) {
    Model.PanelWidths.push_back(StatusPanelWidth);
    const TColumnList& Records = Settings[Kind];
    Count = std::max<std::size_t>(
        Count, std::count_if(Records.begin(), Records.end(),
                             [](const TColumnSettings& Record) { return Record.Shown == 1; }));
  }
  Model.Columns.resize(Count);
  for (auto Kind = Kinds.rbegin(); Kind != Kinds.rend(); ++Kind)
    for (const TColumnSettings& Record : Settings[*Kind]) {
      if (Record.Shown != 1)
        continue;
      if (Record.Position >= Count)
        throw std::logic_error("A shown column lies beyond the list's columns: " +
                               Record.FieldName);
      TListColumn& Column = Model.Columns[Record.Position];
      Column.Records[*Kind] = &Record;
      if (Record.Width != 0)
        Column.Width = Record.Width;
      if (*Kind == OwnKind)
        Column.Caption = Record.FieldName;
    }
  return Model;
}

} // namespace wyndo
