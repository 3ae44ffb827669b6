#pragma once
// List building: a snapshot of the running system (windows, processes, threads or modules) put
// into a list window's tree on a worker thread of its own, with a row snapshot of the shown
// values per node. At most five builds enumerate at a time, counted over every running instance
// through the named semaphore "WYNDO_ThreadCounter".
//
// Protocol with the list window (its BuildWindow):
//   WM_BUILDSTARTED   sent (synchronously) before the worker does anything else: the window
//                     clears its tree and enters its busy display; from then until it has
//                     handled WM_BUILDFINISHED the worker alone touches the tree.
//   WM_BUILDFINISHED  posted at the end; wParam 0 when the build completed, non-zero when it was
//                     stopped or failed. The counts are in the window's Counts by then, and
//                     what failed in its Failure (empty unless the build failed): the window
//                     reports it (ReportBuildFailure) and closes.

#include "core/listkinds.h"
#include "core/rowsnapshot.h"
#include "lists/columnmodel.h"
#include "lists/listnode.h"
#include "tree/nodemodel.h"
#include "ui/handles.h"

#include <windows.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace wyndo {

class TBasicInfo;

inline constexpr UINT WM_BUILDSTARTED = WM_USER + 202;
inline constexpr UINT WM_BUILDFINISHED = WM_USER + 203;

struct TThreadData;

// What a build needs of its list window. The list window implements it.
class TBuildTarget {
public:
  virtual ~TBuildTarget() = default;
  // The window that gets the build messages.
  virtual HWND BuildWindow() = 0;
  // The list's own kind.
  virtual TListKind BuildKind() const = 0;
  // The tree the worker fills (its node data is a TListNodeData).
  virtual TNodeModel& BuildNodes() = 0;
  virtual const TColumnModel& BuildColumns() const = 0;
  // The window's caption, which names the build's stop event.
  virtual std::string BuildCaption() = 0;

  // The running build, from StartBuild until the worker lets go of it.
  std::atomic<TThreadData*> FThreadData{nullptr};
  // Nodes added per kind by the last build (in a module list: processes enumerated).
  std::array<std::uint32_t, ListKindCount> Counts{};
  // What made the last build fail, or empty.
  std::string Failure;
};

// After a failed build: tells the user what failed, in a box owned by the build's window, then
// closes the window. Nothing when the last build did not fail.
void ReportBuildFailure(TBuildTarget& Target);

// The record of one build; it destroys itself at the build's end.
struct TThreadData {
  TThreadData();
  ~TThreadData();
  TThreadData(const TThreadData&) = delete;
  TThreadData& operator=(const TThreadData&) = delete;

  TBuildTarget* Form = nullptr;
  HWND Window = nullptr;     // the form's window, for the messages
  TListKind Kind = lkWindow; // the form's kind
  volatile LONG Stopped = 0; // set with an interlocked exchange
  TKernelHandle ThreadHandle;
  HANDLE StopEvent = nullptr; // under the settings lock; 0 once closed
  DWORD ThreadId = 0;
  HWND ParentWnd = nullptr;        // window enumeration: whose direct children are added
  TTreeNode* ParentNode = nullptr; // and under which node
  std::array<std::uint32_t, ListKindCount> Counts{};
};

// Build records alive in this process. A record lives from StartBuild until its worker is about
// to end, so 0 means no build is running or left behind; tests check it after every kind of end.
long LiveBuildRecords();

// Starts a build of Form's list on a new worker thread.
void StartBuild(TBuildTarget& Form);
// Stops Form's running build (if any) and waits for its worker to end, handling this thread's
// messages meanwhile (the worker may be waiting for them). Call it before tearing down the form.
void StopBuild(TBuildTarget& Form);
DWORD WINAPI BuildThreadProc(LPVOID Data);

// The row snapshot of Info for the columns, setting the node's key.
std::uint8_t* BuildNodeRow(const TColumnModel& Columns, const TBasicInfo& Info,
                           TListNodeData& Node);

// Hooks for tests: the worker runs them when assigned. OnEnumeration(true) before a builder
// starts enumerating and OnEnumeration(false) after it ends (also when it fails);
// BeforeRelease after the finish message has been posted, before the worker lets go of its
// record.
struct TBuildHooks {
  std::function<void(bool Begin)> OnEnumeration;
  std::function<void()> BeforeRelease;
};
extern TBuildHooks BuildHooks;

} // namespace wyndo
