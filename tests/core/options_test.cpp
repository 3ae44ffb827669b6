#include "core/options.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <tuple>

namespace wyndo::test {
namespace {

using TValues = std::map<std::string, TStoredValue, std::less<>>;

TStoredValue Binary(std::vector<std::uint8_t> Data) {
  return {"", RegBinaryType, std::move(Data)};
}
TStoredValue Dword(std::vector<std::uint8_t> Data) {
  return {"", RegDwordType, std::move(Data)};
}
TStoredValue Text(std::vector<std::uint8_t> Data) {
  return {"", RegSzType, std::move(Data)};
}

// A valid, complete settings key with none of the values at its default.
TValues ValidKey() {
  return {
      {"IntFormat", Binary({2})},         {"Style", Binary({1})},
      {"Minimization", Binary({2})},      {"AppBarDocking", Dword({0, 0, 0, 0})},
      {"StayOnTop", Dword({0, 1, 0, 0})}, {"MainFinder", Dword({1, 0, 0, 0})},
  };
}

using TValueTuple = std::tuple<std::string, std::uint32_t, std::vector<std::uint8_t>>;

std::vector<TValueTuple> Tuples(const std::vector<TStoredValue>& Values) {
  std::vector<TValueTuple> Result;
  for (const TStoredValue& Value : Values) {
    Result.emplace_back(Value.Name, Value.Type, Value.Data);
  }
  return Result;
}

TValueLookup LookupIn(const TValues& Values) {
  return [&Values](std::string_view Name) -> std::optional<TStoredValue> {
    const auto Found = Values.find(Name);
    if (Found == Values.end()) {
      return std::nullopt;
    }
    return Found->second;
  };
}

TEST(OptionsTest, ReadsEveryValue) {
  const TValues Key = ValidKey();
  TWYNDO_Settings Read;
  ASSERT_TRUE(ReadStoredOptions(LookupIn(Key), Read));
  EXPECT_EQ(Read.IntFormat, ifCHex);
  EXPECT_EQ(Read.Style, 1);
  EXPECT_EQ(Read.Minimization, mzTrayAndTaskbar);
  EXPECT_FALSE(Read.AppBarDocking);
  EXPECT_TRUE(Read.StayOnTop); // any non-zero DWORD, not only its low byte
  EXPECT_TRUE(Read.MainFinder);
}

TEST(OptionsTest, AMissingOrEmptyByteValueLeavesItsField) {
  TValues Key = ValidKey();
  Key.erase("IntFormat");
  Key["Style"] = Binary({});
  TWYNDO_Settings Read;
  Read.IntFormat = ifPascalHex;
  Read.Style = 0;
  ASSERT_TRUE(ReadStoredOptions(LookupIn(Key), Read));
  EXPECT_EQ(Read.IntFormat, ifPascalHex);
  EXPECT_EQ(Read.Style, 0);
  EXPECT_EQ(Read.Minimization, mzTrayAndTaskbar);
}

TEST(OptionsTest, FailsOnAnyValueOfAnotherTypeOrSize) {
  struct {
    const char* Name;
    std::optional<TStoredValue> Value; // nothing: the value is missing
  } const Cases[] = {
      {"IntFormat", Dword({1, 0, 0, 0})},
      {"Style", Text({'0', 0})},
      {"Minimization", Dword({0, 0, 0, 0})},
      {"IntFormat", Binary({1, 0})},
      {"Minimization", Binary({0, 0})},
      {"AppBarDocking", Binary({1, 0, 0, 0})},
      {"StayOnTop", Text({'1', 0, 0, 0})},
      {"MainFinder", Binary({1})},
      {"AppBarDocking", Dword({1, 0})},
      {"StayOnTop", Dword({1, 0, 0, 0, 0, 0, 0, 0})},
      {"MainFinder", Dword({})},
      {"AppBarDocking", std::nullopt},
      {"StayOnTop", std::nullopt},
      {"MainFinder", std::nullopt},
      {"IntFormat", Binary({3})},
      {"Style", Binary({2})},
      {"Minimization", Binary({3})},
  };
  for (const auto& Case : Cases) {
    TValues Key = ValidKey();
    if (Case.Value) {
      Key[Case.Name] = *Case.Value;
    } else {
      Key.erase(Case.Name);
    }
    SCOPED_TRACE(::testing::Message()
                 << Case.Name << ": " << (Case.Value ? "type and size wrong" : "missing"));
    TWYNDO_Settings Read;
    EXPECT_FALSE(ReadStoredOptions(LookupIn(Key), Read));
  }
}

TEST(OptionsTest, DefaultsAreSet) {
  TWYNDO_Settings Defaults;
  Defaults.MainFinder = false;
  Defaults.IntFormat = ifCHex;
  Defaults.Style = 1;
  Defaults.Minimization = mzTray;
  SetDefaultOptions(Defaults);
  EXPECT_EQ(Defaults.IntFormat, ifPascalHex);
  EXPECT_EQ(Defaults.Style, 0);
  EXPECT_EQ(Defaults.Minimization, mzTaskbar);
  EXPECT_TRUE(Defaults.AppBarDocking);
  EXPECT_TRUE(Defaults.StayOnTop);
  EXPECT_TRUE(Defaults.MainFinder);
}

TEST(OptionsTest, StoresSixValuesInOrder) {
  TWYNDO_Settings Options;
  Options.IntFormat = ifCHex;
  Options.Style = 1;
  Options.Minimization = mzTray;
  Options.AppBarDocking = true;
  Options.StayOnTop = false;
  Options.MainFinder = true;
  const std::vector<TValueTuple> Expected = {
      {"IntFormat", RegBinaryType, {2}},         {"Style", RegBinaryType, {1}},
      {"Minimization", RegBinaryType, {1}},      {"AppBarDocking", RegDwordType, {1, 0, 0, 0}},
      {"StayOnTop", RegDwordType, {0, 0, 0, 0}}, {"MainFinder", RegDwordType, {1, 0, 0, 0}},
  };
  EXPECT_EQ(Tuples(StoredOptions(Options)), Expected);
}

TEST(OptionsTest, StoredValuesReadBack) {
  TWYNDO_Settings Options;
  Options.IntFormat = ifDecimal;
  Options.Minimization = mzTrayAndTaskbar;
  Options.StayOnTop = true;
  TValues Key;
  for (const TStoredValue& Value : StoredOptions(Options)) {
    Key[Value.Name] = Value;
  }
  TWYNDO_Settings Read;
  SetDefaultOptions(Read);
  ASSERT_TRUE(ReadStoredOptions(LookupIn(Key), Read));
  EXPECT_EQ(Tuples(StoredOptions(Read)), Tuples(StoredOptions(Options)));
}

} // namespace
} // namespace wyndo::test
