#include "controls/taskbar.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <utility>

namespace wyndo {

namespace {

// The message the platform's own task bar sends to open a window's system menu at a screen point
// (lParam: x low word, y high word). Undocumented, handled by DefWindowProc.
constexpr UINT PopupSystemMenuMessage = 0x0313;

// Window properties that carry the item of a subclassed window and the procedure before ours.
// GWLP_USERDATA belongs to the window's own control. The names are private to this process.
ATOM PropertyAtom(const char* Kind) {
  char Name[64];
  std::snprintf(Name, sizeof(Name), "WyndoTask%s%08lX", Kind,
                static_cast<unsigned long>(::GetCurrentProcessId()));
  return ::GlobalAddAtomA(Name);
}

LPCSTR ItemProperty() {
  static const ATOM Atom = PropertyAtom("Item");
  return MAKEINTATOM(Atom);
}

LPCSTR OldProcProperty() {
  static const ATOM Atom = PropertyAtom("Proc");
  return MAKEINTATOM(Atom);
}

// Sets a flag for a scope and puts its previous value back.
class TFlagScope {
public:
  TFlagScope(bool& Flag, bool Value) : FFlag(Flag), FSaved(Flag) { FFlag = Value; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;
  ~TFlagScope() { FFlag = FSaved; }

private:
  bool& FFlag;
  bool FSaved;
};

// Numerator / Denominator (Denominator > 0) rounded to the nearest integer, halves to the even
// neighbour.
int RoundHalfToEven(int Numerator, int Denominator) {
  int Quotient = Numerator / Denominator;
  int Remainder = Numerator % Denominator;
  if (Remainder < 0) {
    --Quotient;
    Remainder += Denominator;
  }
  const int Twice = 2 * Remainder;
  if (Twice > Denominator || (Twice == Denominator && Quotient % 2 != 0))
    ++Quotient;
  return Quotient;
}

// A byte of a colour made lighter by Amount, stopping at white.
BYTE Lighter(BYTE Value, int Amount) {
  return static_cast<BYTE>(std::min(255, Value + Amount));
}

// The colour with 20 added to each of its red, green and blue bytes. A system colour is taken at
// its present value; a byte that would pass 255 stays at 255.
TColor Lightened(TColor Color) {
  const COLORREF Value = ColorToRGB(Color);
  return RGB(Lighter(GetRValue(Value), 20), Lighter(GetGValue(Value), 20),
             Lighter(GetBValue(Value), 20));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TButtonSettings

TButtonSettings::TButtonSettings(TTaskbar& Taskbar) : FTaskbar(Taskbar) {
  const TColor Face = Taskbar.Color();
  FColors = {Face, cl3DLight, Lightened(Face), Lightened(Face)};
  FFonts[bsWhenDown].SetStyle(fsBold);
  FFonts[bsOnMouseOver].SetStyle(fsUnderline);
  FFonts[bsOnClick].SetStyle(fsBold);
}

void TButtonSettings::Assign(const TButtonSettings& Source) {
  if (&Source == this)
    return;
  FColors = Source.FColors;
  FFonts = Source.FFonts;
  FLightColor = Source.FLightColor;
  FShadowColor = Source.FShadowColor;
  Changed();
}

void TButtonSettings::SetColors(int Index, TColor Value) {
  FColors.at(static_cast<std::size_t>(Index)) = Value;
  Changed();
}

void TButtonSettings::SetFonts(int Index, const TFont& Value) {
  FFonts.at(static_cast<std::size_t>(Index)) = Value;
  Changed();
}

void TButtonSettings::SetLightColor(TColor Value) {
  FLightColor = Value;
  Changed();
}

void TButtonSettings::SetShadowColor(TColor Value) {
  FShadowColor = Value;
  Changed();
}

void TButtonSettings::Changed() {
  // Only pending painting is carried out: the buttons show the change at their next repaint.
  FTaskbar.Update();
}

// ---------------------------------------------------------------------------------------------
// TTaskButton

TTaskButton::TTaskButton(TTaskbar& Taskbar, TTaskItem& Item) : FTaskbar(Taskbar), FItem(&Item) {
  ShowHint = true;
}

void TTaskButton::SetText(std::string_view Value) {
  FText = Value;
  SetHint(Value);
}

void TTaskButton::SetDown(bool Value) {
  if (Value == FDown)
    return;
  if (Value && Parent()) {
    const std::vector<TControl*> Siblings = Parent()->Controls();
    for (TControl* Control : Siblings)
      if (auto* Button = dynamic_cast<TTaskButton*>(Control); Button && Button != this)
        Button->SetDown(false);
  }
  FDown = Value;
  Repaint();
}

void TTaskButton::Detach() {
  FItem = nullptr;
  Hide();
  SetParent(nullptr);
}

TTaskButton::TContentLayout TTaskButton::ContentLayout(int Width, bool Down) {
  const int Shift = Down ? 1 : 0;
  TContentLayout Layout{true, Shift + 5, Shift + 24};
  if (Width < Shift + 24) {
    Layout.ShowIcon = false;
    Layout.TextLeft = Width < Shift + 8 ? Shift + 4 : Shift + 8;
  }
  return Layout;
}

void TTaskButton::PressActivates() {
  FDownBeforeActivation = FDown;
}

void TTaskButton::Click() {
  if (!FSkipClick)
    TGraphicControl::Click();
}

void TTaskButton::WndProc(TMessage& Message) {
  ++FBusy;
  struct TLeave {
    int& Busy;
    ~TLeave() { --Busy; }
  } Leave{FBusy};
  switch (Message.Msg) {
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
    FDownAtPress = FDownBeforeActivation.value_or(FDown);
    FDownBeforeActivation.reset();
    TGraphicControl::WndProc(Message);
    FClicking = !FDown;
    Repaint();
    return;
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
    MouseButtonUp(Message);
    return;
  case CM_MOUSEENTER:
    TGraphicControl::WndProc(Message);
    FMouseOver = true;
    FClicking = ::GetKeyState(VK_LBUTTON) < 0 || ::GetKeyState(VK_RBUTTON) < 0;
    if (!FDown)
      Repaint();
    return;
  case CM_MOUSELEAVE:
    TGraphicControl::WndProc(Message);
    FMouseOver = false;
    if (!FDown)
      Repaint();
    return;
  default:
    break;
  }
  TGraphicControl::WndProc(Message);
}

void TTaskButton::MouseButtonUp(TMessage& Message) {
  HWND Window = FItem ? FItem->Window() : nullptr;
  bool SkipClick = false;
  const bool WasDown = std::exchange(FDownAtPress, false);
  if (!WasDown || (Window && ::IsIconic(Window))) {
    SetDown(FMouseOver);
  } else if (FItem) {
    // The active window's button minimises it; this release is not a click.
    FItem->Minimize();
    SkipClick = true;
  }
  {
    TFlagScope NoClick(FSkipClick, SkipClick);
    TGraphicControl::WndProc(Message);
  }
  FClicking = false;
  Repaint();
  if (Message.Msg != WM_RBUTTONUP || !FItem || !Parent())
    return;
  Window = FItem->Window();
  if (!Window)
    return;
  if (!::IsIconic(Window))
    FItem->ShowInFront();
  if (!FItem || !Parent())
    return;
  FInSystemMenu = true;
  const POINT At = ClientToScreen(
      {static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))});
  ::SendMessageA(Window, PopupSystemMenuMessage, 0,
                 MAKELPARAM(static_cast<WORD>(At.x), static_cast<WORD>(At.y)));
  // The command chosen from the menu arrives as a posted message: it must still find the menu
  // marked open.
  Application.ProcessMessages();
  FInSystemMenu = false;
}

void TTaskButton::Paint(TCanvas& Canvas) {
  if (!Visible())
    return;
  const TButtonSettings& Settings = FTaskbar.ButtonSettings();
  const int State = FDown        ? TButtonSettings::bsWhenDown
                    : FClicking  ? TButtonSettings::bsOnClick
                    : FMouseOver ? TButtonSettings::bsOnMouseOver
                                 : TButtonSettings::bsNormal;
  Canvas.BrushColor = Settings.Colors(State);
  Canvas.Font = Settings.Fonts(State);
  const int W = Width();
  const int H = Height();
  // The brush covers the whole button; the outline falls outside it.
  Canvas.Rectangle(-1, -1, W + 1, H + 1);

  const bool Sunken = FDown || (FClicking && FMouseOver);
  Canvas.PenColor = Sunken ? Settings.ShadowColor() : Settings.LightColor();
  Canvas.MoveTo(0, H - 1);
  Canvas.LineTo(0, 0);
  Canvas.LineTo(W - 1, 0);
  Canvas.PenColor = Sunken ? Settings.LightColor() : Settings.ShadowColor();
  Canvas.LineTo(W - 1, H - 1);
  Canvas.LineTo(0, H - 1);

  const int Shift = FDown ? 1 : 0;
  const TContentLayout Layout = ContentLayout(W, FDown);
  if (AutoCaption && FItem && FItem->Window())
    SetText(FItem->WindowTitle());
  RECT TextRect{Layout.TextLeft, 1 + (H - Canvas.TextHeight(FText)) / 2 + Shift, W - 3, H - 1};
  if (Enabled()) {
    Canvas.DrawText(FText, TextRect, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  } else {
    Canvas.SetTransparent(true);
    RECT Raised = TextRect;
    ::OffsetRect(&Raised, 1, 1);
    Canvas.Font.SetColor(clBtnHighlight);
    Canvas.DrawText(FText, Raised, DT_SINGLELINE | DT_NOPREFIX);
    Canvas.Font.SetColor(clBtnShadow);
    Canvas.DrawText(FText, TextRect, DT_SINGLELINE | DT_NOPREFIX);
  }

  if (AutoIcon && FItem && FItem->Window())
    FItem->LoadIcon();
  if (Layout.ShowIcon && FItem && FItem->Window() && FIcon)
    ::DrawIconEx(Canvas.Handle(), Layout.IconLeft, (H - 16) / 2 + Shift, FIcon.Get(), 16, 16, 0,
                 nullptr, DI_NORMAL);
}

// ---------------------------------------------------------------------------------------------
// TTaskItem

TTaskItem::TTaskItem(TTaskbar& Taskbar, TForm& Form, bool RemoveOnClose, bool FreeOnRemove)
    : FForm(Form), FTaskbar(Taskbar), FRemoveOnClose(RemoveOnClose), FFreeOnRemove(FreeOnRemove) {
  FWindow = Form.Handle();
  FButton = std::make_unique<TTaskButton>(Taskbar, *this);
  FButton->SetParent(&Taskbar);
  // Through the button, which knows when its item has gone.
  FButton->OnClick = [](TObject& Sender) {
    if (TTaskItem* Item = static_cast<TTaskButton&>(Sender).Item())
      Item->ClickAction();
  };
  FButton->SetText(WindowTitle());
  LoadIcon();
  Taskbar.ArrangeButtons();

  ::SetPropA(FWindow, ItemProperty(), this);
  const LONG_PTR Old =
      ::SetWindowLongPtrA(FWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ItemProc));
  FOldWndProc = reinterpret_cast<WNDPROC>(Old);
  ::SetPropA(FWindow, OldProcProperty(), reinterpret_cast<HANDLE>(Old));
}

TTaskItem::~TTaskItem() {
  if (FOldWndProc && ::IsWindow(FWindow)) {
    // A procedure installed after ours still calls ours; then ours stays and passes every
    // message on to the one before it.
    if (::GetWindowLongPtrA(FWindow, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&ItemProc)) {
      ::SetWindowLongPtrA(FWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FOldWndProc));
      ::RemovePropA(FWindow, OldProcProperty());
    }
    ::RemovePropA(FWindow, ItemProperty());
  }
  FTaskbar.DisposeButton(std::move(FButton));
}

HWND TTaskItem::Window() const {
  return FWindow && ::IsWindow(FWindow) ? FWindow : nullptr;
}

std::string TTaskItem::WindowTitle() const {
  HWND Window = TTaskItem::Window();
  if (!Window)
    return {};
  const int Length = ::GetWindowTextLengthA(Window);
  std::string Title(static_cast<std::size_t>(std::max(Length, 0)) + 1, '\0');
  const int Copied = ::GetWindowTextA(Window, Title.data(), static_cast<int>(Title.size()));
  Title.resize(static_cast<std::size_t>(std::max(Copied, 0)));
  return Title;
}

void TTaskItem::LoadIcon() {
  HWND Window = TTaskItem::Window();
  if (!Window)
    return;
  HICON Icon = nullptr;
  {
    TFlagScope NoIconSync(FIconSyncEnabled, false);
    Icon = reinterpret_cast<HICON>(::SendMessageA(Window, WM_GETICON, ICON_SMALL, 0));
    if (!Icon)
      Icon = reinterpret_cast<HICON>(::SendMessageA(Window, WM_GETICON, ICON_BIG, 0));
  }
  if (!Icon)
    Icon = FTaskbar.StdIcon();
  FButton->SetIcon(Icon ? ::CopyIcon(Icon) : nullptr);
}

void TTaskItem::ShowInFront() {
  FForm.BringToFront();
}

void TTaskItem::Minimize() {
  HWND Window = TTaskItem::Window();
  if (!Window)
    return;
  const TTaskItem* Self = this;
  FRestoreAllowed = false;
  ::ShowWindow(Window, SW_MINIMIZE);
  if (Registered(Window, Self))
    FRestoreAllowed = true;
}

void TTaskItem::ClickAction() {
  try {
    HWND Window = TTaskItem::Window();
    if (Window && ::IsIconic(Window))
      ::ShowWindow(Window, SW_RESTORE);
    else
      ShowInFront();
    if (Window)
      ::ShowWindow(Window, SW_SHOW);
  } catch (...) {
    // The window could not be shown: it leaves the taskbar, but is not destroyed.
    FTaskbar.Items().Remove(*this, false, false);
  }
}

bool TTaskItem::Registered(HWND Window, const TTaskItem* Item) {
  return ::IsWindow(Window) && ::GetPropA(Window, ItemProperty()) == Item;
}

LRESULT CALLBACK TTaskItem::ItemProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* Item = static_cast<TTaskItem*>(::GetPropA(Window, ItemProperty()));
  if (!Item) {
    // Our item has gone while a later procedure kept ours in the chain.
    auto Old = reinterpret_cast<WNDPROC>(::GetPropA(Window, OldProcProperty()));
    const LRESULT Result = Old ? ::CallWindowProcA(Old, Window, Msg, WParam, LParam)
                               : ::DefWindowProcA(Window, Msg, WParam, LParam);
    if (Msg == WM_NCDESTROY)
      ::RemovePropA(Window, OldProcProperty());
    return Result;
  }
  try {
    return Item->WindowMessage(Msg, WParam, LParam);
  } catch (...) {
    // No exception may cross the window procedure.
    Application.HandleException(std::current_exception());
    return 0;
  }
}

