#include "core/properties.h"

#include <algorithm>

namespace wyndo {

std::span<const TPropertyDesc> PropertiesOf(TListKind Kind) {
  switch (Kind) {
  case lkWindow:
    return WindowPropertyDescs;
  case lkProcess:
    return ProcessPropertyDescs;
  case lkThread:
    return ThreadPropertyDescs;
  case lkModule:
    return ModulePropertyDescs;
  }
  return {};
}

const TPropertyDesc* FindProperty(TListKind Kind, std::string_view Name) {
  const auto Properties = PropertiesOf(Kind);
  const auto Found = std::find_if(Properties.begin(), Properties.end(),
                                  [Name](const TPropertyDesc& Desc) { return Desc.Name == Name; });
  return Found == Properties.end() ? nullptr : &*Found;
}

std::uint32_t ValueSizeOf(std::uint8_t TypeKind, std::uint8_t OrdKind) {
  switch (TypeKind) {
  case tkInteger:
  case tkEnumeration:
    switch (OrdKind) {
    case otSByte:
    case otUByte:
      return 2;
    case otSWord:
    case otUWord:
      return 3;
    case otSLong:
    case otULong:
      return 5;
    default:
      return 1;
    }
  case tkLString:
    return 4;
  default:
    return 0;
  }
}

} // namespace wyndo
