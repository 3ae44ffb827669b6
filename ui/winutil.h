#pragma once
// Small Win32 helpers shared by every layer.

#include "core/format.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace wyndo {

// Window handles are kept as the unsigned 32-bit values Windows gives (they fit in 32 bits on
// 64-bit Windows too, which sign-extends them).
inline HWND ToWindow(std::uint32_t Handle) {
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(Handle)));
}
inline std::uint32_t FromWindow(HWND Window) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(Window));
}

inline TRect32 ToRect32(const RECT& Rect) {
  return {static_cast<std::int32_t>(Rect.left), static_cast<std::int32_t>(Rect.top),
          static_cast<std::int32_t>(Rect.right), static_cast<std::int32_t>(Rect.bottom)};
}

// A string of the program's string table (empty when missing).
std::string LoadResString(UINT Id);

} // namespace wyndo
