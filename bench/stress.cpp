// The stress helper of the benchmarks: creates a given number of windows, as top-level windows
// each with a tree of nested children of the given depth and fan-out, spread over a number of
// threads that answer their messages; prints "ready <windows>" when all exist and ends when a
// line arrives on its standard input (or the input closes).
//
//   stress.exe [--windows N] [--depth D] [--fanout F] [--threads T]

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
  int Windows = 20000;
  int Depth = 2;
  int Fanout = 10;
  int Threads = 4;
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

void ThreadMain(const TPlan& Plan, int Budget, HANDLE Ready, DWORD& ThreadId) {
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
  }
  WNDCLASSA Class{};
  Class.lpfnWndProc = &::DefWindowProcA;
  Class.hInstance = ::GetModuleHandleA(nullptr);
  Class.lpszClassName = "WyndoStress";
  ::RegisterClassA(&Class);

  std::vector<std::thread> Threads;
  std::vector<HANDLE> Ready;
  std::vector<DWORD> Ids(static_cast<std::size_t>(Plan.Threads));
  for (int T = 0; T < Plan.Threads; ++T) {
    const int Budget = Plan.Windows / Plan.Threads + (T < Plan.Windows % Plan.Threads ? 1 : 0);
    Ready.push_back(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    Threads.emplace_back(ThreadMain, std::cref(Plan), Budget, Ready.back(),
                         std::ref(Ids[static_cast<std::size_t>(T)]));
  }
  ::WaitForMultipleObjects(static_cast<DWORD>(Ready.size()), Ready.data(), TRUE, INFINITE);
  std::printf("ready %d\n", Plan.Windows);
  std::fflush(stdout);

  std::string Line;
  std::getline(std::cin, Line);
  for (DWORD Id : Ids)
    ::PostThreadMessageA(Id, WM_QUIT, 0, 0);
  for (std::thread& Thread : Threads)
    Thread.join();
  return 0;
}
