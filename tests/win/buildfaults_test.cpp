// List building under faults and load: processes that come and go while lists build, a process
// nobody may open and one that ends between the snapshot and its own reads, a window whose
// thread never answers, nothing left behind however a build ends, and a list window that keeps
// answering while a large build runs.

#include "app/shell.h"
#include "core/format.h"
#include "info/infoobjects.h"
#include "info/toolhelp.h"
#include "lists/listform.h"
#include "tests/win/listbuild_fixture.h"
#include "tests/win/program_fixture.h"
#include "ui/winutil.h"

#include <atomic>
#include <gtest/gtest.h>
#include <set>
#include <thread>
#include <tuple>

namespace wyndo::test {
namespace {

std::string OwnPath() {
  char Path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, Path, MAX_PATH);
  return Path;
}

// A child process of this test program with the given arguments, ended (if still running) with
// the object. Suspended, it runs nothing; resumed, it starts up as any program does. Its output
// goes nowhere.
struct TChild {
  TKernelHandle Process, Thread;
  DWORD Id = 0, ThreadId = 0;

  explicit TChild(const std::string& Arguments, DWORD Flags = CREATE_SUSPENDED,
                  SECURITY_ATTRIBUTES* Security = nullptr) {
    SECURITY_ATTRIBUTES Inherited{sizeof(Inherited), nullptr, TRUE};
    TKernelHandle Nul(::CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &Inherited,
                                    OPEN_EXISTING, 0, nullptr));
    STARTUPINFOA Startup{};
    Startup.cb = sizeof(Startup);
    Startup.dwFlags = STARTF_USESTDHANDLES;
    Startup.hStdOutput = Startup.hStdError = Nul.Get();
    std::string CommandLine = "\"" + OwnPath() + "\" " + Arguments;
    PROCESS_INFORMATION Info{};
    if (::CreateProcessA(nullptr, CommandLine.data(), Security, nullptr, TRUE, Flags, nullptr,
                         nullptr, &Startup, &Info)) {
      Process.Reset(Info.hProcess);
      Thread.Reset(Info.hThread);
      Id = Info.dwProcessId;
      ThreadId = Info.dwThreadId;
    }
  }
  ~TChild() { End(); }
  // Ends the process and lets go of it, so nothing keeps it in the system.
  void End() {
    if (Process && ::WaitForSingleObject(Process.Get(), 0) == WAIT_TIMEOUT) {
      ::TerminateProcess(Process.Get(), 99);
      ::WaitForSingleObject(Process.Get(), 10000);
    }
    Process.Reset();
    Thread.Reset();
  }
};

// Every kind-and-key pair once in the tree; in a module list, each process once per module and
// each module file once.
void ExpectListedOnce(TTestList& List) {
  std::set<std::tuple<TTreeNode*, TListKind, std::string>> Seen;
  TNodeModel& Nodes = List.Nodes();
  for (TTreeNode* Node = Nodes.First(); Node; Node = Nodes.Next(Node)) {
    const TListKind Kind = List.Data(Node).Kind;
    TTreeNode* Scope =
        List.BuildKind() == lkModule && Kind == lkProcess ? Nodes.Parent(Node) : nullptr;
    const std::string Key = Kind == lkModule ? List.Text(Node, 1) + List.Text(Node, 0)
                                             : std::to_string(List.KeyOf(Node));
    EXPECT_TRUE(Seen.emplace(Scope, Kind, Key).second) << "listed twice: " << Key;
  }
}

// Children of this program coming and going on a thread of their own until the object goes:
// every other one starts up and runs to its end (loading its modules, making its application
// window, finding no test to run), the others are ended while suspended.
struct TProcessChurn {
  std::atomic<bool> Stop{false};
  std::atomic<int> Ended{0};
  std::thread Thread{[this] {
    for (int I = 0; !Stop; ++I) {
      TChild Child("--gtest_filter=-*", I % 2 ? 0 : CREATE_SUSPENDED);
      if (I % 2)
        ::WaitForSingleObject(Child.Process.Get(), 30000);
      Child.End();
      ++Ended;
    }
  }};
  ~TProcessChurn() {
    Stop = true;
    Thread.join();
  }
};

