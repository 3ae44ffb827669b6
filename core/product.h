#pragma once
// Facts about the product that several windows show.

#include <string_view>

namespace wyndo {

// The product's home page (the about box's link, the "not implemented" message).
inline constexpr std::string_view HomePage = "http://www.harlwick.example/wyndo/";

} // namespace wyndo