void TTaskItem::AttachButton() {
  if (FButton->Parent())
    return;
  FButton->SetParent(&FTaskbar);
  FButton->Show();
  FTaskbar.ArrangeButtons();
}

void TTaskItem::FollowCaption() {
  if (!FCaptionSyncEnabled)
    return;
  TFlagScope NoCaptionSync(FCaptionSyncEnabled, false);
  if (!FButton->AutoCaption)
    return;
  const std::string Title = WindowTitle();
  if (Title != FButton->Text()) {
    FButton->SetText(Title);
    FButton->Repaint();
  }
}

void TTaskItem::FollowIcon() {
  if (!FIconSyncEnabled)
    return;
  TFlagScope NoIconSync(FIconSyncEnabled, false);
  if (FButton->AutoIcon) {
    LoadIcon();
    FButton->Repaint();
  }
}

LRESULT TTaskItem::WindowMessage(UINT Msg, WPARAM WParam, LPARAM LParam) {
  // A message handled on the way (by the window, or by our own calls) may remove this item, so
  // after each such step the item is looked up again, and the message still goes on to the
  // procedure that ours replaced.
  HWND Window = FWindow;
  const TTaskItem* Self = this;
  const WNDPROC Old = FOldWndProc;
  auto PassOn = [=] { return ::CallWindowProcA(Old, Window, Msg, WParam, LParam); };
  switch (Msg) {
  case WM_SIZE:
    if (WParam == SIZE_MINIMIZED && ::IsWindowVisible(Window)) {
      ::ShowWindow(Window, SW_HIDE);
      if (Registered(Window, Self))
        FForm.MarkVisible(false);
    }
    return ::IsWindow(Window) ? PassOn() : 0;

  case WM_SHOWWINDOW: {
    const LRESULT Result = PassOn();
    if (!Registered(Window, Self))
      return Result;
    if (WParam) {
      AttachButton();
      FButton->SetDown(true);
      if (::IsIconic(Window))
        ::ShowWindow(Window, SW_RESTORE);
    } else if (FButton->Parent()) {
      FButton->SetDown(false);
    }
    return Result;
  }

  case WM_ACTIVATE:
  case WM_CHILDACTIVATE: {
    const LRESULT Result = PassOn();
    if (!Registered(Window, Self))
      return Result;
    const bool Inactive = Msg == WM_ACTIVATE && LOWORD(WParam) == WA_INACTIVE;
    if (Msg == WM_ACTIVATE && !Inactive && !::IsWindowVisible(Window) && FRestoreAllowed) {
      ::ShowWindow(Window, SW_SHOW);
      if (Registered(Window, Self))
        ShowInFront();
      if (!Registered(Window, Self))
        return Result;
    }
    if (::IsIconic(Window) && FRestoreAllowed) {
      ::ShowWindow(Window, SW_RESTORE);
      if (!Registered(Window, Self))
        return Result;
    }
    AttachButton();
    FButton->SetDown(!Inactive);
    return Result;
  }

  case WM_SETTEXT:
  case WM_GETTEXT: {
    const LRESULT Result = PassOn();
    if (Registered(Window, Self))
      FollowCaption();
    return Result;
  }

  case WM_GETICON:
  case WM_SETICON: {
    const LRESULT Result = PassOn();
    if (Registered(Window, Self))
      FollowIcon();
    return Result;
  }

  case WM_NCPAINT:
    // A minimised window that is still on screen and meant to be visible comes back, unless the
    // minimise is under way.
    if (::IsIconic(Window) && ::IsWindowVisible(Window) && FForm.Visible() && FRestoreAllowed)
      ::ShowWindow(Window, SW_RESTORE);
    return ::IsWindow(Window) ? PassOn() : 0;

  case WM_SYSCOMMAND:
    if ((WParam & 0xFFF0) == SC_MINIMIZE) {
      FRestoreAllowed = false;
      const LRESULT Result = PassOn();
      if (Registered(Window, Self))
        FRestoreAllowed = true;
      return Result;
    }
    return PassOn();

  case WM_COMMAND:
    // A command chosen from the system menu that the button opened arrives as WM_COMMAND; the
    // window gets it as the system command it is.
    if (FButton->InSystemMenu()) {
      ::PostMessageA(Window, WM_SYSCOMMAND, WParam, LParam);
      return 0;
    }
    return PassOn();

  case WM_CLOSE:
    // The main window closes the program its own way.
    if (Application.MainForm() == &FForm)
      return PassOn();
    WindowClosing();
    return 0;

  case WM_NCDESTROY: {
    // The window is destroyed by somebody else: its item goes with it.
    const LRESULT Result = PassOn();
    if (Registered(Window, Self))
      FTaskbar.Items().Remove(*this, false, false);
    return Result;
  }

  default:
    return PassOn();
  }
}

