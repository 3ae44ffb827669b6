#include "lists/listbuilding.h"

#include "core/locale.h"
#include "info/infoobjects.h"
#include "info/toolhelp.h"
#include "ui/application.h"
#include "ui/guard.h"
#include "ui/settingsres.h"
#include "ui/winutil.h"

#include <process.h>
#include <unordered_map>
#include <utility>
#include <vector>

namespace wyndo {

TBuildHooks BuildHooks;

namespace {

// Counted by the records' constructor and destructor, whichever thread runs them.
std::atomic<long> BuildRecords{0};

bool IsStopped(const TThreadData& Data) {
  return Data.Stopped != 0;
}

// Adds a node of Kind under Parent (nullptr: a top-level node) with the row of Info.
TTreeNode* AddNode(TThreadData& Data, TTreeNode* Parent, TListKind Kind, const TBasicInfo& Info,
                   bool Count) {
  TNodeModel& Nodes = Data.Form->BuildNodes();
  TTreeNode* Node = Nodes.AddChild(Parent);
  auto& Record = Nodes.DataAs<TListNodeData>(Node);
  Record.Kind = Kind;
  Record.Row = BuildNodeRow(Data.Form->BuildColumns(), Info, Record);
  if (Count)
    ++Data.Counts[Kind];
  return Node;
}

// The enumeration callback of every window walk: adds Window when it is a direct child of the
// window being walked, then walks its own children below its node. EnumChildWindows reports
// every descendant, so the parent test lists each window once, under its parent.
bool EnumWindowsProc(HWND Window, TThreadData& Data) {
  if (IsStopped(Data))
    return false;
  if (::GetAncestor(Window, GA_PARENT) != Data.ParentWnd)
    return true;
  const TWindowInfoObject Info(FromWindow(Window));
  TTreeNode* Node = AddNode(Data, Data.ParentNode, lkWindow, Info, true);
  HWND SavedWindow = Data.ParentWnd;
  TTreeNode* SavedNode = Data.ParentNode;
  Data.ParentWnd = Window;
  Data.ParentNode = Node;
  EnumChildWindowsGuarded(Window, [&Data](HWND Child) { return EnumWindowsProc(Child, Data); });
  Data.ParentWnd = SavedWindow;
  Data.ParentNode = SavedNode;
  return true;
}

// The top-level windows of a thread (each with its children) under the thread's node.
void AddThreadWindows(TThreadData& Data, DWORD ThreadId, TTreeNode* ThreadNode) {
  Data.ParentNode = ThreadNode;
  Data.ParentWnd = ::GetDesktopWindow();
  EnumThreadWindowsGuarded(ThreadId,
                           [&Data](HWND Window) { return EnumWindowsProc(Window, Data); });
}

void BuildWindowList(TThreadData& Data) {
  HWND Desktop = ::GetDesktopWindow();
  Data.ParentNode = AddNode(Data, nullptr, lkWindow, TWindowInfoObject(FromWindow(Desktop)), true);
  Data.ParentWnd = Desktop;
  if (!IsStopped(Data))
    EnumWindowsGuarded([&Data](HWND Window) { return EnumWindowsProc(Window, Data); });
}

void BuildProcessList(TThreadData& Data) {
  TToolHelp& Source = ToolHelp();
  TKernelHandle Snapshot(Source.CreateSnapshot(TH32CS_SNAPPROCESS | TH32CS_SNAPTHREAD, 0));
  if (!Snapshot)
    return;
  PROCESSENTRY32 Process{};
  Process.dwSize = sizeof(Process);
  for (bool More = Source.ProcessFirst(Snapshot.Get(), Process); More && !IsStopped(Data);
       More = Source.ProcessNext(Snapshot.Get(), Process)) {
    const TProcessInfoObject ProcessInfo(Process, false);
    TTreeNode* ProcessNode = AddNode(Data, nullptr, lkProcess, ProcessInfo, true);
    THREADENTRY32 Thread{};
    Thread.dwSize = sizeof(Thread);
    for (bool Next = Source.ThreadFirst(Snapshot.Get(), Thread); Next && !IsStopped(Data);
         Next = Source.ThreadNext(Snapshot.Get(), Thread)) {
      if (Thread.th32OwnerProcessID != Process.th32ProcessID ||
          Thread.th32ThreadID == ::GetCurrentThreadId())
        continue;
      TThreadInfoObject ThreadInfo(Thread, false);
      ThreadInfo.SetModuleFilePath(ProcessInfo.ModuleFilePath());
      TTreeNode* ThreadNode = AddNode(Data, ProcessNode, lkThread, ThreadInfo, true);
      if (Thread.th32ThreadID != 0)
        AddThreadWindows(Data, Thread.th32ThreadID, ThreadNode);
    }
  }
}

void BuildThreadList(TThreadData& Data) {
  TToolHelp& Source = ToolHelp();
  TKernelHandle Snapshot(Source.CreateSnapshot(TH32CS_SNAPPROCESS | TH32CS_SNAPTHREAD, 0));
  if (!Snapshot)
    return;
  THREADENTRY32 Thread{};
  Thread.dwSize = sizeof(Thread);
  for (bool More = Source.ThreadFirst(Snapshot.Get(), Thread); More && !IsStopped(Data);
       More = Source.ThreadNext(Snapshot.Get(), Thread)) {
    if (Thread.th32ThreadID == ::GetCurrentThreadId())
      continue;
    TThreadInfoObject ThreadInfo(Thread, false);
    // Every thread looks its owning process up in this one snapshot.
    ThreadInfo.SetSnapshot(Snapshot.Get());
    TTreeNode* ThreadNode = AddNode(Data, nullptr, lkThread, ThreadInfo, true);
    if (Thread.th32ThreadID != 0)
      AddThreadWindows(Data, Thread.th32ThreadID, ThreadNode);
  }
}

void BuildModuleList(TThreadData& Data) {
  TToolHelp& Source = ToolHelp();
  TKernelHandle Snapshot(Source.CreateSnapshot(TH32CS_SNAPPROCESS, 0));
  if (!Snapshot)
    return;
  // Every module file is listed once: found again by its path, letter case ignored.
  std::unordered_map<std::string, TTreeNode*> Seen;
  PROCESSENTRY32 Process{};
  Process.dwSize = sizeof(Process);
  for (bool More = Source.ProcessFirst(Snapshot.Get(), Process); More && !IsStopped(Data);
       More = Source.ProcessNext(Snapshot.Get(), Process)) {
    TKernelHandle Modules(Source.CreateSnapshot(ModuleSnapshotFlags(), Process.th32ProcessID));
    if (Modules) {
      // One information object per process serves all its module rows.
      const TProcessInfoObject ProcessInfo(Process, false);
      MODULEENTRY32 Module{};
      Module.dwSize = sizeof(Module);
      for (bool Next = Source.ModuleFirst(Modules.Get(), Module); Next && !IsStopped(Data);
           Next = Source.ModuleNext(Modules.Get(), Module)) {
        const TModuleInfoObject ModuleInfo(Module, false);
        TTreeNode*& ModuleNode = Seen[UserLocale().UpperCase(ModuleInfo.Path())];
        if (!ModuleNode)
          ModuleNode = AddNode(Data, nullptr, lkModule, ModuleInfo, true);
        AddNode(Data, ModuleNode, lkProcess, ProcessInfo, false);
      }
    }
    ++Data.Counts[lkProcess];
  }
}

void RunBuilder(TThreadData& Data) {
  struct TEnumerationScope {
    TEnumerationScope() {
      if (BuildHooks.OnEnumeration)
        BuildHooks.OnEnumeration(true);
    }
    ~TEnumerationScope() {
      if (BuildHooks.OnEnumeration)
        BuildHooks.OnEnumeration(false);
    }
  } Scope;
  switch (Data.Kind) {
  case lkWindow:
    BuildWindowList(Data);
    break;
  case lkProcess:
    BuildProcessList(Data);
    break;
  case lkThread:
    BuildThreadList(Data);
    break;
  case lkModule:
    BuildModuleList(Data);
    break;
  }
}

// A stop event named by the caption; when that name is taken (another build of the same
// caption) or unusable, an unnamed event, so stopping one build can never wake another.
HANDLE MakeStopEvent(const std::string& Caption) {
  HANDLE Event = ::CreateEventA(nullptr, FALSE, FALSE, Caption.c_str());
  if (Event && ::GetLastError() == ERROR_ALREADY_EXISTS) {
    ::CloseHandle(Event);
    Event = nullptr;
  }
  return Event ? Event : ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

unsigned __stdcall ThreadEntry(void* Data) {
  return BuildThreadProc(Data);
}

} // namespace

TThreadData::TThreadData() {
  BuildRecords.fetch_add(1, std::memory_order_relaxed);
}

TThreadData::~TThreadData() {
  BuildRecords.fetch_sub(1, std::memory_order_relaxed);
}

long LiveBuildRecords() {
  return BuildRecords.load(std::memory_order_relaxed);
}

std::uint8_t* BuildNodeRow(const TColumnModel& Columns, const TBasicInfo& Info,
                           TListNodeData& Node) {
  const TListKind Kind = Info.InfoKind();
  std::vector<TRowEntry> Entries;
  std::ptrdiff_t KeyEntry = -1;
  for (const TListColumn& Column : Columns.Columns) {
    const TColumnSettings* Record = Column.Records[Kind];
    if (!Record || !Record->Property)
      continue;
    if (Record->FieldName == KeyNames[Kind])
      KeyEntry = static_cast<std::ptrdiff_t>(Entries.size());
    const TPropertyReader& Reader = ReaderOf(*Record->Property);
    TRowEntry& Entry = Entries.emplace_back();
    Entry.Record = Record;
    if (Reader.Text)
      Entry.Text = Reader.Text(Info);
    else
      Entry.Ordinal = Reader.Ordinal(Info);
  }
  return MakeRowSnapshot(Entries, KeyEntry, Node.Key);
}

void StartBuild(TBuildTarget& Form) {
  auto Data = std::make_unique<TThreadData>();
  Data->Form = &Form;
  Data->Window = Form.BuildWindow();
  Data->Kind = Form.BuildKind();
  Data->StopEvent = MakeStopEvent(Form.BuildCaption());
  TThreadData* Record = Data.get();
  Form.FThreadData = Record;
  // The thread starts suspended, so the record is complete before the worker reads it.
  unsigned ThreadId = 0;
  const auto Thread = _beginthreadex(nullptr, 0, &ThreadEntry, Record, CREATE_SUSPENDED, &ThreadId);
  if (!Thread) {
    Form.FThreadData = nullptr;
    ::CloseHandle(Record->StopEvent);
    throw std::runtime_error("Cannot start a list build");
  }
  Record->ThreadHandle.Reset(reinterpret_cast<HANDLE>(Thread));
  Record->ThreadId = ThreadId;
  Data.release(); // the worker destroys it
  ::ResumeThread(Record->ThreadHandle.Get());
}

void StopBuild(TBuildTarget& Form) {
  TKernelHandle Thread;
  {
    // The worker lets go of the form and destroys its record under this lock: a record found
    // here lives until the lock is left.
    TCriticalSectionLock Guard(SettingsResources.Lock);
    TThreadData* Data = Form.FThreadData.load();
    if (!Data)
      return;
    ::InterlockedExchange(&Data->Stopped, 1);
    if (Data->StopEvent)
      ::SetEvent(Data->StopEvent);
    HANDLE Duplicate = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), Data->ThreadHandle.Get(), ::GetCurrentProcess(),
                      &Duplicate, SYNCHRONIZE, FALSE, 0);
    Thread.Reset(Duplicate);
  }
  if (!Thread)
    return;
  // The worker may be waiting for this thread (its start message, its error message box).
  while (::WaitForSingleObject(Thread.Get(), 10) == WAIT_TIMEOUT)
    Application.ProcessMessages();
  Application.ProcessMessages();
}

