#include "core/errors.h"
#include "core/mask.h"
#include "core_fixture.h"

namespace wyndo::test {
namespace {

using MaskTest = CoreTest;

struct TMatchCase {
  std::string_view Mask;
  std::string_view Text;
  bool Matches;
};

void ExpectMatches(std::initializer_list<TMatchCase> Cases) {
  for (const TMatchCase& Case : Cases) {
    SCOPED_TRACE(::testing::Message()
                 << "mask \"" << Case.Mask << "\", text \"" << Case.Text << '"');
    EXPECT_EQ(MatchesMask(Case.Text, Case.Mask), Case.Matches);
  }
}

// The exception TMask raises for Mask, or a failure when it raises none.
EMaskException CompileError(std::string_view Mask) {
  try {
    TMask{Mask};
  } catch (const EMaskException& Error) {
    return Error;
  }
  ADD_FAILURE() << "mask \"" << Mask << "\" compiled";
  return EMaskException("", 0);
}

std::string Repeat(std::string_view Part, int Count) {
  std::string Result;
  for (int I = 0; I < Count; ++I) {
    Result += Part;
  }
  return Result;
}

TEST_F(MaskTest, LiteralsMatchTheWholeTextIgnoringLetterCase) {
  ExpectMatches({
      {"abc", "abc", true},
      {"abc", "ABC", true},
      {"ABC", "aBc", true},
      {"abc", "abd", false},
      {"abc", "ab", false},
      {"abc", "abcd", false},
      {"", "", true},
      {"", "a", false},
      {"a.b", "a.b", true},
      {"\xE4", "\xE4", true},
      {"\xE4", "\xE5", false},
      {"\xE4", "\xC4", false}, // only a to z fold
      {"_", "\x7F", false},
      {"@", "`", false}, // bytes 0x20 apart that are no letters
      {"`", "@", false},
      {"^", "~", false},
  });
}

TEST_F(MaskTest, StarMatchesAnyRun) {
  ExpectMatches({
      {"*", "", true},        {"*", "anything", true},    {"a*", "a", true},
      {"a*", "abc", true},    {"a*", "ba", false},        {"*c", "abc", true},
      {"*c", "abcd", false},  {"a*c", "ac", true},        {"a*c", "abxc", true},
      {"a*c", "abcx", false}, {"a*b*c", "aXbYc", true},   {"a*b*c", "acb", false},
      {"**", "x", true},      {"*aab", "aaab", true},     {"a*bc*d", "abcbcxd", true},
      {"*a*a*", "a", false},  {"*B", "xxxb", true},       {"*@", "x`", false},
      {"*AB", "xAaAb", true}, {"x*aB*c", "xaaBbc", true}, {"x*aB*c", "xaaBb", false},
  });
}

TEST_F(MaskTest, QuestionMarkMatchesOneCharacter) {
  ExpectMatches({
      {"?", "a", true},
      {"?", "", false},
      {"?", "ab", false},
      {"a?c", "abc", true},
      {"a?c", "ac", false},
      {"??", "ab", true},
      {"?*", "", false},
      {"?*", "a", true},
  });
}

TEST_F(MaskTest, QuestionMarkAfterStarAddsNothing) {
  ExpectMatches({
      {"*?", "", true},
      {"*??", "", true},
      {"a*?", "a", true},
      {"a*?b", "ab", true},
      {"a*?b", "axxb", true},
  });
}

TEST_F(MaskTest, SetsMatchOneOfTheirCharacters) {
  ExpectMatches({
      {"[abc]", "b", true},
      {"[abc]", "B", true},
      {"[ABC]", "b", true},
      {"[abc]", "d", false},
      {"[abc]", "", false},
      {"[abc]", "ab", false},
      {"[a-]", "-", true}, // '-' before ']' is itself
      {"[a-]", "a", true},
      {"[a-]", "b", false},
      {"[*?]", "*", true}, // no wild cards inside a set
      {"[*?]", "x", false},
      {"[[]", "[", true},
      {"[a]]", "a]", true},
      {"x[ab]*", "xbyy", true},
  });
}

TEST_F(MaskTest, RangesIncludeBothEnds) {
  ExpectMatches({
      {"[a-c]", "b", true},
      {"[a-c]", "c", true},
      {"[a-c]", "d", false},
      {"[A-C]", "b", true},
      {"[a-cx]", "x", true},
      {"[0-9]", "5", true},
      {"[0-9]", "a", false},
      {"[A-z]", "q", true},
      {"[A-z]", "_", false},  // the range ends at the upper-cased 'z'
      {"[a-c-e]", "d", true}, // a range's end starts the next one
      {"[xc-a]", "x", true},  // a reversed range adds nothing
      {"[xc-a]", "c", false},
      {"[xc-a]", "a", false},
      {"[cc-a]", "c", true},  // its start stays a member when named on its own
      {"[c-a-e]", "d", true}, // the next range starts at the reversed range's end
  });
}

TEST_F(MaskTest, ComplementedSets) {
  ExpectMatches({
      {"[!abc]", "d", true},
      {"[!abc]", "a", false},
      {"[!abc]", "A", false},
      {"[!a-c]", "z", true},
      {"[!a-c]", "", false},
      {"[!a-]", "-", false},
      {"[!!]", "a", true},
      {"[!!]", "!", false},
  });
}

TEST_F(MaskTest, CompiledMaskIsReusable) {
  const TMask Mask("a*");
  EXPECT_TRUE(Mask.Matches("ab"));
  EXPECT_FALSE(Mask.Matches("b"));
  const TMask Copy = Mask;
  EXPECT_TRUE(Copy.Matches("a"));
}

TEST_F(MaskTest, ManyStarsStayFast) {
  // Trying every split of the text between the '*' runs would take ages here.
  const std::string Text(20000, 'a');
  EXPECT_FALSE(MatchesMask(Text, Repeat("*a", 30) + "b"));
  EXPECT_TRUE(MatchesMask(Text + "b", Repeat("*a", 29) + "*b"));
}

TEST_F(MaskTest, DoubleByteCharactersAreOneCharacter) {
  UseShiftJisLocale();
  ExpectMatches({
      {"\x82\xA0", "\x82\xA0", true},
      {"\x82\xA0", "\x82\xA1", false},
      {"\x82\x61", "\x82\x41", false}, // a trail byte 'a' is no letter
      {"\x81?", "\x81?", true},        // '?' is the trail byte here, not a wild card
      {"\x81?", "\x81x", false},
      {"?", "\x82\xA0", true},
      {"??", "\x82\xA0", false},
      {"*\xA0", "\x82\xA0", false}, // a run never ends inside a character
      {"*a", "\x82\x61", false},
      {"*\x82\xA0", "x\x82\xA0", true},
      {"?", "\x82", true}, // a lead byte that ends the text stands alone
      {"a\x82", "a\x82", true},
      {"a\x82", "a\x82\xA0", false},
  });
}

TEST_F(MaskTest, DoubleByteCharactersAreNeverSetMembers) {
  UseShiftJisLocale();
  ExpectMatches({
      {"[a]", "\x82\xA0", false},
      {"[!a]", "\x82\xA0", true},
      {"[!a]?", "\x82\xA0", false},
      {"[a\x82\xA0]", "\x82\xA0", false},
      {"[a\x82\xA0]", "a", true},
      {"[\x80-\xA0]", "\x82\xA0", false}, // the lead byte alone is in the range
      {"[!\x80-\xA0]", "\x82\xA0", true},
  });
}

TEST_F(MaskTest, DoubleByteRangeEndIsOneCharacter) {
  UseShiftJisLocale();
  // The trail byte of "\x82]" is no closing bracket: the set goes on to the next ']'.
  ExpectMatches({
      {"[~-\x82]]", "~", true},
      {"[~-\x82]]", "\x81", true}, // the range runs up to the lead byte
      {"[~-\x82]]", "]", false},
      {"[~-\x82]]", "~]", false},
      {"[~-\x82]x]", "X", true},
      {"[~-\x82\x40]", "@", false}, // the trail byte is no member either
  });
  EXPECT_EQ(CompileError("[a-\x82]").Position(), 6);
}

TEST_F(MaskTest, WithoutLeadBytesEveryByteIsACharacter) {
  ExpectMatches({
      {"\x81?", "\x81x", true},
      {"??", "\x82\xA0", true},
      {"*\xA0", "\x82\xA0", true},
      {"[a\x82\xA0]", "\xA0", true},
  });
}

TEST_F(MaskTest, InvalidMasksNameTheMaskAndPosition) {
  struct {
    std::string_view Mask;
    int Position;
  } const Cases[] = {
      {"[", 2},     {"[abc", 5},  {"a[b", 4},    {"[a-", 4},   {"[!", 3},     {"[]", 2},
      {"[!]", 3},   {"[-]", 2},   {"[-a]", 2},   {"[!-a]", 3}, {"ab[]cd", 4}, {"[a][", 5},
      {"[c-a]", 5}, {"[Z-a]", 5}, {"[!c-a]", 6}, // a reversed range leaves the set empty
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Mask);
    const EMaskException Error = CompileError(Case.Mask);
    EXPECT_EQ(Error.Mask(), Case.Mask);
    EXPECT_EQ(Error.Position(), Case.Position);
  }
  EXPECT_STREQ(CompileError("[abc").what(), "'[abc' is an invalid mask at (5)");
}

TEST_F(MaskTest, SetOfOnlyDoubleByteCharactersIsEmpty) {
  UseShiftJisLocale();
  EXPECT_EQ(CompileError("[\x82\xA0]").Position(), 4);
}

TEST_F(MaskTest, AtMostThirtyStarGroups) {
  // Each "*x" and each "**x" is one group.
  EXPECT_TRUE(MatchesMask(std::string(30, 'x'), Repeat("*x", 30)));
  EXPECT_FALSE(MatchesMask(std::string(29, 'x'), Repeat("*x", 30)));
  EXPECT_NO_THROW(TMask{Repeat("**x", 30)});

  // Invalid at the character after the 31st group, or just past the end.
  const EMaskException Error = CompileError(Repeat("*x", 31));
  EXPECT_EQ(Error.Position(), 62);
  EXPECT_EQ(Error.what(), "'" + Repeat("*x", 31) + "' is an invalid mask at (62)");
  EXPECT_EQ(CompileError(Repeat("x**", 31)).Position(), 94);

  // A '?' inside a run of '*' adds nothing, so the run goes on across it.
  EXPECT_NO_THROW(TMask{Repeat("*?*x", 30)});
  EXPECT_EQ(CompileError(Repeat("*?*x", 31)).Position(), 124);
}

} // namespace
} // namespace wyndo::test
