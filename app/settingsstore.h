#pragma once
// Loading the settings object from the current user's registry at start-up and writing it back
// at exit. Every read failure is silent and leads to defaults.

#include "core/cmdline.h"

#include <string>

namespace wyndo {

// "Software\<company>\<product>" under HKEY_CURRENT_USER, from the string table.
std::string SettingsKeyPath();

struct TLoadOutcome {
  bool Reset = false;  // the defaults were taken (asked for, first start, or a read failure)
  bool Config = false; // the Properties dialog should run before the main window
};

// Reads the options and the column settings, honouring the switches: "-reset" takes the
// defaults; a missing key, or an option value that cannot be read, is a first start (defaults
// and the Properties dialog). Writes "AppPath" on every start.
TLoadOutcome LoadSettings(const TCommandSwitches& Switches);
// Writes the options and, per kind, replaces every value of its subkey with its records.
void SaveSettings();

} // namespace wyndo
