#include "ui/menus.h"

#include <map>

namespace wyndo {

namespace {

// Menu commands use identifiers above the ones controls get, so that a WM_COMMAND tells them
// apart even without looking at lParam.
constexpr UINT FirstCommand = 0xC000;
constexpr UINT LastCommand = FirstFixedCommand - 1;

std::map<UINT, TMenuItem*>& Commands() {
  static std::map<UINT, TMenuItem*> Table;
  return Table;
}

UINT AllocateCommand(TMenuItem* Item) {
  static UINT Next = FirstCommand;
  auto& Table = Commands();
  for (UINT Tries = 0; Tries <= LastCommand - FirstCommand; ++Tries) {
    const UINT Command = Next;
    Next = Next >= LastCommand ? FirstCommand : Next + 1;
    if (Table.emplace(Command, Item).second)
      return Command;
  }
  return 0; // every identifier is taken: the item cannot be chosen from a menu
}

UINT ClaimCommand(TMenuItem* Item, UINT Command) {
  if (Command >= FirstFixedCommand && Command <= LastFixedCommand &&
      Commands().emplace(Command, Item).second)
    return Command;
  return AllocateCommand(Item);
}

std::string KeyName(std::uint8_t Key) {
  if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z'))
    return std::string(1, static_cast<char>(Key));
  if (Key >= VK_F1 && Key <= VK_F24)
    return "F" + std::to_string(Key - VK_F1 + 1);
  switch (Key) {
  case VK_RETURN:
    return "Enter";
  case VK_ESCAPE:
    return "Esc";
  case VK_TAB:
    return "Tab";
  case VK_SPACE:
    return "Space";
  case VK_BACK:
    return "BkSp";
  case VK_DELETE:
    return "Del";
  case VK_INSERT:
    return "Ins";
  case VK_HOME:
    return "Home";
  case VK_END:
    return "End";
  case VK_PRIOR:
    return "PgUp";
  case VK_NEXT:
    return "PgDn";
  case VK_LEFT:
    return "Left";
  case VK_RIGHT:
    return "Right";
  case VK_UP:
    return "Up";
  case VK_DOWN:
    return "Down";
  default:
    return "Key" + std::to_string(Key);
  }
}

TShortCut KeyMessageShortCut(WPARAM Key, bool AltDown) {
  TShortCut Result = static_cast<TShortCut>(Key & 0xFF);
  if (::GetKeyState(VK_SHIFT) < 0)
    Result |= scShift;
  if (::GetKeyState(VK_CONTROL) < 0)
    Result |= scCtrl;
  if (AltDown)
    Result |= scAlt;
  return Result;
}

} // namespace

std::string ShortCutToText(TShortCut Value) {
  if (!Value)
    return {};
  std::string Text;
  if (Value & scCtrl)
    Text += "Ctrl+";
  if (Value & scShift)
    Text += "Shift+";
  if (Value & scAlt)
    Text += "Alt+";
  return Text + KeyName(static_cast<std::uint8_t>(Value & 0xFF));
}

// ---------------------------------------------------------------------------------------------
// TMenuItem

TMenuItem::TMenuItem() : FCommand(AllocateCommand(this)) {}

TMenuItem::TMenuItem(UINT FixedCommand) : FCommand(ClaimCommand(this, FixedCommand)) {}

TMenuItem::~TMenuItem() {
  // Sub-items go first, while their parent still exists.
  FItems.clear();
  if (FCommand)
    Commands().erase(FCommand);
}

TMenuItem* TMenuItem::FromCommand(UINT Command) {
  const auto Found = Commands().find(Command);
  return Found == Commands().end() ? nullptr : Found->second;
}

TMenu* TMenuItem::Menu() const {
  const TMenuItem* Root = this;
  while (Root->FParent)
    Root = Root->FParent;
  return Root->FMenu;
}

void TMenuItem::Changed() {
  if (TMenu* Owner = Menu())
    Owner->ItemsChanged();
}

void TMenuItem::SetCaption(std::string_view Value) {
  if (FCaption == Value)
    return;
  FCaption = Value;
  Changed();
}

void TMenuItem::SetImageIndex(int Value) {
  if (FImageIndex == Value)
    return;
  FImageIndex = Value;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut Value) {
  if (FShortCut == Value)
    return;
  FShortCut = Value;
  Changed();
}

void TMenuItem::SetVisible(bool Value) {
  if (FVisible == Value)
    return;
  FVisible = Value;
  Changed();
}

void TMenuItem::SetEnabled(bool Value) {
  if (FEnabled == Value)
    return;
  FEnabled = Value;
  Changed();
}

void TMenuItem::SetDefault(bool Value) {
  if (FDefault == Value)
    return;
  // One default item per menu.
  if (Value && FParent)
    for (const auto& Sibling : FParent->FItems)
      Sibling->FDefault = false;
  FDefault = Value;
  Changed();
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  for (std::size_t Index = 0; Index < FItems.size(); ++Index)
    if (FItems[Index].get() == Item)
      return static_cast<int>(Index);
  return -1;
}

TMenuItem* TMenuItem::Add(std::unique_ptr<TMenuItem> Item) {
  return Insert(Count(), std::move(Item));
}

TMenuItem* TMenuItem::Insert(int Index, std::unique_ptr<TMenuItem> Item) {
  if (Index < 0 || Index > Count())
    throw std::out_of_range("menu item index out of range");
  TMenuItem* Result = Item.get();
  Result->FParent = this;
  FItems.insert(FItems.begin() + Index, std::move(Item));
  Changed();
  return Result;
}

void TMenuItem::Delete(int Index) {
  if (Index < 0 || Index >= Count())
    throw std::out_of_range("menu item index out of range");
  FItems.erase(FItems.begin() + Index);
  Changed();
}

TMenuItem* TMenuItem::AddItem(std::string_view Caption, TNotifyEvent OnClick, int ImageIndex) {
  return AddItem(std::make_unique<TMenuItem>(), Caption, std::move(OnClick), ImageIndex);
}

TMenuItem* TMenuItem::AddItem(UINT FixedCommand, std::string_view Caption, TNotifyEvent OnClick,
                              int ImageIndex) {
  return AddItem(std::make_unique<TMenuItem>(FixedCommand), Caption, std::move(OnClick),
                 ImageIndex);
}

TMenuItem* TMenuItem::AddItem(std::unique_ptr<TMenuItem> Item, std::string_view Caption,
                              TNotifyEvent OnClick, int ImageIndex) {
  Item->FCaption = Caption;
  Item->FImageIndex = ImageIndex;
  Item->OnClick = std::move(OnClick);
  return Add(std::move(Item));
}

void TMenuItem::Click() {
  if (FEnabled && OnClick)
    OnClick(*this);
}

void TMenuItem::AppendTo(HMENU Target, HMENU& Created) const {
  MENUITEMINFOA Info{};
  Info.cbSize = sizeof(Info);
  Info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE;
  Info.wID = FCommand;
  std::string Text;
  if (IsSeparator()) {
    Info.fType = MFT_SEPARATOR;
  } else {
    Info.fType = MFT_STRING;
    Info.fMask |= MIIM_STRING;
    Text = FCaption;
    if (FShortCut)
      Text += "\t" + ShortCutToText(FShortCut);
    Info.dwTypeData = Text.data();
    Info.cch = static_cast<UINT>(Text.size());
    Info.fState = (FEnabled ? MFS_ENABLED : MFS_GRAYED) | (FDefault ? MFS_DEFAULT : 0u);
    const TMenu* Owner = Menu();
    if (FImageIndex >= 0 && Owner && Owner->Images()) {
      Info.fMask |= MIIM_BITMAP;
      Info.hbmpItem = HBMMENU_CALLBACK;
    }
  }
  if (!FItems.empty()) {
    Created = ::CreatePopupMenu();
    for (const auto& Item : FItems)
      if (Item->FVisible) {
        HMENU Unused = nullptr;
        Item->AppendTo(Created, Unused);
      }
    Info.fMask |= MIIM_SUBMENU;
    Info.hSubMenu = Created;
  }
  ::InsertMenuItemA(Target, ::GetMenuItemCount(Target), TRUE, &Info);
}

// ---------------------------------------------------------------------------------------------
// TMenu

TMenu::TMenu() {
  FItems.FMenu = this;
}

TMenu::~TMenu() = default;

void TMenu::SetImages(HIMAGELIST Images) {
  FImages = Images;
  ItemsChanged();
}

HMENU TMenu::Handle() {
  if (FChanged || !FHandle) {
    TMenuHandle Built(IsPopup() ? ::CreatePopupMenu() : ::CreateMenu());
    for (const auto& Item : FItems.FItems)
      if (Item->FVisible) {
        HMENU Unused = nullptr;
        Item->AppendTo(Built.Get(), Unused);
      }
    FHandle = std::move(Built);
    FChanged = false;
  }
  return FHandle.Get();
}

TMenuItem* TMenu::FindShortCut(TShortCut Key) const {
  struct TSearch {
    static TMenuItem* In(const TMenuItem& Parent, TShortCut Key) {
      for (int Index = 0; Index < Parent.Count(); ++Index) {
        TMenuItem* Item = Parent.Items(Index);
        if (!Item->Visible() || !Item->Enabled())
          continue;
        if (Item->ShortCut() == Key)
          return Item;
        if (TMenuItem* Found = In(*Item, Key))
          return Found;
      }
      return nullptr;
    }
  };
  return Key ? TSearch::In(FItems, Key) : nullptr;
}

// ---------------------------------------------------------------------------------------------
// TMainMenu

TMainMenu::~TMainMenu() {
  // A window must not keep a menu that is destroyed under it.
  if (FWindow && ::IsWindow(FWindow) && ::GetMenu(FWindow) == FHandle.Get())
    ::SetMenu(FWindow, nullptr);
}

void TMainMenu::SetWindow(HWND Window) {
  FWindow = Window;
  if (FWindow) {
    ::SetMenu(FWindow, Handle());
    ::DrawMenuBar(FWindow);
  }
}

void TMainMenu::ItemsChanged() {
  TMenu::ItemsChanged();
  if (!FWindow)
    return;
  // The window lets go of the old menu before it is destroyed.
  TMenuHandle Old = std::move(FHandle);
  ::SetMenu(FWindow, Handle());
  ::DrawMenuBar(FWindow);
}

// ---------------------------------------------------------------------------------------------
// TPopupMenu

void TPopupMenu::Popup(int X, int Y) {
  ::TrackPopupMenu(Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, X, Y, 0, Owner, nullptr);
  // A pop-up menu of a window in the background closes properly only when its owner gets a
  // message after it.
  if (Owner)
    ::PostMessageA(Owner, WM_NULL, 0, 0);
}

// ---------------------------------------------------------------------------------------------

bool DispatchMenuMessage(TMessage& Message) {
  switch (Message.Msg) {
  case WM_COMMAND:
    if (Message.LParam || HIWORD(Message.WParam) > 1)
      return false;
    if (TMenuItem* Item = TMenuItem::FromCommand(LOWORD(Message.WParam))) {
      Item->Click();
      Message.Result = 0;
      return true;
    }
    return false;
  case WM_MEASUREITEM: {
    auto* Measure = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
    if (Measure->CtlType != ODT_MENU)
      return false;
    TMenuItem* Item = TMenuItem::FromCommand(Measure->itemID);
    TMenu* Owner = Item ? Item->Menu() : nullptr;
    if (!Owner || !Owner->Images())
      return false;
    int Width = 0;
    int Height = 0;
    ::ImageList_GetIconSize(Owner->Images(), &Width, &Height);
    Measure->itemWidth = static_cast<UINT>(Width);
    Measure->itemHeight = static_cast<UINT>(Height);
    Message.Result = TRUE;
    return true;
  }
  case WM_DRAWITEM: {
    auto* Draw = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
    if (Draw->CtlType != ODT_MENU)
      return false;
    TMenuItem* Item = TMenuItem::FromCommand(Draw->itemID);
    TMenu* Owner = Item ? Item->Menu() : nullptr;
    if (!Owner || !Owner->Images() || Item->ImageIndex() < 0)
      return false;
    int Width = 0;
    int Height = 0;
    ::ImageList_GetIconSize(Owner->Images(), &Width, &Height);
    const int Y = Draw->rcItem.top + (Draw->rcItem.bottom - Draw->rcItem.top - Height) / 2;
    const bool Grayed = (Draw->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    ::ImageList_DrawEx(Owner->Images(), Item->ImageIndex(), Draw->hDC, Draw->rcItem.left, Y, 0, 0,
                       CLR_NONE, Grayed ? ::GetSysColor(COLOR_MENU) : CLR_DEFAULT,
                       Grayed ? ILD_BLEND50 : ILD_NORMAL);
    Message.Result = TRUE;
    return true;
  }
  default:
    return false;
  }
}

// A key press of a form with a menu bar: the menu's shortcuts come before the focused control.
bool MenuShortCutKey(TMainMenu& Menu, const MSG& Message) {
  if (Message.message != WM_KEYDOWN && Message.message != WM_SYSKEYDOWN)
    return false;
  const bool AltDown = (Message.lParam & (1 << 29)) != 0;
  TMenuItem* Item = Menu.FindShortCut(KeyMessageShortCut(Message.wParam, AltDown));
  if (!Item)
    return false;
  Item->Click();
  return true;
}

} // namespace wyndo
