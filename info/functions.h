#pragma once
// Value helpers that need the window system: reading a typed handle with the user told of
// mistakes, and highlighting, waiting and repainting.

#include <windows.h>

#include <cstdint>
#include <string_view>

namespace wyndo {

// Resource strings used across the program.
inline constexpr UINT SCompanyName = 65293;   // "Harlwick"
inline constexpr UINT SProductName = 65294;   // "Wyndo"
inline constexpr UINT SNoWindowFound = 65295; // "<no window found>"

// Reads a typed window handle in the current number format; 0 unless it parses. With
// ShowErrors, "<no window found>" gives the "No window" message box and text that does not
// parse the "Invalid Handle" one; without it every failure is silent. Whether the value names
// a window is left to the caller.
std::uint32_t ParseHandle(std::string_view Text, bool ShowErrors);

// Inverts the whole window area (caption and frame included) for 350 ms, then lets it repaint.
void HighlightWindow(HWND Window);
// Waits at least Milliseconds while the user interface keeps handling its messages.
void Delay(DWORD Milliseconds);
// Repaints a window, its frame and all its children now, background included.
void RepaintWindowFully(HWND Window);

} // namespace wyndo
