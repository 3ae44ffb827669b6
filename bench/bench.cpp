// The benchmark program. Run it with the whole Wine session pinned to one CPU
// (scripts/bench.sh): cross-process messaging is erratic otherwise. It prints one figure per
// line, "name: value", in this order; the ratios compare with a floor measured in the same run,
// in turns with it, and are the median of the rounds' ratios:
//
//   build_windows_ratio    building the window list over the stress helper's windows / the
//                          bare system queries the builder makes: the same enumeration and, per
//                          window, the same queries for the default columns (window text, class
//                          name), without information objects, rows or tree
//   ui_block_max_ms        the longest a message posted to the user-interface thread waited
//                          while a shown list window built the window list over the stress
//                          helper's windows (from the start of the build until 200 ms after its
//                          end has been handled: sorting, filter, repaint), worst of the rounds,
//                          in ms (not a ratio)
//   build_processes_ratio  as build_windows_ratio for the process list over the stress helper's
//                          processes (process snapshot, per process its module path, the thread
//                          walk per process, each thread's windows)
//   build_threads_ratio    the same for the thread list (per thread the owning process looked up
//                          in the snapshot and its module path, the thread's windows)
//   build_modules_ratio    the same for the module list (per process a module snapshot, the
//                          process's module path, each module's long path)
//   filter_ratio           applying a filter with a text on every column (case ignored, masks)
//                          to a window list of 100,000 nodes / producing the cell texts it
//                          compares, once each
//   search_ratio           a search that walks a window list of 100,000 nodes to a hit in the
//                          last node / producing the cell texts it compares, once each
//   sort_ratio             sorting 100,000 sibling nodes by a text column and by a number column
//                          (direction descending) / std::stable_sort of the extracted values
//                          with a < b (texts through the same locale comparison)
//   bytes_per_node         memory per window node, row snapshot and texts excluded (not a ratio)
//
// Details (sizes, times, every round) go to the standard error.
//
//   bench.exe [--windows N] [--depth D] [--fanout F] [--threads T]
//             [--processes P] [--process-threads T] [--modules M]
//             [--nodes N] [--rounds R] [--only name,name,...]
//
// Defaults: 20,000 windows (depth 2, fan-out 10, 4 threads); 40 processes with 20 threads and 40
// modules each; 100,000 nodes; 3 rounds (filter and search: 7 per round, at least 21). --only
// picks figures by the middle of their names: windows, ui, processes, threads, modules, filter,
// search, sort.

#include "core/columns.h"
#include "core/format.h"
#include "core/settings.h"
#include "info/infoobjects.h"
#include "lists/listbuilding.h"
#include "lists/listform.h"
#include "lists/listsort.h"
#include "ui/application.h"
#include "ui/forms.h"
#include "ui/guard.h"
#include "ui/settingsres.h"
#include "ui/winutil.h"

#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace wyndo {
namespace {

using TClock = std::chrono::steady_clock;

double Seconds(const std::function<void()>& Work) {
  const auto Start = TClock::now();
  Work();
  return std::chrono::duration<double>(TClock::now() - Start).count();
}

double MillisecondsSince(TClock::time_point Start) {
  return std::chrono::duration<double, std::milli>(TClock::now() - Start).count();
}

// Handles this thread's messages until Done() holds.
template <class TDone>
void PumpUntil(TDone Done) {
  while (!Done()) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    Application.ProcessMessages();
  }
}

// Runs Work on a thread of its own, as a build runs, while this thread answers its messages
// (the work sends messages to this thread's windows).
double SecondsOnWorker(const std::function<void()>& Work) {
  return Seconds([&] {
    std::atomic<bool> Done{false};
    std::thread Worker([&] {
      Work();
      Done = true;
    });
    PumpUntil([&] { return Done.load(); });
    Worker.join();
  });
}

const std::vector<TListKind>& KindsOf(TListKind Kind) {
  static const std::vector<TListKind> Kinds[] = {
      {lkWindow}, {lkProcess, lkThread, lkWindow}, {lkThread, lkWindow}, {lkModule, lkProcess}};
  return Kinds[Kind];
}

// A list window as far as building needs one.
class TBenchList : public TForm, public TBuildTarget {
public:
  explicit TBenchList(TListKind Kind)
      : FKind(Kind), FNodes(sizeof(TListNodeData)),
        FColumns(BuildColumnModel(Kind, KindsOf(Kind), Settings.ColumnSettings)) {
    FNodes.OnFreeNode = [this](TTreeNode* Node) {
      FreeRowSnapshot(FNodes.DataAs<TListNodeData>(Node).Row);
    };
  }
  void BeforeDestruction() override {
    StopBuild(*this);
    TForm::BeforeDestruction();
  }
  HWND BuildWindow() override { return Handle(); }
  TListKind BuildKind() const override { return FKind; }
  TNodeModel& BuildNodes() override { return FNodes; }
  const TColumnModel& BuildColumns() const override { return FColumns; }
  std::string BuildCaption() override { return "Benchmark List"; }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_BUILDSTARTED)
      FNodes.Clear();
    else if (Message.Msg == WM_BUILDFINISHED)
      Finished = true;
    else
      TForm::WndProc(Message);
  }
  bool Finished = false;
  TListKind FKind;
  TNodeModel FNodes;
  TColumnModel FColumns;
};

