#pragma once
// Controls: the window-less TControl and TGraphicControl, and TWinControl, which owns one window.
//
// Message protocol. Every message of a control reaches its virtual WndProc(TMessage&). A class
// handles the messages it lists and passes every other message, unchanged, to the inherited
// WndProc; the base classes end in DefaultHandler, which for a windowed control calls the
// window's original procedure (DefWindowProcA for our own window classes, the system class's
// procedure for subclassed standard controls). Window-less controls get their mouse messages
// from their parent, in their own client coordinates.
//
// Notifications that Windows sends to a parent (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*,
// WM_DRAWITEM, WM_MEASUREITEM) are reflected to the child control they concern as CN_* messages,
// so a button handles its own click.
//
// Windows are made lazily: setting properties before the window exists only stores them; the
// window (and its children's windows) is created the first time Handle() is needed, when the
// object is fully constructed, so CreateParams and the message handlers of derived classes
// apply. Constructors must therefore not ask for Handle().

#include "core/layout.h"
#include "ui/graphics.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace wyndo {

class TObject {
public:
  virtual ~TObject() = default;
};

// Deletes Object once no window procedure of ours is handling a message any more: code that is
// still running for it further up the stack (a click handler that opened a message box, say)
// returns into a live object. Now, when none is.
void DeleteAfterHandlers(TObject* Object);

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result = 0;
};

// Framework messages.
inline constexpr UINT CM_BASE = 0xB000;
inline constexpr UINT CM_MOUSEENTER = CM_BASE + 19; // the pointer entered the control
inline constexpr UINT CM_MOUSELEAVE = CM_BASE + 20; // the pointer left the control
inline constexpr UINT CM_RELEASE = CM_BASE + 33;    // deferred destruction of a form
// Notifications reflected from the parent to the child they concern: CN_BASE + the message.
inline constexpr UINT CN_BASE = 0xBC00;
inline constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
inline constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
inline constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
inline constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
inline constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
inline constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
inline constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
inline constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

enum TShiftFlag : std::uint8_t {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64
};
using TShiftState = std::uint8_t;
enum class TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

// The shift state of a mouse message's wParam, or of the keyboard now.
TShiftState MouseShiftState(WPARAM KeyFlags);
TShiftState KeyboardShiftState();

using TNotifyEvent = std::function<void(TObject& Sender)>;
using TMouseEvent =
    std::function<void(TObject& Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject& Sender, TShiftState Shift, int X, int Y)>;
// Setting Key to 0 consumes the key.
using TKeyEvent = std::function<void(TObject& Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject& Sender, char& Key)>;

// Screen cursors: 0 is the default; positive numbers are the program's own (Screen.SetCursorImage);
// negative ones are the system's.
using TCursorId = int;
inline constexpr TCursorId crDefault = 0;
inline constexpr TCursorId crArrow = -2;
inline constexpr TCursorId crCross = -3;
inline constexpr TCursorId crIBeam = -4;
inline constexpr TCursorId crHourGlass = -11;
inline constexpr TCursorId crHandPoint = -21;
// The finder tool's cross-hair, loaded by the program entry.
inline constexpr TCursorId crFinder = 1;

class TWinControl;
class TForm;

