#include "core/textmatch.h"

#include "core/errors.h"
#include "core/locale.h"

#include <cstdint>
#include <cstring>

namespace wyndo {

namespace {

// Eight bytes at a time: every cell the filter and search compare goes through here.
bool IsAscii(std::string_view Text) {
  constexpr std::uint64_t HighBits = 0x8080808080808080u;
  std::size_t I = 0;
  for (; I + 8 <= Text.size(); I += 8) {
    std::uint64_t Word;
    std::memcpy(&Word, Text.data() + I, sizeof(Word));
    if ((Word & HighBits) != 0) {
      return false;
    }
  }
  for (; I < Text.size(); ++I) {
    if (static_cast<unsigned char>(Text[I]) >= 0x80) {
      return false;
    }
  }
  return true;
}

// Whether the locale upper-cases every ASCII character on its own as AsciiUpperCase does.
bool UpperCasesAsciiPlainly(const TLocaleFunctions& Locale) {
  std::string Ascii;
  for (int C = 0; C < 0x80; ++C) {
    if (Locale.IsLeadByte(static_cast<unsigned char>(C))) {
      return false;
    }
    Ascii += static_cast<char>(C);
  }
  return Locale.UpperCase(Ascii) == AsciiUpperCase(Ascii);
}

} // namespace

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
  FPlainAscii = !CaseSensitive && !FCriteria.empty() && UpperCasesAsciiPlainly(UserLocale());
}

bool TTextCriteria::Matches(const ICellTexts& Cells) const {
  for (const TCriterion& Criterion : FCriteria) {
    std::string Text = Cells.CellText(Criterion.Column);
    if (FCaseSensitive) {
      // Compared as it is.
    } else if (FPlainAscii && IsAscii(Text)) {
      // A mask ignores the case of a to z by itself.
      if (!FUseMask) {
        for (char& C : Text) {
          if (C >= 'a' && C <= 'z') {
            C = static_cast<char>(C - 'a' + 'A');
          }
        }
      }
    } else {
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
