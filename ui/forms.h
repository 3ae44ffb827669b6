#pragma once
// Forms: top-level windows with a caption, icon, border, a modal loop, a close protocol and a
// deferred release.
//
// Life of a form. Forms are made with MakeForm<T>(...), which runs OnCreate once the object is
// fully constructed, and freed through TFormPtr (or Free, or Release), which runs OnDestroy and
// destroys the window while the whole object still exists. The window itself is made when first
// needed (Show, ShowModal, Handle).
//
// Events: OnCreate after construction; OnShow before the window appears, OnHide when it is
// hidden; OnCloseQuery may refuse a close; OnClose may change the close action; OnDestroy
// before the window and the object go.

#include "ui/application.h"
#include "ui/controls.h"

#include <memory>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace wyndo {

enum class TBorderStyle : std::uint8_t {
  bsNone,
  bsSingle,
  bsSizeable,
  bsDialog,
  bsToolWindow,
  bsSizeToolWin
};
enum TBorderIcon : std::uint8_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = std::uint8_t;
enum class TPosition : std::uint8_t { poDesigned, poDefault, poDefaultPosOnly, poScreenCenter };
enum class TWindowState : std::uint8_t { wsNormal, wsMinimized, wsMaximized };
enum class TFormStyle : std::uint8_t { fsNormal, fsStayOnTop };
enum class TCloseAction : std::uint8_t { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = IDOK;
inline constexpr TModalResult mrCancel = IDCANCEL;

using TCloseEvent = std::function<void(TObject& Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject& Sender, bool& CanClose)>;

class TButton;
class TMainMenu;

class TForm : public TWinControl {
public:
  TForm();
  ~TForm() override;

  // Runs OnCreate; MakeForm calls it once the object is complete.
  virtual void AfterConstruction();
  // Runs OnDestroy and destroys the window; Free calls it before deleting the object.
  virtual void BeforeDestruction();
  // Destroys the form's window now and the object as soon as no message handler of ours is
  // running any more (at once outside them): a form may be freed by something its own handler
  // started, such as a timer firing while a message box of the handler is up.
  void Free();
  // Destroys the form once the messages already queued for it have been handled.
  void Release();

  // The name of the form's window class (a second instance finds the main window by it).
  virtual const char* WindowClassName() const { return "TForm"; }

  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value);
  TPosition Position = TPosition::poDesigned;
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle Value);
  TWindowState WindowState() const;
  void SetWindowState(TWindowState Value);
  // The form sees key presses before its focused control.
  bool KeyPreview = false;
  // The window icon; nullptr means the program icon. Not owned.
  HICON Icon() const { return FIcon; }
  void SetIcon(HICON Icon);
  // The menu bar (not owned); its shortcut keys work while the form is active.
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* Menu);
  // Forms are owned by the application window unless made with OwnedByApplication false.
  bool OwnedByApplication = true;

  // Shows the form, waits until ModalResult is set (or the form closes), hides it and returns
  // the result. Other windows of the program are disabled meanwhile.
  TModalResult ShowModal();
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  bool Modal() const { return FModal; }
  // Asks OnCloseQuery, then applies the close action (hide by default; the main form ends the
  // program). A modal form gets ModalResult mrCancel instead.
  void Close();
  bool CloseQuery();
  // Makes the form visible and brings it to the front.
  void BringToFront();
  // Places the form centred over Window, moved wholly into the work area of Window's monitor.
  void CentreOver(HWND Window);
  // Records a visibility change made directly on the window (no events, no window calls).
  void MarkVisible(bool Value);

  // The control that has (or last had) the focus on this form.
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* Control);
  // Moves the focus to the next (or previous) control that takes it with Tab.
  void SelectNext(bool Forward);
  // Enter, Escape and Tab of a key-down message as a dialog handles them; true when used.
  bool DialogKey(const MSG& Message);
  TButton* DefaultButton() const;
  TButton* CancelButton() const;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  void WndProc(TMessage& Message) override;

  // Takes ownership of a control made for this form; controls go with the form, children
  // before their parents.
  template <class T>
  T* Own(std::unique_ptr<T> Control) {
    T* Result = Control.get();
    FComponents.push_back(std::move(Control));
    return Result;
  }
  template <class T>
  T* Make() {
    return Own(std::make_unique<T>());
  }

  // Runs the close event (OnClose, and a derived form's own choice), which may change Action.
  virtual void DoClose(TCloseAction& Action);

protected:
  void CreateParams(TCreateParams& Params) override;
  void HandleCreated() override;
  void VisibleChanged() override;

private:
  friend class TWinControl;
  friend class TApplication;
  void ApplyIcon();
  void ApplyFrameStyle();
  void FocusFirst();
  std::vector<TWinControl*> TabList() const;
  // A control going away stops being any form's active control.
  static void ForgetControl(const TWinControl* Control);

  std::vector<std::unique_ptr<TControl>> FComponents;
  TBorderStyle FBorderStyle = TBorderStyle::bsSizeable;
  TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
  TFormStyle FFormStyle = TFormStyle::fsNormal;
  TWindowState FWindowState = TWindowState::wsNormal;
  HICON FIcon = nullptr;
  TModalResult FModalResult = mrNone;
  bool FModal = false;
  bool FDestroying = false;
  bool FMarkingVisible = false;
  bool FFollowingOwner = false;
  TWinControl* FActiveControl = nullptr;
  TMainMenu* FMenu = nullptr;
};

template <class T>
using TFormPtr = std::unique_ptr<T, TFormDeleter>;

// Makes a form and runs its OnCreate.
template <class T, class... TArgs>
TFormPtr<T> MakeForm(TArgs&&... Args) {
  TFormPtr<T> Form(new T(std::forward<TArgs>(Args)...));
  Form->AfterConstruction();
  return Form;
}

} // namespace wyndo
