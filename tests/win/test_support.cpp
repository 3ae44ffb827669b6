#include "tests/win/test_support.h"

#include "app/shell.h"
#include "ui/application.h"
#include "ui/handles.h"

#include <shellapi.h>

namespace wyndo::test {

bool WaitFor(const std::function<bool()>& Condition, DWORD TimeoutMs) {
  const DWORD Start = ::GetTickCount();
  for (;;) {
    Application.ProcessMessages();
    if (Condition())
      return true;
    if (TimeoutMs != INFINITE && ::GetTickCount() - Start >= TimeoutMs)
      return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

std::string MessageBoxText(HWND Box) {
  char Text[1024] = {};
  ::GetDlgItemTextA(Box, 0xFFFF, Text, sizeof(Text));
  return Text;
}

namespace {

struct TSearch {
  const std::string* Title;
  HWND Found = nullptr;
};

BOOL CALLBACK FindBox(HWND Window, LPARAM Data) {
  auto& Search = *reinterpret_cast<TSearch*>(Data);
  // Class and process first: reading a title sends a message to the window's thread, which
  // only a message box's thread is sure to answer while a test waits.
  char Class[32] = {};
  ::GetClassNameA(Window, Class, sizeof(Class));
  DWORD Process = 0;
  ::GetWindowThreadProcessId(Window, &Process);
  if (Process != ::GetCurrentProcessId() || std::string(Class) != "#32770" ||
      !::IsWindowVisible(Window))
    return TRUE;
  char Title[256] = {};
  ::GetWindowTextA(Window, Title, sizeof(Title));
  if (*Search.Title == Title) {
    Search.Found = Window;
    return FALSE;
  }
  return TRUE;
}

} // namespace

TMessageBoxWatcher::TMessageBoxWatcher(std::string Title, DWORD TimeoutMs)
    : FTitle(std::move(Title)) {
  FThread = std::thread([this, TimeoutMs] {
    const DWORD Start = ::GetTickCount();
    while (!FStop && ::GetTickCount() - Start < TimeoutMs) {
      TSearch Search{&FTitle};
      ::EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&Search));
      if (Search.Found) {
        TMessageBoxSeen Seen{FTitle, MessageBoxText(Search.Found), 0,
                             ::GetWindow(Search.Found, GW_OWNER),
                             ::GetWindowThreadProcessId(Search.Found, nullptr)};
        // The icon is a static control showing one of the system icons.
        for (UINT Icon : {MB_ICONHAND, MB_ICONEXCLAMATION, MB_ICONASTERISK, MB_ICONQUESTION}) {
          const LPCSTR Id = Icon == MB_ICONHAND          ? IDI_HAND
                            : Icon == MB_ICONEXCLAMATION ? IDI_EXCLAMATION
                            : Icon == MB_ICONASTERISK    ? IDI_ASTERISK
                                                         : IDI_QUESTION;
          // Windows numbers the icon control 0x14, Wine 1088.
          for (int IconId : {0x0014, 1088})
            if (HWND IconControl = ::GetDlgItem(Search.Found, IconId))
              if (reinterpret_cast<HICON>(::SendMessageA(IconControl, STM_GETICON, 0, 0)) ==
                  ::LoadIconA(nullptr, Id))
                Seen.Icon = Icon;
        }
        FSeen = Seen;
        FDone = true;
        // The first button of a box is OK (or Yes, Abort, Retry): click it.
        ::PostMessageA(Search.Found, WM_COMMAND, IDOK, 0);
        HWND First = ::FindWindowExA(Search.Found, nullptr, "Button", nullptr);
        if (First)
          ::PostMessageA(First, BM_CLICK, 0, 0);
        return;
      }
      ::Sleep(20);
    }
    FDone = true;
  });
}

TMessageBoxWatcher::~TMessageBoxWatcher() {
  FStop = true;
  if (FThread.joinable())
    FThread.join();
}

std::optional<TMessageBoxSeen> TMessageBoxWatcher::Result() {
  // The watch may need this thread's windows to answer: keep handling messages meanwhile.
  WaitFor([this] { return FDone.load(); }, INFINITE);
  if (FThread.joinable())
    FThread.join();
  return FSeen;
}

bool Topmost(HWND Window) {
  return (::GetWindowLongA(Window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

bool RegisteredAppBar(HWND Window) {
  APPBARDATA Data{};
  Data.cbSize = sizeof(Data);
  Data.hWnd = Window;
  Data.uCallbackMessage = WM_APPBARNOTIFY;
  if (!::SHAppBarMessage(ABM_NEW, &Data))
    return true;
  ::SHAppBarMessage(ABM_REMOVE, &Data);
  return false;
}

bool RunUnix(const std::string& Command) {
  // Wine starts a Unix program but gives no handle to wait on: the shell leaves a marker file
  // once the command has returned, and the marker is what is waited for.
  static std::atomic<int> Runs = 0;
  const std::string Name =
      "wyndo-test-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++Runs);
  const std::string Marker = "Z:\\tmp\\" + Name;
  std::string Line = "Z:\\bin\\sh -c \"" + Command + " && : > /tmp/" + Name + "\"";
  STARTUPINFOA Startup{};
  Startup.cb = sizeof(Startup);
  PROCESS_INFORMATION Started{};
  // The handles Wine returns for a Unix program are none (the process handle is 0, the thread
  // handle an uninitialised value, which may equal a live handle of ours): they are never closed.
  if (!::CreateProcessA(nullptr, Line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &Startup, &Started))
    return false;
  const bool Done = WaitFor(
      [&] { return ::GetFileAttributesA(Marker.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000);
  ::DeleteFileA(Marker.c_str());
  return Done;
}

bool Xdotool(const std::string& Arguments) {
  return RunUnix("/usr/bin/xdotool " + Arguments);
}

bool MoveCursorTo(POINT Point) {
  if (!Xdotool("mousemove " + std::to_string(Point.x) + " " + std::to_string(Point.y)))
    return false;
  return WaitFor([&] {
    const POINT Now = CursorPos();
    return Now.x == Point.x && Now.y == Point.y;
  });
}

std::vector<COLORREF> BitmapPixels(HDC DC, HBITMAP Bitmap, int Width, int Height) {
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof(Info.bmiHeader);
  Info.bmiHeader.biWidth = Width;
  Info.bmiHeader.biHeight = -Height;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  Info.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> Bits(static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height));
  ::GetDIBits(DC, Bitmap, 0, static_cast<UINT>(Height), Bits.data(), &Info, DIB_RGB_COLORS);
  std::vector<COLORREF> Pixels;
  Pixels.reserve(Bits.size());
  for (DWORD Bit : Bits)
    Pixels.push_back(RGB((Bit >> 16) & 0xFF, (Bit >> 8) & 0xFF, Bit & 0xFF));
  return Pixels;
}

TScreenShot::TScreenShot(const RECT& Area)
    : Left(Area.left), Top(Area.top), Width(Area.right - Area.left),
      Height(Area.bottom - Area.top) {
  TWindowDC Screen(nullptr);
  TMemoryDC Copy(::CreateCompatibleDC(Screen.Get()));
  TGdiObject Bitmap(::CreateCompatibleBitmap(Screen.Get(), Width, Height));
  {
    TSelectObject Select(Copy.Get(), Bitmap.Get());
    ::BitBlt(Copy.Get(), 0, 0, Width, Height, Screen.Get(), Left, Top, SRCCOPY);
  }
  Pixels = BitmapPixels(Copy.Get(), static_cast<HBITMAP>(Bitmap.Get()), Width, Height);
}

} // namespace wyndo::test
