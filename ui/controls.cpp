#include "ui/controls.h"

#include "core/errors.h"
#include "ui/application.h"
#include "ui/forms.h"

#include <algorithm>
#include <memory>
#include <set>

namespace wyndo {

namespace {

TMouseButton ButtonOf(UINT Msg) {
  switch (Msg) {
  case WM_RBUTTONDOWN:
  case WM_RBUTTONUP:
  case WM_RBUTTONDBLCLK:
    return TMouseButton::mbRight;
  case WM_MBUTTONDOWN:
  case WM_MBUTTONUP:
  case WM_MBUTTONDBLCLK:
    return TMouseButton::mbMiddle;
  default:
    return TMouseButton::mbLeft;
  }
}

bool IsMouseMessage(UINT Msg) {
  return Msg >= WM_MOUSEFIRST && Msg <= WM_MBUTTONDBLCLK;
}

POINT PointOf(LPARAM LParam) {
  return {static_cast<short>(LOWORD(LParam)), static_cast<short>(HIWORD(LParam))};
}

LPARAM MakePointParam(POINT Point) {
  return MAKELPARAM(static_cast<WORD>(static_cast<short>(Point.x)),
                    static_cast<WORD>(static_cast<short>(Point.y)));
}

// Window controls get identifiers that tell them apart in WM_COMMAND; menus use lParam 0.
UINT NextControlId() {
  static UINT Next = 100;
  Next = Next >= 0xBFFF ? 100 : Next + 1;
  return Next;
}

} // namespace

TShiftState MouseShiftState(WPARAM KeyFlags) {
  TShiftState Shift = 0;
  if (KeyFlags & MK_SHIFT)
    Shift |= ssShift;
  if (KeyFlags & MK_CONTROL)
    Shift |= ssCtrl;
  if (KeyFlags & MK_LBUTTON)
    Shift |= ssLeft;
  if (KeyFlags & MK_RBUTTON)
    Shift |= ssRight;
  if (KeyFlags & MK_MBUTTON)
    Shift |= ssMiddle;
  if (::GetKeyState(VK_MENU) < 0)
    Shift |= ssAlt;
  return Shift;
}

TShiftState KeyboardShiftState() {
  TShiftState Shift = 0;
  if (::GetKeyState(VK_SHIFT) < 0)
    Shift |= ssShift;
  if (::GetKeyState(VK_CONTROL) < 0)
    Shift |= ssCtrl;
  if (::GetKeyState(VK_MENU) < 0)
    Shift |= ssAlt;
  return Shift;
}

void RegisterOwnClass(const std::string& Name, UINT Style, HICON Icon) {
  static std::set<std::string> Registered;
  if (Registered.count(Name))
    return;
  WNDCLASSEXA Class{};
  Class.cbSize = sizeof(Class);
  Class.style = Style;
  Class.lpfnWndProc = &TWinControl::OwnClassProc;
  Class.hInstance = ::GetModuleHandleA(nullptr);
  Class.hIcon = Icon;
  Class.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  Class.lpszClassName = Name.c_str();
  if (!::RegisterClassExA(&Class) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw Exception("Cannot register the window class " + Name);
  Registered.insert(Name);
}

// ---------------------------------------------------------------------------------------------
// TControl

TControl::TControl() {
  FFont.OnChange = [this] {
    if (!FApplyingParentFont)
      FParentFont = false;
    FontChanged();
  };
}

TControl::~TControl() {
  Application.ControlDestroyed(this);
  if (FParent)
    FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* NewParent) {
  if (FParent == NewParent)
    return;
  if (FParent)
    FParent->RemoveControl(this);
  FParent = nullptr;
  if (NewParent) {
    NewParent->InsertControl(this);
    FParent = NewParent;
    TakeParentFont();
    RememberDesign();
    if (NewParent->HandleAllocated()) {
      if (auto* Windowed = dynamic_cast<TWinControl*>(this)) {
        if (Windowed->HandleAllocated())
          ::SetParent(Windowed->FHandle, NewParent->FHandle);
        else
          Windowed->HandleNeeded();
      } else {
        Invalidate();
      }
    }
  }
}

TForm* TControl::ParentForm() const {
  const TControl* Control = this;
  while (Control->FParent)
    Control = Control->FParent;
  return dynamic_cast<TForm*>(const_cast<TControl*>(Control));
}

RECT TControl::BoundsRect() const {
  return {Left(), Top(), Left() + Width(), Top() + Height()};
}

RECT TControl::ClientRect() const {
  const TSize2 Size = ClientSize();
  return {0, 0, Size.Width, Size.Height};
}

void TControl::RememberDesign() {
  FDesign = FBounds;
  if (FParent)
    FDesignParent = FParent->ClientSize();
}

void TControl::SetBounds(int Left, int Top, int Width, int Height) {
  UpdateBounds({Left, Top, Width, Height});
  RememberDesign();
}

void TControl::UpdateBounds(const TBounds& Bounds) {
  if (Bounds == FBounds)
    return;
  const RECT Old = BoundsRect();
  FBounds = Bounds;
  if (FParent && FVisible && FParent->HandleAllocated()) {
    ::InvalidateRect(FParent->FHandle, &Old, TRUE);
    Invalidate();
  }
  BoundsChanged();
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign != Value) {
    FAlign = Value;
    if (FParent)
      FParent->Realign();
  }
}

void TControl::SetAnchors(TAnchors Value) {
  FAnchors = Value;
  RememberDesign();
}

void TControl::SetVisible(bool Value) {
  if (FVisible == Value)
    return;
  FVisible = Value;
  if (FParent && FParent->HandleAllocated() && !dynamic_cast<TWinControl*>(this)) {
    const RECT Area = BoundsRect();
    ::InvalidateRect(FParent->FHandle, &Area, TRUE);
  }
  VisibleChanged();
  if (FParent && FAlign != TAlign::alNone)
    FParent->Realign();
}

void TControl::SetEnabled(bool Value) {
  if (FEnabled != Value) {
    FEnabled = Value;
    EnabledChanged();
    Invalidate();
  }
}

bool TControl::Showing() const {
  for (const TControl* Control = this; Control; Control = Control->FParent)
    if (!Control->FVisible)
      return false;
  return true;
}

void TControl::SetCaption(std::string_view Value) {
  if (Caption() != Value) {
    FCaption = Value;
    TextChanged();
    Invalidate();
  }
}

void TControl::SetColor(TColor Value) {
  if (FColor != Value) {
    FColor = Value;
    ColorChanged();
    Invalidate();
  }
}

void TControl::TakeParentFont() {
  if (FParentFont && FParent) {
    FApplyingParentFont = true;
    FFont = FParent->FFont;
    FApplyingParentFont = false;
  }
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage Message{Msg, WParam, LParam, 0};
  WndProc(Message);
  return Message.Result;
}

void TControl::WndProc(TMessage& Message) {
  const POINT Point = PointOf(Message.LParam);
  switch (Message.Msg) {
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN:
    if (Message.Msg == WM_LBUTTONDOWN && FClickOnRelease)
      FPressed = true;
    MouseDown(ButtonOf(Message.Msg), MouseShiftState(Message.WParam), Point.x, Point.y);
    break;
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDBLCLK:
  case WM_MBUTTONDBLCLK:
    if (Message.Msg == WM_LBUTTONDBLCLK && OnDblClick)
      OnDblClick(*this);
    MouseDown(ButtonOf(Message.Msg), MouseShiftState(Message.WParam) | ssDouble, Point.x, Point.y);
    break;
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
  case WM_MBUTTONUP: {
    MouseUp(ButtonOf(Message.Msg), MouseShiftState(Message.WParam), Point.x, Point.y);
    if (Message.Msg == WM_LBUTTONUP && FPressed) {
      FPressed = false;
      const RECT Client = ClientRect();
      if (::PtInRect(&Client, Point))
        Click();
    }
    break;
  }
  case WM_MOUSEMOVE:
    MouseMove(MouseShiftState(Message.WParam), Point.x, Point.y);
    break;
  case CM_MOUSEENTER:
    FMouseInControl = true;
    MouseEnter();
    return;
  case CM_MOUSELEAVE:
    FMouseInControl = false;
    MouseLeave();
    return;
  default:
    break;
  }
  DefaultHandler(Message);
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown)
    OnMouseDown(*this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp)
    OnMouseUp(*this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove)
    OnMouseMove(*this, Shift, X, Y);
}

