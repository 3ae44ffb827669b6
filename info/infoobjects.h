#pragma once
// Information objects: one window, process, thread or module of the running system. An object
// stores only what identifies its thing (and optionally the tool-help record it came from); every
// other value is asked of the system when it is read, except a process's or thread's module path,
// which is worked out once and kept. No read raises an error: what cannot be read is 0, empty,
// or "(Unavailable)".

#include "core/listkinds.h"
#include "core/properties.h"
#include "ui/handles.h"

#include <windows.h>

#include <tlhelp32.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace wyndo {

// The tool-help record an object came from: a reference to the caller's record, or a copy of
// its own.
template <class TEntry>
class TEntryRecord {
public:
  void Set(const TEntry& Entry, bool Copy) {
    FOwned = Copy ? std::make_unique<TEntry>(Entry) : nullptr;
    FEntry = Copy ? FOwned.get() : &Entry;
  }
  // Takes a copy of Other's record (or none).
  void CopyFrom(const TEntryRecord& Other) {
    FOwned = Other.FEntry ? std::make_unique<TEntry>(*Other.FEntry) : nullptr;
    FEntry = FOwned.get();
  }
  const TEntry* Get() const { return FEntry; }
  bool OwnsEntry() const { return FOwned != nullptr; }

private:
  const TEntry* FEntry = nullptr;
  std::unique_ptr<TEntry> FOwned;
};

class TBasicInfo {
public:
  explicit TBasicInfo(TListKind Kind) : FInfoKind(Kind) {}
  virtual ~TBasicInfo() = default;
  TBasicInfo(const TBasicInfo&) = delete;
  TBasicInfo& operator=(const TBasicInfo&) = delete;

  TListKind InfoKind() const { return FInfoKind; }
  // Takes the identity of Other (its handle, identifier or path, with what belongs to it) when
  // Other is of the same class; otherwise nothing happens.
  virtual void Assign(const TBasicInfo& Other) = 0;

private:
  TListKind FInfoKind;
};

class TWindowInfoObject : public TBasicInfo {
public:
  explicit TWindowInfoObject(std::uint32_t Handle = 0);
  void Assign(const TBasicInfo& Other) override;

  std::uint32_t Handle() const { return FHandle; }
  HWND Window() const;
  std::uint32_t WndProc() const;
  // Read by messages, waiting at most a second for a window that does not answer.
  std::string WindowText() const;
  std::int32_t ControlID() const;
  std::uint32_t WindowStyle() const;
  std::uint32_t ExtWindowStyle() const;
  // The class name; " (Desktop)" is appended for the desktop window.
  std::string ClassName() const;
  std::uint32_t ClassAtom() const;
  std::uint32_t ClassBytes() const;
  std::uint32_t ProcessID() const;
  std::uint32_t ThreadID() const;
  bool Unicode() const;

  RECT WindowRect() const;
  RECT ClientRect() const;
  // Where the window goes when it is restored.
  RECT RestoredRect() const;

private:
  std::uint32_t FHandle;
};

class TProcessInfoObject : public TBasicInfo {
public:
  // Opens the process for querying; a process that cannot be opened still has its identifier.
  explicit TProcessInfoObject(std::uint32_t ProcessID);
  // From a tool-help record: refers to Entry (which must outlive the object) or keeps a copy.
  TProcessInfoObject(const PROCESSENTRY32& Entry, bool CopyEntry);
  void Assign(const TBasicInfo& Other) override;

  std::uint32_t ProcessID() const { return FProcessID; }
  std::string ModuleName() const;
  std::string ModulePath() const;
  // The full path of the program file, resolved on first use ("(Unavailable)" when unknown).
  const std::string& ModuleFilePath() const;
  HANDLE ProcessHandle() const { return FProcessHandle.Get(); }

private:
  void ResolveModulePath() const;

  TEntryRecord<PROCESSENTRY32> FEntry;
  TKernelHandle FProcessHandle;
  std::uint32_t FProcessID;
  mutable std::string FModulePath;
};

class TThreadInfoObject : public TBasicInfo {
public:
  explicit TThreadInfoObject(std::uint32_t ThreadID);
  TThreadInfoObject(const THREADENTRY32& Entry, bool CopyEntry);
  void Assign(const TBasicInfo& Other) override;

  std::uint32_t ThreadID() const { return FThreadID; }
  std::string ModuleName() const;
  std::string ModulePath() const;
  // The owning process's program path, resolved on first use.
  const std::string& ModuleFilePath() const;
  void SetModuleFilePath(std::string Path) { FModulePath = std::move(Path); }
  // A tool-help snapshot with processes in which the owning process is looked up; not owned.
  // Without one, the object takes a snapshot of its own when it needs it.
  void SetSnapshot(HANDLE Snapshot) { FSnapshot = Snapshot; }

private:
  void ResolveModulePath() const;

  TEntryRecord<THREADENTRY32> FEntry;
  std::uint32_t FThreadID;
  mutable std::string FModulePath;
  HANDLE FSnapshot = INVALID_HANDLE_VALUE;
};

class TModuleInfoObject : public TBasicInfo {
public:
  explicit TModuleInfoObject(std::string Path);
  // From a tool-help record: the path is the record's full path in its long form.
  TModuleInfoObject(const MODULEENTRY32& Entry, bool CopyEntry);
  void Assign(const TBasicInfo& Other) override;

  const std::string& Path() const { return FPath; }
  std::string ModuleName() const;
  std::string ModulePath() const;

private:
  TEntryRecord<MODULEENTRY32> FEntry;
  std::string FPath;
};

// Reads one named property of an information object of its kind: integers and Booleans as their
// 32 bits, texts as texts.
struct TPropertyReader {
  std::string_view Name;
  std::uint32_t (*Ordinal)(const TBasicInfo& Info); // integers and enumerations
  std::string (*Text)(const TBasicInfo& Info);      // texts
};

// The readers of a kind, in the same order as PropertiesOf(Kind).
std::span<const TPropertyReader> PropertyReaders(TListKind Kind);
// The reader of a property (one of the PropertiesOf arrays).
const TPropertyReader& ReaderOf(const TPropertyDesc& Property);

// The long form of a path (the path itself when it has none).
std::string LongPathName(const std::string& Path);

} // namespace wyndo
