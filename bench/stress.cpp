// The stress helper of the benchmarks. It makes what the list builders enumerate:
//
//   windows    a given number of windows, as top-level windows each with a tree of nested
//              children of the given depth and fan-out, spread over a number of threads that
//              answer their messages;
//   processes  a given number of copies of itself (started with --child), each with a number of
//              extra threads that wait and a number of modules loaded: copies of stressmod.dll
//              (next to this program) under distinct names in a folder of its own, the same
//              files in every copy, so each module is shared by all of them.
//
// It prints "ready <windows> <processes>" once everything exists and ends (with its copies, and
// removing the module files) when a line arrives on its standard input or the input closes.
//
//   stress.exe [--windows N] [--depth D] [--fanout F] [--threads T]
//              [--processes P] [--process-threads T] [--modules M]

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct TPlan {
  int Windows = 0;
  int Depth = 2;
  int Fanout = 10;
  int Threads = 4;
  int Processes = 0;
  int ProcessThreads = 0;
  int Modules = 0;
  // In a copy: the folder of the module files and the identifier of the process that started it.
  bool Child = false;
  std::string ModuleFolder;
  DWORD Parent = 0;
};

// Creates Parent's subtree down to Depth more levels, stopping once Budget is used up.
void CreateChildren(HWND Parent, int Depth, int Fanout, int& Budget, int& Made) {
  for (int I = 0; I < Fanout && Depth > 0 && Budget > 0; ++I) {
    --Budget;
    HWND Child =
        ::CreateWindowExA(0, "WyndoStress", ("Stress child " + std::to_string(Made)).c_str(),
                          WS_CHILD, 0, 0, 10, 10, Parent, nullptr, nullptr, nullptr);
    ++Made;
    CreateChildren(Child, Depth - 1, Fanout, Budget, Made);
  }
}

void WindowThreadMain(const TPlan& Plan, int Budget, HANDLE Ready, DWORD& ThreadId) {
  ThreadId = ::GetCurrentThreadId();
  int Made = 0;
  while (Budget > 0) {
    --Budget;
    HWND Top =
        ::CreateWindowExA(0, "WyndoStress", ("Stress window " + std::to_string(Made)).c_str(),
                          WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ++Made;
    CreateChildren(Top, Plan.Depth, Plan.Fanout, Budget, Made);
  }
  ::SetEvent(Ready);
  MSG Message;
  while (::GetMessageA(&Message, nullptr, 0, 0) > 0)
    ::DispatchMessageA(&Message);
}

std::string QuitEventName(DWORD Parent) {
  return "WyndoStressQuit-" + std::to_string(Parent);
}
std::string ReadySemaphoreName(DWORD Parent) {
  return "WyndoStressReady-" + std::to_string(Parent);
}
std::string ModuleFile(const std::string& Folder, int Index) {
  char Name[32];
  std::snprintf(Name, sizeof(Name), "\\stressmod%03d.dll", Index);
  return Folder + Name;
}

// A copy: loads the modules, starts its threads, reports ready and waits for the word to end.
int ChildMain(const TPlan& Plan) {
  HANDLE Quit = ::OpenEventA(SYNCHRONIZE, FALSE, QuitEventName(Plan.Parent).c_str());
  HANDLE Ready =
      ::OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, ReadySemaphoreName(Plan.Parent).c_str());
  if (!Quit || !Ready)
    return 1;
  for (int I = 0; I < Plan.Modules; ++I)
    ::LoadLibraryA(ModuleFile(Plan.ModuleFolder, I).c_str());
  std::vector<std::thread> Threads;
  for (int I = 0; I < Plan.ProcessThreads; ++I)
    Threads.emplace_back([Quit] { ::WaitForSingleObject(Quit, INFINITE); });
  ::ReleaseSemaphore(Ready, 1, nullptr);
  ::WaitForSingleObject(Quit, INFINITE);
  for (std::thread& Thread : Threads)
    Thread.join();
  return 0;
}

std::string OwnPath() {
  char Path[MAX_PATH];
  ::GetModuleFileNameA(nullptr, Path, MAX_PATH);
  return Path;
}