void TControl::MouseEnter() {
  if (OnMouseEnter)
    OnMouseEnter(*this);
}

void TControl::MouseLeave() {
  if (OnMouseLeave)
    OnMouseLeave(*this);
}

void TControl::Invalidate() {}
void TControl::Update() {}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::Click() {
  if (OnClick)
    OnClick(*this);
}

HWND TControl::WindowHandle() const {
  return FParent ? FParent->FHandle : nullptr;
}

POINT TControl::OriginInWindow() const {
  POINT Origin{Left(), Top()};
  if (FParent) {
    const POINT ParentOrigin = FParent->OriginInWindow();
    Origin.x += ParentOrigin.x;
    Origin.y += ParentOrigin.y;
  }
  return Origin;
}

POINT TControl::ClientToScreen(POINT Point) const {
  const POINT Origin = OriginInWindow();
  Point.x += Origin.x;
  Point.y += Origin.y;
  if (HWND Window = WindowHandle())
    ::ClientToScreen(Window, &Point);
  return Point;
}

POINT TControl::ScreenToClient(POINT Point) const {
  if (HWND Window = WindowHandle())
    ::ScreenToClient(Window, &Point);
  const POINT Origin = OriginInWindow();
  Point.x -= Origin.x;
  Point.y -= Origin.y;
  return Point;
}