// The stress helper, with a pipe to tell it to end.
class TStress {
public:
  explicit TStress(const std::string& Arguments) {
    SECURITY_ATTRIBUTES Inherit{sizeof(Inherit), nullptr, TRUE};
    HANDLE InRead, OutWrite;
    ::CreatePipe(&InRead, &FInput, &Inherit, 0);
    ::CreatePipe(&FOutput, &OutWrite, &Inherit, 0);
    ::SetHandleInformation(FInput, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(FOutput, HANDLE_FLAG_INHERIT, 0);
    char Self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, Self, MAX_PATH);
    const std::string Path = ExtractFilePathOr(Self, "") + "stress.exe";
    std::string CommandLine = "\"" + Path + "\" " + Arguments;
    STARTUPINFOA Startup{};
    Startup.cb = sizeof(Startup);
    Startup.dwFlags = STARTF_USESTDHANDLES;
    Startup.hStdInput = InRead;
    Startup.hStdOutput = OutWrite;
    Startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    if (!::CreateProcessA(Path.c_str(), CommandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                          nullptr, &Startup, &FProcess))
      throw std::runtime_error("Cannot start " + Path);
    ::CloseHandle(InRead);
    ::CloseHandle(OutWrite);
  }
  // Waits for "ready"; false when the helper ended first.
  bool WaitReady() {
    std::string Text;
    char Buffer[64];
    DWORD Read = 0;
    while (Text.find('\n') == std::string::npos &&
           ::ReadFile(FOutput, Buffer, sizeof(Buffer), &Read, nullptr) && Read)
      Text.append(Buffer, Read);
    std::fprintf(stderr, "stress helper: %s", Text.c_str());
    return Text.starts_with("ready");
  }
  ~TStress() {
    DWORD Written = 0;
    ::WriteFile(FInput, "quit\n", 5, &Written, nullptr);
    ::CloseHandle(FInput);
    ::WaitForSingleObject(FProcess.hProcess, 60000);
    ::CloseHandle(FProcess.hProcess);
    ::CloseHandle(FProcess.hThread);
    ::CloseHandle(FOutput);
  }

private:
  HANDLE FInput = nullptr, FOutput = nullptr;
  PROCESS_INFORMATION FProcess{};
};

// ---------------------------------------------------------------------------------------------
// Floors: the system queries each builder makes, made directly, with nothing kept.

// What a floor walked: windows, processes, threads, module entries.
struct TWalked {
  std::size_t Windows = 0, Processes = 0, Threads = 0, Modules = 0;
};

// The queries of a window's default columns (Handle needs none): its text by messages, as the
// information object reads it, and its class name.
void BareWindowQueries(HWND Window) {
  DWORD_PTR Length = 0;
  if (::SendMessageTimeoutA(Window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &Length)) {
    std::string Text(std::min<DWORD_PTR>(Length, 1 << 20) + 1, '\0');
    DWORD_PTR Copied = 0;
    ::SendMessageTimeoutA(Window, WM_GETTEXT, Text.size(), reinterpret_cast<LPARAM>(Text.data()),
                          SMTO_ABORTIFHUNG, 1000, &Copied);
  }
  char Class[256];
  ::GetClassNameA(Window, Class, sizeof(Class));
  (void)(Window == ::GetDesktopWindow());
}

struct TBareWindowWalk {
  HWND Parent = nullptr;
  TWalked* Walked = nullptr;
};

// Every window once, under its parent: the enumeration reports all descendants.
BOOL CALLBACK BareWindowProc(HWND Window, LPARAM Param) {
  auto& Walk = *reinterpret_cast<TBareWindowWalk*>(Param);
  if (::GetAncestor(Window, GA_PARENT) != Walk.Parent)
    return TRUE;
  ++Walk.Walked->Windows;
  BareWindowQueries(Window);
  HWND Saved = Walk.Parent;
  Walk.Parent = Window;
  ::EnumChildWindows(Window, &BareWindowProc, Param);
  Walk.Parent = Saved;
  return TRUE;
}

void BareThreadWindows(DWORD ThreadId, TWalked& Walked) {
  TBareWindowWalk Walk{::GetDesktopWindow(), &Walked};
  ::EnumThreadWindows(ThreadId, &BareWindowProc, reinterpret_cast<LPARAM>(&Walk));
}

