#include "core/errors.h"
#include "core/format.h"
#include "core_fixture.h"

#include <limits>
#include <optional>

namespace wyndo::test {
namespace {

using FormatTest = CoreTest;

constexpr std::int32_t MinInt = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t MaxInt = std::numeric_limits<std::int32_t>::max();

// ---- FormatValue

TEST_F(FormatTest, WritesEachNumberFormat) {
  struct {
    std::uint8_t Format;
    std::uint32_t Value;
    const char* Expected;
  } const Cases[] = {
      {ifDecimal, 4096, "4096"},
      {ifDecimal, 0xFFFFFFFF, "-1"},
      {ifDecimal, 0x80000000, "-2147483648"},
      {ifDecimal, 0x7FFFFFFF, "2147483647"},
      {ifDecimal, 0, "0"},
      {ifPascalHex, 4096, "$00001000"},
      {ifPascalHex, 0xFFFFFFFF, "$FFFFFFFF"},
      {ifPascalHex, 0x00ABCDEF, "$00ABCDEF"},
      {ifPascalHex, 0, "$00000000"},
      {ifCHex, 4096, "0x00001000"},
      {ifCHex, 0xFFFFFFFF, "0xFFFFFFFF"},
      {ifCHex, 0x00ABCDEF, "0x00ABCDEF"},
      {ifCHex, 0, "0x00000000"},
  };
  Settings.IntFormat = ifDecimal;
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Expected);
    EXPECT_EQ(FormatValue(Case.Value, "", Case.Format), Case.Expected);
  }
}

TEST_F(FormatTest, CurrentFormatFollowsIntFormat) {
  Settings.IntFormat = ifPascalHex;
  EXPECT_EQ(FormatValue(4096), "$00001000");
  Settings.IntFormat = ifCHex;
  EXPECT_EQ(FormatValue(4096), "0x00001000");
  EXPECT_EQ(FormatValue(4096, "", ifDecimal), "4096");
  Settings.IntFormat = ifDecimal;
  EXPECT_EQ(FormatValue(0xFFFFFFFF, "", ifCurrent), "-1");
}

TEST_F(FormatTest, FormatOutsideTheTableWritesNothing) {
  EXPECT_EQ(FormatValue(4096, "", 4), "");
  EXPECT_EQ(FormatValue(4096, "", 255), "");
  Settings.IntFormat = 7;
  EXPECT_EQ(FormatValue(4096), "");
}

TEST_F(FormatTest, ZeroTextReplacesOnlyZero) {
  for (const std::uint8_t Format : {ifDecimal, ifPascalHex, ifCHex}) {
    Settings.IntFormat = Format;
    EXPECT_EQ(FormatValue(0, UnavailableText), "(Unavailable)");
    EXPECT_EQ(FormatValue(0, NoneText), "(None)");
  }
  Settings.IntFormat = ifDecimal;
  EXPECT_EQ(FormatValue(1, UnavailableText), "1");
  EXPECT_EQ(FormatValue(0, UnavailableText, 9), "(Unavailable)");
}

// ---- ParseValue

// The parsed value, or nullopt when ParseValue raised EConvertError with the caller's message.
std::optional<std::uint32_t> Parse(std::string_view Text) {
  try {
    return ParseValue(Text, "Invalid Value");
  } catch (const EConvertError& Error) {
    EXPECT_STREQ(Error.what(), "Invalid Value");
    return std::nullopt;
  }
}

struct TParseCase {
  std::string_view Text;
  std::optional<std::uint32_t> Expected; // nullopt: the text does not parse
};

void ExpectParses(std::uint8_t Format, std::initializer_list<TParseCase> Cases) {
  Settings.ParseFormat = ifCurrent;
  Settings.IntFormat = Format;
  for (const TParseCase& Case : Cases) {
    SCOPED_TRACE(::testing::Message()
                 << "format " << int{Format} << ", text \"" << Case.Text << "\"");
    EXPECT_EQ(Parse(Case.Text), Case.Expected);
  }
}

TEST_F(FormatTest, ParsesDecimal) {
  ExpectParses(ifDecimal, {
                              {"4096", 4096},
                              {"0", 0},
                              {"007", 7},
                              {"2147483648", 0x80000000},
                              {"4294967295", 0xFFFFFFFF},
                              {"4294967296", std::nullopt},
                              {"0x10", 16}, // starts with a digit, so the conversion sees "0x"
                              {"0X10", 16},
                              {"$10", std::nullopt},
                              {"-1", 0xFFFFFFFF}, // negative, as values from $80000000 are written
                              {"-2147483648", 0x80000000},
                              {"-2147483649", std::nullopt},
                              {"-0", 0},
                              {"-", std::nullopt},
                              {"--1", std::nullopt},
                              {"- 1", std::nullopt},
                              {"-$10", std::nullopt},
                              {"+1", std::nullopt},
                              {" 5", std::nullopt},
                              {"5 ", std::nullopt},
                              {"12a", std::nullopt},
                              {"", std::nullopt},
                          });
}

