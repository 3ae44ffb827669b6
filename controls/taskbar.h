#pragma once
// The in-application taskbar: a strip in the main window with one button per registered window of
// the program, like the desktop's task bar but inside the application.
//
// A window is registered once, right after it is made (AddForm). From then on the taskbar follows
// it by subclassing its window procedure: the button takes the window's title and small icon, is
// shown down while the window is active, goes when the window is closed, and a minimised window is
// hidden from the desktop and lives only as its button until that is clicked again. A click on a
// button activates or restores its window, or minimises it when it is the active one already; a
// right click opens the window's system menu at the pointer.
//
// Events (TTaskbarEvent, Sender = the taskbar's list of items):
//   OnAddForm(Items, Form)    after Form has been registered and its button laid out; not for a
//                             window that was registered already.
//   OnRemoveForm(Items, Form) after Form's item has left the list (its button gone, its window
//                             procedure put back) and the buttons have been laid out again, and
//                             before the window is destroyed, when it is.

#include "core/errors.h"
#include "ui/forms.h"
#include "ui/toolwindow.h"

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wyndo {

// Raised by AddForm for a null window: "Invalid Form".
class ETaskbarError : public Exception {
public:
  using Exception::Exception;
};

class TTaskbar;
class TTaskItem;
class TTaskItems;

using TTaskbarEvent = std::function<void(TTaskItems& Sender, TForm& Form)>;

// How the buttons of a taskbar look in each of their four states. Writing any value stores it and
// has the taskbar carry out its pending painting; the buttons show the change at their next
// repaint.
class TButtonSettings {
public:
  // Index of the colour and font of each state.
  enum TState : int { bsNormal = 0, bsWhenDown = 1, bsOnMouseOver = 2, bsOnClick = 3 };

  // Colours from the taskbar's Color now; the default font, bold when down and on click,
  // underlined on mouse-over; white light and black shadow lines.
  explicit TButtonSettings(TTaskbar& Taskbar);
  TButtonSettings(const TButtonSettings&) = delete;
  TButtonSettings& operator=(const TButtonSettings&) = delete;

  // Copies all ten values of Source.
  void Assign(const TButtonSettings& Source);

  TColor Colors(int Index) const { return FColors.at(static_cast<std::size_t>(Index)); }
  void SetColors(int Index, TColor Value);
  const TFont& Fonts(int Index) const { return FFonts.at(static_cast<std::size_t>(Index)); }
  // Stores a copy of Value.
  void SetFonts(int Index, const TFont& Value);

  TColor Color() const { return Colors(bsNormal); }
  void SetColor(TColor Value) { SetColors(bsNormal, Value); }
  TColor ColorWhenDown() const { return Colors(bsWhenDown); }
  void SetColorWhenDown(TColor Value) { SetColors(bsWhenDown, Value); }
  TColor ColorOnMouseOver() const { return Colors(bsOnMouseOver); }
  void SetColorOnMouseOver(TColor Value) { SetColors(bsOnMouseOver, Value); }
  TColor ColorOnClick() const { return Colors(bsOnClick); }
  void SetColorOnClick(TColor Value) { SetColors(bsOnClick, Value); }

  const TFont& Font() const { return Fonts(bsNormal); }
  void SetFont(const TFont& Value) { SetFonts(bsNormal, Value); }
  const TFont& FontWhenDown() const { return Fonts(bsWhenDown); }
  void SetFontWhenDown(const TFont& Value) { SetFonts(bsWhenDown, Value); }
  const TFont& FontOnMouseOver() const { return Fonts(bsOnMouseOver); }
  void SetFontOnMouseOver(const TFont& Value) { SetFonts(bsOnMouseOver, Value); }
  const TFont& FontOnClick() const { return Fonts(bsOnClick); }
  void SetFontOnClick(const TFont& Value) { SetFonts(bsOnClick, Value); }

  // The pen of a raised button's top-left lines and of a sunken button's bottom-right ones.
  TColor LightColor() const { return FLightColor; }
  void SetLightColor(TColor Value);
  // The pen of a sunken button's top-left lines and of a raised button's bottom-right ones.
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);

  TTaskbar& Taskbar() const { return FTaskbar; }

private:
  void Changed();

  std::array<TColor, 4> FColors{};
  std::array<TFont, 4> FFonts;
  TColor FLightColor = clWhite;
  TColor FShadowColor = clBlack;
  TTaskbar& FTaskbar;
};

// The button of one registered window. It paints itself on the taskbar and is the taskbar's child
// while its window is shown; a window hidden by its close takes its button off the taskbar.
class TTaskButton : public TGraphicControl {
public:
  TTaskButton(TTaskbar& Taskbar, TTaskItem& Item);