TWalked BareWindowList() {
  TWalked Walked;
  HWND Desktop = ::GetDesktopWindow();
  ++Walked.Windows;
  BareWindowQueries(Desktop);
  TBareWindowWalk Walk{Desktop, &Walked};
  ::EnumWindows(&BareWindowProc, reinterpret_cast<LPARAM>(&Walk));
  return Walked;
}

std::size_t Length(const char* Text, std::size_t Size) {
  return ::strnlen(Text, Size);
}

void BareLongPath(const std::string& Path) {
  const DWORD Needed = ::GetLongPathNameA(Path.c_str(), nullptr, 0);
  if (Needed == 0)
    return;
  std::string Long(Needed, '\0');
  ::GetLongPathNameA(Path.c_str(), Long.data(), Needed);
}

// A process's module path, resolved as the information object does: the process-status service,
// else the process's own module in a module snapshot, else the record's file name.
void BareModulePath(HANDLE Process, const PROCESSENTRY32& Entry) {
  std::string Path;
  if (Process) {
    char Buffer[MAX_PATH + 1] = {};
    if (::GetModuleFileNameExA(Process, nullptr, Buffer, sizeof(Buffer)) > 0)
      Path.assign(Buffer, Length(Buffer, sizeof(Buffer)));
  }
  if (Path.empty()) {
    HANDLE Snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, Entry.th32ProcessID);
    if (Snapshot != INVALID_HANDLE_VALUE) {
      const std::string ExeName =
          ExtractFileNameOr(std::string(Entry.szExeFile, Length(Entry.szExeFile, MAX_PATH)), "");
      MODULEENTRY32 Module{};
      Module.dwSize = sizeof(Module);
      for (BOOL More = ::Module32First(Snapshot, &Module); More;
           More = ::Module32Next(Snapshot, &Module))
        if (ExtractFileNameOr(Module.szModule, "") == ExeName) {
          Path = Module.szExePath;
          break;
        }
      ::CloseHandle(Snapshot);
    }
  }
  if (Path.empty())
    Path.assign(Entry.szExeFile, Length(Entry.szExeFile, MAX_PATH));
  if (!Path.empty())
    BareLongPath(Path);
}

HANDLE OpenForQuery(DWORD ProcessId) {
  return ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ProcessId);
}

void CloseIfOpen(HANDLE Handle) {
  if (Handle)
    ::CloseHandle(Handle);
}

TWalked BareProcessList() {
  TWalked Walked;
  HANDLE Snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS | TH32CS_SNAPTHREAD, 0);
  if (Snapshot == INVALID_HANDLE_VALUE)
    return Walked;
  PROCESSENTRY32 Process{};
  Process.dwSize = sizeof(Process);
  for (BOOL More = ::Process32First(Snapshot, &Process); More;
       More = ::Process32Next(Snapshot, &Process)) {
    ++Walked.Processes;
    HANDLE Handle = OpenForQuery(Process.th32ProcessID);
    BareModulePath(Handle, Process);
    THREADENTRY32 Thread{};
    Thread.dwSize = sizeof(Thread);
    for (BOOL Next = ::Thread32First(Snapshot, &Thread); Next;
         Next = ::Thread32Next(Snapshot, &Thread)) {
      if (Thread.th32OwnerProcessID != Process.th32ProcessID ||
          Thread.th32ThreadID == ::GetCurrentThreadId())
        continue;
      ++Walked.Threads;
      if (Thread.th32ThreadID != 0)
        BareThreadWindows(Thread.th32ThreadID, Walked);
    }
    CloseIfOpen(Handle);
  }
  ::CloseHandle(Snapshot);
  return Walked;
}

TWalked BareThreadList() {
  TWalked Walked;
  HANDLE Snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS | TH32CS_SNAPTHREAD, 0);
  if (Snapshot == INVALID_HANDLE_VALUE)
    return Walked;
  THREADENTRY32 Thread{};
  Thread.dwSize = sizeof(Thread);
  for (BOOL More = ::Thread32First(Snapshot, &Thread); More;
       More = ::Thread32Next(Snapshot, &Thread)) {
    if (Thread.th32ThreadID == ::GetCurrentThreadId())
      continue;
    ++Walked.Threads;
    // The owning process, looked up in the same snapshot, and its module path.
    PROCESSENTRY32 Process{};
    Process.dwSize = sizeof(Process);
    for (BOOL Next = ::Process32First(Snapshot, &Process); Next;
         Next = ::Process32Next(Snapshot, &Process))
      if (Process.th32ProcessID == Thread.th32OwnerProcessID) {
        HANDLE Handle = OpenForQuery(Process.th32ProcessID);
        BareModulePath(Handle, Process);
        CloseIfOpen(Handle);
        break;
      }
    if (Thread.th32ThreadID != 0)
      BareThreadWindows(Thread.th32ThreadID, Walked);
  }
  ::CloseHandle(Snapshot);
  return Walked;
}

