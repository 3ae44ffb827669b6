// List building over real windows, threads, processes and modules of this process (and a
// tool-help source of the test's own where Wine cannot show a case), and the rules of concurrent
// builds: five slots shared by every process, stopping, refreshing, failing.

#include "app/startup.h"
#include "core/columns.h"
#include "core/settings.h"
#include "info/infoobjects.h"
#include "info/toolhelp.h"
#include "lists/listbuilding.h"
#include "tests/win/listbuild_fixture.h"
#include "tests/win/process_support.h"
#include "tests/win/test_support.h"
#include "ui/forms.h"
#include "ui/settingsres.h"
#include "ui/stdctrls.h"
#include "ui/winutil.h"

#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <thread>

namespace wyndo::test {
namespace {

// Windows of this thread: a top-level form with nested children and hidden ones.
struct TKnownWindows {
  TFormPtr<TForm> Top = MakeForm<TForm>();
  TPanel* Outer = Top->Make<TPanel>();
  TPanel* Inner = Top->Make<TPanel>();
  TEdit* Leaf = Top->Make<TEdit>();
  TEdit* Hidden = Top->Make<TEdit>();
  TKnownWindows() {
    Top->SetCaption("Known windows");
    Outer->SetParent(Top.get());
    Inner->SetParent(Outer);
    Leaf->SetParent(Inner);
    Hidden->SetParent(Top.get());
    Hidden->SetVisible(false);
    Top->HandleNeeded();
  }
};

TEST_F(ListBuildingTest, TheWindowListIsEveryWindowOnceUnderItsParentBelowTheDesktop) {
  TKnownWindows Known;
  auto List = MakeForm<TTestList>(lkWindow, std::vector{lkWindow});
  ASSERT_TRUE(List->Build());
  EXPECT_EQ(List->LastResult, 0u);
  TNodeModel& Nodes = List->Nodes();

  // The desktop is the single root, and counted.
  ASSERT_EQ(Nodes.ChildCount(nullptr), 1u);
  EXPECT_EQ(List->KeyOf(Nodes.First()), FromWindow(::GetDesktopWindow()));
  EXPECT_EQ(List->Text(Nodes.First(), 2), "#32769 (Desktop)");
  EXPECT_EQ(List->Counts[lkWindow], Nodes.Count());

  std::set<std::uint32_t> Seen;
  for (TTreeNode* Node = Nodes.First(); Node; Node = Nodes.Next(Node))
    EXPECT_TRUE(Seen.insert(List->KeyOf(Node)).second) << "listed twice: " << List->KeyOf(Node);

  auto ParentKey = [&](TControl* Control) {
    TTreeNode* Node =
        List->Find(lkWindow, FromWindow(static_cast<TWinControl*>(Control)->Handle()));
    return Node && Nodes.Parent(Node) ? List->KeyOf(Nodes.Parent(Node)) : 0u;
  };
  EXPECT_EQ(ParentKey(Known.Top.get()), FromWindow(::GetDesktopWindow()));
  EXPECT_EQ(ParentKey(Known.Outer), FromWindow(Known.Top->Handle()));
  EXPECT_EQ(ParentKey(Known.Inner), FromWindow(Known.Outer->Handle()));
  EXPECT_EQ(ParentKey(Known.Leaf), FromWindow(Known.Inner->Handle()));
  EXPECT_EQ(ParentKey(Known.Hidden), FromWindow(Known.Top->Handle())) << "hidden windows too";
  EXPECT_EQ(List->Text(List->Find(lkWindow, FromWindow(Known.Top->Handle())), 1), "Known windows");
}

TEST_F(ListBuildingTest, FieldsNotShownAreNotInTheRowsAndTheKeyIsEmptyWithoutItsField) {
  TColumnList& Windows = Settings.ColumnSettings[lkWindow];
  Windows[0].Shown = 0; // Handle
  NormalisePositions(Windows);
  auto List = MakeForm<TTestList>(lkWindow, std::vector{lkWindow});
  ASSERT_EQ(List->BuildColumns().Columns.size(), 2u);
  ASSERT_TRUE(List->Build());
  TRowValue Value;
  for (TTreeNode* Node = List->Nodes().First(); Node; Node = List->Nodes().Next(Node)) {
    EXPECT_EQ(List->Data(Node).Key, 0u);
    EXPECT_FALSE(FindRowValue(List->Data(Node).Row, &Windows[0], 12, Value));
  }
  // A row holds exactly its two shown texts.
  TTreeNode* Desktop = List->Nodes().First();
  EXPECT_TRUE(FindRowValue(List->Data(Desktop).Row, &Windows[2], 2, Value));
  EXPECT_EQ(Value.Text, TWindowInfoObject(FromWindow(::GetDesktopWindow())).WindowText());
  EXPECT_TRUE(FindRowValue(List->Data(Desktop).Row, &Windows[6], 2, Value));
  EXPECT_EQ(Value.Text, "#32769 (Desktop)");
}

// A thread with a window of its own, alive until released.
struct TWindowThread {
  HANDLE Release = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::atomic<DWORD> Id{0};
  std::atomic<HWND> Window{nullptr};
  std::thread Thread{[this] {
    Window = ::CreateWindowExA(0, "STATIC", "thread window", WS_POPUP, 0, 0, 10, 10, nullptr,
                               nullptr, nullptr, nullptr);
    Id = ::GetCurrentThreadId();
    while (::MsgWaitForMultipleObjects(1, &Release, FALSE, INFINITE, QS_ALLINPUT) !=
           WAIT_OBJECT_0) {
      MSG Message;
      while (::PeekMessageA(&Message, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&Message);
    }
    ::DestroyWindow(Window);
  }};
  TWindowThread() {
    WaitFor([this] { return Id != 0; });
  }
  ~TWindowThread() {
    ::SetEvent(Release);
    Thread.join();
    ::CloseHandle(Release);
  }
};

TEST_F(ListBuildingTest, TheProcessListHasThreadsWithTheirWindowsButNeverTheBuildsOwnThread) {
  TWindowThread Other;
  std::atomic<DWORD> Worker{0};
  BuildHooks.OnEnumeration = [&](bool Begin) {
    if (Begin)
      Worker = ::GetCurrentThreadId();
  };
  auto List = MakeForm<TTestList>(lkProcess, std::vector{lkProcess, lkThread, lkWindow});
  ASSERT_TRUE(List->Build());
  TNodeModel& Nodes = List->Nodes();

  TTreeNode* Own = List->Find(lkProcess, ::GetCurrentProcessId());
  ASSERT_NE(Own, nullptr);
  EXPECT_EQ(Nodes.Parent(Own), nullptr);
  char Path[MAX_PATH];
  ::GetModuleFileNameA(nullptr, Path, MAX_PATH);
  EXPECT_EQ(List->Text(Own, 1), ExtractFileNameOr(LongPathName(Path), ""));
  TTreeNode* Main = List->Find(lkThread, ::GetCurrentThreadId());
  TTreeNode* OtherNode = List->Find(lkThread, Other.Id);
  ASSERT_NE(Main, nullptr);
  ASSERT_NE(OtherNode, nullptr);
  EXPECT_EQ(Nodes.Parent(Main), Own);
  EXPECT_EQ(List->Text(Main, 1), List->Text(Own, 1)) << "threads show their process's module";
  EXPECT_EQ(List->Find(lkThread, Worker), nullptr);
  TTreeNode* Window = List->Find(lkWindow, FromWindow(Other.Window));
  ASSERT_NE(Window, nullptr);
  EXPECT_EQ(Nodes.Parent(Window), OtherNode);

  std::uint32_t Processes = 0, Threads = 0, Windows = 0;
  for (TTreeNode* Node = Nodes.First(); Node; Node = Nodes.Next(Node))
    (List->Data(Node).Kind == lkProcess  ? Processes
     : List->Data(Node).Kind == lkThread ? Threads
                                         : Windows)++;
  EXPECT_EQ(List->Counts[lkProcess], Processes);
  EXPECT_EQ(List->Counts[lkThread], Threads);
  EXPECT_EQ(List->Counts[lkWindow], Windows);
}

TEST_F(ListBuildingTest, TheThreadListHasEveryThreadWithItsWindowsAndItsProcesssModule) {
  TWindowThread Other;
  auto List = MakeForm<TTestList>(lkThread, std::vector{lkThread, lkWindow});
  ASSERT_TRUE(List->Build());
  TTreeNode* Thread = List->Find(lkThread, Other.Id);
  ASSERT_NE(Thread, nullptr);
  EXPECT_EQ(List->Nodes().Parent(Thread), nullptr);
  EXPECT_EQ(List->Nodes().Parent(List->Find(lkWindow, FromWindow(Other.Window))), Thread);
  char Path[MAX_PATH];
  ::GetModuleFileNameA(nullptr, Path, MAX_PATH);
  EXPECT_EQ(List->Text(Thread, 1), ExtractFileNameOr(LongPathName(Path), ""));
  EXPECT_EQ(List->Counts[lkThread] + List->Counts[lkWindow], List->Nodes().Count());
}

// A system of three processes (one whose modules cannot be read) and three threads (one with
// identifier 0), whose shared module's path differs in letter case between processes. Every
// snapshot keeps a walk position per list, as tool-help does.
class TFakeSystem : public TToolHelp {
public:
  HANDLE CreateSnapshot(DWORD Flags, DWORD Process) override {
    if ((Flags & TH32CS_SNAPMODULE) && Process == 30)
      return INVALID_HANDLE_VALUE;
    HANDLE Snapshot = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    Owners[Snapshot] = Process;
    return Snapshot;
  }
  bool ProcessFirst(HANDLE S, PROCESSENTRY32& Entry) override {
    return ProcessAt(Start(S, 0), Entry);
  }
  bool ProcessNext(HANDLE S, PROCESSENTRY32& Entry) override {
    return ProcessAt(Step(S, 0), Entry);
  }
  bool ThreadFirst(HANDLE S, THREADENTRY32& Entry) override { return ThreadAt(Start(S, 1), Entry); }
  bool ThreadNext(HANDLE S, THREADENTRY32& Entry) override { return ThreadAt(Step(S, 1), Entry); }
  bool ModuleFirst(HANDLE S, MODULEENTRY32& Entry) override {
    return ModuleAt(Owners[S], Start(S, 2), Entry);
  }
  bool ModuleNext(HANDLE S, MODULEENTRY32& Entry) override {
    return ModuleAt(Owners[S], Step(S, 2), Entry);
  }
  DWORD ProcessImageName(DWORD, char*, DWORD) override { return 0; }

private:
  std::size_t Start(HANDLE S, int List) { return Walks[{S, List}] = 0; }
  std::size_t Step(HANDLE S, int List) { return ++Walks[{S, List}]; }
  static bool ProcessAt(std::size_t Index, PROCESSENTRY32& Entry) {
    static const DWORD Ids[] = {10, 20, 30};
    if (Index >= std::size(Ids))
      return false;
    Entry.th32ProcessID = Ids[Index];
    std::snprintf(Entry.szExeFile, MAX_PATH, "C:\\fake\\p%lu.exe", Ids[Index]);
    return true;
  }
  static bool ThreadAt(std::size_t Index, THREADENTRY32& Entry) {
    static const std::pair<DWORD, DWORD> Threads[] = {{0, 10}, {11, 10}, {21, 20}};
    if (Index >= std::size(Threads))
      return false;
    Entry.th32ThreadID = Threads[Index].first;
    Entry.th32OwnerProcessID = Threads[Index].second;
    return true;
  }
  static bool ModuleAt(DWORD Process, std::size_t Index, MODULEENTRY32& Entry) {
    const char* Paths[] = {Process == 10 ? "C:\\Fake\\Shared.DLL" : "c:\\fake\\shared.dll",
                           Process == 10 ? "C:\\fake\\only10.dll" : nullptr};
    if (Index >= 2 || !Paths[Index])
      return false;
    std::strcpy(Entry.szExePath, Paths[Index]);
    std::strcpy(Entry.szModule, ExtractFileNameOr(Paths[Index], "").c_str());
    return true;
  }
  std::map<HANDLE, DWORD> Owners;                      // module snapshots: their process
  std::map<std::pair<HANDLE, int>, std::size_t> Walks; // per snapshot and list: the position
};

TEST_F(ListBuildingTest, AModuleLoadedByManyProcessesIsOneNodeWhateverItsLetterCase) {
  TFakeSystem Fake;
  TToolHelpOverride Override(Fake);
  auto List = MakeForm<TTestList>(lkModule, std::vector{lkModule, lkProcess});
  ASSERT_TRUE(List->Build());
  TNodeModel& Nodes = List->Nodes();
  ASSERT_EQ(Nodes.ChildCount(nullptr), 2u);
  TTreeNode* Shared = Nodes.First();
  EXPECT_EQ(List->Text(Shared, 0), "Shared.DLL");
  ASSERT_EQ(Nodes.ChildCount(Shared), 2u);
  EXPECT_EQ(List->KeyOf(Nodes.FirstChild(Shared)), 10u);
  EXPECT_EQ(List->KeyOf(Nodes.LastChild(Shared)), 20u);
  EXPECT_EQ(List->Counts[lkModule], 2u);
  EXPECT_EQ(List->Counts[lkProcess], 3u) << "processes enumerated, also one without modules";
}

TEST_F(ListBuildingTest, AThreadWithIdentifierZeroHasNoWindows) {
  TFakeSystem Fake;
  TToolHelpOverride Override(Fake);
  auto List = MakeForm<TTestList>(lkThread, std::vector{lkThread, lkWindow});
  ASSERT_TRUE(List->Build());
  TTreeNode* Zero = List->Nodes().First();
  ASSERT_NE(Zero, nullptr);
  EXPECT_EQ(List->KeyOf(Zero), 0u);
  EXPECT_FALSE(List->Nodes().HasChildren(Zero));
  EXPECT_EQ(List->Text(Zero, 1), "p10.exe");
  EXPECT_EQ(List->Counts[lkThread], 3u);
}

TEST_F(ListBuildingTest, WindowsComingAndGoingDuringTheBuildAreListedAtMostOnce) {
  TKnownWindows Known;
  std::atomic<bool> Stop{false};
  std::thread Churn([&] {
    while (!Stop) {
      HWND Window = ::CreateWindowExA(0, "STATIC", "churn", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr,
                                      nullptr, nullptr);
      for (int I = 0; I < 5; ++I)
        ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 1, 1, Window, nullptr, nullptr, nullptr);
      // Answers the build's text queries, which would otherwise wait for their time-out.
      MSG Message;
      while (::PeekMessageA(&Message, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&Message);
      ::DestroyWindow(Window);
    }
  });
  auto List = MakeForm<TTestList>(lkWindow, std::vector{lkWindow});
  for (int Round = 0; Round < 3; ++Round) {
    ASSERT_TRUE(List->Build());
    std::set<std::uint32_t> Seen;
    for (TTreeNode* Node = List->Nodes().First(); Node; Node = List->Nodes().Next(Node))
      EXPECT_TRUE(Seen.insert(List->KeyOf(Node)).second);
    for (HWND Alive : {Known.Top->Handle(), Known.Leaf->Handle(), Known.Hidden->Handle()})
      EXPECT_EQ(Seen.count(FromWindow(Alive)), 1u);
    EXPECT_EQ(List->Counts[lkWindow], List->Nodes().Count());
  }
  Stop = true;
  Churn.join();
}

// ---------------------------------------------------------------------------------------------
// Concurrency

TEST_F(ListBuildingTest, ABuildWaitsForASlotAndStoppingItThenEndsItWithoutEnumerating) {
  std::atomic<int> Enumerations{0};
  BuildHooks.OnEnumeration = [&](bool Begin) { Enumerations += Begin; };
  THeldSlots Slots;
  ASSERT_EQ(Slots.Held, 5);
  auto List = MakeForm<TTestList>(lkWindow, std::vector{lkWindow});
  StartBuild(*List);
  ASSERT_TRUE(WaitFor([&] { return List->Started == 1; }));
  EXPECT_FALSE(WaitFor([&] { return Enumerations > 0; }, 500)) << "no free slot: it waits";

  StopBuild(*List);
  EXPECT_EQ(List->FThreadData.load(), nullptr);
  EXPECT_TRUE(WaitFor([&] { return List->Finished == 1; }));
  EXPECT_NE(List->LastResult, 0u);
  EXPECT_EQ(Enumerations, 0);
  EXPECT_EQ(List->Nodes().Count(), 0u);
  // The stopped build took no slot, so all five are still the test's.
  Slots.Release();
  TKernelHandle Semaphore(::OpenSemaphoreA(SEMAPHORE_ALL_ACCESS, FALSE, ThreadCounterName));
  LONG Before = 0;
  ::WaitForSingleObject(Semaphore.Get(), 0);
  ::ReleaseSemaphore(Semaphore.Get(), 1, &Before);
  EXPECT_EQ(Before, 4);
}

// Counts builds that enumerate at the same time, across processes: shared memory with the number
// now and the most seen, and a gate every enumeration waits at until the test opens it.
struct TSharedCounter {
  TKernelHandle Mapping{::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 64,
                                             "WyndoTestEnumerations")};
  volatile LONG* Counts =
      static_cast<volatile LONG*>(::MapViewOfFile(Mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 64));
  TKernelHandle Gate{::CreateEventA(nullptr, TRUE, FALSE, "WyndoTestEnumerationGate")};
  ~TSharedCounter() { ::UnmapViewOfFile(const_cast<LONG*>(Counts)); }
  void Hook() {
    BuildHooks.OnEnumeration = [this](bool Begin) {
      if (!Begin) {
        ::InterlockedDecrement(&Counts[0]);
        return;
      }
      const LONG Now = ::InterlockedIncrement(&Counts[0]);
      for (LONG Most = Counts[1]; Now > Most; Most = Counts[1])
        ::InterlockedCompareExchange(&Counts[1], Now, Most);
      ::InterlockedIncrement(&Counts[2]); // enumerations begun
      ::WaitForSingleObject(Gate.Get(), 30000);
    };
  }
};

// Runs in each second process of the cross-process test (started by it, never on its own).
TEST_F(ListBuildingTest, DISABLED_SecondProcessBuildsThree) {
  TSharedCounter Shared;
  Shared.Hook();
  auto Lists = StartBuilds(3, "Second " + std::to_string(::GetCurrentProcessId()) + " ");
  EXPECT_TRUE(WaitFor(
      [&] {
        return std::all_of(Lists.begin(), Lists.end(), [](auto& L) { return L->Finished == 1; });
      },
      60000));
}

TEST_F(ListBuildingTest, NoMoreThanFiveBuildsEnumerateAtATimeAcrossThreeProcesses) {
  TSharedCounter Shared;
  Shared.Hook();
  char Self[MAX_PATH];
  ::GetModuleFileNameA(nullptr, Self, MAX_PATH);
  const std::string Second = "--gtest_also_run_disabled_tests "
                             "--gtest_filter=ListBuildingTest.DISABLED_SecondProcessBuildsThree";
  TProgram SecondA(Second, Self), SecondB(Second, Self);
  auto Lists = StartBuilds(3, "First ");
  // Nine builds wait at the gate; five hold slots, four wait for one.
  ASSERT_TRUE(WaitFor([&] { return Shared.Counts[0] == 5; }, 20000));
  EXPECT_FALSE(WaitFor([&] { return Shared.Counts[0] > 5; }, 500));
  ::SetEvent(Shared.Gate.Get());
  EXPECT_TRUE(WaitFor(
      [&] {
        return std::all_of(Lists.begin(), Lists.end(), [](auto& L) { return L->Finished == 1; });
      },
      60000));
  EXPECT_EQ(SecondA.WaitForExit(60000), 0u);
  EXPECT_EQ(SecondB.WaitForExit(60000), 0u);
  EXPECT_EQ(Shared.Counts[2], 9);
  EXPECT_EQ(Shared.Counts[1], 5) << "the most enumerating at one time";
}

TEST_F(ListBuildingTest, DestroyingAListWindowWhileItWaitsOrBuildsNeitherHangsNorCrashes) {
  TKernelHandle Gate(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  std::atomic<int> Enumerating{0};
  BuildHooks.OnEnumeration = [&](bool Begin) {
    if (Begin) {
      ++Enumerating;
      ::WaitForSingleObject(Gate.Get(), 200);
    }
  };
  {
    auto Building = MakeForm<TTestList>(lkWindow, std::vector{lkWindow});
    StartBuild(*Building);
    ASSERT_TRUE(WaitFor([&] { return Enumerating == 1; }));
  } // destroyed while enumerating
  {
    THeldSlots Slots;
    auto Waiting = MakeForm<TTestList>(lkWindow, std::vector{lkWindow});
    StartBuild(*Waiting);
    ASSERT_TRUE(WaitFor([&] { return Waiting->Started == 1; }));
  } // destroyed while waiting for a slot
  EXPECT_EQ(Enumerating, 1);
  // Many at once, closed at once.
  auto Lists = StartBuilds(8, "Closed ");
  Lists.clear();
}

TEST_F(ListBuildingTest, ARefreshRightAfterAFinishKeepsItsOwnRecord) {
  TKernelHandle FirstMayGo(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  TKernelHandle SecondMayEnumerate(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  std::atomic<int> Releasing{0}, Enumerating{0};
  BuildHooks.BeforeRelease = [&] {
    if (++Releasing == 1)
      ::WaitForSingleObject(FirstMayGo.Get(), 30000);
  };
  BuildHooks.OnEnumeration = [&](bool Begin) {
    if (Begin && ++Enumerating == 2)
      ::WaitForSingleObject(SecondMayEnumerate.Get(), 30000);
  };
  auto List = MakeForm<TTestList>(lkWindow, std::vector{lkWindow});
  StartBuild(*List);
  ASSERT_TRUE(WaitFor([&] { return List->Finished == 1 && Releasing == 1; }));
  StartBuild(*List); // the refresh, while the first worker has not let go of its record
  TThreadData* Second = List->FThreadData.load();
  ASSERT_NE(Second, nullptr);
  ::SetEvent(FirstMayGo.Get());
  EXPECT_FALSE(WaitFor([&] { return List->FThreadData.load() != Second; }, 500));
  ::SetEvent(SecondMayEnumerate.Get());
  EXPECT_TRUE(WaitFor([&] { return List->Finished == 2 && !List->FThreadData.load(); }));
}

TEST_F(ListBuildingTest, WithoutTheSlotSemaphoreABuildRunsWithoutASlot) {
  SettingsResources.ThreadCounter.Reset(); // start-up could not make it
  auto List = MakeForm<TTestList>(lkWindow, std::vector{lkWindow});
  ASSERT_TRUE(List->Build());
  EXPECT_EQ(List->LastResult, 0u);
  EXPECT_GT(List->Nodes().Count(), 1u);
}

TEST_F(ListBuildingTest, AFailedBuildIsReportedAndClosesItsWindow) {
  BuildHooks.OnEnumeration = [](bool Begin) {
    if (Begin)
      throw std::runtime_error("enumeration failed");
  };
  TMessageBoxWatcher Watcher("Unexpected Error");
  auto List = MakeForm<TTestList>(lkProcess, std::vector{lkProcess, lkThread, lkWindow});
  StartBuild(*List);
  // The box is shown by the user-interface thread, owned by the list window, and says what
  // failed.
  const auto Seen = Watcher.Result();
  ASSERT_TRUE(Seen.has_value());
  EXPECT_EQ(Seen->Text, "An unexpected error occured! Try restart Wyndo with the following "
                        "parameters: \"-reset -config\"\nenumeration failed");
  EXPECT_EQ(Seen->Owner, List->Handle());
  EXPECT_EQ(Seen->Thread, ::GetCurrentThreadId());
  EXPECT_TRUE(WaitFor([&] { return List->Finished == 1 && List->Closes == 1; }));
  EXPECT_NE(List->LastResult, 0u);
}

} // namespace
} // namespace wyndo::test
