#include "info/infoobjects.h"

#include "core/format.h"
#include "core/settings.h"
#include "info/toolhelp.h"
#include "ui/winutil.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace wyndo {

namespace {

// A window that does not answer a text query within this time gives an empty text.
constexpr UINT TextTimeout = 1000;
// Longest window text read: a window may claim any length, and the text is copied into memory.
constexpr std::size_t MaxTextLength = 1 << 20;

} // namespace

std::string LongPathName(const std::string& Path) {
  const DWORD Needed = ::GetLongPathNameA(Path.c_str(), nullptr, 0);
  if (Needed == 0)
    return Path;
  std::string Long(Needed, '\0');
  const DWORD Written = ::GetLongPathNameA(Path.c_str(), Long.data(), Needed);
  if (Written == 0 || Written >= Needed)
    return Path;
  Long.resize(Written);
  return Long;
}

// ---------------------------------------------------------------------------------------------
// TWindowInfoObject

TWindowInfoObject::TWindowInfoObject(std::uint32_t Handle)
    : TBasicInfo(lkWindow), FHandle(Handle) {}

void TWindowInfoObject::Assign(const TBasicInfo& Other) {
  if (auto* Window = dynamic_cast<const TWindowInfoObject*>(&Other))
    FHandle = Window->FHandle;
}

HWND TWindowInfoObject::Window() const {
  return ToWindow(FHandle);
}

std::uint32_t TWindowInfoObject::WndProc() const {
  return static_cast<std::uint32_t>(::GetWindowLongPtrA(Window(), GWLP_WNDPROC));
}

std::string TWindowInfoObject::WindowText() const {
  DWORD_PTR Length = 0;
  if (!::SendMessageTimeoutA(Window(), WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, TextTimeout,
                             &Length))
    return {};
  Length = std::min<DWORD_PTR>(Length, MaxTextLength);
  std::string Text(Length + 1, '\0');
  DWORD_PTR Copied = 0;
  if (!::SendMessageTimeoutA(Window(), WM_GETTEXT, Length + 1,
                             reinterpret_cast<LPARAM>(Text.data()), SMTO_ABORTIFHUNG, TextTimeout,
                             &Copied))
    return {};
  Text.resize(std::min<DWORD_PTR>(Copied, Length));
  return Text;
}

std::int32_t TWindowInfoObject::ControlID() const {
  // Only a child window has a control identifier: for a top-level window the same field holds
  // its menu handle.
  if (!(static_cast<DWORD>(::GetWindowLongA(Window(), GWL_STYLE)) & WS_CHILD))
    return 0;
  return ::GetDlgCtrlID(Window());
}

std::uint32_t TWindowInfoObject::WindowStyle() const {
  return static_cast<std::uint32_t>(::GetWindowLongA(Window(), GWL_STYLE));
}

std::uint32_t TWindowInfoObject::ExtWindowStyle() const {
  return static_cast<std::uint32_t>(::GetWindowLongA(Window(), GWL_EXSTYLE));
}

std::string TWindowInfoObject::ClassName() const {
  char Buffer[256] = {};
  ::GetClassNameA(Window(), Buffer, sizeof(Buffer));
  std::string Name(Buffer, ::strnlen(Buffer, sizeof(Buffer)));
  if (FHandle != 0 && Window() == ::GetDesktopWindow())
    Name += " (Desktop)";
  return Name;
}

std::uint32_t TWindowInfoObject::ClassAtom() const {
  return static_cast<std::uint32_t>(::GetClassLongA(Window(), GCW_ATOM));
}

std::uint32_t TWindowInfoObject::ClassBytes() const {
  return static_cast<std::uint32_t>(::GetClassLongA(Window(), GCL_CBCLSEXTRA));
}

std::uint32_t TWindowInfoObject::ProcessID() const {
  DWORD Process = 0;
  ::GetWindowThreadProcessId(Window(), &Process);
  return Process;
}

std::uint32_t TWindowInfoObject::ThreadID() const {
  return ::GetWindowThreadProcessId(Window(), nullptr);
}