void TTaskItem::WindowClosing() {
  HWND Window = FWindow;
  const TTaskItem* Self = this;
  const bool Modal = FForm.Modal();
  // Only a close that goes through (the query agrees, the action is not "none") may take the
  // window off the taskbar and destroy it: a refused close leaves everything as it was.
  bool Closed = false;
  if (Modal) {
    FForm.SetModalResult(mrCancel);
  } else if (FForm.CloseQuery()) {
    // Every window of the program is a plain top-level one: hidden on close unless its close
    // event says otherwise.
    TCloseAction Action = TCloseAction::caHide;
    FForm.DoClose(Action);
    if (!Registered(Window, Self))
      return;
    Closed = Action != TCloseAction::caNone;
    switch (Action) {
    case TCloseAction::caHide:
      ::ShowWindow(Window, SW_HIDE);
      if (!Registered(Window, Self))
        return;
      FForm.MarkVisible(false);
      FButton->Hide();
      FButton->SetParent(nullptr);
      FTaskbar.ArrangeButtons();
      break;
    case TCloseAction::caMinimize:
      FRestoreAllowed = false;
      ::ShowWindow(Window, SW_MINIMIZE);
      if (!Registered(Window, Self))
        return;
      FForm.MarkVisible(false);
      FRestoreAllowed = true;
      break;
    case TCloseAction::caFree:
      FForm.Release();
      break;
    case TCloseAction::caNone:
      break;
    }
  }
  if (FRemoveOnClose && Closed && Registered(Window, Self))
    FTaskbar.Items().Remove(*this, true, false);
}

