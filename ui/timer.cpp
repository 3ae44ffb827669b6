#include "ui/timer.h"

#include "core/errors.h"
#include "ui/application.h"

namespace wyndo {

namespace {

constexpr char TimerClassName[] = "TTimerWindow";
constexpr UINT_PTR TimerId = 1;

} // namespace

TTimer::TTimer() {
  static const bool Registered = [] {
    WNDCLASSEXA Class{};
    Class.cbSize = sizeof(Class);
    Class.lpfnWndProc = &TTimer::WndProc;
    Class.hInstance = ::GetModuleHandleA(nullptr);
    Class.lpszClassName = TimerClassName;
    return ::RegisterClassExA(&Class) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  if (!Registered)
    throw Exception("Cannot register the window class TTimerWindow");
  // A hidden pop-up rather than a message-only window, which Windows 98 and Me do not have.
  FWindow = ::CreateWindowExA(0, TimerClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              ::GetModuleHandleA(nullptr), this);
  if (!FWindow)
    throw Exception("Cannot create a timer");
}

TTimer::~TTimer() {
  ::KillTimer(FWindow, TimerId);
  ::SetWindowLongPtrA(FWindow, GWLP_USERDATA, 0);
  ::DestroyWindow(FWindow);
}

void TTimer::SetEnabled(bool Value) {
  if (FEnabled != Value) {
    FEnabled = Value;
    Update();
  }
}

void TTimer::SetInterval(UINT Value) {
  if (FInterval != Value) {
    FInterval = Value;
    Update();
  }
}

void TTimer::Update() {
  ::KillTimer(FWindow, TimerId);
  if (FEnabled && FInterval != 0)
    ::SetTimer(FWindow, TimerId, FInterval, nullptr);
}

LRESULT CALLBACK TTimer::WndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_NCCREATE) {
    const auto* Create = reinterpret_cast<const CREATESTRUCTA*>(LParam);
    ::SetWindowLongPtrA(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Create->lpCreateParams));
  } else if (Msg == WM_TIMER && WParam == TimerId) {
    auto* Timer = reinterpret_cast<TTimer*>(::GetWindowLongPtrA(Window, GWLP_USERDATA));
    if (Timer && Timer->FEnabled && Timer->OnTimer) {
      try {
        Timer->OnTimer(*Timer);
      } catch (...) {
        Application.HandleException(std::current_exception());
      }
    }
    return 0;
  }
  return ::DefWindowProcA(Window, Msg, WParam, LParam);
}

} // namespace wyndo