bool TWindowInfoObject::Unicode() const {
  return ::IsWindowUnicode(Window()) != 0;
}

RECT TWindowInfoObject::WindowRect() const {
  RECT Rect{};
  if (!::GetWindowRect(Window(), &Rect))
    Rect = {};
  return Rect;
}

RECT TWindowInfoObject::ClientRect() const {
  RECT Rect{};
  if (!::GetClientRect(Window(), &Rect))
    Rect = {};
  return Rect;
}

RECT TWindowInfoObject::RestoredRect() const {
  WINDOWPLACEMENT Placement{};
  Placement.length = sizeof(Placement);
  if (!::GetWindowPlacement(Window(), &Placement))
    return {};
  return Placement.rcNormalPosition;
}

// ---------------------------------------------------------------------------------------------
// TProcessInfoObject

TProcessInfoObject::TProcessInfoObject(std::uint32_t ProcessID)
    : TBasicInfo(lkProcess),
      FProcessHandle(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ProcessID)),
      FProcessID(ProcessID) {}

TProcessInfoObject::TProcessInfoObject(const PROCESSENTRY32& Entry, bool CopyEntry)
    : TProcessInfoObject(Entry.th32ProcessID) {
  FEntry.Set(Entry, CopyEntry);
}

void TProcessInfoObject::Assign(const TBasicInfo& Other) {
  auto* Process = dynamic_cast<const TProcessInfoObject*>(&Other);
  if (!Process || Process == this)
    return;
  FProcessID = Process->FProcessID;
  FProcessHandle.Reset(
      ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, FProcessID));
  FModulePath = Process->FModulePath;
  FEntry.CopyFrom(Process->FEntry);
}

const std::string& TProcessInfoObject::ModuleFilePath() const {
  if (FModulePath.empty())
    ResolveModulePath();
  return FModulePath;
}

std::string TProcessInfoObject::ModuleName() const {
  return ExtractFileNameOr(ModuleFilePath(), UnavailableText);
}

std::string TProcessInfoObject::ModulePath() const {
  return ExtractFilePathOr(ModuleFilePath(), UnavailableText);
}

void TProcessInfoObject::ResolveModulePath() const {
  std::string Path;
  // On the NT line the process-status service knows the path of a process it can open; where it
  // cannot read the process's modules (a 64-bit process seen by a 32-bit program), the image
  // name query still knows it.
  if (Settings.OSKind == osNT) {
    char Buffer[MAX_PATH + 1] = {};
    DWORD Length = 0;
    if (FProcessHandle)
      Length = ToolHelp().ModuleFileNameEx(FProcessHandle.Get(), nullptr, Buffer, sizeof(Buffer));
    if (Length == 0)
      Length = ToolHelp().ProcessImageName(FProcessID, Buffer, sizeof(Buffer));
    if (Length > 0)
      Path.assign(Buffer, ::strnlen(Buffer, sizeof(Buffer)));
  }
  // Otherwise the process's own module, found by the file name of its tool-help record.
  if (Path.empty() && FEntry.Get()) {
    TKernelHandle Snapshot(ToolHelp().CreateSnapshot(ModuleSnapshotFlags(), FProcessID));
    if (Snapshot) {
      const std::string ExeName = ExtractFileNameOr(
          std::string(FEntry.Get()->szExeFile, ::strnlen(FEntry.Get()->szExeFile, MAX_PATH)), "");
      MODULEENTRY32 Module{};
      Module.dwSize = sizeof(Module);
      for (bool More = ToolHelp().ModuleFirst(Snapshot.Get(), Module); More;
           More = ToolHelp().ModuleNext(Snapshot.Get(), Module)) {
        const std::string Name(Module.szModule,
                               ::strnlen(Module.szModule, sizeof(Module.szModule)));
        if (ExtractFileNameOr(Name, "") == ExeName) {
          Path.assign(Module.szExePath, ::strnlen(Module.szExePath, sizeof(Module.szExePath)));
          break;
        }
      }
    }
  }
  if (Path.empty() && FEntry.Get())
    Path.assign(FEntry.Get()->szExeFile, ::strnlen(FEntry.Get()->szExeFile, MAX_PATH));
  FModulePath = Path.empty() ? std::string(UnavailableText) : LongPathName(Path);
}

