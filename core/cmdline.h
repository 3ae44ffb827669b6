#pragma once
// The program's command line.

#include <string>
#include <string_view>
#include <vector>

namespace wyndo {

// The parameters after the program name, split at blanks (any character up to ' '); a pair of
// double quotes groups blanks into a parameter and is removed; a double-byte character (lead
// byte per UserLocale()) is never split.
std::vector<std::string> CommandLineParams(std::string_view CommandLine);
// The command line after the program name, as it was written (quotes and all): what a program
// that hands over to another passes on.
std::string_view CommandLineTail(std::string_view CommandLine);

struct TCommandSwitches {
  bool Reset = false;  // "-reset": take the defaults instead of the stored settings
  bool Config = false; // "-config": show the Properties dialog before the main window
  bool Stay32 = false; // "-32": the 32-bit program runs also where the 64-bit one is beside it
};

// Each parameter is lower-cased A to Z only, then compared exactly; others are ignored.
TCommandSwitches ParseCommandSwitches(std::string_view CommandLine);

} // namespace wyndo
