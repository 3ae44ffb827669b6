// The benchmark program. Run it with the whole Wine session pinned to one CPU
// (scripts/bench.sh): cross-process messaging is erratic otherwise. It prints one figure per
// line, "name: value", each a ratio against a floor measured in the same run:
//
//   build_windows_ratio  building the window list of the stress helper's windows (default
//                        columns) / a bare loop making the same system queries for the same
//                        windows
//   sort_ratio           sorting 100,000 sibling nodes by a text column and by a number column
//                        (direction descending) / std::stable_sort of the extracted values
//                        with a < b (texts through the same locale comparison)
//   bytes_per_node       memory per window node, row snapshot and texts excluded (not a ratio)
//
//   bench.exe [--windows N] [--depth D] [--fanout F] [--threads T] [--rounds R]

#include "core/columns.h"
#include "core/format.h"
#include "core/settings.h"
#include "info/infoobjects.h"
#include "lists/listbuilding.h"
#include "lists/listsort.h"
#include "ui/application.h"
#include "ui/forms.h"
#include "ui/guard.h"
#include "ui/settingsres.h"
#include "ui/winutil.h"

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

// A list window as far as building needs one.
class TBenchList : public TForm, public TBuildTarget {
public:
  TBenchList()
      : FNodes(sizeof(TListNodeData)),
        FColumns(BuildColumnModel(lkWindow, std::vector{lkWindow}, Settings.ColumnSettings)) {
    FNodes.OnFreeNode = [this](TTreeNode* Node) {
      FreeRowSnapshot(FNodes.DataAs<TListNodeData>(Node).Row);
    };
  }
  HWND BuildWindow() override { return Handle(); }
  TListKind BuildKind() const override { return lkWindow; }
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
  TNodeModel FNodes;
  TColumnModel FColumns;
};

// The stress helper, with a pipe to tell it to end.
class TStress {
public:
  TStress(const std::string& Arguments) {
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
    return Text.starts_with("ready");
  }
  ~TStress() {
    DWORD Written = 0;
    ::WriteFile(FInput, "quit\n", 5, &Written, nullptr);
    ::CloseHandle(FInput);
    ::WaitForSingleObject(FProcess.hProcess, 30000);
    ::CloseHandle(FProcess.hProcess);
    ::CloseHandle(FProcess.hThread);
    ::CloseHandle(FOutput);
  }

private:
  HANDLE FInput = nullptr, FOutput = nullptr;
  PROCESS_INFORMATION FProcess{};
};

// The floor of the window list: the same enumeration and, per window, the same queries the
// default columns make (Handle, WindowText, ClassName), but no tree and no snapshots.
std::size_t BareWindowWalk() {
  std::size_t Count = 1;
  HWND Desktop = ::GetDesktopWindow();
  (void)TWindowInfoObject(FromWindow(Desktop)).WindowText();
  std::function<bool(HWND, HWND)> Visit = [&](HWND Window, HWND Parent) {
    if (::GetAncestor(Window, GA_PARENT) != Parent)
      return true;
    ++Count;
    const TWindowInfoObject Info(FromWindow(Window));
    (void)Info.WindowText();
    (void)Info.ClassName();
    EnumChildWindowsGuarded(Window, [&](HWND Child) { return Visit(Child, Window); });
    return true;
  };
  EnumWindowsGuarded([&](HWND Window) { return Visit(Window, Desktop); });
  return Count;
}

double MeasureWindowList(int Rounds) {
  auto List = MakeForm<TBenchList>();
  double Build = 1e9, Floor = 1e9;
  std::size_t Nodes = 0, Walked = 0;
  for (int Round = 0; Round < Rounds; ++Round) {
    Floor = std::min(Floor, Seconds([&] {
                       // On a thread of its own, as the build runs, while this thread answers.
                       std::atomic<bool> Done{false};
                       std::thread Walker([&] {
                         Walked = BareWindowWalk();
                         Done = true;
                       });
                       while (!Done) {
                         ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
                         Application.ProcessMessages();
                       }
                       Walker.join();
                     }));
    Build = std::min(Build, Seconds([&] {
                       List->Finished = false;
                       StartBuild(*List);
                       while (!List->Finished || List->FThreadData.load()) {
                         ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
                         Application.ProcessMessages();
                       }
                     }));
    Nodes = List->FNodes.Count();
  }
  std::fprintf(stderr, "window list: %zu nodes (walk %zu windows), build %.3f s, floor %.3f s\n",
               Nodes, Walked, Build, Floor);
  return Build / Floor;
}

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

int Run(int argc, char** argv) {
  std::string StressArguments;
  int Rounds = 3;
  for (int I = 1; I + 1 < argc; I += 2) {
    if (!std::strcmp(argv[I], "--rounds"))
      Rounds = std::max(1, std::atoi(argv[I + 1]));
    else
      StressArguments += std::string(argv[I]) + " " + argv[I + 1] + " ";
  }
  Application.Initialize();
  Settings.OSKind = osNT;
  for (TListKind Kind : AllListKinds)
    Settings.ColumnSettings[Kind] = DefaultColumnList(Kind);
  SettingsResources.ThreadCounter.Reset(::CreateSemaphoreA(nullptr, 5, 5, "WYNDO_ThreadCounter"));

  {
    TStress Stress(StressArguments);
    if (!Stress.WaitReady()) {
      std::fprintf(stderr, "the stress helper did not start\n");
      return 1;
    }
    std::printf("build_windows_ratio: %.3f\n", MeasureWindowList(Rounds));
    std::fflush(stdout);
  }
  std::printf("sort_ratio: %.3f\n", MeasureSort());
  std::printf("bytes_per_node: %zu\n", TNodeModel(sizeof(TListNodeData)).BytesPerNode());
  return 0;
}

} // namespace
} // namespace wyndo

int main(int argc, char** argv) {
  return wyndo::Run(argc, argv);
}
