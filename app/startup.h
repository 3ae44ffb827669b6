#pragma once
// Start-up and instance control: one instance per user, supported systems only, the shared
// resources prepared, the settings loaded (optionally configured) before the main window; at exit
// the settings are written back.

#include "ui/forms.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace wyndo {

// The name of the semaphore by which a second instance finds that one runs.
inline constexpr char InstanceSemaphoreName[] = "{23A3BE67-3A76-4F22-B07D-6443CBA3803B}";
// The semaphore of the five list-build slots shared by every running instance.
inline constexpr char ThreadCounterName[] = "WYNDO_ThreadCounter";

// Reads the file version (major, minor, release, build) of FileName and, when asked, its
// "ProductVersion" string of the first language in its translation table. A file without version
// information gives 0.0.0.0 and an empty text.
void GetVersionInfo(const std::string& FileName, std::string* ProductVersion,
                    std::array<std::uint16_t, 4>& Version);
// The full path of the running program file.
std::string ProgramPath();
// Enables the debug privilege for this process; tells the user when that fails.
void EnableDebugPrivilege();
// 0: Windows 98 or Me; 1: Windows 2000 or later of the NT line; 2: anything older.
std::uint8_t GetOSKind();
// The name of the 64-bit program, beside the 32-bit one.
inline constexpr char Program64Name[] = "wyndo64.exe";
// A 32-bit program on a 64-bit system starts the 64-bit program beside it with the same
// parameters, unless "-32" is among them; true when it did, and this one is to end.
bool HandOverTo64Bit(std::string_view CommandLine);

class TStartup {
public:
  TStartup() = default;
  // Exit: writes the settings when SaveOnExit, releases the icon, semaphores and splash screen.
  ~TStartup();
  TStartup(const TStartup&) = delete;
  TStartup& operator=(const TStartup&) = delete;

  // Runs start-up up to the loaded settings. A value means the program ends now with that exit
  // code: 0 after handing over to the 64-bit program, for a second instance or an unsupported
  // system, 1 when the configuration run was cancelled.
  std::optional<int> Initialize(std::string_view CommandLine);
  // The splash screen goes once the main window is on the screen.
  void FreeSplash();
  // Writes the settings now when they are to be saved at all (the session is ending), and not
  // again at exit.
  void SaveSettingsNow();

  // The two windows start-up shows when they are given: the splash screen, and the Properties
  // dialog of the configuration run (true unless cancelled).
  std::function<TFormPtr<TForm>()> MakeSplash;
  std::function<bool()> RunConfiguration;
};

} // namespace wyndo