// ---------------------------------------------------------------------------------------------
// TThreadInfoObject

TThreadInfoObject::TThreadInfoObject(std::uint32_t ThreadID)
    : TBasicInfo(lkThread), FThreadID(ThreadID) {}

TThreadInfoObject::TThreadInfoObject(const THREADENTRY32& Entry, bool CopyEntry)
    : TThreadInfoObject(Entry.th32ThreadID) {
  FEntry.Set(Entry, CopyEntry);
}

void TThreadInfoObject::Assign(const TBasicInfo& Other) {
  auto* Thread = dynamic_cast<const TThreadInfoObject*>(&Other);
  if (!Thread || Thread == this)
    return;
  FThreadID = Thread->FThreadID;
  FModulePath = Thread->FModulePath;
  FEntry.CopyFrom(Thread->FEntry);
  FSnapshot = INVALID_HANDLE_VALUE;
}

const std::string& TThreadInfoObject::ModuleFilePath() const {
  if (FModulePath.empty())
    ResolveModulePath();
  return FModulePath;
}

std::string TThreadInfoObject::ModuleName() const {
  return ExtractFileNameOr(ModuleFilePath(), UnavailableText);
}

std::string TThreadInfoObject::ModulePath() const {
  return ExtractFilePathOr(ModuleFilePath(), UnavailableText);
}

void TThreadInfoObject::ResolveModulePath() const {
  // An owning process that is not found gives "(Unavailable)" as well; resolving once is enough.
  FModulePath = std::string(UnavailableText);
  if (!FEntry.Get())
    return;
  TKernelHandle Own;
  HANDLE Snapshot = FSnapshot;
  if (Snapshot == INVALID_HANDLE_VALUE) {
    Own.Reset(ToolHelp().CreateSnapshot(TH32CS_SNAPPROCESS, 0));
    if (!Own)
      return;
    Snapshot = Own.Get();
  }
  PROCESSENTRY32 Process{};
  Process.dwSize = sizeof(Process);
  for (bool More = ToolHelp().ProcessFirst(Snapshot, Process); More;
       More = ToolHelp().ProcessNext(Snapshot, Process))
    if (Process.th32ProcessID == FEntry.Get()->th32OwnerProcessID) {
      FModulePath = TProcessInfoObject(Process, false).ModuleFilePath();
      return;
    }
}

// ---------------------------------------------------------------------------------------------
// TModuleInfoObject

TModuleInfoObject::TModuleInfoObject(std::string Path)
    : TBasicInfo(lkModule), FPath(std::move(Path)) {}

TModuleInfoObject::TModuleInfoObject(const MODULEENTRY32& Entry, bool CopyEntry)
    : TModuleInfoObject(LongPathName(
          std::string(Entry.szExePath, ::strnlen(Entry.szExePath, sizeof(Entry.szExePath))))) {
  FEntry.Set(Entry, CopyEntry);
}

void TModuleInfoObject::Assign(const TBasicInfo& Other) {
  auto* Module = dynamic_cast<const TModuleInfoObject*>(&Other);
  if (!Module || Module == this)
    return;
  FPath = Module->FPath;
  FEntry.CopyFrom(Module->FEntry);
}

std::string TModuleInfoObject::ModuleName() const {
  return ExtractFileNameOr(FPath, "");
}

std::string TModuleInfoObject::ModulePath() const {
  return ExtractFilePathOr(FPath, "");
}

// ---------------------------------------------------------------------------------------------
// The property readers

