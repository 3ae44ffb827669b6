#include "ui/application.h"

#include "core/errors.h"
#include "core/locale.h"
#include "ui/forms.h"
#include "ui/hintwindow.h"
#include "ui/menus.h"
#include "ui/winlocale.h"

#include <commctrl.h>

namespace wyndo {

TApplication Application;
TScreen Screen;

namespace {

constexpr UINT CM_ENTER = CM_BASE + 50; // the application window got the focus: pass it on
constexpr UINT_PTR HintShowTimer = 1;
constexpr UINT_PTR HintHideTimer = 2;

// Whether a control shows hints: its own ShowHint or a parent's.
bool ShowsHint(const TControl* Control) {
  for (; Control; Control = Control->Parent())
    if (Control->ShowHint)
      return true;
  return false;
}
constexpr char ApplicationClass[] = "TApplication";

} // namespace

TApplication::~TApplication() {
  FHintControl = nullptr;
  FHintWindow.reset();
  FMainForm.reset();
  if (FHandle)
    ::DestroyWindow(FHandle);
}

void TApplication::Initialize() {
  if (FHandle)
    return;
  InstallLocale(Win32UserLocale());
  INITCOMMONCONTROLSEX Controls{sizeof(Controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&Controls);
  WNDCLASSEXA Class{};
  Class.cbSize = sizeof(Class);
  Class.lpfnWndProc = &TApplication::WndProc;
  Class.hInstance = ::GetModuleHandleA(nullptr);
  Class.hIcon = Icon();
  Class.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  Class.lpszClassName = ApplicationClass;
  ::RegisterClassExA(&Class);
  // A window without size in the middle of the screen: its only visible part is the task-bar
  // button, and it owns every form.
  HWND Window =
      ::CreateWindowExA(0, ApplicationClass, FTitle.c_str(),
                        WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                        ::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 0,
                        0, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  if (!Window) {
    FHandle = nullptr;
    throw Exception("Cannot create the application window");
  }
  FHandle = Window;
}

void TApplication::SetTitle(std::string_view Title) {
  FTitle = Title;
  if (FHandle)
    ::SetWindowTextA(FHandle, FTitle.c_str());
}

HICON TApplication::Icon() const {
  static HICON Icon = ::LoadIconA(::GetModuleHandleA(nullptr), "MAINICON");
  return Icon ? Icon : ::LoadIconA(nullptr, IDI_APPLICATION);
}

void TApplication::SetMainForm(std::unique_ptr<TForm, TFormDeleter> Form) {
  FMainForm = std::move(Form);
}

void TApplication::Run() {
  FTerminated = false;
  // The task-bar button comes with the main form. A main form shown before has settled the
  // button in its own show handler already: showing it here would overrule that.
  if (FMainForm && !FMainForm->Visible()) {
    ::SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    FMainForm->Show();
  }
  while (!FTerminated)
    HandleMessage();
  FMainForm.reset();
}

bool TApplication::ProcessMessage(MSG& Message) {
  if (!::PeekMessageA(&Message, nullptr, 0, 0, PM_REMOVE))
    return false;
  if (Message.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  switch (Message.message) {
  case WM_MOUSEMOVE:
    HintMouseMessage(Message);
    break;
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN:
  case WM_KEYDOWN:
  case WM_SYSKEYDOWN:
  case WM_MOUSEWHEEL:
    CancelHint();
    break;
  default:
    break;
  }
  if (!IsDialogKey(Message)) {
    ::TranslateMessage(&Message);
    ::DispatchMessageA(&Message);
  }
  return true;
}

bool TApplication::IsDialogKey(const MSG& Message) {
  if (Message.message != WM_KEYDOWN && Message.message != WM_SYSKEYDOWN)
    return false;
  // The target may be a window inside one of our controls (the edit of a combo box).
  for (HWND Window = Message.hwnd; Window; Window = ::GetParent(Window))
    if (TWinControl* Control = TWinControl::FromHandle(Window)) {
      TForm* Form = Control->ParentForm();
      if (!Form || !Form->Enabled())
        return false;
      if (Form->Menu() && MenuShortCutKey(*Form->Menu(), Message))
        return true;
      return Message.message == WM_KEYDOWN && Form->DialogKey(Message);
    }
  return false;
}

void TApplication::HintMouseMessage(const MSG& Message) {
  TWinControl* Window = nullptr;
  for (HWND Each = Message.hwnd; Each && !Window; Each = ::GetParent(Each))
    Window = TWinControl::FromHandle(Each);
  if (!Window)
    return;
  POINT Point{static_cast<short>(LOWORD(Message.lParam)),
              static_cast<short>(HIWORD(Message.lParam))};
  ::MapWindowPoints(Message.hwnd, Window->WindowHandle(), &Point, 1);
  TControl* Control = Window->ControlAtPos(Point);
  if (!Control)
    Control = Window;
  if (Control == FHintControl)
    return;
  CancelHint();
  FHintControl = Control;
  if (!Control->Hint().empty() && ShowsHint(Control))
    ::SetTimer(FHandle, HintShowTimer, HintPause, nullptr);
}

void TApplication::ShowHintNow() {
  ::KillTimer(FHandle, HintShowTimer);
  if (!FHintControl)
    return;
  if (!FHintWindow)
    FHintWindow = std::make_unique<THintWindow>();
  POINT Cursor{};
  ::GetCursorPos(&Cursor);
  const std::string Hint = FHintControl->Hint();
  RECT Area = FHintWindow->CalcHintRect(Screen.Width() / 3, Hint);
  ::OffsetRect(&Area, Cursor.x, Cursor.y + 20);
  FHintWindow->ActivateHint(Area, Hint);
  ::SetTimer(FHandle, HintHideTimer, HintHidePause, nullptr);
}

void TApplication::CancelHint() {
  if (FHandle) {
    ::KillTimer(FHandle, HintShowTimer);
    ::KillTimer(FHandle, HintHideTimer);
  }
  if (FHintWindow)
    FHintWindow->ReleaseHandle();
}

void TApplication::ControlDestroyed(TControl* Control) {
  if (FHintControl == Control) {
    CancelHint();
    FHintControl = nullptr;
  }
}

void TApplication::HandleMessage() {
  MSG Message;
  if (!ProcessMessage(Message))
    ::WaitMessage();
}

void TApplication::ProcessMessages() {
  MSG Message;
  while (ProcessMessage(Message)) {
  }
}

void TApplication::Terminate() {
  ::PostQuitMessage(0);
}

void TApplication::Minimize() {
  if (!FHandle || ::IsIconic(FHandle))
    return;
  ::ShowWindow(FHandle, SW_MINIMIZE);
  // Windows hides the forms with their minimised owner; Wine does not, and this call does what
  // Windows does (and nothing where it has been done).
  ::ShowOwnedPopups(FHandle, FALSE);
  if (OnMinimize)
    OnMinimize(*this);
}

void TApplication::Restore() {
  if (!FHandle || !::IsIconic(FHandle))
    return;
  ::ShowWindow(FHandle, SW_RESTORE);
  ::ShowOwnedPopups(FHandle, TRUE);
  if (OnRestore)
    OnRestore(*this);
  ActivateLastForm();
}

void TApplication::ActivateLastForm() {
  TForm* Form = Screen.ActiveForm();
  if (!Form || !Form->HandleAllocated() || !::IsWindowVisible(Form->Handle()))
    Form = FMainForm.get();
  if (Form && Form->HandleAllocated() && ::IsWindowVisible(Form->Handle()) &&
      ::IsWindowEnabled(Form->Handle()))
    ::SetFocus(Form->Handle());
}

int TApplication::MessageBox(std::string_view Text, std::string_view Caption, UINT Flags) {
  const std::string TextZ(Text), CaptionZ(Caption);
  return ::MessageBoxA(FHandle, TextZ.c_str(), CaptionZ.c_str(), Flags);
}

std::string TApplication::ExceptionMessage(std::exception_ptr Failure) {
  try {
    std::rethrow_exception(Failure);
  } catch (const std::exception& Error) {
    return Error.what();
  } catch (...) {
    return "Unknown error";
  }
}

void TApplication::HandleException(std::exception_ptr Failure) {
  const std::string Message = ExceptionMessage(Failure);
  if (OnException) {
    OnException(Message);
    return;
  }
  // A failure that repeats while its report is on screen (in a paint handler, say) would open
  // one box per repaint; the first report stands for them.
  if (FShowingError)
    return;
  ++FShowingError;
  MessageBox(Message, FTitle.empty() ? "Error" : FTitle, MB_OK | MB_ICONSTOP);
  --FShowingError;
}

LRESULT CALLBACK TApplication::WndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  // The first messages arrive inside CreateWindowExA, before it has returned the handle.
  if (!Application.FHandle)
    Application.FHandle = Window;
  if (Window != Application.FHandle)
    return ::DefWindowProcA(Window, Msg, WParam, LParam);
  try {
    return Application.WindowMessage(Msg, WParam, LParam);
  } catch (...) {
    Application.HandleException(std::current_exception());
    return 0;
  }
}

LRESULT TApplication::WindowMessage(UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
  case WM_SYSCOMMAND:
    switch (WParam & 0xFFF0) {
    case SC_MINIMIZE:
      Minimize();
      return 0;
    case SC_RESTORE:
      Restore();
      return 0;
    default:
      break;
    }
    break;
  case WM_CLOSE:
    if (FMainForm)
      FMainForm->Close();
    return 0;
  case WM_SETFOCUS:
    ::PostMessageA(FHandle, CM_ENTER, 0, 0);
    break;
  case CM_ENTER:
    if (!::IsIconic(FHandle) && ::GetFocus() == FHandle)
      ActivateLastForm();
    return 0;
  case WM_TIMER:
    if (WParam == HintShowTimer)
      ShowHintNow();
    else if (WParam == HintHideTimer)
      CancelHint();
    return 0;
  case WM_ACTIVATEAPP:
    if (!WParam)
      CancelHint();
    break;
  case WM_QUERYENDSESSION:
    return TRUE;
  case WM_ENDSESSION:
    if (WParam && !FSessionEnded) {
      FSessionEnded = true;
      if (OnEndSession)
        OnEndSession(*this);
      Terminate();
    }
    return 0;
  default:
    break;
  }
  return ::DefWindowProcA(FHandle, Msg, WParam, LParam);
}

// ---------------------------------------------------------------------------------------------
// TScreen

TScreen::~TScreen() {
  for (auto& [Id, Cursor] : FCursors)
    ::DestroyCursor(Cursor);
}

HCURSOR TScreen::CursorHandle(TCursorId Id) const {
  if (auto It = FCursors.find(Id); It != FCursors.end())
    return It->second;
  LPCSTR System = IDC_ARROW;
  switch (Id) {
  case crCross:
    System = IDC_CROSS;
    break;
  case crIBeam:
    System = IDC_IBEAM;
    break;
  case crHourGlass:
    System = IDC_WAIT;
    break;
  case crHandPoint:
    System = IDC_HAND;
    break;
  default:
    break;
  }
  return ::LoadCursorA(nullptr, System);
}

void TScreen::SetCursorImage(TCursorId Id, HCURSOR Cursor) {
  if (auto It = FCursors.find(Id); It != FCursors.end()) {
    ::DestroyCursor(It->second);
    FCursors.erase(It);
  }
  if (Cursor)
    FCursors[Id] = Cursor;
}

void TScreen::SetCursor(TCursorId Id) {
  FCursor = Id;
  if (Id == crDefault) {
    // Let the window under the pointer choose its cursor again.
    POINT Point;
    ::GetCursorPos(&Point);
    HWND Window = ::WindowFromPoint(Point);
    if (Window && ::GetWindowThreadProcessId(Window, nullptr) == ::GetCurrentThreadId()) {
      const auto Hit = ::SendMessageA(Window, WM_NCHITTEST, 0, MAKELPARAM(Point.x, Point.y));
      ::SendMessageA(Window, WM_SETCURSOR, reinterpret_cast<WPARAM>(Window),
                     MAKELPARAM(Hit, WM_MOUSEMOVE));
      return;
    }
  }
  ::SetCursor(CursorHandle(Id));
}

RECT TScreen::WorkArea() const {
  RECT Area{0, 0, Width(), Height()};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &Area, 0);
  return Area;
}

} // namespace wyndo