  // Its item; nullptr once the item has gone while the button was still handling a message.
  TTaskItem* Item() const { return FItem; }
  TTaskbar& Taskbar() const { return FTaskbar; }

  // The text on the button, which is also its hint (the full title as a tooltip).
  const std::string& Text() const { return FText; }
  void SetText(std::string_view Value);
  // The button's window is the active one. Setting it puts every other button of the taskbar up.
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  // A mouse button was pressed on the button while it was up.
  bool Clicking() const { return FClicking; }
  bool MouseOver() const { return FMouseOver; }
  // The window's system menu, opened from this button by a right click, is up.
  bool InSystemMenu() const { return FInSystemMenu; }
  // The 16 x 16 icon drawn on the button: a copy of the window's icon or of the taskbar's StdIcon.
  const TIconHandle& Icon() const { return FIcon; }
  // Takes ownership of Icon.
  void SetIcon(HICON Icon) { FIcon.Reset(Icon); }
  // The icon and the text follow the window.
  bool AutoIcon = true;
  bool AutoCaption = true;

  // Where the button's contents go at a width: no icon below 24 pixels (25 when down), the text
  // at 24 with the icon, else at 8, or at 4 below 8 (each one more when down).
  struct TContentLayout {
    bool ShowIcon;
    int IconLeft;
    int TextLeft;
  };
  static TContentLayout ContentLayout(int Width, bool Down);

  void WndProc(TMessage& Message) override;
  void Click() override;
  // A press on the button is about to activate the main window, which takes the activation from
  // the button's window before the press arrives: the press counts with the state from now.
  void PressActivates();
  // Whether a message of the button is being handled (the button must outlive it).
  bool Busy() const { return FBusy > 0; }
  // Cuts the button off its item and the taskbar: the item has gone.
  void Detach();

protected:
  void Paint(TCanvas& Canvas) override;

private:
  void MouseButtonUp(TMessage& Message);

  TTaskbar& FTaskbar;
  TTaskItem* FItem;
  std::string FText;
  bool FDown = false;
  bool FClicking = false;
  // Down when the mouse button went down on it (before the press activated the main window): a
  // click on the active window's button minimises that window.
  bool FDownAtPress = false;
  std::optional<bool> FDownBeforeActivation;
  TIconHandle FIcon;
  bool FMouseOver = false;
  bool FInSystemMenu = false;
  bool FSkipClick = false;
  int FBusy = 0;
};

// One registered window: its button, and the subclassing that lets the taskbar follow it.
class TTaskItem {
public:
  // Makes the window when it does not exist yet, adds its button and subclasses the window.
  TTaskItem(TTaskbar& Taskbar, TForm& Form, bool RemoveOnClose, bool FreeOnRemove);
  // Puts the window procedure back (when the window still exists and nobody subclassed it after
  // us) and takes the button away.
  ~TTaskItem();
  TTaskItem(const TTaskItem&) = delete;
  TTaskItem& operator=(const TTaskItem&) = delete;

  TTaskButton& Button() const { return *FButton; }
  TForm& Form() const { return FForm; }
  TTaskbar& Taskbar() const { return FTaskbar; }
  // Closing the window removes the item.
  bool RemoveOnClose() const { return FRemoveOnClose; }
  // Removing the item destroys the window.
  bool FreeOnRemove() const { return FFreeOnRemove; }
  // The window procedure before ours; nullptr once the window has gone.
  WNDPROC OldWndProc() const { return FOldWndProc; }
  // The registered window while it exists, else nullptr.
  HWND Window() const;
  // False only while a minimise started by the taskbar or by the window's own minimise command
  // is carried out, so that the restore rules do not undo it.
  bool RestoreAllowed() const { return FRestoreAllowed; }

  // The button's click: restores a minimised window, else shows it and brings it to the front.
  // A failure drops the item (the window stays) and is swallowed.
  void ClickAction();
  // Minimises the window on behalf of the taskbar (the restore rules hold still meanwhile).
  void Minimize();
  // Makes the window visible and brings it to the front.
  void ShowInFront();
  // The button's icon becomes a copy of the window's small icon, else its big one, else the
  // taskbar's StdIcon.
  void LoadIcon();
  // The window's title now.
  std::string WindowTitle() const;

private:
  static LRESULT CALLBACK ItemProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
  LRESULT WindowMessage(UINT Msg, WPARAM WParam, LPARAM LParam);
  // Whether Item is still the one subclassing Window (a message handled on the way may have
  // removed it).
  static bool Registered(HWND Window, const TTaskItem* Item);
  void AttachButton();
  void FollowCaption();
  void FollowIcon();
  void WindowClosing();

