#pragma once
// Helpers for tests that run under Wine: waiting for a condition with a time-out while the
// message loop runs, and watching for a message box of this process.

#include <windows.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace wyndo::test {

// Handles messages until Condition holds or Timeout passes; true when it held.
bool WaitFor(const std::function<bool()>& Condition, DWORD TimeoutMs = 5000);

struct TMessageBoxSeen {
  std::string Title;
  std::string Text;
  UINT Icon = 0; // the MB_ICON* the box was shown with, when it can be told
  HWND Owner = nullptr;
  DWORD Thread = 0; // the thread that showed it
};

// Watches, on a thread of its own, for a message box of this process with the given title,
// records its text and closes it with its first button. Result waits for the watch to end.
class TMessageBoxWatcher {
public:
  explicit TMessageBoxWatcher(std::string Title, DWORD TimeoutMs = 15000);
  ~TMessageBoxWatcher();
  TMessageBoxWatcher(const TMessageBoxWatcher&) = delete;
  TMessageBoxWatcher& operator=(const TMessageBoxWatcher&) = delete;
  std::optional<TMessageBoxSeen> Result();

private:
  std::string FTitle;
  std::optional<TMessageBoxSeen> FSeen;
  std::atomic<bool> FStop{false};
  std::atomic<bool> FDone{false};
  std::thread FThread;
};

// Reads the text of a standard message box (its static text control).
std::string MessageBoxText(HWND Box);

// Whether a top-level window (of any process) stays on top.
bool Topmost(HWND Window);
// Whether the window is a registered desktop toolbar: registering it again fails then. A
// registration made by asking is taken back at once.
bool RegisteredAppBar(HWND Window);

// Runs a command line with the Unix shell and waits until it has finished (handling this thread's
// messages meanwhile); false when it did not start or finish.
bool RunUnix(const std::string& Command);
// Runs xdotool with Arguments and waits until it has finished: real mouse and keyboard input in
// the virtual desktop, in the order given (two runs started at once can land in either order).
bool Xdotool(const std::string& Arguments);

// Moves the real cursor with xdotool and waits until the system reports it there.
bool MoveCursorTo(POINT Point);

// The pixels of a bitmap as COLORREF values, row by row from the top.
std::vector<COLORREF> BitmapPixels(HDC DC, HBITMAP Bitmap, int Width, int Height);

// What the screen shows in Area, copied in one go.
struct TScreenShot {
  explicit TScreenShot(const RECT& Area);
  // A pixel in the area's own coordinates.
  COLORREF At(int X, int Y) const {
    return Pixels[static_cast<std::size_t>(Y) * static_cast<std::size_t>(Width) +
                  static_cast<std::size_t>(X)];
  }
  int Left, Top, Width, Height;
  std::vector<COLORREF> Pixels;
};

inline POINT CursorPos() {
  POINT Point{};
  ::GetCursorPos(&Point);
  return Point;
}

} // namespace wyndo::test