// The copies and their module files.
class TProcesses {
public:
  explicit TProcesses(const TPlan& Plan) {
    if (Plan.Processes <= 0)
      return;
    const DWORD Self = ::GetCurrentProcessId();
    FQuit = ::CreateEventA(nullptr, TRUE, FALSE, QuitEventName(Self).c_str());
    HANDLE Ready = ::CreateSemaphoreA(nullptr, 0, Plan.Processes, ReadySemaphoreName(Self).c_str());
    const std::string Program = OwnPath();
    const std::string Source = Program.substr(0, Program.find_last_of('\\') + 1) + "stressmod.dll";
    char Temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, Temp);
    // No backslash at the end: before the closing quote of an argument it would escape it.
    FFolder = std::string(Temp) + "wyndo-stress-" + std::to_string(Self);
    ::CreateDirectoryA(FFolder.c_str(), nullptr);
    for (int I = 0; I < Plan.Modules; ++I) {
      FFiles.push_back(ModuleFile(FFolder, I));
      ::CopyFileA(Source.c_str(), FFiles.back().c_str(), FALSE);
    }
    for (int I = 0; I < Plan.Processes; ++I) {
      std::string CommandLine = "\"" + Program + "\" --child " + std::to_string(Self) +
                                " --process-threads " + std::to_string(Plan.ProcessThreads) +
                                " --modules " + std::to_string(Plan.Modules) + " --folder \"" +
                                FFolder + "\"";
      STARTUPINFOA Startup{};
      Startup.cb = sizeof(Startup);
      PROCESS_INFORMATION Process{};
      if (::CreateProcessA(Program.c_str(), CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &Startup, &Process)) {
        ::CloseHandle(Process.hThread);
        FChildren.push_back(Process.hProcess);
      }
    }
    for (std::size_t I = 0; I < FChildren.size(); ++I) {
      HANDLE Waits[] = {Ready, FChildren[I]};
      // A copy that ends before it is ready is not waited for again.
      ::WaitForMultipleObjects(2, Waits, FALSE, INFINITE);
    }
    ::CloseHandle(Ready);
  }
  ~TProcesses() {
    if (!FQuit)
      return;
    ::SetEvent(FQuit);
    for (HANDLE Child : FChildren) {
      ::WaitForSingleObject(Child, 30000);
      ::CloseHandle(Child);
    }
    ::CloseHandle(FQuit);
    for (const std::string& File : FFiles)
      ::DeleteFileA(File.c_str());
    ::RemoveDirectoryA(FFolder.c_str());
  }
  int Count() const { return static_cast<int>(FChildren.size()); }

private:
  HANDLE FQuit = nullptr;
  std::string FFolder;
  std::vector<std::string> FFiles;
  std::vector<HANDLE> FChildren;
};

} // namespace

int main(int argc, char** argv) {
  TPlan Plan;
  for (int I = 1; I + 1 < argc; I += 2) {
    const int Value = std::atoi(argv[I + 1]);
    if (!std::strcmp(argv[I], "--windows"))
      Plan.Windows = Value;
    else if (!std::strcmp(argv[I], "--depth"))
      Plan.Depth = Value;
    else if (!std::strcmp(argv[I], "--fanout"))
      Plan.Fanout = Value;
    else if (!std::strcmp(argv[I], "--threads"))
      Plan.Threads = Value > 0 ? Value : 1;
    else if (!std::strcmp(argv[I], "--processes"))
      Plan.Processes = Value;
    else if (!std::strcmp(argv[I], "--process-threads"))
      Plan.ProcessThreads = Value;
    else if (!std::strcmp(argv[I], "--modules"))
      Plan.Modules = Value;
    else if (!std::strcmp(argv[I], "--folder"))
      Plan.ModuleFolder = argv[I + 1];
    else if (!std::strcmp(argv[I], "--child")) {
      Plan.Child = true;
      Plan.Parent = static_cast<DWORD>(std::strtoul(argv[I + 1], nullptr, 10));
    }
  }
  if (Plan.Child)
    return ChildMain(Plan);

  WNDCLASSA Class{};
  Class.lpfnWndProc = &::DefWindowProcA;
  Class.hInstance = ::GetModuleHandleA(nullptr);
  Class.lpszClassName = "WyndoStress";
  ::RegisterClassA(&Class);

  std::vector<std::thread> Threads;
  std::vector<HANDLE> Ready;
  std::vector<DWORD> Ids(static_cast<std::size_t>(Plan.Threads));
  if (Plan.Windows > 0)
    for (int T = 0; T < Plan.Threads; ++T) {
      const int Budget = Plan.Windows / Plan.Threads + (T < Plan.Windows % Plan.Threads ? 1 : 0);
      Ready.push_back(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
      Threads.emplace_back(WindowThreadMain, std::cref(Plan), Budget, Ready.back(),
                           std::ref(Ids[static_cast<std::size_t>(T)]));
    }
  if (!Ready.empty())
    ::WaitForMultipleObjects(static_cast<DWORD>(Ready.size()), Ready.data(), TRUE, INFINITE);
  {
    TProcesses Processes(Plan);
    std::printf("ready %d %d\n", Plan.Windows, Processes.Count());
    std::fflush(stdout);

    std::string Line;
    std::getline(std::cin, Line);
  }
  for (std::size_t T = 0; T < Threads.size(); ++T)
    ::PostThreadMessageA(Ids[T], WM_QUIT, 0, 0);
  for (std::thread& Thread : Threads)
    Thread.join();
  return 0;
}