TWalked BareModuleList() {
  TWalked Walked;
  HANDLE Snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (Snapshot == INVALID_HANDLE_VALUE)
    return Walked;
  PROCESSENTRY32 Process{};
  Process.dwSize = sizeof(Process);
  for (BOOL More = ::Process32First(Snapshot, &Process); More;
       More = ::Process32Next(Snapshot, &Process)) {
    ++Walked.Processes;
    HANDLE Modules = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, Process.th32ProcessID);
    if (Modules == INVALID_HANDLE_VALUE)
      continue;
    HANDLE Handle = OpenForQuery(Process.th32ProcessID);
    bool Resolved = false;
    MODULEENTRY32 Module{};
    Module.dwSize = sizeof(Module);
    for (BOOL Next = ::Module32First(Modules, &Module); Next;
         Next = ::Module32Next(Modules, &Module)) {
      ++Walked.Modules;
      BareLongPath(std::string(Module.szExePath, Length(Module.szExePath, MAX_PATH)));
      if (!Resolved) // the process row of the first module resolves it; the others reuse it
        BareModulePath(Handle, Process);
      Resolved = true;
    }
    CloseIfOpen(Handle);
    ::CloseHandle(Modules);
  }
  ::CloseHandle(Snapshot);
  return Walked;
}

// ---------------------------------------------------------------------------------------------
// Builders

// Runs, each next to its floor: the median of the rounds' ratios, which a round slowed down by
// another process on the CPU does not move.
class TRatios {
public:
  void Add(double Ours, double Floor) {
    FRatios.push_back(Ours / Floor);
    FOurs = std::min(FOurs, Ours);
    FFloor = std::min(FFloor, Floor);
  }
  double Median() const {
    std::vector<double> Sorted = FRatios;
    std::sort(Sorted.begin(), Sorted.end());
    const std::size_t Half = Sorted.size() / 2;
    return Sorted.size() % 2 ? Sorted[Half] : (Sorted[Half - 1] + Sorted[Half]) / 2;
  }
  std::string Text() const {
    char Buffer[160];
    std::snprintf(Buffer, sizeof(Buffer),
                  "%zu rounds: best %.4f s, floor's best %.4f s; ratio median %.3f (%.3f to %.3f)",
                  FRatios.size(), FOurs, FFloor, Median(),
                  *std::min_element(FRatios.begin(), FRatios.end()),
                  *std::max_element(FRatios.begin(), FRatios.end()));
    return Buffer;
  }

private:
  std::vector<double> FRatios;
  double FOurs = 1e9, FFloor = 1e9;
};

std::string CountsText(const TBuildTarget& List) {
  std::string Text;
  for (TListKind Kind : AllListKinds)
    if (List.Counts[Kind])
      Text += (Text.empty() ? "" : ", ") + std::to_string(List.Counts[Kind]) + " " +
              std::string(ListWords[Kind]);
  return Text;
}

std::string WalkedText(const TWalked& Walked) {
  return std::to_string(Walked.Processes) + " processes, " + std::to_string(Walked.Threads) +
         " threads, " + std::to_string(Walked.Modules) + " module entries, " +
         std::to_string(Walked.Windows) + " windows";
}

// Builds and floors take turns, so each build is compared with a floor measured just before it
// (another process may take part of the CPU for a while).
double MeasureBuilder(TListKind Kind, const std::function<TWalked()>& Floor, int Rounds) {
  auto List = MakeForm<TBenchList>(Kind);
  List->HandleNeeded(); // its window is listed by the floor as well as by the build
  TRatios Ratios;
  TWalked Walked;
  for (int Round = 0; Round < Rounds; ++Round) {
    const double FloorTime = SecondsOnWorker([&] { Walked = Floor(); });
    Ratios.Add(Seconds([&] {
                 List->Finished = false;
                 StartBuild(*List);
                 PumpUntil([&] { return List->Finished && !List->FThreadData.load(); });
               }),
               FloorTime);
  }
  static constexpr const char* Names[] = {"window", "process", "thread", "module"};
  std::fprintf(stderr, "%s list: %zu nodes (%s); floor walked %s; %s\n", Names[Kind],
               List->FNodes.Count(), CountsText(*List).c_str(), WalkedText(Walked).c_str(),
               Ratios.Text().c_str());
  return Ratios.Median();
}

// ---------------------------------------------------------------------------------------------
// How long the user-interface thread leaves a message waiting

