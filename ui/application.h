#pragma once
// The application object and the screen.
//
// The application owns an invisible application window. It carries the program's task-bar button
// (hiding it removes the button) and owns every form's window, so minimising it hides all forms
// and restoring it brings them back. Minimising the main form minimises the application window.

#include "ui/controls.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace wyndo {

class TForm;
class THintWindow;
struct TFormDeleter {
  void operator()(TForm* Form) const;
};

class TApplication : public TObject {
public:
  TApplication() = default;
  ~TApplication() override;

  // Creates the application window (once); also installs the user-locale functions and the
  // report of unhandled failures.
  void Initialize();
  HWND Handle() const { return FHandle; }

  const std::string& Title() const { return FTitle; }
  void SetTitle(std::string_view Title);
  // The program icon (resource "MAINICON").
  HICON Icon() const;

  TForm* MainForm() const { return FMainForm.get(); }
  // Makes Form the main form; the application frees it after the message loop has ended.
  void SetMainForm(std::unique_ptr<TForm, TFormDeleter> Form);

  // Shows the main form with the application window (unless the main form is visible already)
  // and runs the message loop until Terminate; then frees the main form.
  void Run();
  // Handles every pending message, then returns.
  void ProcessMessages();
  // Waits for one message and handles it (the modal loops use this).
  void HandleMessage();
  void Terminate();
  bool Terminated() const { return FTerminated; }

  // The session ends (WM_ENDSESSION): the system may end the process as soon as the message has
  // been handled, so whatever must outlive the program is done in this event. Raised once; the
  // message loop ends afterwards if the process is still there.
  TNotifyEvent OnEndSession;

  // Minimising and restoring the whole program, with events after each.
  void Minimize();
  void Restore();
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;

  // A message box owned by the application window.
  int MessageBox(std::string_view Text, std::string_view Caption, UINT Flags);

  // The one place failures of our entry points (window procedures, callbacks) end up: shows a
  // message box with the failure's text, or hands the text to OnException when assigned.
  void HandleException(std::exception_ptr Failure);
  std::function<void(const std::string& Message)> OnException;
  // The text of a failure, as HandleException shows it.
  static std::string ExceptionMessage(std::exception_ptr Failure);

  // Hints: a control whose ShowHint is on (its own or a parent's) shows its Hint in the hint
  // window HintPause ms after the pointer came to rest on it, for HintHidePause ms.
  TColor HintColor = clInfoBk;
  UINT HintPause = 500;
  UINT HintHidePause = 2500;
  // Hides the hint; it shows again only once the pointer has moved to another control.
  void CancelHint();
  // The control whose hint is tracked, or nullptr.
  TControl* HintControl() const { return FHintControl; }
  THintWindow* HintWindow() const { return FHintWindow.get(); }
  // Called by every control as it goes, so no hint outlives its control.
  void ControlDestroyed(TControl* Control);

private:
  static LRESULT CALLBACK WndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
  LRESULT WindowMessage(UINT Msg, WPARAM WParam, LPARAM LParam);
  bool ProcessMessage(MSG& Message);
  bool IsDialogKey(const MSG& Message);
  void ActivateLastForm();
  void HintMouseMessage(const MSG& Message);
  void ShowHintNow();

  HWND FHandle = nullptr;
  std::string FTitle;
  std::unique_ptr<TForm, TFormDeleter> FMainForm;
  bool FTerminated = false;
  bool FSessionEnded = false;
  int FShowingError = 0;
  TControl* FHintControl = nullptr;
  std::unique_ptr<THintWindow> FHintWindow;
};

extern TApplication Application;

class TScreen {
public:
  ~TScreen();

  // The application-wide cursor: anything but crDefault overrides every control's cursor.
  TCursorId Cursor() const { return FCursor; }
  void SetCursor(TCursorId Id);
  HCURSOR CursorHandle(TCursorId Id) const;
  // Puts a cursor of ours into the table (the screen owns and destroys it); 0 removes it.
  void SetCursorImage(TCursorId Id, HCURSOR Cursor);

  // Every form that exists, in creation order.
  const std::vector<TForm*>& Forms() const { return FForms; }
  // The form that was active last.
  TForm* ActiveForm() const { return FActiveForm; }

  int Width() const { return ::GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return ::GetSystemMetrics(SM_CYSCREEN); }
  RECT WorkArea() const;

private:
  friend class TForm;
  TCursorId FCursor = crDefault;
  std::map<TCursorId, HCURSOR> FCursors;
  std::vector<TForm*> FForms;
  TForm* FActiveForm = nullptr;
};

extern TScreen Screen;

} // namespace wyndo