// ---------------------------------------------------------------------------------------------
// TTaskItems

TTaskItems::TTaskItems(TTaskbar& Taskbar) : FTaskbar(Taskbar) {}

TTaskItems::~TTaskItems() {
  while (!FItems.empty()) {
    try {
      Delete(0, true, false);
    } catch (...) {
      // A failing OnRemoveForm must not stop the others from going.
      Application.HandleException(std::current_exception());
    }
  }
}

int TTaskItems::IndexOf(const TForm* Form) const {
  for (std::size_t I = 0; I < FItems.size(); ++I)
    if (FItems[I] && &FItems[I]->Form() == Form)
      return static_cast<int>(I);
  return -1;
}

void TTaskItems::Add(TForm* Form, bool RemoveOnClose, bool FreeOnRemove) {
  if (!Form)
    throw ETaskbarError("Invalid Form");
  if (IndexOf(Form) >= 0)
    return;
  FTaskbar.FreeIdleButtons();
  FItems.push_back(std::make_unique<TTaskItem>(FTaskbar, *Form, RemoveOnClose, FreeOnRemove));
  if (FTaskbar.OnAddForm)
    FTaskbar.OnAddForm(*this, *Form);
}

void TTaskItems::Delete(int Index, bool FreeWindow, bool ForceFree) {
  auto& Slot = FItems.at(static_cast<std::size_t>(Index));
  TForm& Form = Slot->Form();
  const bool FreeOnRemove = Slot->FreeOnRemove();
  Slot.reset();
  std::erase(FItems, nullptr);
  FTaskbar.ArrangeButtons();
  FTaskbar.FreeIdleButtons();
  if (FTaskbar.OnRemoveForm)
    FTaskbar.OnRemoveForm(*this, Form);
  if (ForceFree || (FreeWindow && FreeOnRemove)) {
    try {
      Form.Free();
    } catch (...) {
      // The item has gone already; a failure of the window's own destruction changes nothing.
    }
  }
}