// A probe thread posts a message to a message-only window of the user-interface thread and
// waits for its answer, again and again; the longest wait is how long the thread was blocked
// (plus a scheduling slice). A 10 ms timer on the same window gives a second view: the longest
// gap between its ticks.
class TResponsiveness {
public:
  TResponsiveness() {
    WNDCLASSA Class{};
    Class.lpfnWndProc = &Proc;
    Class.hInstance = ::GetModuleHandleA(nullptr);
    Class.lpszClassName = "WyndoBenchProbe";
    ::RegisterClassA(&Class);
    FWindow = ::CreateWindowExA(0, "WyndoBenchProbe", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                nullptr, this);
    ::SetWindowLongPtrA(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    FAnswer = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
  }
  ~TResponsiveness() {
    Stop();
    ::DestroyWindow(FWindow);
    ::CloseHandle(FAnswer);
  }
  void Start() {
    FStart = TClock::now();
    FMaxAt = 0;
    FMaxRoundTrip = 0;
    FMaxTimerGap = 0;
    FRoundTrips = 0;
    FLastTick = TClock::now();
    ::SetTimer(FWindow, 1, 10, nullptr);
    FStopping = false;
    FProbe = std::thread([this] { ProbeMain(); });
  }
  void Stop() {
    if (!FProbe.joinable())
      return;
    FStopping = true;
    FProbe.join();
    ::KillTimer(FWindow, 1);
  }
  double MaxRoundTrip() const { return FMaxRoundTrip; }
  // When the longest round trip began, in ms after Start.
  double MaxAt() const { return FMaxAt; }
  double SinceStart() const { return MillisecondsSince(FStart); }
  double MaxTimerGap() const { return FMaxTimerGap; }
  std::size_t RoundTrips() const { return FRoundTrips; }

private:
  static constexpr UINT WM_PROBE = WM_APP + 1;

  static LRESULT CALLBACK Proc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
    auto* Self = reinterpret_cast<TResponsiveness*>(::GetWindowLongPtrA(Window, GWLP_USERDATA));
    if (Self && Message == WM_PROBE) {
      ::SetEvent(Self->FAnswer);
      return 0;
    }
    if (Self && Message == WM_TIMER) {
      Self->FMaxTimerGap = std::max(Self->FMaxTimerGap, MillisecondsSince(Self->FLastTick));
      Self->FLastTick = TClock::now();
      return 0;
    }
    return ::DefWindowProcA(Window, Message, WParam, LParam);
  }

  void ProbeMain() {
    while (!FStopping) {
      const auto Sent = TClock::now();
      ::PostMessageA(FWindow, WM_PROBE, 0, 0);
      // The user-interface thread may stop pumping once it has asked this thread to end.
      while (::WaitForSingleObject(FAnswer, 50) == WAIT_TIMEOUT)
        if (FStopping)
          return;
      if (const double RoundTrip = MillisecondsSince(Sent); RoundTrip > FMaxRoundTrip) {
        FMaxRoundTrip = RoundTrip;
        FMaxAt = std::chrono::duration<double, std::milli>(Sent - FStart).count();
      }
      ++FRoundTrips;
      ::Sleep(5);
    }
  }

  HWND FWindow = nullptr;
  HANDLE FAnswer = nullptr;
  std::thread FProbe;
  std::atomic<bool> FStopping{false};
  std::atomic<double> FMaxRoundTrip{0};
  std::atomic<double> FMaxAt{0};
  TClock::time_point FStart;
  std::atomic<std::size_t> FRoundTrips{0};
  double FMaxTimerGap = 0;
  TClock::time_point FLastTick;
};

// A list window that times its handling of the build's messages.
class TTimedWindowList : public TWindowListForm {
public:
  void WndProc(TMessage& Message) override {
    if (Message.Msg != WM_BUILDSTARTED && Message.Msg != WM_BUILDFINISHED) {
      TWindowListForm::WndProc(Message);
      return;
    }
    const auto Start = TClock::now();
    TWindowListForm::WndProc(Message);
    (Message.Msg == WM_BUILDSTARTED ? StartHandling : FinishHandling) = MillisecondsSince(Start);
  }
  double StartHandling = 0, FinishHandling = 0;
};