TEST_F(FormatTest, ParsesPascalHex) {
  ExpectParses(ifPascalHex, {
                                {"$00001000", 4096},
                                {"$FFFFFFFF", 0xFFFFFFFF},
                                {"$ffffffff", 0xFFFFFFFF},
                                {"$1", 1},
                                {"$00000000000001", 1},
                                {"$100000000", std::nullopt},
                                {"$", std::nullopt},
                                {"$-1", std::nullopt},
                                {"$G", std::nullopt},
                                {"4096", std::nullopt},
                                {"0x10", std::nullopt},
                                {"", std::nullopt},
                            });
}

TEST_F(FormatTest, ParsesCHex) {
  ExpectParses(ifCHex, {
                           {"0x00001000", 4096},
                           {"0x1f", 31},
                           {"0x1F", 31},
                           {"0xFFFFFFFF", 0xFFFFFFFF},
                           {"0X1F", std::nullopt}, // only the lower-case prefix
                           {"0x100000000", std::nullopt},
                           {"0x", std::nullopt},
                           {"0x-1", std::nullopt},
                           {"0x$1", std::nullopt},
                           {"0x 1", std::nullopt},
                           {"$10", std::nullopt},
                           {"16", std::nullopt},
                           {"", std::nullopt},
                       });
}

TEST_F(FormatTest, PlaceholdersParseAsZeroInEveryFormat) {
  for (const std::uint8_t Format : {0, 1, 2, 9}) { // 9: no format at all
    ExpectParses(Format, {{"(None)", 0}, {"(Unavailable)", 0}, {"(none)", std::nullopt}});
  }
}

TEST_F(FormatTest, ParseFormatOverridesIntFormat) {
  Settings.IntFormat = ifDecimal;
  Settings.ParseFormat = ifPascalHex;
  EXPECT_EQ(Parse("$10"), 16u);
  EXPECT_EQ(Parse("10"), std::nullopt);
  Settings.ParseFormat = ifCHex;
  EXPECT_EQ(Parse("0x10"), 16u);
  Settings.ParseFormat = 5;
  EXPECT_EQ(Parse("10"), std::nullopt);
}

TEST_F(FormatTest, ParseFailureCarriesTheCallersMessage) {
  Settings.IntFormat = ifDecimal;
  try {
    ParseValue("4294967296", "Not a handle");
    FAIL() << "no EConvertError";
  } catch (const EConvertError& Error) {
    EXPECT_STREQ(Error.what(), "Not a handle");
  }
}

// ---- TryStrToInt32

TEST_F(FormatTest, TryStrToInt32Syntax) {
  struct {
    std::string_view Text;
    std::optional<std::uint32_t> Expected;
  } const Cases[] = {
      {"0", 0},
      {"123", 123},
      {"  42", 42},
      {"+7", 7},
      {"-7", 0xFFFFFFF9},
      {"-0", 0},
      {"$1F", 31},
      {"x1f", 31},
      {"X1F", 31},
      {"0x1F", 31},
      {"0X1f", 31},
      {"-$1", 0xFFFFFFFF},
      {" -0x10", 0xFFFFFFF0},
      {"000000000000000000001", 1},
      {"", std::nullopt},
      {" ", std::nullopt},
      {"+", std::nullopt},
      {"-", std::nullopt},
      {"$", std::nullopt},
      {"x", std::nullopt},
      {"0x", std::nullopt},
      {"42 ", std::nullopt},
      {"4 2", std::nullopt},
      {"\t1", std::nullopt},
      {"1.5", std::nullopt},
      {"1e3", std::nullopt},
      {"12a", std::nullopt},
      {"$G", std::nullopt},
      {"--1", std::nullopt},
      {"+-1", std::nullopt},
      {"$$1", std::nullopt},
      {"00x1", std::nullopt},
      {"0x0x1", std::nullopt},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(::testing::Message() << '"' << Case.Text << '"');
    std::uint32_t Value = 0;
    const bool Valid = TryStrToInt32(Case.Text, Value);
    EXPECT_EQ(Valid ? std::optional(Value) : std::nullopt, Case.Expected);
  }
}

TEST_F(FormatTest, TryStrToInt32Limits) {
  struct {
    std::string_view Text;
    std::optional<std::uint32_t> Expected;
  } const Cases[] = {
      {"4294967295", 0xFFFFFFFF},
      {"4294967296", std::nullopt},
      {"-2147483648", 0x80000000},
      {"-2147483649", std::nullopt},
      {"$FFFFFFFF", 0xFFFFFFFF},
      {"$100000000", std::nullopt},
      {"-$FFFFFFFF", 1},
      {"-$100000000", std::nullopt},
      {"0000000000000000000004294967295", 0xFFFFFFFF},
      {"99999999999999999999999999", std::nullopt},
      {"$FFFFFFFFFFFFFFFFFFFFFFFF", std::nullopt},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(::testing::Message() << '"' << Case.Text << '"');
    std::uint32_t Value = 0;
    const bool Valid = TryStrToInt32(Case.Text, Value);
    EXPECT_EQ(Valid ? std::optional(Value) : std::nullopt, Case.Expected);
  }
}

