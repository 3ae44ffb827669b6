#include "app/startup.h"

#include "app/commands.h"
#include "app/settingsstore.h"
#include "core/cmdline.h"
#include "core/format.h"
#include "core/settings.h"
#include "ui/application.h"
#include "ui/settingsres.h"

#include <windows.h>

#include <shellapi.h>
#include <winver.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace wyndo {

std::string ProgramPath() {
  char Path[MAX_PATH + 1] = {};
  ::GetModuleFileNameA(nullptr, Path, MAX_PATH);
  return Path;
}

void GetVersionInfo(const std::string& FileName, std::string* ProductVersion,
                    std::array<std::uint16_t, 4>& Version) {
  Version = {0, 0, 0, 0};
  if (ProductVersion)
    ProductVersion->clear();
  DWORD Ignored = 0;
  const DWORD Size = ::GetFileVersionInfoSizeA(FileName.c_str(), &Ignored);
  if (Size == 0)
    return;
  std::vector<char> Data(Size);
  if (!::GetFileVersionInfoA(FileName.c_str(), 0, Size, Data.data()))
    return;
  void* Value = nullptr;
  UINT Length = 0;
  if (::VerQueryValueA(Data.data(), "\\", &Value, &Length) && Length >= sizeof(VS_FIXEDFILEINFO)) {
    const auto* Fixed = static_cast<const VS_FIXEDFILEINFO*>(Value);
    Version = {HIWORD(Fixed->dwFileVersionMS), LOWORD(Fixed->dwFileVersionMS),
               HIWORD(Fixed->dwFileVersionLS), LOWORD(Fixed->dwFileVersionLS)};
  }
  if (!ProductVersion)
    return;
  if (!::VerQueryValueA(Data.data(), "\\VarFileInfo\\Translation", &Value, &Length) ||
      Length < sizeof(DWORD))
    return;
  DWORD Translation = 0;
  std::memcpy(&Translation, Value, sizeof(Translation));
  const DWORD Language = LOWORD(Translation), CodePage = HIWORD(Translation);
  char Key[64];
  std::snprintf(Key, sizeof(Key), "\\StringFileInfo\\%8.8lx\\ProductVersion",
                static_cast<unsigned long>((Language << 16) | CodePage));
  if (::VerQueryValueA(Data.data(), Key, &Value, &Length) && Length > 0)
    ProductVersion->assign(static_cast<const char*>(Value),
                           ::strnlen(static_cast<const char*>(Value), Length));
}

void EnableDebugPrivilege() {
  HANDLE Token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &Token))
    return;
  TKernelHandle Owned(Token);
  TOKEN_PRIVILEGES Privileges{};
  Privileges.PrivilegeCount = 1;
  ::LookupPrivilegeValueA(nullptr, "SeDebugPrivilege", &Privileges.Privileges[0].Luid);
  Privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  ::AdjustTokenPrivileges(Token, FALSE, &Privileges, sizeof(Privileges), nullptr, nullptr);
  if (::GetLastError() != 0)
    Application.MessageBox(
        "Couldn't enable Debug-Privilege!  Some informations won't be available!",
        "No Debug-Privilege", MB_ICONEXCLAMATION);
}

std::uint8_t GetOSKind() {
  OSVERSIONINFOA Info{};
  Info.dwOSVersionInfoSize = sizeof(Info);
  std::uint8_t Kind = osUnsupported;
  if (::GetVersionExA(&Info) && Info.dwMajorVersion > 3) {
    switch (Info.dwPlatformId) {
    case VER_PLATFORM_WIN32_WINDOWS:
      Kind = Info.dwMinorVersion >= 10 ? osWin9x : osUnsupported;
      break;
    case VER_PLATFORM_WIN32_NT:
      Kind = Info.dwMajorVersion >= 5 ? osNT : osUnsupported;
      break;
    default:
      break;
    }
  }
  return Kind;
}