// Builds the window list in a real, shown list window (busy display, sorting, filter and repaint
// at the end included) while the probe measures; the worst of all rounds.
double MeasureUiBlock(int Rounds) {
  auto List = MakeForm<TTimedWindowList>();
  List->Show();
  PumpUntil([] { return true; });
  TResponsiveness Probe;
  double Worst = 0, WorstTimerGap = 0, Build = 0;
  std::size_t RoundTrips = 0;
  for (int Round = 0; Round < Rounds; ++Round) {
    const int Before = List->FinishedBuilds();
    Probe.Start();
    Build += Seconds([&] {
      StartBuild(*List);
      PumpUntil([&] { return List->FinishedBuilds() > Before && !List->FThreadData.load(); });
    });
    const double Finished = Probe.SinceStart();
    // The repaint after the end.
    const auto End = TClock::now();
    PumpUntil([&] { return MillisecondsSince(End) > 200; });
    Probe.Stop();
    std::fprintf(stderr,
                 "ui round %d: start handled in %.1f ms; build handled at %.0f ms, its end in %.1f "
                 "ms; longest round trip %.1f ms from %.0f ms; longest timer gap %.1f ms\n",
                 Round + 1, List->StartHandling, Finished, List->FinishHandling,
                 Probe.MaxRoundTrip(), Probe.MaxAt(), Probe.MaxTimerGap());
    Worst = std::max(Worst, Probe.MaxRoundTrip());
    WorstTimerGap = std::max(WorstTimerGap, Probe.MaxTimerGap());
    RoundTrips += Probe.RoundTrips();
  }
  std::fprintf(stderr,
               "ui: %zu nodes, %d builds of %.3f s on average; %zu round trips, the longest "
               "%.1f ms; longest gap between 10 ms timer ticks %.1f ms\n",
               List->Tree->Nodes().Count(), Rounds, Build / Rounds, RoundTrips, Worst,
               WorstTimerGap);
  return Worst;
}

// ---------------------------------------------------------------------------------------------
// Filter and search

// A window list of Count nodes as a build would leave it: the desktop node, top-level windows
// with 9 children of 10 children each; the default columns (Handle, WindowText, ClassName). The
// last node in pre-order is the only one whose text contains "last".
void FillWindowList(TListForm& List, std::size_t Count) {
  TNodeModel& Nodes = List.Tree->Nodes();
  Nodes.Clear();
  const TColumnSettings* Records[3];
  for (int Column = 0; Column < 3; ++Column)
    Records[Column] = List.ColumnRecord(Column, lkWindow);
  if (!Records[0] || Records[0]->FieldName != "Handle" || !Records[1] ||
      Records[1]->FieldName != "WindowText" || !Records[2] || Records[2]->FieldName != "ClassName")
    throw std::logic_error("the window list does not show the default columns");
  std::size_t Made = 0;
  auto Add = [&](TTreeNode* Parent, std::string Text, const char* Class) {
    TTreeNode* Node = Nodes.AddChild(Parent);
    auto& Data = Nodes.DataAs<TListNodeData>(Node);
    Data.Kind = lkWindow;
    if (++Made == Count)
      Text = "The last window";
    const TRowEntry Entries[] = {
        {Records[0], static_cast<std::uint32_t>(0x00010000 + 4 * Made), {}},
        {Records[1], 0, std::move(Text)},
        {Records[2], 0, Class}};
    Data.Row = MakeRowSnapshot(Entries, 0, Data.Key);
    return Node;
  };
  TTreeNode* Desktop = Add(nullptr, "Default - Wine desktop", "#32769 (Desktop)");
  for (std::size_t Top = 0; Made < Count; ++Top) {
    TTreeNode* TopNode = Add(Desktop, "Stress window " + std::to_string(Top), "WyndoStress");
    for (int Child = 0; Child < 9 && Made < Count; ++Child) {
      TTreeNode* ChildNode = Add(TopNode, "Stress child " + std::to_string(Made), "WyndoStress");
      for (int Grandchild = 0; Grandchild < 10 && Made < Count; ++Grandchild)
        Add(ChildNode, "Stress child " + std::to_string(Made),
            Grandchild == 9 ? "Edit" : "WyndoStress");
    }
  }
  List.Tree->Refresh();
}

// Every node after the desktop node, in pre-order.
std::vector<TTreeNode*> WindowNodes(TListForm& List) {
  std::vector<TTreeNode*> Result;
  const TNodeModel& Nodes = List.Tree->Nodes();
  for (TTreeNode* Node = Nodes.Next(Nodes.First()); Node; Node = Nodes.Next(Node))
    Result.push_back(Node);
  return Result;
}

// Producing the cell texts of Columns for every node, once each.
double CellTextSeconds(TListForm& List, const std::vector<TTreeNode*>& Nodes,
                       std::initializer_list<int> Columns) {
  std::size_t Characters = 0;
  const double Time = Seconds([&] {
    for (TTreeNode* Node : Nodes)
      for (int Column : Columns)
        Characters += List.CellText(Node, Column).size();
  });
  if (Characters == 0)
    throw std::logic_error("no cell texts");
  return Time;
}

struct TListFigures {
  double Filter = 0, Search = 0;
};