// ---------------------------------------------------------------------------------------------
// TGraphicControl

TGraphicControl::TGraphicControl() {
  FClickOnRelease = true;
}

void TGraphicControl::Invalidate() {
  if (Visible() && Parent() && Parent()->HandleAllocated()) {
    const RECT Area = BoundsRect();
    ::InvalidateRect(Parent()->Handle(), &Area, TRUE);
  }
}

void TGraphicControl::Update() {
  if (Parent())
    Parent()->Update();
}

void TGraphicControl::PaintTo(HDC DC) {
  TCanvas Canvas(DC);
  Canvas.Font = Font();
  Canvas.BrushColor = Color();
  Paint(Canvas);
}

// ---------------------------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl() {
  Cursor = crDefault;
  FClickOnRelease = false;
}

TWinControl::~TWinControl() {
  TForm::ForgetControl(this);
  // Children that outlive us (they belong to their form) must not call back into this object.
  for (TControl* Child : FControls)
    Child->FParent = nullptr;
  FControls.clear();
  DestroyHandle();
}

TWinControl* TWinControl::FromHandle(HWND Window) {
  if (!Window)
    return nullptr;
  const auto Proc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(Window, GWLP_WNDPROC));
  // A window another component subclassed after us still carries our object in its user data;
  // its class procedure tells whether it is one of our classes.
  const auto ClassProc = reinterpret_cast<WNDPROC>(::GetClassLongPtrA(Window, GCLP_WNDPROC));
  if (Proc != &SubclassProc && Proc != &OwnClassProc && ClassProc != &OwnClassProc)
    return nullptr;
  return reinterpret_cast<TWinControl*>(::GetWindowLongPtrA(Window, GWLP_USERDATA));
}

HWND TWinControl::Handle() {
  if (!FHandle) {
    if (FCreating)
      throw Exception("A window was asked for while it was being created");
    if (Parent())
      Parent()->HandleNeeded();
    if (!FHandle)
      CreateHandle();
  }
  return FHandle;
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params.Caption = Caption();
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (Visible())
    Params.Style |= WS_VISIBLE;
  if (!Enabled())
    Params.Style |= WS_DISABLED;
  if (TabStop)
    Params.Style |= WS_TABSTOP;
  Params.X = Left();
  Params.Y = Top();
  Params.Width = Width();
  Params.Height = WindowHeight(Height());
}