void TTaskItems::Remove(TTaskItem& Item, bool FreeWindow, bool ForceFree) {
  for (std::size_t I = 0; I < FItems.size(); ++I)
    if (FItems[I].get() == &Item) {
      Delete(static_cast<int>(I), FreeWindow, ForceFree);
      return;
    }
}

// ---------------------------------------------------------------------------------------------
// TTaskbar

TTaskbar::TTaskbar() : FItems(std::make_unique<TTaskItems>(*this)) {
  SetAlign(TAlign::alTop);
  SetHeight(32);
  SetColor(clBtnFace);
  SetEdgeBorders(ebAll);
  FStdIcon.Reset(::CopyIcon(Application.Icon()));
  FButtonSettings = std::make_unique<TButtonSettings>(*this);
  ShowHint = true;
}

TTaskbar::~TTaskbar() {
  FDestroying = true;
  FItems.reset();
  FDisposedButtons.clear();
}

void TTaskbar::CreateParams(TCreateParams& Params) {
  TToolWindow::CreateParams(Params);
  Params.WinClassName = "TTaskbar";
}

void TTaskbar::AddForm(TForm* Form, bool RemoveOnClose, bool FreeOnRemove) {
  FItems->Add(Form, RemoveOnClose, FreeOnRemove);
}

