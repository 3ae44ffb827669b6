#include "ui/forms.h"

#include "core/errors.h"
#include "ui/guard.h"
#include "ui/menus.h"
#include "ui/stdctrls.h"

#include <algorithm>
#include <climits>

namespace wyndo {

void TFormDeleter::operator()(TForm* Form) const {
  if (Form)
    Form->Free();
}

TForm::TForm() {
  SetVisible(false);
  Screen.FForms.push_back(this);
}

TForm::~TForm() {
  if (!FDestroying)
    DestroyHandle();
  std::erase(Screen.FForms, this);
  if (Screen.FActiveForm == this)
    Screen.FActiveForm = nullptr;
  // Children before their parents: the reverse of the order they were made in.
  FActiveControl = nullptr;
  while (!FComponents.empty())
    FComponents.pop_back();
}

void TForm::AfterConstruction() {
  if (OnCreate)
    OnCreate(*this);
}

void TForm::BeforeDestruction() {
  if (FDestroying)
    return;
  FDestroying = true;
  if (OnDestroy)
    OnDestroy(*this);
  DestroyHandle();
  // Gone for the program, even while the object waits for its handlers to return.
  std::erase(Screen.FForms, this);
  if (Screen.FActiveForm == this)
    Screen.FActiveForm = nullptr;
}

void TForm::Free() {
  BeforeDestruction();
  // The window has gone; the object waits for any of its handlers still running to return.
  DeleteAfterHandlers(this);
}

void TForm::Release() {
  ::PostMessageA(Handle(), CM_RELEASE, 0, 0);
}

void TForm::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.WinClassName = WindowClassName();
  Params.ClassIcon = Application.Icon();
  Params.Menu = FMenu ? FMenu->Handle() : nullptr;
  Params.Style = WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  Params.ExStyle = 0;
  if (!Enabled())
    Params.Style |= WS_DISABLED;
  const bool Tool =
      FBorderStyle == TBorderStyle::bsToolWindow || FBorderStyle == TBorderStyle::bsSizeToolWin;
  switch (FBorderStyle) {
  case TBorderStyle::bsNone:
    Params.Style |= WS_POPUP;
    break;
  case TBorderStyle::bsSingle:
  case TBorderStyle::bsToolWindow:
    Params.Style |= WS_CAPTION | WS_BORDER;
    break;
  case TBorderStyle::bsSizeable:
  case TBorderStyle::bsSizeToolWin:
    Params.Style |= WS_CAPTION | WS_THICKFRAME;
    break;
  case TBorderStyle::bsDialog:
    Params.Style |= WS_POPUP | WS_CAPTION;
    Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
    break;
  }
  if (Tool)
    Params.ExStyle |= WS_EX_TOOLWINDOW;
  if (FBorderStyle != TBorderStyle::bsNone) {
    if (FBorderIcons & biSystemMenu)
      Params.Style |= WS_SYSMENU;
    const bool MinMaxAllowed = FBorderStyle != TBorderStyle::bsDialog && !Tool;
    if (MinMaxAllowed && (FBorderIcons & biMinimize))
      Params.Style |= WS_MINIMIZEBOX;
    if (MinMaxAllowed && (FBorderIcons & biMaximize))
      Params.Style |= WS_MAXIMIZEBOX;
    if ((FBorderIcons & biHelp) && !(Params.Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
      Params.ExStyle |= WS_EX_CONTEXTHELP;
  }
  if (FFormStyle == TFormStyle::fsStayOnTop)
    Params.ExStyle |= WS_EX_TOPMOST;
  Params.WndParent = OwnedByApplication ? Application.Handle() : nullptr;
  if (FDesignClient.Width || FDesignClient.Height) {
    RECT Frame{0, 0, FDesignClient.Width, FDesignClient.Height};
    ::AdjustWindowRectEx(&Frame, Params.Style, FALSE, Params.ExStyle);
    Params.Width = Frame.right - Frame.left;
    Params.Height = Frame.bottom - Frame.top;
  }
  switch (Position) {
  case TPosition::poDefault:
    Params.Width = Params.Height = CW_USEDEFAULT;
    [[fallthrough]];
  case TPosition::poDefaultPosOnly:
    Params.X = Params.Y = CW_USEDEFAULT;
    break;
  case TPosition::poScreenCenter:
    Params.X = (Screen.Width() - Params.Width) / 2;
    Params.Y = (Screen.Height() - Params.Height) / 2;
    break;
  case TPosition::poDesigned:
    break;
  }
}

void TForm::HandleCreated() {
  ApplyIcon();
  if (FMenu)
    FMenu->SetWindow(WindowHandle());
  TWinControl::HandleCreated();
}

void TForm::ApplyIcon() {
  if (HandleAllocated())
    ::SendMessageA(Handle(), WM_SETICON, ICON_BIG,
                   reinterpret_cast<LPARAM>(FIcon ? FIcon : Application.Icon()));
}

void TForm::SetIcon(HICON Icon) {
  FIcon = Icon;
  ApplyIcon();
}

void TForm::ApplyFrameStyle() {
  if (!HandleAllocated())
    return;
  TCreateParams Params;
  CreateParams(Params);
  const DWORD Kept =
      ::GetWindowLongA(Handle(), GWL_STYLE) & (WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
  ::SetWindowLongA(Handle(), GWL_STYLE, static_cast<LONG>(Params.Style | Kept));
  ::SetWindowLongA(Handle(), GWL_EXSTYLE,
                   static_cast<LONG>(Params.ExStyle & ~static_cast<DWORD>(WS_EX_TOPMOST)));
  ::SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TForm::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle != Value) {
    FBorderStyle = Value;
    ApplyFrameStyle();
  }
}

void TForm::SetBorderIcons(TBorderIcons Value) {
  if (FBorderIcons != Value) {
    FBorderIcons = Value;
    ApplyFrameStyle();
  }
}

void TForm::SetFormStyle(TFormStyle Value) {
  FFormStyle = Value;
  if (HandleAllocated())
    ::SetWindowPos(Handle(), Value == TFormStyle::fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0,
                   0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TWindowState TForm::WindowState() const {
  if (HWND Window = WindowHandle()) {
    if (::IsIconic(Window))
      return TWindowState::wsMinimized;
    if (::IsZoomed(Window))
      return TWindowState::wsMaximized;
    return TWindowState::wsNormal;
  }
  return FWindowState;
}

void TForm::SetWindowState(TWindowState Value) {
  FWindowState = Value;
  if (HandleAllocated() && Visible()) {
    static constexpr int Commands[] = {SW_RESTORE, SW_MINIMIZE, SW_MAXIMIZE};
    ::ShowWindow(Handle(), Commands[static_cast<int>(Value)]);
  }
}

void TForm::VisibleChanged() {
  if (FMarkingVisible || (!HandleAllocated() && !Visible()))
    return;
  HWND Window = Handle();
  if (Visible()) {
    if (OnShow)
      OnShow(*this);
    static constexpr int Commands[] = {SW_SHOW, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
    ::ShowWindow(Window, Commands[static_cast<int>(FWindowState)]);
  } else {
    if (OnHide)
      OnHide(*this);
    ::ShowWindow(Window, SW_HIDE);
  }
}

void TForm::MarkVisible(bool Value) {
  FMarkingVisible = true;
  SetVisible(Value);
  FMarkingVisible = false;
}

void TForm::BringToFront() {
  Show();
  HWND Window = Handle();
  if (::IsIconic(Window))
    ::ShowWindow(Window, SW_RESTORE);
  ::BringWindowToTop(Window);
}

bool TForm::CloseQuery() {
  bool CanClose = true;
  if (OnCloseQuery)
    OnCloseQuery(*this, CanClose);
  return CanClose;
}

void TForm::DoClose(TCloseAction& Action) {
  if (OnClose)
    OnClose(*this, Action);
}

void TForm::Close() {
  if (FModal) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery())
    return;
  TCloseAction Action = TCloseAction::caHide;
  DoClose(Action);
  if (Action == TCloseAction::caNone)
    return;
  if (Application.MainForm() == this)
    Application.Terminate();
  else if (Action == TCloseAction::caHide)
    Hide();
  else if (Action == TCloseAction::caMinimize)
    SetWindowState(TWindowState::wsMinimized);
  else
    Release();
}

TModalResult TForm::ShowModal() {
  if (Visible() || !Enabled() || FModal)
    throw Exception("Cannot make a visible window modal");
  if (HWND Captured = ::GetCapture())
    ::SendMessageA(Captured, WM_CANCELMODE, 0, 0);
  ::ReleaseCapture();
  FModal = true;
  HWND PreviouslyActive = ::GetActiveWindow();
  const TCursorId SavedCursor = Screen.Cursor();
  Screen.SetCursor(crDefault);
  // Every other enabled, visible window of this thread is disabled while the form is modal.
  HWND Self = Handle();
  std::vector<HWND> Disabled;
  EnumThreadWindowsGuarded(::GetCurrentThreadId(), [&](HWND Window) {
    if (Window != Self && ::IsWindowVisible(Window) && ::IsWindowEnabled(Window)) {
      ::EnableWindow(Window, FALSE);
      Disabled.push_back(Window);
    }
    return true;
  });
  TModalResult Result = mrCancel;
  try {
    Show();
    ::SetForegroundWindow(Handle());
    FModalResult = mrNone;
    do {
      Application.HandleMessage();
      if (Application.Terminated()) {
        FModalResult = mrCancel;
      } else if (FModalResult != mrNone) {
        // A modal form may still refuse to close, or change its mind in OnClose.
        TCloseAction Action = TCloseAction::caNone;
        if (CloseQuery()) {
          Action = TCloseAction::caHide;
          DoClose(Action);
        }
        if (Action == TCloseAction::caNone)
          FModalResult = mrNone;
      }
    } while (FModalResult == mrNone);
    Result = FModalResult;
  } catch (...) {
    for (HWND Window : Disabled)
      ::EnableWindow(Window, TRUE);
    FModal = false;
    Screen.SetCursor(SavedCursor);
    throw;
  }
  for (HWND Window : Disabled)
    if (::IsWindow(Window))
      ::EnableWindow(Window, TRUE);
  Hide();
  if (PreviouslyActive && ::IsWindow(PreviouslyActive))
    ::SetActiveWindow(PreviouslyActive);
  FModal = false;
  Screen.SetCursor(SavedCursor);
  return Result;
}

void TForm::CentreOver(HWND Window) {
  RECT Over{};
  ::GetWindowRect(Window, &Over);
  MONITORINFO Monitor{};
  Monitor.cbSize = sizeof(Monitor);
  RECT Work = Screen.WorkArea();
  if (::GetMonitorInfoA(::MonitorFromWindow(Window, MONITOR_DEFAULTTONEAREST), &Monitor))
    Work = Monitor.rcWork;
  HandleNeeded(); // the window's size includes its frame
  const TBounds Placed = CentredOver(
      {Over.left, Over.top, Over.right - Over.left, Over.bottom - Over.top}, {Width(), Height()},
      {Work.left, Work.top, Work.right - Work.left, Work.bottom - Work.top});
  SetBounds(Placed.Left, Placed.Top, Placed.Width, Placed.Height);
}

void TForm::ForgetControl(const TWinControl* Control) {
  for (TForm* Form : Screen.FForms)
    if (Form->FActiveControl == Control)
      Form->FActiveControl = nullptr;
}

void TForm::SetActiveControl(TWinControl* Control) {
  FActiveControl = Control;
  if (Control && HandleAllocated() && ::GetActiveWindow() == Handle() && Control->CanFocus())
    Control->SetFocus();
}

std::vector<TWinControl*> TForm::TabList() const {
  std::vector<TWinControl*> List;
  auto Walk = [&List](const TWinControl& Parent, auto&& Self) -> void {
    std::vector<TWinControl*> Children;
    for (TControl* Control : Parent.Controls())
      if (auto* Windowed = dynamic_cast<TWinControl*>(Control))
        Children.push_back(Windowed);
    std::stable_sort(Children.begin(), Children.end(), [](TWinControl* A, TWinControl* B) {
      return (A->TabOrder < 0 ? INT_MAX : A->TabOrder) < (B->TabOrder < 0 ? INT_MAX : B->TabOrder);
    });
    for (TWinControl* Child : Children) {
      if (!Child->Visible() || !Child->Enabled())
        continue;
      if (Child->TabStop)
        List.push_back(Child);
      Self(*Child, Self);
    }
  };
  Walk(*this, Walk);
  return List;
}

void TForm::SelectNext(bool Forward) {
  const std::vector<TWinControl*> List = TabList();
  if (List.empty())
    return;
  HWND Focus = ::GetFocus();
  std::ptrdiff_t Current = -1;
  for (std::size_t I = 0; I < List.size(); ++I)
    if (List[I]->HandleAllocated() &&
        (List[I]->WindowHandle() == Focus || ::IsChild(List[I]->WindowHandle(), Focus)))
      Current = static_cast<std::ptrdiff_t>(I);
  const auto Count = static_cast<std::ptrdiff_t>(List.size());
  std::ptrdiff_t Next =
      Current < 0 ? (Forward ? 0 : Count - 1) : (Current + (Forward ? 1 : Count - 1)) % Count;
  List[static_cast<std::size_t>(Next)]->SetFocus();
}

void TForm::FocusFirst() {
  if (FActiveControl && FActiveControl->HandleAllocated() && FActiveControl->CanFocus()) {
    FActiveControl->SetFocus();
    return;
  }
  const std::vector<TWinControl*> List = TabList();
  if (!List.empty())
    List.front()->SetFocus();
  else
    ::SetFocus(Handle());
}

namespace {

// The first visible, enabled button below Parent (depth first) whose flag Member is set.
TButton* FindButton(const TWinControl& Parent, bool TButton::*Member) {
  for (TControl* Control : Parent.Controls()) {
    if (auto* Button = dynamic_cast<TButton*>(Control);
        Button && Button->*Member && Button->Visible() && Button->Enabled())
      return Button;
    if (auto* Windowed = dynamic_cast<TWinControl*>(Control))
      if (TButton* Found = FindButton(*Windowed, Member))
        return Found;
  }
  return nullptr;
}

} // namespace

TButton* TForm::DefaultButton() const {
  return FindButton(*this, &TButton::Default);
}

TButton* TForm::CancelButton() const {
  return FindButton(*this, &TButton::Cancel);
}

bool TForm::DialogKey(const MSG& Message) {
  const WORD Key = static_cast<WORD>(Message.wParam);
  if (Key != VK_TAB && Key != VK_RETURN && Key != VK_ESCAPE)
    return false;
  const TShiftState Shift = KeyboardShiftState();
  if (Shift & (ssAlt | ssCtrl))
    return false;
  HWND Focus = ::GetFocus();
  const auto Code =
      Focus ? ::SendMessageA(Focus, WM_GETDLGCODE, Key, reinterpret_cast<LPARAM>(&Message)) : 0;
  if (Code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE))
    return false;
  switch (Key) {
  case VK_TAB:
    if (Code & DLGC_WANTTAB)
      return false;
    SelectNext(!(Shift & ssShift));
    return true;
  case VK_RETURN: {
    // A focused button is the default button while it has the focus.
    auto* Focused = dynamic_cast<TButton*>(TWinControl::FromHandle(Focus));
    TButton* Button = Focused ? Focused : DefaultButton();
    if (!Button)
      return false;
    Button->Click();
    return true;
  }
  default: {
    TButton* Button = CancelButton();
    if (!Button)
      return false;
    Button->Click();
    return true;
  }
  }
}

void TForm::SetMenu(TMainMenu* Menu) {
  if (FMenu == Menu)
    return;
  if (FMenu)
    FMenu->SetWindow(nullptr);
  if (HandleAllocated())
    ::SetMenu(WindowHandle(), nullptr);
  FMenu = Menu;
  if (FMenu && HandleAllocated())
    FMenu->SetWindow(WindowHandle());
}

void TForm::WndProc(TMessage& Message) {
  if (DispatchMenuMessage(Message))
    return;
  switch (Message.Msg) {
  case WM_DESTROY:
    // The menu bar belongs to its TMainMenu, not to the window that goes.
    if (FMenu) {
      FMenu->SetWindow(nullptr);
      ::SetMenu(WindowHandle(), nullptr);
    }
    break;
  case WM_CLOSE:
    Close();
    return;
  case CM_RELEASE:
    Free();
    return;
  case WM_ACTIVATE:
    if (LOWORD(Message.WParam) != WA_INACTIVE) {
      Screen.FActiveForm = this;
      if (OnActivate)
        OnActivate(*this);
      if (!HIWORD(Message.WParam)) {
        FocusFirst();
        return;
      }
    } else if (OnDeactivate) {
      OnDeactivate(*this);
    }
    break;
  case WM_SETFOCUS:
    if (FActiveControl && FActiveControl != this && FActiveControl->HandleAllocated() &&
        FActiveControl->CanFocus()) {
      FActiveControl->SetFocus();
      return;
    }
    break;
  case WM_SHOWWINDOW:
    // Somebody called ShowWindow directly: keep Visible true to the window. A form hidden or
    // shown with its owner (lParam set) stays Visible, also through the ShowWindow call with
    // which the default handling carries that out.
    if (Message.LParam != 0) {
      FFollowingOwner = true;
      TWinControl::WndProc(Message);
      FFollowingOwner = false;
      return;
    }
    if (!FMarkingVisible && !FFollowingOwner)
      MarkVisible(Message.WParam != 0);
    break;
  case WM_WINDOWPOSCHANGED:
    // A window shown without WM_SHOWWINDOW (Wine restoring a hidden minimised window) is
    // visible all the same.
    if ((reinterpret_cast<WINDOWPOS*>(Message.LParam)->flags & SWP_SHOWWINDOW) &&
        !FMarkingVisible && !FFollowingOwner)
      MarkVisible(true);
    break;
  case WM_SYSCOMMAND:
    if ((Message.WParam & 0xFFF0) == SC_MINIMIZE && Application.MainForm() == this) {
      Application.Minimize();
      return;
    }
    break;
  default:
    break;
  }
  TWinControl::WndProc(Message);
}

} // namespace wyndo