void TWinControl::Bind(HWND Window) {
  FHandle = Window;
  ::SetWindowLongPtrA(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TWinControl::Unbind() {
  if (FHandle) {
    ::SetWindowLongPtrA(FHandle, GWLP_USERDATA, 0);
    if (!FOwnClass && FDefWndProc)
      ::SetWindowLongPtrA(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FDefWndProc));
  }
  FHandle = nullptr;
  FMouseControl = nullptr;
  FCaptureControl = nullptr;
  FTrackingLeave = false;
}

void TWinControl::CreateHandle() {
  TCreateParams Params;
  CreateParams(Params);
  if (Parent())
    Params.WndParent = Parent()->FHandle;
  FOwnClass = Params.SystemClass.empty();
  HINSTANCE Instance = ::GetModuleHandleA(nullptr);
  const bool Child = (Params.Style & WS_CHILD) != 0;
  auto* Id = Child ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(NextControlId())) : Params.Menu;
  FCreating = true;
  HWND Window = nullptr;
  if (FOwnClass) {
    RegisterOwnClass(Params.WinClassName, Params.ClassStyle, Params.ClassIcon);
    FDefWndProc = &::DefWindowProcA;
    Window = ::CreateWindowExA(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(),
                               Params.Style, Params.X, Params.Y, Params.Width, Params.Height,
                               Params.WndParent, Id, Instance, this);
  } else {
    Window = ::CreateWindowExA(Params.ExStyle, Params.SystemClass.c_str(), Params.Caption.c_str(),
                               Params.Style, Params.X, Params.Y, Params.Width, Params.Height,
                               Params.WndParent, Id, Instance, nullptr);
    if (Window) {
      Bind(Window);
      FDefWndProc = reinterpret_cast<WNDPROC>(
          ::SetWindowLongPtrA(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
    }
  }
  FCreating = false;
  if (!Window)
    throw Exception("Cannot create a window of class " +
                    (FOwnClass ? Params.WinClassName : Params.SystemClass));
  SyncBoundsFromWindow();
  ApplyFontToWindow();
  // The actual client size may differ from the design (frames, menus): bring children along.
  for (TControl* Control : FControls)
    if (auto* Windowed = dynamic_cast<TWinControl*>(Control))
      Windowed->HandleNeeded();
  Realign();
  HandleCreated();
}

void TWinControl::DestroyHandle() {
  if (!FHandle)
    return;
  HWND Window = FHandle;
  // From here on the window's messages no longer reach this object.
  Unbind();
  ::DestroyWindow(Window);
}

LRESULT CALLBACK TWinControl::OwnClassProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* Control = reinterpret_cast<TWinControl*>(::GetWindowLongPtrA(Window, GWLP_USERDATA));
  if (!Control && Msg == WM_NCCREATE) {
    Control = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTA*>(LParam)->lpCreateParams);
    if (Control)
      Control->Bind(Window);
  }
  if (!Control)
    return ::DefWindowProcA(Window, Msg, WParam, LParam);
  return Dispatch(Control, Window, Msg, WParam, LParam);
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* Control = reinterpret_cast<TWinControl*>(::GetWindowLongPtrA(Window, GWLP_USERDATA));
  if (!Control)
    return ::DefWindowProcA(Window, Msg, WParam, LParam);
  return Dispatch(Control, Window, Msg, WParam, LParam);
}

namespace {

// Messages being handled by our window procedures on this thread, nested; and what waits for
// them to end.
thread_local int GHandlerDepth = 0;
thread_local std::vector<std::unique_ptr<TObject>> GDeleteAfterHandlers;

} // namespace

void DeleteAfterHandlers(TObject* Object) {
  if (GHandlerDepth > 0)
    GDeleteAfterHandlers.emplace_back(Object);
  else
    delete Object;
}