TEST_F(ListBuildingTest, ProcessesStartingAndEndingDuringBuildsAreListedAtMostOnce) {
  TProcessChurn Churn;
  ASSERT_TRUE(WaitFor([&] { return Churn.Ended > 1; }, 30000));
  const int EndedBefore = Churn.Ended;
  auto Processes =
      MakeForm<TTestList>(lkProcess, std::vector{lkProcess, lkThread, lkWindow}, "Processes");
  auto Threads = MakeForm<TTestList>(lkThread, std::vector{lkThread, lkWindow}, "Threads");
  auto Modules = MakeForm<TTestList>(lkModule, std::vector{lkModule, lkProcess}, "Modules");
  for (int Round = 0; Round < 3; ++Round)
    for (TTestList* List : {Processes.get(), Threads.get(), Modules.get()}) {
      ASSERT_TRUE(List->Build());
      EXPECT_EQ(List->LastResult, 0u);
      ExpectListedOnce(*List);
      // This process is there, and every node is counted.
      const auto& Counts = List->Counts;
      if (List == Modules.get()) {
        EXPECT_NE(List->Find(lkProcess, ::GetCurrentProcessId()), nullptr);
        EXPECT_EQ(Counts[lkModule], List->Nodes().ChildCount(nullptr));
      } else {
        EXPECT_NE(List == Threads.get() ? List->Find(lkThread, ::GetCurrentThreadId())
                                        : List->Find(lkProcess, ::GetCurrentProcessId()),
                  nullptr);
        EXPECT_EQ(Counts[lkProcess] + Counts[lkThread] + Counts[lkWindow], List->Nodes().Count());
      }
    }
  EXPECT_GT(Churn.Ended, EndedBefore) << "children ended while the lists were built";
}

// A tool-help source over the real system that ends a child right after the process snapshot is
// taken: the build meets a process that its snapshot lists and that is gone when its own reads
// happen.
class TEndsAfterSnapshot : public TToolHelp {
public:
  explicit TEndsAfterSnapshot(TChild& Child) : FChild(Child) {}
  HANDLE CreateSnapshot(DWORD Flags, DWORD Process) override {
    HANDLE Snapshot = TToolHelp::CreateSnapshot(Flags, Process);
    if (Flags & TH32CS_SNAPPROCESS)
      FChild.End();
    return Snapshot;
  }

private:
  TChild& FChild;
};

TEST_F(ListBuildingTest, AProcessThatRefusesAccessOrEndsMidBuildIsListedByItsSnapshotName) {
  // A security descriptor whose empty access list lets nobody open the process.
  SECURITY_DESCRIPTOR Descriptor;
  ACL Empty;
  ::InitializeSecurityDescriptor(&Descriptor, SECURITY_DESCRIPTOR_REVISION);
  ::InitializeAcl(&Empty, sizeof(Empty), ACL_REVISION);
  ::SetSecurityDescriptorDacl(&Descriptor, TRUE, &Empty, FALSE);
  SECURITY_ATTRIBUTES Security{sizeof(Security), &Descriptor, FALSE};
  TChild Refusing("", CREATE_SUSPENDED, &Security);
  ASSERT_TRUE(Refusing.Process);
  ASSERT_EQ(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, Refusing.Id),
            nullptr);
  const TProcessInfoObject Direct(Refusing.Id);
  EXPECT_EQ(Direct.ProcessHandle(), nullptr);
  EXPECT_EQ(Direct.ModuleName(), UnavailableText);

  const std::string Name = ExtractFileNameOr(OwnPath(), "");
  for (const TListKind Kind : {lkProcess, lkThread, lkModule}) {
    TChild Ending("");
    ASSERT_TRUE(Ending.Process);
    TEndsAfterSnapshot Source(Ending);
    TToolHelpOverride Override(Source);
    auto List = MakeForm<TTestList>(Kind, Kind == lkProcess  ? std::vector{lkProcess, lkThread}
                                          : Kind == lkThread ? std::vector{lkThread}
                                                             : std::vector{lkModule, lkProcess});
    ASSERT_TRUE(List->Build());
    EXPECT_EQ(List->LastResult, 0u);
    EXPECT_FALSE(Ending.Process) << "ended during the build";
    for (const TChild* Child : {&Refusing, &Ending}) {
      SCOPED_TRACE(Child == &Refusing ? "refusing access" : "ended after the snapshot");
      if (Kind == lkModule) {
        // Its modules cannot be read: it is under no module.
        EXPECT_EQ(List->Find(lkProcess, Child->Id), nullptr);
        continue;
      }
      TTreeNode* Node = Kind == lkProcess ? List->Find(lkProcess, Child->Id)
                                          : List->Find(lkThread, Child->ThreadId);
      ASSERT_NE(Node, nullptr);
      EXPECT_EQ(List->Text(Node, 1), Name) << "the name from the snapshot";
      const std::string Path = List->Text(Node, 2);
      if (Child == &Refusing)
        EXPECT_EQ(Path, UnavailableText) << "no path from a process that refuses every access";
      else // the ended process's identifier may still name its program (Wine: it can)
        EXPECT_TRUE(Path == UnavailableText || Path == ExtractFilePathOr(OwnPath(), "")) << Path;
    }
  }
}

