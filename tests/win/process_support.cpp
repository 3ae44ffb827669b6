#include "tests/win/process_support.h"

#include "core/format.h"
#include "tests/win/test_support.h"

#include <stdexcept>

namespace wyndo::test {

std::string WyndoExe() {
  char Path[MAX_PATH + 1] = {};
  ::GetModuleFileNameA(nullptr, Path, MAX_PATH);
  // build/<preset>/tests/win/x.exe -> build/<preset>/app/wyndo.exe
  return ExtractFilePathOr(Path, "") + "..\\..\\app\\wyndo.exe";
}

TProgram::TProgram(const std::string& Arguments, std::string Path) {
  std::string CommandLine = "\"" + Path + "\"" + (Arguments.empty() ? "" : " " + Arguments);
  STARTUPINFOA Startup{};
  Startup.cb = sizeof(Startup);
  PROCESS_INFORMATION Info{};
  if (!::CreateProcessA(Path.c_str(), CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &Startup, &Info))
    throw std::runtime_error("Cannot start " + Path);
  ::CloseHandle(Info.hThread);
  FProcess.Reset(Info.hProcess);
  FId = Info.dwProcessId;
}

TProgram::~TProgram() {
  if (FProcess && ::WaitForSingleObject(FProcess.Get(), 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(FProcess.Get(), 99);
    ::WaitForSingleObject(FProcess.Get(), 5000);
  }
}

std::optional<DWORD> TProgram::WaitForExit(DWORD TimeoutMs) {
  if (!WaitFor([this] { return ::WaitForSingleObject(FProcess.Get(), 0) == WAIT_OBJECT_0; },
               TimeoutMs))
    return std::nullopt;
  DWORD Code = 0;
  ::GetExitCodeProcess(FProcess.Get(), &Code);
  return Code;
}

namespace {

struct TSearch {
  DWORD Id;
  const char* ClassName;
  const char* Title;
  HWND Found = nullptr;
  std::vector<HWND>* All = nullptr; // collects every match instead of stopping at the first
};

BOOL CALLBACK Match(HWND Window, LPARAM Data) {
  auto& Search = *reinterpret_cast<TSearch*>(Data);
  DWORD Process = 0;
  ::GetWindowThreadProcessId(Window, &Process);
  char Class[256] = {};
  ::GetClassNameA(Window, Class, sizeof(Class));
  if (Process != Search.Id || std::string(Class) != Search.ClassName || !::IsWindowVisible(Window))
    return TRUE;
  if (Search.Title) {
    char Title[256] = {};
    ::GetWindowTextA(Window, Title, sizeof(Title));
    if (std::string(Title) != Search.Title)
      return TRUE;
  }
  if (Search.All) {
    Search.All->push_back(Window);
    return TRUE;
  }
  Search.Found = Window;
  return FALSE;
}

} // namespace

HWND FindProcessWindow(DWORD Id, const char* ClassName, const char* Title) {
  TSearch Search{Id, ClassName, Title};
  ::EnumWindows(&Match, reinterpret_cast<LPARAM>(&Search));
  return Search.Found;
}

std::vector<HWND> FindProcessWindows(DWORD Id, const char* ClassName) {
  std::vector<HWND> All;
  TSearch Search{Id, ClassName, nullptr, nullptr, &All};
  ::EnumWindows(&Match, reinterpret_cast<LPARAM>(&Search));
  return All;
}

namespace {

BOOL CALLBACK MatchChild(HWND Window, LPARAM Data) {
  auto& Search = *reinterpret_cast<TSearch*>(Data);
  char Class[256] = {};
  ::GetClassNameA(Window, Class, sizeof(Class));
  if (::lstrcmpiA(Class, Search.ClassName) != 0)
    return TRUE;
  if (Search.Title) {
    char Text[256] = {};
    ::GetWindowTextA(Window, Text, sizeof(Text));
    if (std::string(Text) != Search.Title)
      return TRUE;
  }
  Search.Found = Window;
  return FALSE;
}

} // namespace

HWND FindChildWindow(HWND Parent, const char* ClassName, const char* Text) {
  TSearch Search{0, ClassName, Text};
  ::EnumChildWindows(Parent, &MatchChild, reinterpret_cast<LPARAM>(&Search));
  return Search.Found;
}

bool ClickButton(HWND Parent, const char* Text) {
  HWND Button = FindChildWindow(Parent, "Button", Text);
  return Button && ::PostMessageA(Button, BM_CLICK, 0, 0);
}

HWND TProgram::WaitForWindow(const char* ClassName, DWORD TimeoutMs) {
  HWND Found = nullptr;
  WaitFor([&] { return (Found = FindProcessWindow(FId, ClassName)) != nullptr; }, TimeoutMs);
  return Found;
}

HWND TProgram::WaitForMessageBox(const std::string& Title, DWORD TimeoutMs) {
  HWND Found = nullptr;
  WaitFor([&] { return (Found = FindProcessWindow(FId, "#32770", Title.c_str())) != nullptr; },
          TimeoutMs);
  return Found;
}

} // namespace wyndo::test
