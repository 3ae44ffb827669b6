#pragma once
// The names of window and extended window style bits, in display order, and their decoding.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace wyndo {

struct TStyleName {
  std::string_view Name;
  std::uint32_t Value;
};

extern const std::array<TStyleName, 22> WindowStyleNames;
extern const std::array<TStyleName, 21> ExtendedStyleNames;

// Every entry of Table, in table order, whose bits are all set in Style. Zero-valued entries
// always match; entries sharing a value are all listed; bits no entry covers give no name.
std::vector<std::string_view> DecodeStyle(std::uint32_t Style, std::span<const TStyleName> Table);

} // namespace wyndo
