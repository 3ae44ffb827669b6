#pragma once
// The program's one settings object as plain data. Every layer reads it; only app/ loads and
// saves it. Its system resources (lock, semaphores, icon) are prepared by start-up in app/.

#include "core/columns.h"
#include "core/listkinds.h"

#include <array>
#include <cstdint>

namespace wyndo {

// The number formats of IntFormat and ParseFormat.
enum TIntFormat : std::uint8_t {
  ifDecimal = 0,   // signed decimal: 4096, -1
  ifPascalHex = 1, // "$" and eight upper-case digits: $00001000
  ifCHex = 2,      // "0x" and eight upper-case digits: 0x00001000
  ifCurrent = 3,   // not a format: a caller's way of saying "the current IntFormat"
};

// Where the minimised program goes.
enum TMinimization : std::uint8_t { mzTaskbar = 0, mzTray = 1, mzTrayAndTaskbar = 2 };

// The operating-system kind found at start-up.
enum TOSKind : std::uint8_t { osWin9x = 0, osNT = 1, osUnsupported = 2 };

struct TWYNDO_Settings {
  // Number format in which the texts on the screen are currently written; ifCurrent except while
  // a new IntFormat is being applied, when it holds the old one so shown texts can be read back.
  std::uint8_t ParseFormat = ifCurrent;
  std::uint8_t IntFormat = ifDecimal;
  std::uint8_t Style = 0; // 0 own drawn captions, 1 standard captions
  std::uint8_t Minimization = mzTaskbar;
  bool MainFinder = false;
  bool AppBarDocking = false;
  bool StayOnTop = false;
  bool Initialising = false; // start-up in progress
  std::uint8_t OSKind = osWin9x;
  std::array<std::uint16_t, 4> Version{}; // major, minor, release, build of the program file
  // Per list kind, a record per property. Records are never added or removed after loading (list
  // windows keep pointers to them); the Properties dialog overwrites their values in place.
  std::array<TColumnList, ListKindCount> ColumnSettings;
  bool SaveOnExit = false; // write the settings at exit
};

// The global settings object. Every field starts at zero (its state before start-up), with
// ParseFormat at ifCurrent.
extern TWYNDO_Settings Settings;

} // namespace wyndo
