#include "core/rowvalue.h"
#include "core_fixture.h"

namespace wyndo::test {
namespace {

using RowValueTest = CoreTest;

struct TFormatCase {
  TValueFormatter Formatter;
  std::uint32_t Ordinal;
  const char* Expected;
};

void ExpectFormats(std::initializer_list<TFormatCase> Cases) {
  for (const TFormatCase& Case : Cases) {
    SCOPED_TRACE(::testing::Message()
                 << "ordinal 0x" << std::hex << Case.Ordinal << ", expected " << Case.Expected);
    EXPECT_EQ(Case.Formatter({Case.Ordinal, {}}), Case.Expected);
  }
}

TEST_F(RowValueTest, OrdinalsAreWidenedByKind) {
  Settings.IntFormat = ifDecimal;
  ExpectFormats({
      {FormatSByteValue, 0x7F, "127"},
      {FormatSByteValue, 0x80, "-128"},
      {FormatSByteValue, 0x1234FF, "-1"}, // only the low byte is the value
      {FormatUByteValue, 0xFF, "255"},
      {FormatUByteValue, 0x1FF, "255"},
      {FormatSWordValue, 0x8000, "-32768"},
      {FormatSWordValue, 0xABCD7FFF, "32767"},
      {FormatUWordValue, 0xFFFF, "65535"},
      {FormatUWordValue, 0x1FFFF, "65535"},
      {FormatSLongValue, 0xFFFFFFFF, "-1"},
      {FormatULongValue, 0xFFFFFFFF, "-1"}, // decimal is signed, whatever the kind
      {FormatULongValue, 0, "0"},
  });
}

TEST_F(RowValueTest, OrdinalsFollowIntFormat) {
  Settings.IntFormat = ifPascalHex;
  ExpectFormats({
      {FormatSByteValue, 0xFF, "$FFFFFFFF"},
      {FormatUByteValue, 0xFF, "$000000FF"},
      {FormatSWordValue, 0x8000, "$FFFF8000"},
      {FormatUWordValue, 0x8000, "$00008000"},
      {FormatSLongValue, 0, "$00000000"},
  });
  Settings.IntFormat = ifCHex;
  ExpectFormats({{FormatULongValue, 4096, "0x00001000"}});
}

TEST_F(RowValueTest, BooleansAndTexts) {
  ExpectFormats({
      {FormatBooleanValue, 0, "False"},
      {FormatBooleanValue, 1, "True"},
      {FormatBooleanValue, 255, "True"},
  });
  EXPECT_EQ(FormatTextValue({7, "Edit"}), "Edit");
  EXPECT_EQ(FormatTextValue({}), "");
}

TEST(RowValueFormatterTest, ChoosesByTypeAndOrdinalKind) {
  struct {
    std::uint8_t TypeKind;
    std::uint8_t OrdKind;
    bool IsBoolean;
    TValueFormatter Expected;
  } const Cases[] = {
      {tkInteger, otSByte, false, FormatSByteValue},
      {tkInteger, otUByte, false, FormatUByteValue},
      {tkInteger, otSWord, false, FormatSWordValue},
      {tkInteger, otUWord, false, FormatUWordValue},
      {tkInteger, otSLong, false, FormatSLongValue},
      {tkInteger, otULong, false, FormatULongValue},
      {tkInteger, 6, false, nullptr},
      {tkInteger, otUByte, true, FormatUByteValue},
      {tkEnumeration, otUByte, true, FormatBooleanValue},
      {tkEnumeration, otUByte, false, nullptr},
      {tkLString, 0, false, FormatTextValue},
      {0, otUByte, false, nullptr},
      {2, otUByte, false, nullptr},
      {255, otUByte, true, nullptr},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(::testing::Message() << "type " << int{Case.TypeKind} << ", ordinal kind "
                                      << int{Case.OrdKind} << ", Boolean " << Case.IsBoolean);
    EXPECT_EQ(FormatterFor(Case.TypeKind, Case.OrdKind, Case.IsBoolean), Case.Expected);
  }
}

TEST(RowValueOrdinalTest, WidensBySizeAndSign) {
  struct {
    std::uint32_t Raw;
    std::uint8_t OrdKind;
    std::int32_t Expected;
  } const Cases[] = {
      {0xFF, otSByte, -1},       {0x180, otSByte, -128},
      {0xFF, otUByte, 255},      {0x18000, otSWord, -32768},
      {0x18000, otUWord, 32768}, {0xFFFFFFFF, otSLong, -1},
      {0xFFFFFFFF, otULong, -1}, // compared as signed, like the long kind
      {0x1FF, 9, 255},           // unknown kinds read the low byte
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(::testing::Message()
                 << "raw 0x" << std::hex << Case.Raw << ", kind " << int{Case.OrdKind});
    EXPECT_EQ(OrdinalAsInt32(Case.Raw, Case.OrdKind), Case.Expected);
  }
}

} // namespace
} // namespace wyndo::test