// A visible, captioned top-level window whose thread stops looking at its messages until
// released.
struct THungWindow {
  TKernelHandle Release{::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<HWND> Window{nullptr};
  std::thread Thread{[this] {
    HWND Own = ::CreateWindowExA(0, "STATIC", "Not answering", WS_OVERLAPPEDWINDOW, 60, 60, 240,
                                 120, nullptr, nullptr, nullptr, nullptr);
    ::ShowWindow(Own, SW_SHOWNOACTIVATE);
    Window = Own;
    ::WaitForSingleObject(Release.Get(), 60000);
    ::DestroyWindow(Own);
  }};
  THungWindow() {
    WaitFor([this] { return Window != nullptr; });
  }
  ~THungWindow() {
    ::SetEvent(Release.Get());
    Thread.join();
  }
};

TEST_F(ListBuildingTest, AWindowThatNeverAnswersIsListedAndTheBuildsStillEnd) {
  THungWindow Hung;
  ASSERT_TRUE(::IsWindowVisible(Hung.Window));
  auto Windows = MakeForm<TTestList>(lkWindow, std::vector{lkWindow}, "Windows");
  auto Processes =
      MakeForm<TTestList>(lkProcess, std::vector{lkProcess, lkThread, lkWindow}, "Processes");
  for (TTestList* List : {Windows.get(), Processes.get()}) {
    const DWORD Start = ::GetTickCount();
    ASSERT_TRUE(List->Build(30000));
    // A text read gives up after a second; the hung thread has two windows (its own and the
    // one the system keeps per thread for input methods).
    EXPECT_LT(::GetTickCount() - Start, 10000u);
    EXPECT_EQ(List->LastResult, 0u);
    TTreeNode* Node = List->Find(lkWindow, FromWindow(Hung.Window));
    ASSERT_NE(Node, nullptr);
    if (List == Windows.get())
      EXPECT_EQ(List->Text(Node, 1), "") << "its text cannot be read";
    else
      EXPECT_EQ(List->Data(List->Nodes().Parent(Node)).Kind, lkThread);
  }
}

TEST_F(ListBuildingTest, EveryWayABuildEndsLetsGoOfItsRecordThreadSlotAndStopEvent) {
  const long Handles = TKernelHandle::Live();
  ASSERT_EQ(LiveBuildRecords(), 0);
  std::vector<std::string> Captions;
  std::vector<HANDLE> Workers;
  auto Start = [&](TTestList& List) {
    StartBuild(List);
    // The worker waits for its start message to be handled, so its record is there to read.
    HANDLE Worker = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), List.FThreadData.load()->ThreadHandle.Get(),
                      ::GetCurrentProcess(), &Worker, SYNCHRONIZE, FALSE, 0);
    Workers.push_back(Worker);
    Captions.push_back(List.BuildCaption());
  };
  auto Make = [&](TListKind Kind) {
    return MakeForm<TTestList>(Kind, std::vector{Kind}, "Ends " + std::to_string(Captions.size()));
  };

  for (const TListKind Kind : AllListKinds) { // completed
    auto List = Make(Kind);
    Start(*List);
    ASSERT_TRUE(WaitFor([&] { return List->Finished == 1; }, 30000));
  }
  {
    THeldSlots Slots;
    auto Stopped = Make(lkWindow);
    Start(*Stopped);
    ASSERT_TRUE(WaitFor([&] { return Stopped->Started == 1; }));
    StopBuild(*Stopped);
    auto Closed = Make(lkWindow);
    Start(*Closed);
    ASSERT_TRUE(WaitFor([&] { return Closed->Started == 1; }));
  } // the window closed while its build waited for a slot
  {
    TKernelHandle Gate(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    std::atomic<bool> Enumerating{false};
    BuildHooks.OnEnumeration = [&](bool Begin) {
      if (Begin) {
        Enumerating = true;
        ::WaitForSingleObject(Gate.Get(), 30000);
      }
    };
    auto Closed = Make(lkProcess);
    Start(*Closed);
    ASSERT_TRUE(WaitFor([&] { return Enumerating.load(); }));
    ::SetEvent(Gate.Get());
  } // the window closed while its build enumerated

  EXPECT_TRUE(WaitFor([&] {
    return std::all_of(Workers.begin(), Workers.end(), [](HANDLE Worker) {
      return ::WaitForSingleObject(Worker, 0) == WAIT_OBJECT_0;
    });
  })) << "every worker thread ended";
  for (HANDLE Worker : Workers)
    ::CloseHandle(Worker);
  EXPECT_EQ(LiveBuildRecords(), 0);
  EXPECT_EQ(TKernelHandle::Live(), Handles);
  for (const std::string& Caption : Captions)
    EXPECT_EQ(::OpenEventA(SYNCHRONIZE, FALSE, Caption.c_str()), nullptr) << Caption;
  // Every slot is free again.
  THeldSlots Slots;
  EXPECT_EQ(Slots.Held, 5);
}