namespace {

template <class T, auto Getter>
std::uint32_t ReadOrdinal(const TBasicInfo& Info) {
  return static_cast<std::uint32_t>((static_cast<const T&>(Info).*Getter)());
}

template <class T, auto Getter>
std::string ReadText(const TBasicInfo& Info) {
  return (static_cast<const T&>(Info).*Getter)();
}

using W = TWindowInfoObject;
using P = TProcessInfoObject;
using T = TThreadInfoObject;
using M = TModuleInfoObject;

constexpr TPropertyReader WindowReaders[] = {
    {"Handle", &ReadOrdinal<W, &W::Handle>, nullptr},
    {"WndProc", &ReadOrdinal<W, &W::WndProc>, nullptr},
    {"WindowText", nullptr, &ReadText<W, &W::WindowText>},
    {"ControlID", &ReadOrdinal<W, &W::ControlID>, nullptr},
    {"WindowStyle", &ReadOrdinal<W, &W::WindowStyle>, nullptr},
    {"ExtWindowStyle", &ReadOrdinal<W, &W::ExtWindowStyle>, nullptr},
    {"ClassName", nullptr, &ReadText<W, &W::ClassName>},
    {"ClassAtom", &ReadOrdinal<W, &W::ClassAtom>, nullptr},
    {"ClassBytes", &ReadOrdinal<W, &W::ClassBytes>, nullptr},
    {"ProcessID", &ReadOrdinal<W, &W::ProcessID>, nullptr},
    {"ThreadID", &ReadOrdinal<W, &W::ThreadID>, nullptr},
    {"Unicode", &ReadOrdinal<W, &W::Unicode>, nullptr},
};
constexpr TPropertyReader ProcessReaders[] = {
    {"ProcessID", &ReadOrdinal<P, &P::ProcessID>, nullptr},
    {"ModuleName", nullptr, &ReadText<P, &P::ModuleName>},
    {"ModulePath", nullptr, &ReadText<P, &P::ModulePath>},
};
constexpr TPropertyReader ThreadReaders[] = {
    {"ThreadID", &ReadOrdinal<T, &T::ThreadID>, nullptr},
    {"ModuleName", nullptr, &ReadText<T, &T::ModuleName>},
    {"ModulePath", nullptr, &ReadText<T, &T::ModulePath>},
};
constexpr TPropertyReader ModuleReaders[] = {
    {"ModuleName", nullptr, &ReadText<M, &M::ModuleName>},
    {"ModulePath", nullptr, &ReadText<M, &M::ModulePath>},
};

// Every reader belongs to the property of the same place: same name, and a text reader exactly
// for a text property.
constexpr bool ReadersMatch(std::span<const TPropertyReader> Readers,
                            std::span<const TPropertyDesc> Properties) {
  if (Readers.size() != Properties.size())
    return false;
  for (std::size_t I = 0; I < Readers.size(); ++I) {
    const bool Text = Properties[I].TypeKind == tkLString;
    if (Readers[I].Name != Properties[I].Name || Text != (Readers[I].Text != nullptr) ||
        Text == (Readers[I].Ordinal != nullptr))
      return false;
  }
  return true;
}
static_assert(ReadersMatch(WindowReaders, WindowPropertyDescs));
static_assert(ReadersMatch(ProcessReaders, ProcessPropertyDescs));
static_assert(ReadersMatch(ThreadReaders, ThreadPropertyDescs));
static_assert(ReadersMatch(ModuleReaders, ModulePropertyDescs));

} // namespace

std::span<const TPropertyReader> PropertyReaders(TListKind Kind) {
  switch (Kind) {
  case lkWindow:
    return WindowReaders;
  case lkProcess:
    return ProcessReaders;
  case lkThread:
    return ThreadReaders;
  case lkModule:
    return ModuleReaders;
  }
  return {};
}

const TPropertyReader& ReaderOf(const TPropertyDesc& Property) {
  const std::less<const TPropertyDesc*> Before;
  for (TListKind Kind : AllListKinds) {
    const std::span<const TPropertyDesc> Descs = PropertiesOf(Kind);
    if (!Before(&Property, Descs.data()) && Before(&Property, Descs.data() + Descs.size()))
      return PropertyReaders(Kind)[static_cast<std::size_t>(&Property - Descs.data())];
  }
  throw std::logic_error("A property that belongs to no kind: " + std::string(Property.Name));
}

} // namespace wyndo
