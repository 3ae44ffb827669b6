#include "ui/winutil.h"

// Compiles the record-size checks into every build.
#include "ui/records.h"

namespace wyndo {

std::string LoadResString(UINT Id) {
  char Buffer[1024];
  const int Length = ::LoadStringA(::GetModuleHandleA(nullptr), Id, Buffer, sizeof(Buffer));
  return std::string(Buffer, Length > 0 ? static_cast<std::size_t>(Length) : 0);
}

} // namespace wyndo