class TControl : public TObject {
public:
  TControl();
  ~TControl() override;
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  std::string Name;
  std::intptr_t Tag = 0;

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* NewParent);
  // The form this control sits on, or nullptr.
  TForm* ParentForm() const;

  int Left() const { return FBounds.Left; }
  int Top() const { return FBounds.Top; }
  int Width() const { return FBounds.Width; }
  int Height() const { return FBounds.Height; }
  const TBounds& Bounds() const { return FBounds; }
  RECT BoundsRect() const;
  // Places the control; this placement is also where its anchors measure from.
  void SetBounds(int Left, int Top, int Width, int Height);
  void SetLeft(int Value) { SetBounds(Value, Top(), Width(), Height()); }
  void SetTop(int Value) { SetBounds(Left(), Value, Width(), Height()); }
  void SetWidth(int Value) { SetBounds(Left(), Top(), Value, Height()); }
  void SetHeight(int Value) { SetBounds(Left(), Top(), Width(), Value); }
  // Size of the client area (a window-less control: its own size).
  virtual TSize2 ClientSize() const { return {Width(), Height()}; }
  RECT ClientRect() const;

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value);

  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  // Visible here and in every parent.
  bool Showing() const;

  // The control's text (a window's caption, a label's text, an edit's contents).
  virtual std::string Caption() const { return FCaption; }
  void SetCaption(std::string_view Value);
  const std::string& Hint() const { return FHint; }
  void SetHint(std::string_view Value) { FHint = Value; }
  // Shows Hint in the application's hint window while the pointer rests on the control; a
  // control without its own setting takes its parent's.
  bool ShowHint = false;

  TFont& Font() { return FFont; }
  const TFont& Font() const { return FFont; }
  // Takes the parent's font while true (the default); set to false by changing Font.
  bool ParentFont() const { return FParentFont; }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TCursorId Cursor = crDefault;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  // Sends a message straight to the control's message handler.
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  virtual void WndProc(TMessage& Message);

  virtual void Invalidate();
  // Carries out pending painting now.
  virtual void Update();
  void Repaint();
  virtual void Click();
  // Whether the pointer is over the control (tracked through CM_MOUSEENTER / CM_MOUSELEAVE).
  bool MouseInControl() const { return FMouseInControl; }

  POINT ClientToScreen(POINT Point) const;
  POINT ScreenToClient(POINT Point) const;
  // Offset of this control's client origin in its nearest window (0, 0 for a windowed control).
  virtual POINT OriginInWindow() const;
  // The window that receives this control's messages and paints it.
  virtual HWND WindowHandle() const;

protected:
  virtual void BoundsChanged() {}
  virtual void VisibleChanged() {}
  virtual void EnabledChanged() {}
  virtual void TextChanged() {}
  virtual void FontChanged() {}
  virtual void ColorChanged() {}
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseEnter();
  virtual void MouseLeave();
  // End of the message chain; a window-less control leaves the result at 0.
  virtual void DefaultHandler(TMessage& Message);
  // Places the control without changing where its anchors measure from.
  virtual void UpdateBounds(const TBounds& Bounds);
  // Takes the parent's font if ParentFont.
  void TakeParentFont();
  // Raises Click when a left press and release both happen on the control (labels, speed
  // buttons); standard controls report clicks through their own notifications instead.
  bool FClickOnRelease = false;

private:
  friend class TWinControl;
  void RememberDesign();

  TWinControl* FParent = nullptr;
  TBounds FBounds;
  TBounds FDesign;      // bounds at the last explicit placement
  TSize2 FDesignParent; // the parent's client size then
  TAlign FAlign = TAlign::alNone;
  TAnchors FAnchors = akTopLeft;
  bool FVisible = true;
  bool FEnabled = true;
  bool FPressed = false; // left button went down on the control
  bool FMouseInControl = false;
  std::string FCaption;
  std::string FHint;
  TFont FFont;
  bool FParentFont = true;
  bool FApplyingParentFont = false;
  TColor FColor = clBtnFace;
};

// A window-less control that paints itself on its parent's window.
class TGraphicControl : public TControl {
public:
  TGraphicControl();
  void Invalidate() override;
  void Update() override;
  // Paints the control on DC, whose origin is the control's top-left corner.
  void PaintTo(HDC DC);

protected:
  virtual void Paint(TCanvas& Canvas) = 0;
};

class TWinControl : public TControl {
public:
  TWinControl();
  ~TWinControl() override;

  // The window, made (with its parents' and children's windows) when first needed.
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded() { Handle(); }
  void DestroyHandle();
  HWND WindowHandle() const override { return FHandle; }
  POINT OriginInWindow() const override { return {0, 0}; }

  // The control of ours that owns Window, or nullptr for any other window.
  static TWinControl* FromHandle(HWND Window);
  // The visible, enabled window-less child at a client point (the topmost), or nullptr.
  TControl* ControlAtPos(POINT Point) const;