// ---- FormatRect

TEST_F(FormatTest, FormatRectIsAlwaysSignedDecimal) {
  Settings.IntFormat = ifCHex;
  EXPECT_EQ(FormatRect({10, 20, 110, 70}), "(10, 20)-(110, 70), 100x50");
  EXPECT_EQ(FormatRect({}), "(0, 0)-(0, 0), 0x0");
  EXPECT_EQ(FormatRect({-5, -10, 5, 10}), "(-5, -10)-(5, 10), 10x20");
  EXPECT_EQ(FormatRect({110, 70, 10, 20}), "(110, 70)-(10, 20), -100x-50");
}

TEST_F(FormatTest, FormatRectSizeWrapsAround) {
  EXPECT_EQ(FormatRect({MinInt, MaxInt, MaxInt, MinInt}),
            "(-2147483648, 2147483647)-(2147483647, -2147483648), -1x1");
}

// ---- ExtractFileNameOr / ExtractFilePathOr

struct TPathCase {
  std::string_view Path;
  std::string_view Name;
  std::string_view Directory;
};

void ExpectSplits(std::initializer_list<TPathCase> Cases) {
  for (const TPathCase& Case : Cases) {
    SCOPED_TRACE(::testing::Message() << '"' << Case.Path << '"');
    EXPECT_EQ(ExtractFileNameOr(Case.Path, UnavailableText), Case.Name);
    EXPECT_EQ(ExtractFilePathOr(Case.Path, UnavailableText), Case.Directory);
  }
}

TEST_F(FormatTest, SplitsPathsAtTheLastBackslashOrColon) {
  ExpectSplits({
      {R"(C:\WINNT\system32\kernel32.dll)", "kernel32.dll", R"(C:\WINNT\system32\)"},
      {"kernel32.dll", "kernel32.dll", "(Unavailable)"},
      {R"(C:\WINNT\)", "(Unavailable)", R"(C:\WINNT\)"},
      {"C:file.txt", "file.txt", "C:"},
      {R"(\\server\share\a.txt)", "a.txt", R"(\\server\share\)"},
      {"dir/file", "dir/file", "(Unavailable)"},
      {"", "(Unavailable)", "(Unavailable)"},
  });
}

TEST_F(FormatTest, TrailByteEqualToBackslashIsNoDelimiter) {
  // 0x95 0x5C is one Shift-JIS character whose second byte has the value of '\'.
  UseShiftJisLocale();
  ExpectSplits({
      {"C:\\dir\\\x95\x5C", "\x95\x5C", "C:\\dir\\"},
      {"C:\\\x95\x5C\\x.txt", "x.txt", "C:\\\x95\x5C\\"},
      {"\x95\x5C", "\x95\x5C", "(Unavailable)"},
      {"C:\\\x95", "\x95", "C:\\"},
  });
  InstallLocale(AsciiLocale());
  ExpectSplits({{"C:\\dir\\\x95\x5C", "(Unavailable)", "C:\\dir\\\x95\x5C"}});
}

// ---- CompareNumbers / CompareTexts

TEST_F(FormatTest, CompareNumbersReportsOnlyGreater) {
  EXPECT_EQ(CompareNumbers(5, 5), 2);
  EXPECT_EQ(CompareNumbers(6, 5), -1);
  EXPECT_EQ(CompareNumbers(4, 5), 2);
  EXPECT_EQ(CompareNumbers(MaxInt, MinInt), -1);
  EXPECT_EQ(CompareNumbers(MinInt, MaxInt), 2);
}

TEST_F(FormatTest, CompareTextsIsNegatedAndIgnoresCase) {
  EXPECT_EQ(CompareTexts("abc", "ABD"), 1);
  EXPECT_EQ(CompareTexts("ABC", "abc"), 0);
  EXPECT_EQ(CompareTexts("b", "A"), -1);
  EXPECT_EQ(CompareTexts("ab", "abc"), 1);
  EXPECT_EQ(CompareTexts("abc", "ab"), -1);
  EXPECT_EQ(CompareTexts("", ""), 0);
}

TEST_F(FormatTest, CompareTextsUsesTheInstalledLocale) {
  // A locale that orders by length and answers with magnitudes other than 1.
  InstallLocale({AsciiUpperCase,
                 [](std::string_view A, std::string_view B) {
                   return static_cast<int>(A.size()) - static_cast<int>(B.size());
                 },
                 AsciiLocale().IsLeadByte});
  EXPECT_EQ(CompareTexts("z", "aaaaa"), 1);
  EXPECT_EQ(CompareTexts("aaaaa", "z"), -1);
  EXPECT_EQ(CompareTexts("abc", "xyz"), 0);
}

} // namespace
} // namespace wyndo::test
