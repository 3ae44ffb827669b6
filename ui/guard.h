#pragma once
// Guards for our entry points that Windows calls other than window procedures: an exception
// inside a window enumeration callback stops the enumeration and is raised again once the
// enumeration call has returned, so it never unwinds through Windows' own frames.

#include <windows.h>

#include <exception>
#include <utility>

namespace wyndo {

namespace guard_detail {
template <class TCallback>
struct TEnumGuard {
  TCallback& Callback;
  std::exception_ptr Failure;

  static BOOL CALLBACK Proc(HWND Window, LPARAM Data) {
    auto& Guard = *reinterpret_cast<TEnumGuard*>(Data);
    try {
      return Guard.Callback(Window) ? TRUE : FALSE;
    } catch (...) {
      Guard.Failure = std::current_exception();
      return FALSE;
    }
  }
  LPARAM Param() { return reinterpret_cast<LPARAM>(this); }
  void Rethrow() const {
    if (Failure)
      std::rethrow_exception(Failure);
  }
};
} // namespace guard_detail

// Callback(HWND) returns true to go on. Each runs the platform enumeration.
template <class TCallback>
void EnumWindowsGuarded(TCallback&& Callback) {
  guard_detail::TEnumGuard<std::remove_reference_t<TCallback>> Guard{Callback, nullptr};
  ::EnumWindows(&Guard.Proc, Guard.Param());
  Guard.Rethrow();
}

template <class TCallback>
void EnumChildWindowsGuarded(HWND Parent, TCallback&& Callback) {
  guard_detail::TEnumGuard<std::remove_reference_t<TCallback>> Guard{Callback, nullptr};
  ::EnumChildWindows(Parent, &Guard.Proc, Guard.Param());
  Guard.Rethrow();
}

template <class TCallback>
void EnumThreadWindowsGuarded(DWORD ThreadId, TCallback&& Callback) {
  guard_detail::TEnumGuard<std::remove_reference_t<TCallback>> Guard{Callback, nullptr};
  ::EnumThreadWindows(ThreadId, &Guard.Proc, Guard.Param());
  Guard.Rethrow();
}

// Reports failures that nothing caught (a crash, an exception escaping a thread) in a message
// box and ends the program. The program entry installs it; tests do not.
void InstallFailureReport();

} // namespace wyndo
