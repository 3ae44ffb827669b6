#pragma once
// The fixed command identifiers of the main window's menu bar and tray menu.
//
// WM_COMMAND with one of them in the low word of wParam (high word 0) and lParam 0, posted to
// the main window, runs the command exactly as choosing it from its menu does. Other programs
// (and the end-to-end tests, which drive the program from outside) rely on these numbers, as a
// menu of another process cannot be read everywhere: they never change meaning.

#include "ui/menus.h"

#include <windows.h>

namespace wyndo {

enum class TMainCommand : UINT {
  // Menu bar.
  mcWindows = FirstFixedCommand,
  mcProcesses,
  mcThreads,
  mcModules,
  mcFindWindow,
  mcProperties,
  mcCascade,
  mcTileHorizontally,
  mcTileVertically,
  mcCloseAll,
  mcAbout,
  // Tray menu.
  mcTrayWindows = FirstFixedCommand + 0x20,
  mcTrayProcesses,
  mcTrayThreads,
  mcTrayModules,
  mcTrayFindWindow,
  mcTrayProperties,
  mcTrayShow,
  mcTrayClose,
};

constexpr UINT CommandId(TMainCommand Command) {
  return static_cast<UINT>(Command);
}

} // namespace wyndo
