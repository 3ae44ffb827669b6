#include "core/styles.h"

#include <algorithm>

namespace wyndo {

// Defined constexpr so that the names can be checked at compile time.
constexpr std::array<TStyleName, 22> WindowStyleNames{{
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
}};

constexpr std::array<TStyleName, 21> ExtendedStyleNames{{
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
}};

namespace {

// Names are short strings of at most 255 characters; an empty one would mean a missing entry.
template <std::size_t N>
constexpr bool NamesFit(const std::array<TStyleName, N>& Table) {
  return std::all_of(Table.begin(), Table.end(), [](const TStyleName& Entry) {
    return !Entry.Name.empty() && Entry.Name.size() <= 255;
  });
}

static_assert(NamesFit(WindowStyleNames));
static_assert(NamesFit(ExtendedStyleNames));

} // namespace

std::vector<std::string_view> DecodeStyle(std::uint32_t Style, std::span<const TStyleName> Table) {
  std::vector<std::string_view> Names;
  for (const TStyleName& Entry : Table) {
    if ((Style & Entry.Value) == Entry.Value) {
      Names.push_back(Entry.Name);
    }
  }
  return Names;
}

} // namespace wyndo