  std::unique_ptr<TTaskButton> FButton;
  TForm& FForm;
  TTaskbar& FTaskbar;
  bool FRemoveOnClose;
  bool FFreeOnRemove;
  WNDPROC FOldWndProc = nullptr;
  bool FCaptionSyncEnabled = true;
  bool FIconSyncEnabled = true;
  bool FRestoreAllowed = true;
  HWND FWindow = nullptr;
};

// The registered windows of a taskbar, in registration order.
class TTaskItems {
public:
  explicit TTaskItems(TTaskbar& Taskbar);
  // Removes every item from the front, destroying the windows registered with free-on-remove.
  ~TTaskItems();
  TTaskItems(const TTaskItems&) = delete;
  TTaskItems& operator=(const TTaskItems&) = delete;

  int Count() const { return static_cast<int>(FItems.size()); }
  TTaskItem& operator[](int Index) const { return *FItems.at(static_cast<std::size_t>(Index)); }
  // The index of Form's item, or -1.
  int IndexOf(const TForm* Form) const;
  TTaskbar& Taskbar() const { return FTaskbar; }

  // Registers Form (see TTaskbar::AddForm).
  void Add(TForm* Form, bool RemoveOnClose, bool FreeOnRemove);
  // Removes the item at Index (see TTaskbar::RemoveForm).
  void Delete(int Index, bool FreeWindow, bool ForceFree);
  // Removes Item when it is in the list; does nothing otherwise.
  void Remove(TTaskItem& Item, bool FreeWindow, bool ForceFree);

private:
  std::vector<std::unique_ptr<TTaskItem>> FItems;
  TTaskbar& FTaskbar;
};

class TTaskbar : public TToolWindow {
public:
  // Aligned to the top, 32 high, button face, framed on all sides, buttons 120 x 24 sized
  // automatically, StdIcon a copy of the program icon, hints on.
  TTaskbar();
  // Removes every item; windows registered with free-on-remove are destroyed with the taskbar.
  ~TTaskbar() override;

  // Registers Form: a null Form raises ETaskbarError "Invalid Form"; a Form registered already
  // changes nothing; otherwise its item and button are made and OnAddForm runs. RemoveOnClose:
  // closing the window removes it; FreeOnRemove: removing it destroys the window.
  void AddForm(TForm* Form, bool RemoveOnClose, bool FreeOnRemove);
  // Removes the item at Index; then OnRemoveForm runs, and the window is destroyed when
  // ForceFree, or when FreeWindow and the item was registered with free-on-remove. A failure
  // while destroying the window is swallowed.
  void RemoveForm(int Index, bool FreeWindow, bool ForceFree);
  TTaskItems& Items() const { return *FItems; }

  // Button widths share the taskbar's width, up to ButtonWidth.
  bool AutoSizeButtons() const { return FAutoSizeButtons; }
  void SetAutoSizeButtons(bool Value);
  int ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int Value);
  int ButtonHeight() const { return FButtonHeight; }
  void SetButtonHeight(int Value);
  // The icon of a window that has neither a small nor a big icon. Owned; the setter copies.
  HICON StdIcon() const { return FStdIcon.Get(); }
  void SetStdIcon(HICON Icon);
  TButtonSettings& ButtonSettings() { return *FButtonSettings; }
  const TButtonSettings& ButtonSettings() const { return *FButtonSettings; }
  // Copies Value.
  void SetButtonSettings(const TButtonSettings& Value) { FButtonSettings->Assign(Value); }

  TTaskbarEvent OnAddForm;
  TTaskbarEvent OnRemoveForm;

  // Places the children side by side: each as wide as ButtonWidth, or with AutoSizeButtons the
  // taskbar's width less 8 shared among them (rounded to the nearest, halves to even) less 1
  // when that is narrower; ButtonHeight high, centred vertically.
  void ArrangeButtons();
  bool Destroying() const { return FDestroying; }

  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;

private:
  friend class TTaskItem;
  friend class TTaskItems;
  // Destroys Button, or keeps it until its message handling has ended.
  void DisposeButton(std::unique_ptr<TTaskButton> Button);
  void FreeIdleButtons();

  std::unique_ptr<TTaskItems> FItems;
  std::unique_ptr<TButtonSettings> FButtonSettings;
  TIconHandle FStdIcon;
  bool FAutoSizeButtons = true;
  int FButtonWidth = 120;
  int FButtonHeight = 24;
  bool FDestroying = false;
  // Buttons whose item went while they were handling a message (a click that dropped the item,
  // a close chosen from the system menu they opened).
  std::vector<std::unique_ptr<TTaskButton>> FDisposedButtons;
};

} // namespace wyndo
