#pragma once
// Tool-help snapshots, the process-status service's GetModuleFileNameExA and
// QueryFullProcessImageNameA, located at run time: Windows 98 has no process-status service, only
// newer systems have the image name, and the functions must not stop the program from loading
// where they are missing. Tests may put another source in place (TToolHelpOverride).

#include "ui/handles.h"

#include <windows.h>

#include <tlhelp32.h>

namespace wyndo {

class TToolHelp {
public:
  virtual ~TToolHelp() = default;
  // INVALID_HANDLE_VALUE when the snapshot cannot be taken; the caller closes it.
  virtual HANDLE CreateSnapshot(DWORD Flags, DWORD ProcessId);
  // The walks; each fills a record whose dwSize the caller has set.
  virtual bool ProcessFirst(HANDLE Snapshot, PROCESSENTRY32& Entry);
  virtual bool ProcessNext(HANDLE Snapshot, PROCESSENTRY32& Entry);
  virtual bool ThreadFirst(HANDLE Snapshot, THREADENTRY32& Entry);
  virtual bool ThreadNext(HANDLE Snapshot, THREADENTRY32& Entry);
  virtual bool ModuleFirst(HANDLE Snapshot, MODULEENTRY32& Entry);
  virtual bool ModuleNext(HANDLE Snapshot, MODULEENTRY32& Entry);
  // Length of the path written, 0 on failure or where the service is missing.
  virtual DWORD ModuleFileNameEx(HANDLE Process, HMODULE Module, char* Buffer, DWORD Size);
  // The path of a process's program file, read with limited query access (also where the module
  // list cannot be read, as by a 32-bit program of a 64-bit process); its length, 0 on failure
  // or where the system has no such query.
  virtual DWORD ProcessImageName(DWORD ProcessId, char* Buffer, DWORD Size);
};

// The flags of a snapshot of one process's modules: all of them, whatever the bitness.
DWORD ModuleSnapshotFlags();

// The source in use: the system's, unless a test put another in place.
TToolHelp& ToolHelp();

// Puts another source in place for its lifetime.
class TToolHelpOverride {
public:
  explicit TToolHelpOverride(TToolHelp& Source);
  ~TToolHelpOverride();
  TToolHelpOverride(const TToolHelpOverride&) = delete;
  TToolHelpOverride& operator=(const TToolHelpOverride&) = delete;

private:
  TToolHelp* FPrevious;
};

} // namespace wyndo