DWORD WINAPI BuildThreadProc(LPVOID Parameter) {
  auto* Data = static_cast<TThreadData*>(Parameter);
  bool LetGo = false;
  // Lets go of the form: after this the form may go (its window closes, a refresh starts the
  // next build), so FThreadData is cleared only while it still designates this record.
  auto LetGoOfForm = [&] {
    TThreadData* Own = Data;
    Data->Form->FThreadData.compare_exchange_strong(Own, nullptr);
    LetGo = true;
  };
  try {
    ::SendMessageA(Data->Window, WM_BUILDSTARTED, 0, 0);

    HANDLE Waits[2];
    {
      TCriticalSectionLock Guard(SettingsResources.Lock);
      Waits[0] = Data->StopEvent;
      Waits[1] = SettingsResources.ThreadCounter.Get();
    }
    // The semaphore taken in this wait is the build's slot; a failed wait takes none. Without
    // the semaphore (it could not be made) there is no slot to wait for: the build runs without.
    bool HasSlot = false;
    if (Waits[1])
      HasSlot = ::WaitForMultipleObjects(2, Waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1;
    {
      TCriticalSectionLock Guard(SettingsResources.Lock);
      ::CloseHandle(Data->StopEvent);
      Data->StopEvent = nullptr;
    }

    // A failure is reported by the window, on the user-interface thread.
    std::string Failure;
    if (!IsStopped(*Data)) {
      try {
        RunBuilder(*Data);
      } catch (...) {
        Failure = TApplication::ExceptionMessage(std::current_exception());
        if (Failure.empty())
          Failure = "Unknown error";
      }
    }
    const bool Failed = !Failure.empty();

    Data->Form->Counts = Data->Counts;
    Data->Form->Failure = std::move(Failure);
    LetGoOfForm();

    ::PostMessageA(Data->Window, WM_BUILDFINISHED, ((IsStopped(*Data) || Failed) ? 1 : 0) & 127, 0);
    if (HasSlot)
      ::ReleaseSemaphore(Waits[1], 1, nullptr);
    if (BuildHooks.BeforeRelease)
      BuildHooks.BeforeRelease();
  } catch (...) {
    // Nothing escapes a thread procedure; the form is let go of and the record goes below.
    if (!LetGo)
      LetGoOfForm();
  }
  TCriticalSectionLock Guard(SettingsResources.Lock);
  delete Data;
  return 0;
}

void ReportBuildFailure(TBuildTarget& Target) {
  if (Target.Failure.empty())
    return;
  const std::string Text = "An unexpected error occured! Try restart Wyndo with the following "
                           "parameters: \"-reset -config\"\n" +
                           std::exchange(Target.Failure, {});
  HWND Window = Target.BuildWindow();
  ::MessageBoxA(Window, Text.c_str(), "Unexpected Error", MB_ICONHAND);
  ::PostMessageA(Window, WM_CLOSE, 0, 0);
}

} // namespace wyndo
