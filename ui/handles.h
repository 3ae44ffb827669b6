#pragma once
// One move-only owner per kind of Win32 handle. Each kind counts its live handles, so tests can
// check that nothing leaks.

#include <windows.h>

#include <atomic>
#include <utility>

namespace wyndo {

// Traits: Invalid() is the "no handle" value; Close(h) releases a valid handle. IsValid also
// rejects a second sentinel where the API has two (kernel handles: NULL and INVALID_HANDLE_VALUE).
template <class Traits>
class TUniqueHandle {
public:
  using THandleType = typename Traits::THandleType;

  TUniqueHandle() = default;
  explicit TUniqueHandle(THandleType Handle) : FHandle(Handle) { AddIfValid(); }
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;
  TUniqueHandle(TUniqueHandle&& Other) noexcept : FHandle(Other.Detach()) { AddIfValid(); }
  TUniqueHandle& operator=(TUniqueHandle&& Other) noexcept {
    if (this != &Other)
      Reset(Other.Detach());
    return *this;
  }
  ~TUniqueHandle() { Reset(); }

  THandleType Get() const { return FHandle; }
  explicit operator bool() const { return Traits::IsValid(FHandle); }

  // Takes ownership of Handle, releasing the one held before.
  void Reset(THandleType Handle = Traits::Invalid()) {
    if (Traits::IsValid(FHandle)) {
      Traits::Close(FHandle);
      LiveCount().fetch_sub(1, std::memory_order_relaxed);
    }
    FHandle = Handle;
    AddIfValid();
  }

  // Gives up ownership without releasing.
  THandleType Detach() {
    if (Traits::IsValid(FHandle))
      LiveCount().fetch_sub(1, std::memory_order_relaxed);
    return std::exchange(FHandle, Traits::Invalid());
  }

  // Handles of this kind currently owned by wrappers, process-wide.
  static long Live() { return LiveCount().load(std::memory_order_relaxed); }

private:
  void AddIfValid() {
    if (Traits::IsValid(FHandle))
      LiveCount().fetch_add(1, std::memory_order_relaxed);
  }
  static std::atomic<long>& LiveCount() {
    static std::atomic<long> Counter{0};
    return Counter;
  }

  THandleType FHandle = Traits::Invalid();
};

struct TKernelHandleTraits {
  using THandleType = HANDLE;
  static HANDLE Invalid() { return nullptr; }
  static bool IsValid(HANDLE H) { return H != nullptr && H != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE H) { ::CloseHandle(H); }
};
struct TRegKeyTraits {
  using THandleType = HKEY;
  static HKEY Invalid() { return nullptr; }
  static bool IsValid(HKEY H) { return H != nullptr; }
  static void Close(HKEY H) { ::RegCloseKey(H); }
};
struct TGdiObjectTraits {
  using THandleType = HGDIOBJ;
  static HGDIOBJ Invalid() { return nullptr; }
  static bool IsValid(HGDIOBJ H) { return H != nullptr; }
  static void Close(HGDIOBJ H) { ::DeleteObject(H); }
};
struct TMemoryDCTraits {
  using THandleType = HDC;
  static HDC Invalid() { return nullptr; }
  static bool IsValid(HDC H) { return H != nullptr; }
  static void Close(HDC H) { ::DeleteDC(H); }
};
struct TIconTraits {
  using THandleType = HICON;
  static HICON Invalid() { return nullptr; }
  static bool IsValid(HICON H) { return H != nullptr; }
  static void Close(HICON H) { ::DestroyIcon(H); }
};
struct TCursorTraits {
  using THandleType = HCURSOR;
  static HCURSOR Invalid() { return nullptr; }
  static bool IsValid(HCURSOR H) { return H != nullptr; }
  static void Close(HCURSOR H) { ::DestroyCursor(H); }
};
struct TMenuTraits {
  using THandleType = HMENU;
  static HMENU Invalid() { return nullptr; }
  static bool IsValid(HMENU H) { return H != nullptr; }
  static void Close(HMENU H) { ::DestroyMenu(H); }
};
struct TRegionTraits : TGdiObjectTraits {};

// Kernel objects: events, semaphores, threads, processes, tokens, snapshots, files.
using TKernelHandle = TUniqueHandle<TKernelHandleTraits>;
using TRegKey = TUniqueHandle<TRegKeyTraits>;
using TGdiObject = TUniqueHandle<TGdiObjectTraits>;
using TMemoryDC = TUniqueHandle<TMemoryDCTraits>;
using TIconHandle = TUniqueHandle<TIconTraits>;
using TCursorHandle = TUniqueHandle<TCursorTraits>;
using TMenuHandle = TUniqueHandle<TMenuTraits>;

// A device context from GetDC or GetWindowDC, released with ReleaseDC.
class TWindowDC {
public:
  enum TKind { dcClient, dcWindow };
  explicit TWindowDC(HWND Window, TKind Kind = dcClient)
      : FWindow(Window), FDC(Kind == dcWindow ? ::GetWindowDC(Window) : ::GetDC(Window)) {}
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  ~TWindowDC() {
    if (FDC)
      ::ReleaseDC(FWindow, FDC);
  }
  HDC Get() const { return FDC; }
  explicit operator bool() const { return FDC != nullptr; }

private:
  HWND FWindow;
  HDC FDC;
};

// BeginPaint / EndPaint.
class TPaintDC {
public:
  explicit TPaintDC(HWND Window) : FWindow(Window) { FDC = ::BeginPaint(Window, &FPaint); }
  TPaintDC(const TPaintDC&) = delete;
  TPaintDC& operator=(const TPaintDC&) = delete;
  ~TPaintDC() { ::EndPaint(FWindow, &FPaint); }
  HDC Get() const { return FDC; }
  const PAINTSTRUCT& Info() const { return FPaint; }

private:
  HWND FWindow;
  PAINTSTRUCT FPaint{};
  HDC FDC;
};

// Selects an object into a device context and puts the previous one back.
class TSelectObject {
public:
  TSelectObject(HDC DC, HGDIOBJ Object)
      : FDC(DC), FOld(Object ? ::SelectObject(DC, Object) : nullptr) {}
  TSelectObject(const TSelectObject&) = delete;
  TSelectObject& operator=(const TSelectObject&) = delete;
  ~TSelectObject() {
    if (FOld)
      ::SelectObject(FDC, FOld);
  }

private:
  HDC FDC;
  HGDIOBJ FOld;
};

// Enters a critical section for the scope.
class TCriticalSectionLock {
public:
  explicit TCriticalSectionLock(CRITICAL_SECTION& Section) : FSection(Section) {
    ::EnterCriticalSection(&FSection);
  }
  TCriticalSectionLock(const TCriticalSectionLock&) = delete;
  TCriticalSectionLock& operator=(const TCriticalSectionLock&) = delete;
  ~TCriticalSectionLock() { ::LeaveCriticalSection(&FSection); }

private:
  CRITICAL_SECTION& FSection;
};

} // namespace wyndo
