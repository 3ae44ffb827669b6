#pragma once
// Matching a node's cell texts against per-column criteria: the list filter and the list search.

#include "core/mask.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wyndo {

// Gives the text of one cell of a node exactly as the list displays it.
class ICellTexts {
public:
  virtual std::string CellText(std::size_t Column) const = 0;

protected:
  ~ICellTexts() = default;
};

// Criteria prepared once for many nodes: upper-cased once when the match ignores case, each mask
// compiled on its first use (so an invalid mask is reported when a node first needs it, and a
// mask no node reaches never fails).
class TTextCriteria {
public:
  // Criteria[i] belongs to column i; empty criteria impose nothing.
  TTextCriteria(std::span<const std::string> Criteria, bool CaseSensitive, bool UseMask);

  // True when every non-empty criterion matches its cell: equal text, or the mask matches.
  // Without CaseSensitive both sides are upper-cased by the user's locale first. Raises
  // EMaskException (naming the criterion as typed) for an invalid mask.
  bool Matches(const ICellTexts& Cells) const;

private:
  struct TCriterion {
    std::size_t Column;
    std::string Typed;
    std::string Compared; // Typed, upper-cased when the match ignores case
    mutable std::optional<TMask> Mask;
  };
  std::vector<TCriterion> FCriteria;
  bool FCaseSensitive;
  bool FUseMask;
  // The user's locale upper-cases plain ASCII as a to z only, one byte at a time (no ASCII byte
  // is a lead byte): such cells need no trip through the locale.
  bool FPlainAscii = false;
};

// One-off form of TTextCriteria(Criteria, CaseSensitive, UseMask).Matches(Cells).
bool MatchNodeTexts(const ICellTexts& Cells, std::span<const std::string> Criteria,
                    bool CaseSensitive, bool UseMask);

} // namespace wyndo
