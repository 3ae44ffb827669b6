#pragma once
// The end-to-end driver: wyndo.exe started as a process of its own and used from outside as a
// user does. Commands go in as the program's own menu command identifiers (app/commands.h) or
// as real mouse clicks and key presses; what comes out is read as a user would see it: windows
// and their captions, control texts, status bar panels, column captions and message boxes of the
// program's process, its exit code and the registry it leaves.
//
// Real input is made with xdotool inside the Wine virtual desktop, where its moves, clicks and
// keys arrive exactly as given. Every xdotool run is waited for (it leaves a marker file when it
// is done), and every action is then followed by a wait, with a time-out, for its visible effect.

#include "app/commands.h"
#include "tests/win/process_support.h"
#include "tests/win/test_support.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace wyndo::e2e {

using test::TProgram;

// ---------------------------------------------------------------------------------------------
// Real input

// The Unix shell and xdotool, each run waited for (tests/win/test_support.h).
using test::RunUnix;
using test::Xdotool;
// Saves what the display shows as a picture at a Unix path.
bool SaveScreen(const std::string& Path);
// Moves the cursor to a screen point, waiting until the system reports it there.
bool MoveTo(POINT Point);
// Moves to the point and clicks the left button there (twice for a double click).
bool ClickAt(POINT Point, int Clicks = 1);
// Clicks the middle of a window (a button, an edit, a check box).
bool ClickWindow(HWND Window);
// The window with the keyboard focus in the thread of Window (another process's too).
HWND FocusOf(HWND Window);
// Clicks into a control and waits until it has the keyboard focus.
bool ClickInto(HWND Control);
// Presses keys by their X names, for example "Home", "Down", "ctrl+a", "Return".
bool PressKeys(const std::string& Keys);
// Types text (letters, digits and plain punctuation, no quotes) into the focused control.
bool TypeText(const std::string& Text);

// ---------------------------------------------------------------------------------------------
// What the program shows

// What the display shows in an area, read from the X server. (The screen as Wine's own screen
// device context reads it can lag behind what other processes have drawn.)
struct TDisplayShot {
  explicit TDisplayShot(const RECT& Area);
  COLORREF At(int X, int Y) const {
    return Pixels[static_cast<std::size_t>(Y) * static_cast<std::size_t>(Width) +
                  static_cast<std::size_t>(X)];
  }
  bool operator==(const TDisplayShot& Other) const { return Pixels == Other.Pixels; }
  int Left, Top, Width, Height;
  std::vector<COLORREF> Pixels; // empty when the display could not be read
};

// A window's text read with WM_GETTEXT: works for controls of another process too.
std::string TextOf(HWND Window);
POINT CenterOf(HWND Window);
// A point given in the client coordinates of Window, on the screen.
POINT ClientPoint(HWND Window, int X, int Y);
// The descendants of Parent with this class, in the order of their enumeration.
std::vector<HWND> ChildWindows(HWND Parent, const char* ClassName);
// The edit fields of Parent from top to bottom (left to right on one row).
std::vector<HWND> EditsTopDown(HWND Parent);

// The panel texts of a form's status bar.
std::vector<std::string> StatusTexts(HWND Form);
// The column captions of a list window's header, by column index.
std::vector<std::string> HeaderCaptions(HWND Form);
// The middle of a header column, on the screen.
POINT HeaderColumnPoint(HWND Form, int Column);
// The middle of a tab of a tab control, on the screen.
POINT TabPoint(HWND Tabs, int Index);

// The middle of the tool button whose left edge lies Left pixels from the left of the form's
// tool bar (the bar at the form's client origin; its buttons are 39 by 38, two pixels down).
POINT ToolButtonPoint(HWND Form, int Left);

// ---------------------------------------------------------------------------------------------
// The program

// wyndo.exe with its main window up. Its child windows, dialogs and message boxes are found by
// class and title among the process's top-level windows.
class TWyndo {
public:
  // Starts the program and waits for its main window (with a settled settings key).
  explicit TWyndo(const std::string& Arguments = "");
  TProgram& Program() { return FProgram; }
  DWORD Id() const { return FProgram.Id(); }
  HWND Main() const { return FMain; }

  // Posts a menu command to the main window, as choosing it from the menu does.
  void Command(TMainCommand Command) const;
  // Waits for a visible top-level window of the program with this class and caption (any
  // caption when Title is null); 0 on time-out.
  HWND WaitForWindow(const char* ClassName, const char* Title = nullptr,
                     DWORD TimeoutMs = 10000) const;
  // Waits until the program has no visible top-level window of this class and caption.
  bool WaitForNoWindow(const char* ClassName, const char* Title = nullptr,
                       DWORD TimeoutMs = 10000) const;
  // The visible top-level windows of the program with this class.
  std::vector<HWND> Windows(const char* ClassName) const;
  // Waits for a message box of the program with this title; 0 on time-out.
  HWND WaitForMessageBox(const std::string& Title, DWORD TimeoutMs = 10000) const;
  // Waits for a list window to finish building: its status bar shows the counts.
  bool WaitForList(HWND List, DWORD TimeoutMs = 15000) const;
  // Runs the command that opens a list window and waits for the window and its first build;
  // the window, or 0.
  HWND OpenList(TMainCommand Command, const char* ClassName, const char* Title) const;
  // Closes the main window as a user does and waits for the program to end.
  std::optional<DWORD> Close();

private:
  TProgram FProgram;
  HWND FMain = nullptr;
};

// Closes a message box with its OK button, as a user does, and waits for it to go.
bool CloseMessageBox(HWND Box);

} // namespace wyndo::e2e