LRESULT TWinControl::Dispatch(TWinControl* Control, HWND Window, UINT Msg, WPARAM WParam,
                              LPARAM LParam) {
  TMessage Message{Msg, WParam, LParam, 0};
  ++GHandlerDepth;
  try {
    Control->WndProc(Message);
  } catch (...) {
    // No exception may cross a window procedure: the failure is reported and the program goes on.
    Application.HandleException(std::current_exception());
  }
  // The window is gone (its original procedure has seen WM_NCDESTROY); the object lives on
  // without one.
  if (Msg == WM_NCDESTROY && Control->FHandle == Window)
    Control->Unbind();
  if (--GHandlerDepth == 0) {
    // Deleting may free more (a form its controls), but never inside a handler of ours.
    auto Waiting = std::move(GDeleteAfterHandlers);
    Waiting.clear();
  }
  return Message.Result;
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (FHandle && FDefWndProc)
    Message.Result =
        ::CallWindowProcA(FDefWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
}

TControl* TWinControl::ChildFromWindow(HWND Window) const {
  for (TControl* Control : FControls)
    if (auto* Windowed = dynamic_cast<TWinControl*>(Control);
        Windowed && Windowed->FHandle == Window)
      return Windowed;
  return nullptr;
}

TGraphicControl* TWinControl::GraphicChildAt(POINT Point) const {
  for (auto It = FControls.rbegin(); It != FControls.rend(); ++It) {
    auto* Graphic = dynamic_cast<TGraphicControl*>(*It);
    if (!Graphic || !Graphic->Visible() || !Graphic->Enabled())
      continue;
    const RECT Area = Graphic->BoundsRect();
    if (::PtInRect(&Area, Point))
      return Graphic;
  }
  return nullptr;
}

TControl* TWinControl::ControlAtPos(POINT Point) const {
  return GraphicChildAt(Point);
}

bool TWinControl::HasGraphicChildren() const {
  return std::any_of(FControls.begin(), FControls.end(), [](TControl* Control) {
    return Control->Visible() && dynamic_cast<TGraphicControl*>(Control) != nullptr;
  });
}

void TWinControl::SetMouseControl(TControl* Control) {
  if (FMouseControl == Control)
    return;
  if (FMouseControl)
    FMouseControl->Perform(CM_MOUSELEAVE);
  FMouseControl = Control;
  if (FMouseControl)
    FMouseControl->Perform(CM_MOUSEENTER);
}

// Sends mouse messages over a window-less child to that child; true when one took it.
bool TWinControl::RouteMouse(TMessage& Message) {
  const POINT Point = PointOf(Message.LParam);
  TControl* Target = FCaptureControl;
  if (!Target) {
    Target = GraphicChildAt(Point);
    if (Message.Msg == WM_MOUSEMOVE)
      SetMouseControl(Target);
  }
  if (!Target)
    return false;
  const bool Down = Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_RBUTTONDOWN ||
                    Message.Msg == WM_MBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK ||
                    Message.Msg == WM_RBUTTONDBLCLK || Message.Msg == WM_MBUTTONDBLCLK;
  const bool Up =
      Message.Msg == WM_LBUTTONUP || Message.Msg == WM_RBUTTONUP || Message.Msg == WM_MBUTTONUP;
  if (Down && !FCaptureControl) {
    FCaptureControl = Target;
    ::SetCapture(FHandle);
  }
  const POINT Local{Point.x - Target->Left(), Point.y - Target->Top()};
  Message.Result = Target->Perform(Message.Msg, Message.WParam, MakePointParam(Local));
  if (Up && FCaptureControl == Target &&
      !(Message.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
    FCaptureControl = nullptr;
    if (::GetCapture() == FHandle)
      ::ReleaseCapture();
    // The pointer may have left the child while the button was held.
    SetMouseControl(GraphicChildAt(Point));
  }
  return true;
}

void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_COMMAND:
    if (Message.LParam)
      if (TControl* Child = ChildFromWindow(reinterpret_cast<HWND>(Message.LParam))) {
        Message.Result = Child->Perform(CN_COMMAND, Message.WParam, Message.LParam);
        return;
      }
    break;
  case WM_NOTIFY:
    if (TControl* Child = ChildFromWindow(reinterpret_cast<NMHDR*>(Message.LParam)->hwndFrom)) {
      Message.Result = Child->Perform(CN_NOTIFY, Message.WParam, Message.LParam);
      return;
    }
    break;
  case WM_DRAWITEM: {
    auto* Item = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
    if (Item->CtlType != ODT_MENU)
      if (TControl* Child = ChildFromWindow(Item->hwndItem)) {
        Message.Result = Child->Perform(CN_DRAWITEM, Message.WParam, Message.LParam);
        return;
      }
    break;
  }
  case WM_MEASUREITEM: {
    auto* Item = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
    if (Item->CtlType != ODT_MENU)
      if (TControl* Child = ChildFromWindow(::GetDlgItem(FHandle, static_cast<int>(Item->CtlID)))) {
        Message.Result = Child->Perform(CN_MEASUREITEM, Message.WParam, Message.LParam);
        return;
      }
    break;
  }
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORLISTBOX:
  case WM_CTLCOLORBTN:
  case WM_CTLCOLORSTATIC:
    if (TControl* Child = ChildFromWindow(reinterpret_cast<HWND>(Message.LParam))) {
      Message.Result = Child->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
      return;
    }
    break;
  case CN_CTLCOLOREDIT:
  case CN_CTLCOLORLISTBOX:
  case CN_CTLCOLORBTN:
  case CN_CTLCOLORSTATIC:
    Message.Result = ControlColor(reinterpret_cast<HDC>(Message.WParam));
    return;
  case WM_ERASEBKGND:
    if (FOwnClass) {
      RECT Client;
      ::GetClientRect(FHandle, &Client);
      ::FillRect(reinterpret_cast<HDC>(Message.WParam), &Client,
                 reinterpret_cast<HBRUSH>(ControlColor(nullptr)));
      Message.Result = 1;
      return;
    }
    break;
  case WM_PAINT:
    if (FOwnClass || HasGraphicChildren()) {
      PaintHandler(Message);
      return;
    }
    break;
  case WM_WINDOWPOSCHANGED:
    DefaultHandler(Message);
    SyncBoundsFromWindow();
    return;
  case WM_SIZE:
    DefaultHandler(Message);
    Realign();
    if (OnResize)
      OnResize(*this);
    return;
  case WM_SETCURSOR:
    if (reinterpret_cast<HWND>(Message.WParam) == FHandle) {
      TCursorId Id = Screen.Cursor();
      if (Id == crDefault && LOWORD(Message.LParam) == HTCLIENT) {
        POINT Point;
        ::GetCursorPos(&Point);
        ::ScreenToClient(FHandle, &Point);
        const TControl* Under = GraphicChildAt(Point);
        Id = Under && Under->Cursor != crDefault ? Under->Cursor : Cursor;
      }
      if (Id != crDefault) {
        ::SetCursor(Screen.CursorHandle(Id));
        Message.Result = TRUE;
        return;
      }
    }
    break;
  case WM_MOUSEMOVE:
    if (!FTrackingLeave) {
      TRACKMOUSEEVENT Track{sizeof(Track), TME_LEAVE, FHandle, 0};
      FTrackingLeave = ::TrackMouseEvent(&Track) != 0;
      Perform(CM_MOUSEENTER);
    }
    if (RouteMouse(Message))
      return;
    break;
  case WM_MOUSELEAVE:
    FTrackingLeave = false;
    if (!FCaptureControl)
      SetMouseControl(nullptr);
    Perform(CM_MOUSELEAVE);
    break;
  case WM_KEYDOWN:
  case WM_SYSKEYDOWN:
  case WM_KEYUP:
  case WM_SYSKEYUP: {
    const bool Down = Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN;
    // A form with KeyPreview sees its controls' keys first.
    TForm* Form = ParentForm();
    if (Form && Form != this && Form->KeyPreview && (Down ? Form->OnKeyDown : Form->OnKeyUp)) {
      WORD Key = static_cast<WORD>(Message.WParam);
      (Down ? Form->OnKeyDown : Form->OnKeyUp)(*Form, Key, KeyboardShiftState());
      if (Key == 0)
        return;
      Message.WParam = Key;
    }
    auto& Handler = Down ? OnKeyDown : OnKeyUp;
    if (Handler) {
      WORD Key = static_cast<WORD>(Message.WParam);
      Handler(*this, Key, KeyboardShiftState());
      if (Key == 0)
        return;
      Message.WParam = Key;
    }
    break;
  }
  case WM_CHAR:
    if (OnKeyPress) {
      char Key = static_cast<char>(Message.WParam);
      OnKeyPress(*this, Key);
      if (Key == 0)
        return;
      Message.WParam = static_cast<unsigned char>(Key);
    }
    break;
  case WM_SETFOCUS:
    // The form remembers the control, to give the focus back to it when it is activated again
    // (after a message box, or when the user comes back from another window).
    if (TForm* Form = ParentForm(); Form && Form != this)
      Form->FActiveControl = this;
    DefaultHandler(Message);
    if (OnEnter)
      OnEnter(*this);
    return;
  case WM_KILLFOCUS:
    DefaultHandler(Message);
    if (OnExit)
      OnExit(*this);
    return;
  default:
    if (IsMouseMessage(Message.Msg) && RouteMouse(Message))
      return;
    break;
  }
  TControl::WndProc(Message);
}

