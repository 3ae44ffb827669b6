#include "core/textmatch.h"

#include "core/errors.h"
#include "core/locale.h"

namespace wyndo {

TTextCriteria::TTextCriteria(std::span<const std::string> Criteria, bool CaseSensitive,
                             bool UseMask)
    : FCaseSensitive(CaseSensitive), FUseMask(UseMask) {
  for (std::size_t Column = 0; Column < Criteria.size(); ++Column) {
    const std::string& Typed = Criteria[Column];
    if (!Typed.empty()) {
      FCriteria.push_back(
          {Column, Typed, CaseSensitive ? Typed : UserLocale().UpperCase(Typed), std::nullopt});
    }
  }
}

bool TTextCriteria::Matches(const ICellTexts& Cells) const {
  for (const TCriterion& Criterion : FCriteria) {
    std::string Text = Cells.CellText(Criterion.Column);
    if (!FCaseSensitive) {
      Text = UserLocale().UpperCase(Text);
    }
    if (FUseMask) {
      if (!Criterion.Mask) {
        try {
          Criterion.Mask.emplace(Criterion.Compared);
        } catch (const EMaskException& E) {
          // The user knows the mask as typed, not upper-cased.
          throw EMaskException(Criterion.Typed, E.Position());
        }
      }
      if (!Criterion.Mask->Matches(Text)) {
        return false;
      }
    } else if (Text != Criterion.Compared) {
      return false;
    }
  }
  return true;
}

bool MatchNodeTexts(const ICellTexts& Cells, std::span<const std::string> Criteria,
                    bool CaseSensitive, bool UseMask) {
  return TTextCriteria(Criteria, CaseSensitive, UseMask).Matches(Cells);
}

} // namespace wyndo
