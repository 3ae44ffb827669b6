#include "core/errors.h"
#include "core/textmatch.h"
#include "core_fixture.h"

#include <utility>

namespace wyndo::test {
namespace {

using TextMatchTest = CoreTest;
using TCriteria = std::vector<std::string>;

// A node's cells; remembers which columns were asked for.
class TFakeCells final : public ICellTexts {
public:
  explicit TFakeCells(std::vector<std::string> Texts) : FTexts(std::move(Texts)) {}

  std::string CellText(std::size_t Column) const override {
    Requested.push_back(Column);
    return FTexts.at(Column);
  }

  mutable std::vector<std::size_t> Requested;

private:
  std::vector<std::string> FTexts;
};

bool Matches(const TCriteria& Criteria, std::vector<std::string> Cells, bool CaseSensitive,
             bool UseMask) {
  return MatchNodeTexts(TFakeCells(std::move(Cells)), Criteria, CaseSensitive, UseMask);
}

TEST_F(TextMatchTest, EmptyCriteriaImposeNothing) {
  const TFakeCells Cells({"a", "b"});
  EXPECT_TRUE(MatchNodeTexts(Cells, TCriteria{"", ""}, false, true));
  EXPECT_TRUE(MatchNodeTexts(Cells, TCriteria{}, false, false));
  EXPECT_TRUE(Cells.Requested.empty());
}

TEST_F(TextMatchTest, WithoutMaskTheTextMustBeEqual) {
  EXPECT_TRUE(Matches({"Edit"}, {"Edit"}, true, false));
  EXPECT_FALSE(Matches({"Edit"}, {"Edit1"}, true, false));
  EXPECT_FALSE(Matches({"Edit"}, {"edit"}, true, false));
  EXPECT_TRUE(Matches({"Edit"}, {"eDIT"}, false, false));
  EXPECT_FALSE(Matches({"E*"}, {"Edit"}, false, false));
  EXPECT_TRUE(Matches({"E*"}, {"e*"}, false, false));
}

TEST_F(TextMatchTest, WithMaskTheTextMustMatchIt) {
  EXPECT_TRUE(Matches({"*dit"}, {"Edit"}, false, true));
  EXPECT_TRUE(Matches({"[a-f]*"}, {"Edit"}, false, true));
  EXPECT_FALSE(Matches({"*dit"}, {"Edits"}, false, true));
  // Masks ignore the case of a to z even when the match is case-sensitive.
  EXPECT_TRUE(Matches({"edit"}, {"EDIT"}, true, true));
}

TEST_F(TextMatchTest, IgnoringCaseUsesTheUserLocale) {
  InstallLocale(Latin1Locale());
  // Both the criterion and the cell are upper-cased.
  EXPECT_TRUE(Matches({"\xE4rger"}, {"\xC4RGER"}, false, false));
  EXPECT_TRUE(Matches({"\xC4RGER"}, {"\xE4rger"}, false, false));
  EXPECT_TRUE(Matches({"\xE4*"}, {"\xC4rger"}, false, true));
  EXPECT_TRUE(Matches({"\xC4*"}, {"\xE4rger"}, false, true));
  EXPECT_FALSE(Matches({"\xE4rger"}, {"\xC4rger"}, true, false));
  EXPECT_FALSE(Matches({"\xE4*"}, {"\xC4rger"}, true, true));
}

// Upper-cases "i" to a dotted capital I (0xDD), as a Turkish locale may; the rest as ASCII.
std::string DottedIUpperCase(std::string_view Text) {
  std::string Result = AsciiUpperCase(Text);
  for (std::size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] == 'i') {
      Result[I] = '\xDD';
    }
  }
  return Result;
}

TEST_F(TextMatchTest, PlainAsciiCellsAreUpperCasedByTheLocaleToo) {
  InstallLocale({DottedIUpperCase, AsciiLocale().CompareTextIgnoreCase, AsciiLocale().IsLeadByte});
  // Both sides go through the locale: "i" equals "i", but no longer "I".
  EXPECT_TRUE(Matches({"edit"}, {"Edit"}, false, false));
  EXPECT_FALSE(Matches({"edit"}, {"EDIT"}, false, false));
  EXPECT_TRUE(Matches({"*i*"}, {"Edit"}, false, true));
  EXPECT_FALSE(Matches({"*i*"}, {"EDIT"}, false, true));
}

TEST_F(TextMatchTest, EveryCriterionMustMatchAndTheFirstMismatchStops) {
  const TCriteria Criteria{"a", "", "c"};
  const TTextCriteria Prepared(Criteria, false, false);

  const TFakeCells Passing({"a", "x", "c"});
  EXPECT_TRUE(Prepared.Matches(Passing));
  EXPECT_EQ(Passing.Requested, (std::vector<std::size_t>{0, 2}));

  const TFakeCells FailingFirst({"b", "x", "c"});
  EXPECT_FALSE(Prepared.Matches(FailingFirst));
  EXPECT_EQ(FailingFirst.Requested, (std::vector<std::size_t>{0}));

  EXPECT_FALSE(Prepared.Matches(TFakeCells({"a", "x", "d"})));
}

TEST_F(TextMatchTest, InvalidMaskNamesTheCriterionAsTyped) {
  try {
    Matches({"[abc"}, {"x"}, false, true);
    FAIL() << "no EMaskException";
  } catch (const EMaskException& Error) {
    EXPECT_EQ(Error.Mask(), "[abc");
    EXPECT_EQ(Error.Position(), 5);
    EXPECT_STREQ(Error.what(), "'[abc' is an invalid mask at (5)");
  }
  // Without masks the same text is just a text.
  EXPECT_TRUE(Matches({"[abc"}, {"[ABC"}, false, false));
}

TEST_F(TextMatchTest, MasksAreCompiledWhenFirstNeeded) {
  const TCriteria Criteria{"x*", "[bad"};
  const TTextCriteria Prepared(Criteria, false, true); // compiles nothing yet
  EXPECT_FALSE(Prepared.Matches(TFakeCells({"y", "z"})));
  EXPECT_THROW(Prepared.Matches(TFakeCells({"x", "z"})), EMaskException);
}

} // namespace
} // namespace wyndo::test
