#include "info/toolhelp.h"

namespace wyndo {

namespace {

struct TFunctions {
  using TCreate = HANDLE(WINAPI*)(DWORD, DWORD);
  using TProcessWalk = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
  using TThreadWalk = BOOL(WINAPI*)(HANDLE, THREADENTRY32*);
  using TModuleWalk = BOOL(WINAPI*)(HANDLE, MODULEENTRY32*);
  using TFileName = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);
  using TImageName = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);

  TCreate Create = nullptr;
  TProcessWalk ProcessFirst = nullptr, ProcessNext = nullptr;
  TThreadWalk ThreadFirst = nullptr, ThreadNext = nullptr;
  TModuleWalk ModuleFirst = nullptr, ModuleNext = nullptr;
  TFileName FileName = nullptr;
  TImageName ImageName = nullptr;

  TFunctions() {
    HMODULE Kernel = ::GetModuleHandleA("kernel32.dll");
    Load(Kernel, "CreateToolhelp32Snapshot", Create);
    Load(Kernel, "Process32First", ProcessFirst);
    Load(Kernel, "Process32Next", ProcessNext);
    Load(Kernel, "Thread32First", ThreadFirst);
    Load(Kernel, "Thread32Next", ThreadNext);
    Load(Kernel, "Module32First", ModuleFirst);
    Load(Kernel, "Module32Next", ModuleNext);
    // Windows Vista and later.
    Load(Kernel, "QueryFullProcessImageNameA", ImageName);
    // Newer systems also have it in kernel32; psapi.dll is where Windows 2000 keeps it.
    if (HMODULE Psapi = ::LoadLibraryA("psapi.dll"))
      Load(Psapi, "GetModuleFileNameExA", FileName);
  }

  template <class T>
  static void Load(HMODULE Module, const char* Name, T& Function) {
    if (Module)
      Function = reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(Module, Name)));
  }
};

const TFunctions& Functions() {
  static const TFunctions Loaded;
  return Loaded;
}

TToolHelp& SystemToolHelp() {
  static TToolHelp System;
  return System;
}

TToolHelp* Current = nullptr;

} // namespace

HANDLE TToolHelp::CreateSnapshot(DWORD Flags, DWORD ProcessId) {
  return Functions().Create ? Functions().Create(Flags, ProcessId) : INVALID_HANDLE_VALUE;
}
bool TToolHelp::ProcessFirst(HANDLE Snapshot, PROCESSENTRY32& Entry) {
  return Functions().ProcessFirst && Functions().ProcessFirst(Snapshot, &Entry);
}
bool TToolHelp::ProcessNext(HANDLE Snapshot, PROCESSENTRY32& Entry) {
  return Functions().ProcessNext && Functions().ProcessNext(Snapshot, &Entry);
}
bool TToolHelp::ThreadFirst(HANDLE Snapshot, THREADENTRY32& Entry) {
  return Functions().ThreadFirst && Functions().ThreadFirst(Snapshot, &Entry);
}
bool TToolHelp::ThreadNext(HANDLE Snapshot, THREADENTRY32& Entry) {
  return Functions().ThreadNext && Functions().ThreadNext(Snapshot, &Entry);
}
bool TToolHelp::ModuleFirst(HANDLE Snapshot, MODULEENTRY32& Entry) {
  return Functions().ModuleFirst && Functions().ModuleFirst(Snapshot, &Entry);
}
bool TToolHelp::ModuleNext(HANDLE Snapshot, MODULEENTRY32& Entry) {
  return Functions().ModuleNext && Functions().ModuleNext(Snapshot, &Entry);
}
DWORD TToolHelp::ModuleFileNameEx(HANDLE Process, HMODULE Module, char* Buffer, DWORD Size) {
  return Functions().FileName ? Functions().FileName(Process, Module, Buffer, Size) : 0;
}
DWORD TToolHelp::ProcessImageName(DWORD ProcessId, char* Buffer, DWORD Size) {
  if (!Functions().ImageName)
    return 0;
  // Limited query access is enough, and is granted for processes that refuse more.
  constexpr DWORD QueryLimitedInformation = 0x1000;
  TKernelHandle Process(::OpenProcess(QueryLimitedInformation, FALSE, ProcessId));
  DWORD Length = Size;
  if (!Process || !Functions().ImageName(Process.Get(), 0, Buffer, &Length))
    return 0;
  return Length;
}

DWORD ModuleSnapshotFlags() {
  // A 64-bit program sees the modules of a 32-bit process only when it asks for them as well;
  // a 32-bit program cannot see a 64-bit process's modules at all.
  constexpr DWORD SnapModule32 = 0x00000010;
  return sizeof(void*) == 8 ? TH32CS_SNAPMODULE | SnapModule32 : TH32CS_SNAPMODULE;
}

TToolHelp& ToolHelp() {
  return Current ? *Current : SystemToolHelp();
}

TToolHelpOverride::TToolHelpOverride(TToolHelp& Source) : FPrevious(Current) {
  Current = &Source;
}
TToolHelpOverride::~TToolHelpOverride() {
  Current = FPrevious;
}

} // namespace wyndo