void TWinControl::PaintHandler(TMessage& Message) {
  PAINTSTRUCT Paint{};
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  const bool OwnDC = DC == nullptr;
  if (OwnDC)
    DC = ::BeginPaint(FHandle, &Paint);
  if (FOwnClass) {
    PaintWindow(DC);
  } else {
    // Standard controls paint into a given device context when wParam carries one.
    ::CallWindowProcA(FDefWndProc, FHandle, WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  }
  PaintGraphicChildren(DC);
  if (OwnDC)
    ::EndPaint(FHandle, &Paint);
  Message.Result = 0;
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintGraphicChildren(HDC DC) {
  for (TControl* Control : FControls) {
    auto* Graphic = dynamic_cast<TGraphicControl*>(Control);
    if (!Graphic || !Graphic->Visible())
      continue;
    const RECT Area = Graphic->BoundsRect();
    if (!::RectVisible(DC, &Area))
      continue;
    const int Saved = ::SaveDC(DC);
    ::IntersectClipRect(DC, Area.left, Area.top, Area.right, Area.bottom);
    ::OffsetViewportOrgEx(DC, Area.left, Area.top, nullptr);
    Graphic->PaintTo(DC);
    ::RestoreDC(DC, Saved);
  }
}

LRESULT TWinControl::ControlColor(HDC DC) {
  if (!FBackground || FBackgroundMade != Color()) {
    FBackground.Reset(::CreateSolidBrush(ColorToRGB(Color())));
    FBackgroundMade = Color();
  }
  if (DC) {
    ::SetTextColor(DC, ColorToRGB(Font().Color()));
    ::SetBkColor(DC, ColorToRGB(Color()));
  }
  return reinterpret_cast<LRESULT>(FBackground.Get());
}

void TWinControl::InsertControl(TControl* Control) {
  FControls.push_back(Control);
}

void TWinControl::RemoveControl(TControl* Control) {
  if (FMouseControl == Control)
    FMouseControl = nullptr;
  if (FCaptureControl == Control) {
    FCaptureControl = nullptr;
    if (FHandle && ::GetCapture() == FHandle)
      ::ReleaseCapture();
  }
  std::erase(FControls, Control);
  if (FHandle && !dynamic_cast<TWinControl*>(Control)) {
    const RECT Area = Control->BoundsRect();
    ::InvalidateRect(FHandle, &Area, TRUE);
  }
}

TSize2 TWinControl::ClientSize() const {
  if (FHandle) {
    RECT Client;
    ::GetClientRect(FHandle, &Client);
    return {Client.right, Client.bottom};
  }
  if (FDesignClient.Width || FDesignClient.Height)
    return FDesignClient;
  return {Width(), Height()};
}

void TWinControl::SetClientSize(int Width, int Height) {
  FDesignClient = {Width, Height};
  if (FHandle) {
    RECT Window, Client;
    ::GetWindowRect(FHandle, &Window);
    ::GetClientRect(FHandle, &Client);
    SetBounds(Left(), Top(), Width + (Window.right - Window.left) - Client.right,
              Height + (Window.bottom - Window.top) - Client.bottom);
  } else {
    SetBounds(Left(), Top(), Width, Height);
  }
}

TBounds TWinControl::AlignArea() const {
  const TSize2 Size = ClientSize();
  return {0, 0, Size.Width, Size.Height};
}

void TWinControl::Realign() {
  const TBounds Area = AlignArea();
  std::vector<TAlignItem> Items;
  Items.reserve(FControls.size());
  for (TControl* Control : FControls)
    Items.push_back({Control->Align(), Control->Bounds(), Control->Visible()});
  AlignItems(Area, Items);
  const TSize2 Size = ClientSize();
  for (std::size_t I = 0; I < FControls.size(); ++I) {
    TControl* Control = FControls[I];
    if (Control->Align() != TAlign::alNone)
      Control->UpdateBounds(Items[I].Bounds);
    else if (Control->Anchors() != akTopLeft && Control->FDesignParent.Width > 0)
      Control->UpdateBounds(
          AnchorBounds(Control->FDesign, Control->FDesignParent, Size, Control->Anchors()));
  }
}

void TWinControl::UpdateBounds(const TBounds& Bounds) {
  const bool Changed = !(Bounds == TControl::Bounds());
  TControl::UpdateBounds(Bounds);
  if (!Changed || FSyncingBounds)
    return;
  if (FHandle)
    ::SetWindowPos(FHandle, nullptr, Bounds.Left, Bounds.Top, Bounds.Width,
                   WindowHeight(Bounds.Height), SWP_NOZORDER | SWP_NOACTIVATE);
  else
    Realign();
}

// Takes the window's actual place after the user or the system moved or sized it.
void TWinControl::SyncBoundsFromWindow() {
  if (!FHandle || ::IsIconic(FHandle))
    return;
  RECT Window;
  ::GetWindowRect(FHandle, &Window);
  if (::GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD)
    ::MapWindowPoints(nullptr, ::GetParent(FHandle), reinterpret_cast<POINT*>(&Window), 2);
  FSyncingBounds = true;
  TControl::UpdateBounds(
      {Window.left, Window.top, Window.right - Window.left, Window.bottom - Window.top});
  FSyncingBounds = false;
}

void TWinControl::VisibleChanged() {
  if (FHandle)
    ::ShowWindow(FHandle, Visible() ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::EnabledChanged() {
  if (FHandle)
    ::EnableWindow(FHandle, Enabled());
}

void TWinControl::TextChanged() {
  if (FHandle)
    ::SetWindowTextA(FHandle, TControl::Caption().c_str());
}

void TWinControl::ApplyFontToWindow() {
  if (FHandle)
    ::SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
}

void TWinControl::FontChanged() {
  ApplyFontToWindow();
  for (TControl* Control : FControls)
    Control->TakeParentFont();
  Invalidate();
}

void TWinControl::ColorChanged() {
  Invalidate();
}

void TWinControl::Invalidate() {
  if (FHandle)
    ::InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::Update() {
  if (FHandle)
    ::UpdateWindow(FHandle);
}

void TWinControl::SetFocus() {
  if (HWND Window = Handle())
    ::SetFocus(Window);
}

bool TWinControl::Focused() const {
  return FHandle && ::GetFocus() == FHandle;
}

bool TWinControl::CanFocus() const {
  for (const TControl* Control = this; Control; Control = Control->Parent())
    if (!Control->Visible() || !Control->Enabled())
      return false;
  return true;
}

void TCustomControl::PaintWindow(HDC DC) {
  TCanvas Canvas(DC);
  Canvas.Font = Font();
  Canvas.BrushColor = Color();
  Paint(Canvas);
}

} // namespace wyndo
