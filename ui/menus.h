#pragma once
// Menus: a tree of TMenuItem objects behind a window's menu bar (TMainMenu) or a pop-up menu
// (TPopupMenu). The items are the truth; the platform menu is built from them again whenever
// one changes (menus are small), so hidden items simply are not in it.
//
// Every item has a command identifier of its own, unique in the process: one handed out in
// creation order, or a fixed one from the range reserved for them, which other programs can rely
// on to run the command from outside (see app/commands.h). A chosen item reaches
// the form that shows the menu as WM_COMMAND with lParam 0; the form hands it to
// DispatchMenuMessage, which runs the item's Click. Item images are drawn from the menu's image
// list through the platform's owner-drawn bitmap callback (WM_MEASUREITEM / WM_DRAWITEM with
// ODT_MENU), which keeps the item's text and greying the platform's own.

#include "ui/controls.h"
#include "ui/handles.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace wyndo {

// A key with its shift keys: the virtual key in the low byte, and the flags below.
using TShortCut = std::uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
inline constexpr TShortCut ShortCut(std::uint8_t Key, TShortCut Shift) {
  return static_cast<TShortCut>(Key | Shift);
}
// The text a menu shows for a shortcut: "Ctrl+Shift+Alt+" and the key's name ("Alt+Enter").
std::string ShortCutToText(TShortCut Value);

class TMenu;

// Fixed command identifiers lie in this range; the ones handed out in creation order lie below.
inline constexpr UINT FirstFixedCommand = 0xE000;
inline constexpr UINT LastFixedCommand = 0xEFFF;

class TMenuItem : public TObject {
public:
  TMenuItem();
  // An item with a fixed command identifier between FirstFixedCommand and LastFixedCommand. If
  // another item holds it already, the item is handed one in creation order instead.
  explicit TMenuItem(UINT FixedCommand);
  ~TMenuItem() override;
  TMenuItem(const TMenuItem&) = delete;
  TMenuItem& operator=(const TMenuItem&) = delete;

  std::string Name;
  // Not read by the menu: the owner's own value (the tray menu keeps a form here).
  std::intptr_t Tag = 0;
  TNotifyEvent OnClick;

  // "-" makes the item a separator.
  const std::string& Caption() const { return FCaption; }
  void SetCaption(std::string_view Value);
  bool IsSeparator() const { return FCaption == "-"; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  // The default item of its menu (drawn bold).
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);

  // Sub-items, in menu order.
  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int Index) const { return FItems.at(static_cast<std::size_t>(Index)).get(); }
  int IndexOf(const TMenuItem* Item) const;
  TMenuItem* Add(std::unique_ptr<TMenuItem> Item);
  TMenuItem* Insert(int Index, std::unique_ptr<TMenuItem> Item);
  // Removes and frees the sub-item at Index.
  void Delete(int Index);
  // Makes, adds and returns a sub-item.
  TMenuItem* AddItem(std::string_view Caption, TNotifyEvent OnClick = {}, int ImageIndex = -1);
  // The same with a fixed command identifier (see the constructor).
  TMenuItem* AddItem(UINT FixedCommand, std::string_view Caption, TNotifyEvent OnClick = {},
                     int ImageIndex = -1);
  TMenuItem* AddSeparator() { return AddItem("-"); }

  TMenuItem* Parent() const { return FParent; }
  // The menu the item belongs to (through its parents), or nullptr.
  TMenu* Menu() const;
  UINT Command() const { return FCommand; }
  // Runs OnClick when the item is enabled.
  void Click();

  // The item with this command identifier, among all items of the process, or nullptr.
  static TMenuItem* FromCommand(UINT Command);

private:
  friend class TMenu;
  TMenuItem* AddItem(std::unique_ptr<TMenuItem> Item, std::string_view Caption,
                     TNotifyEvent OnClick, int ImageIndex);
  void Changed();
  void AppendTo(HMENU Menu, HMENU& Created) const;

  std::string FCaption;
  int FImageIndex = -1;
  TShortCut FShortCut = 0;
  bool FVisible = true;
  bool FEnabled = true;
  bool FDefault = false;
  UINT FCommand = 0;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr; // set on the root item only
  std::vector<std::unique_ptr<TMenuItem>> FItems;
};

class TMenu : public TObject {
public:
  TMenu();
  ~TMenu() override;
  TMenu(const TMenu&) = delete;
  TMenu& operator=(const TMenu&) = delete;

  // The root item: its sub-items are the menu's entries.
  TMenuItem& Items() { return FItems; }
  const TMenuItem& Items() const { return FItems; }
  // The image list of the items' images (not owned).
  HIMAGELIST Images() const { return FImages; }
  void SetImages(HIMAGELIST Images);

  // The platform menu, built from the items if they changed since.
  HMENU Handle();
  // The enabled, visible item of this menu whose shortcut is Key, or nullptr.
  TMenuItem* FindShortCut(TShortCut Key) const;

protected:
  virtual bool IsPopup() const = 0;
  // Called after the items changed; the menu bar puts its new menu on its window.
  virtual void ItemsChanged() { FChanged = true; }
  bool FChanged = true;
  TMenuHandle FHandle;

private:
  friend class TMenuItem;
  TMenuItem FItems;
  HIMAGELIST FImages = nullptr;
};

// A window's menu bar.
class TMainMenu : public TMenu {
public:
  TMainMenu() = default;
  ~TMainMenu() override;
  // The window whose menu bar this is (set by the form).
  void SetWindow(HWND Window);

protected:
  bool IsPopup() const override { return false; }
  void ItemsChanged() override;

private:
  HWND FWindow = nullptr;
};

class TPopupMenu : public TMenu {
public:
  // The window that receives the chosen command (a form of ours).
  HWND Owner = nullptr;
  // Shows the menu at a screen point and returns once it has closed; the chosen item's
  // command is posted to Owner.
  void Popup(int X, int Y);

protected:
  bool IsPopup() const override { return true; }
};

// The menu messages a form receives: WM_COMMAND from a menu, and WM_MEASUREITEM / WM_DRAWITEM
// of an item image. Sets the result and returns true when the message was one of them.
bool DispatchMenuMessage(TMessage& Message);
// A key press on a form with this menu bar: runs the item whose shortcut the key is, and then
// returns true (the key is used up).
bool MenuShortCutKey(TMainMenu& Menu, const MSG& Message);

} // namespace wyndo
