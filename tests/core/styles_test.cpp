#include "core/styles.h"

#include <gtest/gtest.h>
#include <string_view>
#include <vector>

namespace wyndo {
namespace {

using TNames = std::vector<std::string_view>;

TEST(StylesTest, TablesHoldThePlatformNamesAndValues) {
  const std::vector<std::pair<std::string_view, std::uint32_t>> Window = {
      {"WS_OVERLAPPED", 0x00000000},
      {"WS_POPUP", 0x80000000},
      {"WS_CHILD", 0x40000000},
      {"WS_MINIMIZE", 0x20000000},
      {"WS_VISIBLE", 0x10000000},
      {"WS_DISABLED", 0x08000000},
      {"WS_CLIPSIBLINGS", 0x04000000},
      {"WS_CLIPCHILDREN", 0x02000000},
      {"WS_MAXIMIZE", 0x01000000},
      {"WS_CAPTION", 0x00C00000},
      {"WS_BORDER", 0x00800000},
      {"WS_DLGFRAME", 0x00400000},
      {"WS_VSCROLL", 0x00200000},
      {"WS_HSCROLL", 0x00100000},
      {"WS_SYSMENU", 0x00080000},
      {"WS_THICKFRAME", 0x00040000},
      {"WS_GROUP", 0x00020000},
      {"WS_TABSTOP", 0x00010000},
      {"WS_MINIMIZEBOX", 0x00020000},
      {"WS_MAXIMIZEBOX", 0x00010000},
      {"WS_OVERLAPPEDWINDOW", 0x00CF0000},
      {"WS_POPUPWINDOW", 0x80880000},
  };
  const std::vector<std::pair<std::string_view, std::uint32_t>> Extended = {
      {"WS_EX_DLGMODALFRAME", 0x00000001}, {"WS_EX_NOPARENTNOTIFY", 0x00000004},
      {"WS_EX_TOPMOST", 0x00000008},       {"WS_EX_ACCEPTFILES", 0x00000010},
      {"WS_EX_TRANSPARENT", 0x00000020},   {"WS_EX_MDICHILD", 0x00000040},
      {"WS_EX_TOOLWINDOW", 0x00000080},    {"WS_EX_WINDOWEDGE", 0x00000100},
      {"WS_EX_CLIENTEDGE", 0x00000200},    {"WS_EX_CONTEXTHELP", 0x00000400},
      {"WS_EX_RIGHT", 0x00001000},         {"WS_EX_LEFT", 0x00000000},
      {"WS_EX_RTLREADING", 0x00002000},    {"WS_EX_LTRREADING", 0x00000000},
      {"WS_EX_LEFTSCROLLBAR", 0x00004000}, {"WS_EX_RIGHTSCROLLBAR", 0x00000000},
      {"WS_EX_CONTROLPARENT", 0x00010000}, {"WS_EX_STATICEDGE", 0x00020000},
      {"WS_EX_APPWINDOW", 0x00040000},     {"WS_EX_OVERLAPPEDWINDOW", 0x00000300},
      {"WS_EX_PALETTEWINDOW", 0x00000188},
  };
  const auto Pairs = [](std::span<const TStyleName> Table) {
    std::vector<std::pair<std::string_view, std::uint32_t>> Result;
    for (const TStyleName& Entry : Table) {
      Result.emplace_back(Entry.Name, Entry.Value);
    }
    return Result;
  };
  EXPECT_EQ(Pairs(WindowStyleNames), Window);
  EXPECT_EQ(Pairs(ExtendedStyleNames), Extended);
}

TEST(StylesTest, DecodesWindowStyles) {
  struct {
    std::uint32_t Style;
    TNames Expected;
  } const Cases[] = {
      {0, {"WS_OVERLAPPED"}},
      {0x0000FFFF, {"WS_OVERLAPPED"}}, // bits no entry covers
      {0x80880000, {"WS_OVERLAPPED", "WS_POPUP", "WS_BORDER", "WS_SYSMENU", "WS_POPUPWINDOW"}},
      {0x00CF0000,
       {"WS_OVERLAPPED", "WS_CAPTION", "WS_BORDER", "WS_DLGFRAME", "WS_SYSMENU", "WS_THICKFRAME",
        "WS_GROUP", "WS_TABSTOP", "WS_MINIMIZEBOX", "WS_MAXIMIZEBOX", "WS_OVERLAPPEDWINDOW"}},
      {0x90C00000,
       {"WS_OVERLAPPED", "WS_POPUP", "WS_VISIBLE", "WS_CAPTION", "WS_BORDER", "WS_DLGFRAME"}},
      {0x00800000, {"WS_OVERLAPPED", "WS_BORDER"}}, // half of WS_CAPTION
      {0x00020000, {"WS_OVERLAPPED", "WS_GROUP", "WS_MINIMIZEBOX"}},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << Case.Style);
    EXPECT_EQ(DecodeStyle(Case.Style, WindowStyleNames), Case.Expected);
  }
}

TEST(StylesTest, DecodesExtendedStyles) {
  struct {
    std::uint32_t Style;
    TNames Expected;
  } const Cases[] = {
      {0, {"WS_EX_LEFT", "WS_EX_LTRREADING", "WS_EX_RIGHTSCROLLBAR"}},
      {0x00000188,
       {"WS_EX_TOPMOST", "WS_EX_TOOLWINDOW", "WS_EX_WINDOWEDGE", "WS_EX_LEFT", "WS_EX_LTRREADING",
        "WS_EX_RIGHTSCROLLBAR", "WS_EX_PALETTEWINDOW"}},
      {0x00000100, {"WS_EX_WINDOWEDGE", "WS_EX_LEFT", "WS_EX_LTRREADING", "WS_EX_RIGHTSCROLLBAR"}},
      {0x00000300,
       {"WS_EX_WINDOWEDGE", "WS_EX_CLIENTEDGE", "WS_EX_LEFT", "WS_EX_LTRREADING",
        "WS_EX_RIGHTSCROLLBAR", "WS_EX_OVERLAPPEDWINDOW"}},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << Case.Style);
    EXPECT_EQ(DecodeStyle(Case.Style, ExtendedStyleNames), Case.Expected);
  }
}

TEST(StylesTest, AllBitsListEveryEntryInTableOrder) {
  const TNames Names = DecodeStyle(0xFFFFFFFF, WindowStyleNames);
  ASSERT_EQ(Names.size(), WindowStyleNames.size());
  EXPECT_EQ(Names.front(), "WS_OVERLAPPED");
  EXPECT_EQ(Names.back(), "WS_POPUPWINDOW");
}

} // namespace
} // namespace wyndo