void TTaskbar::RemoveForm(int Index, bool FreeWindow, bool ForceFree) {
  FItems->Delete(Index, FreeWindow, ForceFree);
}

void TTaskbar::SetAutoSizeButtons(bool Value) {
  FAutoSizeButtons = Value;
  ArrangeButtons();
}

void TTaskbar::SetButtonWidth(int Value) {
  FButtonWidth = Value;
  ArrangeButtons();
}

void TTaskbar::SetButtonHeight(int Value) {
  FButtonHeight = Value;
  ArrangeButtons();
}

void TTaskbar::SetStdIcon(HICON Icon) {
  FStdIcon.Reset(Icon ? ::CopyIcon(Icon) : nullptr);
  Update();
}

void TTaskbar::ArrangeButtons() {
  const std::vector<TControl*> Children = Controls();
  if (Children.empty() || FDestroying)
    return;
  const int Extra = ((EdgeBorders() & ebTop) ? 2 : 0) + ((EdgeBorders() & ebBottom) ? 2 : 0);
  const int Count = static_cast<int>(Children.size());
  int Width = FButtonWidth;
  if (FAutoSizeButtons) {
    Width = RoundHalfToEven(TControl::Width() - 8, Count) - 1;
    Width = std::min(Width, FButtonWidth);
  }
  const int Top = (Height() - (FButtonHeight + Extra)) / 2;
  for (int I = 0; I < Count; ++I) {
    TControl* Child = Children[static_cast<std::size_t>(I)];
    Child->SetBounds((Width + 1) * I + 1, Top, Width, FButtonHeight);
    if (Child->Visible())
      Child->Repaint();
  }
}

void TTaskbar::DisposeButton(std::unique_ptr<TTaskButton> Button) {
  if (!Button)
    return;
  if (Button->Busy()) {
    Button->Detach();
    FDisposedButtons.push_back(std::move(Button));
  }
}

void TTaskbar::FreeIdleButtons() {
  std::erase_if(FDisposedButtons,
                [](const std::unique_ptr<TTaskButton>& Button) { return !Button->Busy(); });
}

void TTaskbar::WndProc(TMessage& Message) {
  if (Message.Msg == WM_MOUSEACTIVATE) {
    // Sent before the activation that a press brings, and before the press itself.
    POINT Cursor{};
    ::GetCursorPos(&Cursor);
    ::ScreenToClient(Handle(), &Cursor);
    if (auto* Button = dynamic_cast<TTaskButton*>(ControlAtPos(Cursor)))
      Button->PressActivates();
    TToolWindow::WndProc(Message);
  } else if (Message.Msg == WM_SIZE) {
    TToolWindow::WndProc(Message);
    ArrangeButtons();
  } else {
    TToolWindow::WndProc(Message);
  }
  FreeIdleButtons();
}

} // namespace wyndo