// ---------------------------------------------------------------------------------------------
// Load

// Windows of a thread of their own that answers their messages: top-level windows with nine
// children each, Count in all.
struct TManyWindows {
  explicit TManyWindows(int Count)
      : Thread([this, Count] {
          HWND Top = nullptr;
          for (int I = 0; I < Count; ++I) {
            const bool Child = I % 10 != 0;
            HWND Window = ::CreateWindowExA(0, "STATIC", ("Many " + std::to_string(I)).c_str(),
                                            Child ? WS_CHILD : WS_POPUP, 0, 0, 10, 10,
                                            Child ? Top : nullptr, nullptr, nullptr, nullptr);
            if (!Child)
              Top = Window;
          }
          Id = ::GetCurrentThreadId();
          MSG Message;
          while (::GetMessageA(&Message, nullptr, 0, 0) > 0)
            ::DispatchMessageA(&Message);
        }) {
    WaitFor([this] { return Id != 0; }, 60000);
  }
  ~TManyWindows() {
    ::PostThreadMessageA(Id, WM_QUIT, 0, 0);
    Thread.join();
  }
  std::atomic<DWORD> Id{0};
  std::thread Thread;
};

// The list window's timer: its calls come only while the message loop runs.
DWORD LastTick = 0, LongestGap = 0, Ticks = 0;
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  const DWORD Now = ::GetTickCount();
  LongestGap = std::max(LongestGap, Now - LastTick);
  LastTick = Now;
  ++Ticks;
}

class BuildLoadTest : public ProgramTest {};

TEST_F(BuildLoadTest, AListWindowKeepsAnsweringWhileALargeWindowListBuilds) {
  TManyWindows Many(4000);
  OpenMain();
  auto* List =
      dynamic_cast<TListForm*>(Services.OpenChildWindow(TChildKind::ckWindowList, nullptr));
  ASSERT_NE(List, nullptr);
  LastTick = ::GetTickCount();
  LongestGap = Ticks = 0;
  ::SetTimer(List->Handle(), 77, 20, &Tick);
  const DWORD Start = LastTick;
  EXPECT_TRUE(WaitFor([&] { return List->FinishedBuilds() == 1; }, 60000));
  const DWORD Built = ::GetTickCount() - Start;
  // One more call, so a finish that blocked the loop is measured too.
  const DWORD TicksAtFinish = Ticks;
  EXPECT_TRUE(WaitFor([&] { return Ticks > TicksAtFinish; }));
  ::KillTimer(List->Handle(), 77);
  EXPECT_GE(List->Tree->Nodes().Count(), 4000u);
  // Under Wine the build takes seconds and the loop never stops for more than a tenth of one; a
  // loop held up by the build would miss the timer for about as long as the build lasts.
  EXPECT_LT(LongestGap, 2000u) << "the build took " << Built << " ms";
}

} // namespace
} // namespace wyndo::test
