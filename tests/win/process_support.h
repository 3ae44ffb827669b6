#pragma once
// Starting wyndo.exe as its own process and watching it from outside.

#include "ui/handles.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace wyndo::test {

// The program next to the test programs in the build: build/<preset>/app/wyndo.exe.
std::string WyndoExe();

class TProgram {
public:
  // Starts Path with the given arguments; the process ends (if still running) with the object.
  explicit TProgram(const std::string& Arguments = "", std::string Path = WyndoExe());
  ~TProgram();
  TProgram(const TProgram&) = delete;
  TProgram& operator=(const TProgram&) = delete;

  DWORD Id() const { return FId; }
  // Waits for the process to end; its exit code, or nothing on time-out.
  std::optional<DWORD> WaitForExit(DWORD TimeoutMs = 15000);
  // Waits for a visible top-level window of the process with this class; 0 on time-out.
  HWND WaitForWindow(const char* ClassName = "TWyndoMainForm", DWORD TimeoutMs = 15000);
  // Waits for a message box of the process with this title; 0 on time-out.
  HWND WaitForMessageBox(const std::string& Title, DWORD TimeoutMs = 15000);

private:
  TKernelHandle FProcess;
  DWORD FId = 0;
};

// The top-level window of process Id with this class (and title, when given), or 0.
HWND FindProcessWindow(DWORD Id, const char* ClassName, const char* Title = nullptr);
// Every visible top-level window of process Id with this class.
std::vector<HWND> FindProcessWindows(DWORD Id, const char* ClassName);
// A window among Parent's descendants with this class (and text, when given), or 0. Works for
// another process's windows: the texts are read with WM_GETTEXT.
HWND FindChildWindow(HWND Parent, const char* ClassName, const char* Text = nullptr);
// Clicks the push button captioned Text among Parent's descendants as a user does (posted, so
// a button that ends the other process does not keep the caller waiting); false when there is
// none.
bool ClickButton(HWND Parent, const char* Text);

} // namespace wyndo::test
