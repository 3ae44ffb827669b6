#pragma once
// The named properties of the four kinds of information object: the vocabulary of list columns.
// Names, types and order are fixed here; info/ binds each to the code that reads it.

#include "core/listkinds.h"
#include "core/rowvalue.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace wyndo {

// How a property's value is obtained, as a column settings record stores it.
enum TAccessorKind : std::uint8_t {
  acOtherGetter = 0, // treated like acGetter
  acVirtualGetter = 1,
  acField = 2,  // the stored field of the identifier-holding classes
  acGetter = 3, // a getter that asks the system
};

struct TPropertyDesc {
  std::string_view Name;
  std::uint8_t TypeKind;     // tkInteger, tkEnumeration or tkLString
  std::uint8_t OrdKind;      // for integers and enumerations; 0 for texts
  bool IsBoolean;            // an enumeration False/True
  std::uint8_t AccessorKind; // acField or acGetter
};

inline constexpr std::array<TPropertyDesc, 12> WindowPropertyDescs{{
    {"Handle", tkInteger, otULong, false, acField},
    {"WndProc", tkInteger, otULong, false, acGetter},
    {"WindowText", tkLString, 0, false, acGetter},
    {"ControlID", tkInteger, otSLong, false, acGetter},
    {"WindowStyle", tkInteger, otULong, false, acGetter},
    {"ExtWindowStyle", tkInteger, otULong, false, acGetter},
    {"ClassName", tkLString, 0, false, acGetter},
    {"ClassAtom", tkInteger, otULong, false, acGetter},
    {"ClassBytes", tkInteger, otULong, false, acGetter},
    {"ProcessID", tkInteger, otULong, false, acGetter},
    {"ThreadID", tkInteger, otULong, false, acGetter},
    {"Unicode", tkEnumeration, otUByte, true, acGetter},
}};
inline constexpr std::array<TPropertyDesc, 3> ProcessPropertyDescs{{
    {"ProcessID", tkInteger, otULong, false, acField},
    {"ModuleName", tkLString, 0, false, acGetter},
    {"ModulePath", tkLString, 0, false, acGetter},
}};
inline constexpr std::array<TPropertyDesc, 3> ThreadPropertyDescs{{
    {"ThreadID", tkInteger, otULong, false, acField},
    {"ModuleName", tkLString, 0, false, acGetter},
    {"ModulePath", tkLString, 0, false, acGetter},
}};
inline constexpr std::array<TPropertyDesc, 2> ModulePropertyDescs{{
    {"ModuleName", tkLString, 0, false, acGetter},
    {"ModulePath", tkLString, 0, false, acGetter},
}};

// The properties of a kind in declaration order.
std::span<const TPropertyDesc> PropertiesOf(TListKind Kind);
// The property of Kind named exactly Name (case-sensitive), or nullptr.
const TPropertyDesc* FindProperty(TListKind Kind, std::string_view Name);

// Size of a value in a row snapshot, ordinal-kind byte included: 2 for ordinal kinds 0 and 1,
// 3 for 2 and 3, 5 for 4 and 5, 1 for any other ordinal kind; 4 for a text; 0 otherwise.
std::uint32_t ValueSizeOf(std::uint8_t TypeKind, std::uint8_t OrdKind);

} // namespace wyndo