  // Child controls in the order they were given this parent (windows: creation order).
  const std::vector<TControl*>& Controls() const { return FControls; }

  int TabOrder = -1; // -1: after the explicit ones, in creation order
  bool TabStop = false;
  void SetFocus();
  bool Focused() const;
  bool CanFocus() const;

  TSize2 ClientSize() const override;
  // Sets the client area's size; a form grows its window by its frame.
  virtual void SetClientSize(int Width, int Height);
  // Re-applies alignment and anchors to the children.
  void Realign();

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TNotifyEvent OnResize;

  void WndProc(TMessage& Message) override;
  void Invalidate() override;
  void Update() override;

protected:
  struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    HWND WndParent = nullptr;
    // A top-level window's menu bar, there from the start so that the first size counts it.
    HMENU Menu = nullptr;
    // A standard control class to subclass ("BUTTON", "EDIT", ...), or empty for our own class.
    std::string SystemClass;
    // Our own window class: its name and class style.
    std::string WinClassName = "TWinControl";
    UINT ClassStyle = CS_DBLCLKS;
    HICON ClassIcon = nullptr;
  };
  virtual void CreateParams(TCreateParams& Params);
  // Makes the window; then the children's windows and the initial state.
  virtual void CreateHandle();
  // Runs once the window and its children's windows exist.
  virtual void HandleCreated() {}
  // Paints our own window class's client area (after the background; before window-less
  // children). Standard controls paint themselves.
  virtual void PaintWindow(HDC DC);
  void DefaultHandler(TMessage& Message) override;
  void UpdateBounds(const TBounds& Bounds) override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  void TextChanged() override;
  void FontChanged() override;
  void ColorChanged() override;
  // The area that aligned children share (the client rectangle, less any border).
  virtual TBounds AlignArea() const;
  // Reflected WM_CTLCOLOR*: text and background from Font and Color.
  LRESULT ControlColor(HDC DC);
  // Our window class is painted by PaintWindow (our own classes) or by the system.
  bool OwnClass() const { return FOwnClass; }
  // The height given to the window for a control of Height (a combo box adds its list).
  virtual int WindowHeight(int Height) const { return Height; }
  // Size of the client area before the window exists.
  TSize2 FDesignClient;

private:
  friend class TControl;
  friend void RegisterOwnClass(const std::string& Name, UINT Style, HICON Icon);
  static LRESULT CALLBACK OwnClassProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
  static LRESULT CALLBACK SubclassProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
  static LRESULT Dispatch(TWinControl* Control, HWND Window, UINT Msg, WPARAM WParam,
                          LPARAM LParam);
  void Bind(HWND Window);
  void Unbind();
  void InsertControl(TControl* Control);
  void RemoveControl(TControl* Control);
  TControl* ChildFromWindow(HWND Window) const;
  TGraphicControl* GraphicChildAt(POINT Point) const;
  bool RouteMouse(TMessage& Message);
  void SetMouseControl(TControl* Control);
  void PaintHandler(TMessage& Message);
  void PaintGraphicChildren(HDC DC);
  void ApplyFontToWindow();
  bool HasGraphicChildren() const;
  void SyncBoundsFromWindow();

  HWND FHandle = nullptr;
  WNDPROC FDefWndProc = nullptr;
  bool FOwnClass = true;
  bool FCreating = false;
  bool FSyncingBounds = false;
  TGdiObject FBackground; // brush of Color for WM_CTLCOLOR* and the background
  TColor FBackgroundMade = 0;
  std::vector<TControl*> FControls;
  TControl* FMouseControl = nullptr;   // window-less child under the pointer
  TControl* FCaptureControl = nullptr; // window-less child that took a button press
  bool FTrackingLeave = false;
};

// A windowed control of our own class that paints itself.
class TCustomControl : public TWinControl {
protected:
  void PaintWindow(HDC DC) override;
  virtual void Paint(TCanvas& Canvas) = 0;
};

// Registers a window class of ours once per process (the name is the key).
void RegisterOwnClass(const std::string& Name, UINT Style, HICON Icon);

} // namespace wyndo