TListFigures MeasureFilterAndSearch(std::size_t Count, int Rounds, bool Filter, bool Search) {
  const std::uint8_t SavedFormat = Settings.IntFormat;
  Settings.IntFormat = ifCHex;
  auto List = MakeForm<TWindowListForm>();
  List->Show();
  FillWindowList(*List, Count);
  PumpUntil([] { return true; });
  const std::vector<TTreeNode*> Nodes = WindowNodes(*List);
  TListFigures Figures;

  if (Filter) {
    // Every node is compared (not only the top-level windows); every text is produced, as only
    // the last column fails (for the "Edit" windows).
    List->FFilterRootOnly = false;
    List->FFilters[lkWindow].Texts = {"0x000*", "stress*", "wyndo*"};
    List->FilterButton->SetChecked(true);
    TRatios Ratios;
    for (int Round = 0; Round < Rounds; ++Round)
      Ratios.Add(Seconds([&] { List->FilterButtonCheckClick(*List); }),
                 CellTextSeconds(*List, Nodes, {0, 1, 2}));
    std::size_t Hidden = 0;
    for (TTreeNode* Node : Nodes)
      Hidden += !List->Tree->Nodes().IsVisible(Node);
    std::fprintf(stderr, "filter: %zu nodes (%zu hidden), %s\n", Nodes.size() + 1, Hidden,
                 Ratios.Text().c_str());
    Figures.Filter = Ratios.Median();
    List->FilterButton->SetChecked(false);
    List->FilterButtonCheckClick(*List);
  }

  if (Search) {
    TListSearchForm& Dialog = *List->FSearchForm;
    auto SetText = [&](int Column, const char* Text) {
      Dialog.SearchList->SetItemIndex(Column);
      Dialog.SearchListClick(Dialog);
      Dialog.SearchText->SetText(Text);
      Dialog.ChangeClick(Dialog);
    };
    // Every handle passes, so both texts are produced for every node.
    SetText(0, "0x000*");
    SetText(1, "*last*");
    Dialog.Down->SetChecked(true);
    TRatios Ratios;
    for (int Round = 0; Round < Rounds; ++Round) {
      Dialog.StartBegin->SetChecked(true);
      const double Ours = Seconds([&] { Dialog.SearchClick(Dialog); });
      if (List->Tree->FocusedNode() != Nodes.back())
        throw std::logic_error("the search did not find the last node");
      Ratios.Add(Ours, CellTextSeconds(*List, Nodes, {0, 1}));
    }
    std::fprintf(stderr, "search: %zu nodes, %s\n", Nodes.size() + 1, Ratios.Text().c_str());
    Figures.Search = Ratios.Median();
  }
  Settings.IntFormat = SavedFormat;
  return Figures;
}

// ---------------------------------------------------------------------------------------------
// Sorting

// 100,000 siblings, each with a text and a number; sorted by each column the way list windows
// sort, against std::stable_sort of the same values.
double MeasureSort() {
  constexpr std::size_t Count = 100000;
  const TColumnSettings& TextRecord = Settings.ColumnSettings[lkWindow][2];   // WindowText
  const TColumnSettings& NumberRecord = Settings.ColumnSettings[lkWindow][0]; // Handle
  std::vector<std::string> Texts(Count);
  std::vector<std::int32_t> Numbers(Count);
  std::uint32_t Seed = 12345;
  for (std::size_t I = 0; I < Count; ++I) {
    Seed = Seed * 1664525 + 1013904223;
    Numbers[I] = static_cast<std::int32_t>(Seed);
    Texts[I] = "Window " + std::to_string(Seed % 5000) + " of " + std::to_string(Seed >> 20);
  }
  auto Fill = [&](TNodeModel& Nodes) {
    for (std::size_t I = 0; I < Count; ++I) {
      auto& Data = Nodes.DataAs<TListNodeData>(Nodes.AddChild(nullptr));
      Data.Kind = lkWindow;
      const TRowEntry Entries[] = {{&NumberRecord, static_cast<std::uint32_t>(Numbers[I]), {}},
                                   {&TextRecord, 0, Texts[I]}};
      Data.Row = MakeRowSnapshot(Entries, 0, Data.Key);
    }
  };
  TListColumn Columns[2];
  Columns[0].Records[lkWindow] = &NumberRecord;
  Columns[1].Records[lkWindow] = &TextRecord;
  double Ours = 0;
  for (const TListColumn& Column : Columns) {
    TNodeModel Nodes(sizeof(TListNodeData));
    Nodes.OnFreeNode = [&Nodes](TTreeNode* Node) {
      FreeRowSnapshot(Nodes.DataAs<TListNodeData>(Node).Row);
    };
    Fill(Nodes);
    Ours += Seconds([&] {
      Nodes.Sort(
          [&](TTreeNode* Node) {
            return ListSortKey(Nodes.DataAs<TListNodeData>(Node), Column, 2);
          },
          CompareListSortKeys, TSortDirection::sdDescending);
    });
  }
  std::vector<std::string> SortedTexts = Texts;
  std::vector<std::int32_t> SortedNumbers = Numbers;
  const double Baseline =
      Seconds([&] { std::stable_sort(SortedNumbers.begin(), SortedNumbers.end()); }) + Seconds([&] {
        std::stable_sort(
            SortedTexts.begin(), SortedTexts.end(),
            [](const std::string& A, const std::string& B) { return CompareTexts(A, B) == 1; });
      });
  std::fprintf(stderr, "sort: ours %.3f s, baseline %.3f s\n", Ours, Baseline);
  return Ours / Baseline;
}