bool HandOverTo64Bit(std::string_view CommandLine) {
  if (sizeof(void*) != 4 || ParseCommandSwitches(CommandLine).Stay32)
    return false;
  // Windows XP SP2 and later; older systems are 32-bit throughout.
  using TIsWow64Process = BOOL(WINAPI*)(HANDLE, PBOOL);
  const auto IsWow64Process = reinterpret_cast<TIsWow64Process>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
  BOOL OnWow64 = FALSE;
  if (!IsWow64Process || !IsWow64Process(::GetCurrentProcess(), &OnWow64) || !OnWow64)
    return false;
  const std::string Program = ExtractFilePathOr(ProgramPath(), "") + Program64Name;
  if (::GetFileAttributesA(Program.c_str()) == INVALID_FILE_ATTRIBUTES)
    return false;
  std::string Line = "\"" + Program + "\" " + std::string(CommandLineTail(CommandLine));
  STARTUPINFOA Info{};
  Info.cb = sizeof(Info);
  PROCESS_INFORMATION Started{};
  if (!::CreateProcessA(Program.c_str(), Line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &Info, &Started))
    return false; // this program runs after all
  ::CloseHandle(Started.hThread);
  ::CloseHandle(Started.hProcess);
  return true;
}

std::optional<int> TStartup::Initialize(std::string_view CommandLine) {
  if (HandOverTo64Bit(CommandLine))
    return 0;
  if (MakeSplash) {
    // Shown and painted at once: no message loop runs before the main window.
    SettingsResources.Splash = MakeSplash();
    SettingsResources.Splash->BringToFront();
    SettingsResources.Splash->Update();
  }
  Settings.Initialising = true;
  Settings.SaveOnExit = false;

  // One instance per user: a second one hands over to the first and ends.
  HANDLE Instance = ::CreateSemaphoreA(nullptr, 0, 1, InstanceSemaphoreName);
  if (Instance && ::GetLastError() == ERROR_ALREADY_EXISTS) {
    ::CloseHandle(Instance);
    if (HWND Running = ::FindWindowExA(nullptr, nullptr, "TWyndoMainForm", nullptr)) {
      // The running program may sit in the tray or be minimised: it shows itself as "Show Wyndo"
      // does. This process, started by the user, may then bring it to the foreground.
      DWORD_PTR Ignored = 0;
      ::SendMessageTimeoutA(Running, WM_COMMAND, CommandId(TMainCommand::mcTrayShow), 0,
                            SMTO_ABORTIFHUNG, 5000, &Ignored);
      ::BringWindowToTop(Running);
      ::SetForegroundWindow(Running);
    }
    return 0;
  }
  SettingsResources.InstanceSemaphore.Reset(Instance);

  Settings.OSKind = GetOSKind();
  if (Settings.OSKind == osUnsupported) {
    ::MessageBoxA(nullptr, "This Program needs Win98/Win2000 or higher", "Unsupported OS",
                  MB_ICONHAND);
    return 0;
  }

  SettingsResources.TaskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
  EnableDebugPrivilege();
  Settings.ParseFormat = ifCurrent;
  const std::string Program = ProgramPath();
  GetVersionInfo(Program, nullptr, Settings.Version);
  SHFILEINFOA Info{};
  // A failed call leaves garbage in the icon field: only a successful one gives an icon.
  if (::SHGetFileInfoA(Program.c_str(), 0, &Info, sizeof(Info), SHGFI_ICON | SHGFI_SMALLICON))
    SettingsResources.SmallIcon.Reset(Info.hIcon);
  SettingsResources.ThreadCounter.Reset(::CreateSemaphoreA(nullptr, 5, 5, ThreadCounterName));
  Settings.SaveOnExit = true;

  const TLoadOutcome Outcome = LoadSettings(ParseCommandSwitches(CommandLine));
  if (Outcome.Config && RunConfiguration) {
    TForm* Splash = SettingsResources.Splash.get();
    if (Splash)
      Splash->Hide();
    if (!RunConfiguration()) {
      // Cancelled: nothing is saved, only what loading wrote stays in the registry.
      Settings.SaveOnExit = false;
      return 1;
    }
    if (Splash) {
      Splash->BringToFront();
      Splash->Update();
    }
  }
  Settings.Initialising = false;
  return std::nullopt;
}

void TStartup::FreeSplash() {
  SettingsResources.Splash.reset();
}

void TStartup::SaveSettingsNow() {
  if (!Settings.SaveOnExit)
    return;
  Settings.SaveOnExit = false;
  SaveSettings();
}

TStartup::~TStartup() {
  if (Settings.SaveOnExit)
    SaveSettings();
  FreeSplash();
  SettingsResources.SmallIcon.Reset();
  SettingsResources.ThreadCounter.Reset();
  SettingsResources.InstanceSemaphore.Reset();
}

} // namespace wyndo