// ---------------------------------------------------------------------------------------------

void Print(const char* Name, double Value) {
  std::printf("%s: %.3f\n", Name, Value);
  std::fflush(stdout);
}

int Run(int argc, char** argv) {
  std::string WindowArguments, ProcessArguments, Only;
  int Rounds = 3;
  std::size_t ListNodes = 100000;
  int Windows = 20000, Processes = 40, ProcessThreads = 20, Modules = 40;
  for (int I = 1; I + 1 < argc; I += 2) {
    const std::string Name = argv[I], Value = argv[I + 1];
    if (Name == "--rounds")
      Rounds = std::max(1, std::atoi(Value.c_str()));
    else if (Name == "--nodes")
      ListNodes = std::max<std::size_t>(2, std::strtoul(Value.c_str(), nullptr, 10));
    else if (Name == "--only")
      Only = "," + Value + ",";
    else if (Name == "--windows")
      Windows = std::atoi(Value.c_str());
    else if (Name == "--processes")
      Processes = std::atoi(Value.c_str());
    else if (Name == "--process-threads")
      ProcessThreads = std::atoi(Value.c_str());
    else if (Name == "--modules")
      Modules = std::atoi(Value.c_str());
    else
      WindowArguments += Name + " " + Value + " ";
  }
  WindowArguments += "--windows " + std::to_string(Windows);
  ProcessArguments = "--processes " + std::to_string(Processes) + " --process-threads " +
                     std::to_string(ProcessThreads) + " --modules " + std::to_string(Modules);
  auto Wanted = [&](const char* Figure) {
    return Only.empty() || Only.find("," + std::string(Figure) + ",") != std::string::npos;
  };

  Application.Initialize();
  Settings.OSKind = osNT;
  for (TListKind Kind : AllListKinds)
    Settings.ColumnSettings[Kind] = DefaultColumnList(Kind);
  SettingsResources.ThreadCounter.Reset(::CreateSemaphoreA(nullptr, 5, 5, "WYNDO_ThreadCounter"));

  if (Wanted("windows") || Wanted("ui")) {
    TStress Stress(WindowArguments);
    if (!Stress.WaitReady()) {
      std::fprintf(stderr, "the stress helper did not start\n");
      return 1;
    }
    if (Wanted("windows"))
      Print("build_windows_ratio", MeasureBuilder(lkWindow, BareWindowList, Rounds));
    if (Wanted("ui"))
      Print("ui_block_max_ms", MeasureUiBlock(Rounds));
  }
  if (Wanted("processes") || Wanted("threads") || Wanted("modules")) {
    TStress Stress(ProcessArguments);
    if (!Stress.WaitReady()) {
      std::fprintf(stderr, "the stress helper did not start\n");
      return 1;
    }
    if (Wanted("processes"))
      Print("build_processes_ratio", MeasureBuilder(lkProcess, BareProcessList, Rounds));
    if (Wanted("threads"))
      Print("build_threads_ratio", MeasureBuilder(lkThread, BareThreadList, Rounds));
    if (Wanted("modules"))
      Print("build_modules_ratio", MeasureBuilder(lkModule, BareModuleList, Rounds));
  }
  if (Wanted("filter") || Wanted("search")) {
    const TListFigures Figures = MeasureFilterAndSearch(ListNodes, std::max(7 * Rounds, 21),
                                                        Wanted("filter"), Wanted("search"));
    if (Wanted("filter"))
      Print("filter_ratio", Figures.Filter);
    if (Wanted("search"))
      Print("search_ratio", Figures.Search);
  }
  if (Wanted("sort"))
    Print("sort_ratio", MeasureSort());
  std::printf("bytes_per_node: %zu\n", TNodeModel(sizeof(TListNodeData)).BytesPerNode());
  return 0;
}

} // namespace
} // namespace wyndo

int main(int argc, char** argv) {
  try {
    return wyndo::Run(argc, argv);
  } catch (const std::exception& Failure) {
    std::fprintf(stderr, "bench: %s\n", Failure.what());
    return 1;
  }
}
