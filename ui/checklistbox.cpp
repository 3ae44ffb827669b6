#include "ui/checklistbox.h"

#include <algorithm>

namespace wyndo {

namespace {

// The drawn check box and the room around it.
constexpr int CheckSize = 13;
constexpr int CheckMargin = 2;
constexpr int TextLeft = CheckMargin + CheckSize + 4;

POINT PointOf(LPARAM LParam) {
  return {static_cast<short>(LOWORD(LParam)), static_cast<short>(HIWORD(LParam))};
}

RECT BoxIn(const RECT& Item) {
  const int Top = Item.top + (Item.bottom - Item.top - CheckSize) / 2;
  return {Item.left + CheckMargin, Top, Item.left + CheckMargin + CheckSize, Top + CheckSize};
}

} // namespace

TCheckListBox::TCheckListBox() {
  SetBounds(0, 0, 121, 97);
  SetColor(clWindow);
  TabStop = true;
}

void TCheckListBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SystemClass = "LISTBOX";
  Params.Style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
  Params.Style |= FColumns > 1 ? LBS_MULTICOLUMN | WS_HSCROLL : WS_VSCROLL;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCheckListBox::HandleCreated() {
  ApplyMetrics();
  for (const TItem& Item : FItems)
    ::SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Item.Text.c_str()));
  if (FItemIndex >= 0)
    ::SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
  TWinControl::HandleCreated();
}

// The item height follows the font (the list box asks its parent while it is being made, before
// it is ours); the column width is an equal share of the client width.
void TCheckListBox::ApplyMetrics() {
  if (!HandleAllocated())
    return;
  HDC DC = ::GetDC(nullptr);
  int TextHeight = 0;
  {
    TCanvas Canvas(DC);
    Canvas.Font = Font();
    TextHeight = Canvas.TextHeight("Wg");
  }
  ::ReleaseDC(nullptr, DC);
  ::SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, std::max(TextHeight, CheckSize) + 2);
  if (FColumns > 1) {
    RECT Client{};
    ::GetClientRect(Handle(), &Client);
    ::SendMessageA(Handle(), LB_SETCOLUMNWIDTH, std::max<LONG>(1, Client.right / FColumns), 0);
  }
  ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TCheckListBox::BoundsChanged() {
  TWinControl::BoundsChanged();
  ApplyMetrics();
}

void TCheckListBox::FontChanged() {
  TWinControl::FontChanged();
  ApplyMetrics();
}

void TCheckListBox::SetColumns(int Value) {
  FColumns = std::max(0, Value);
}

int TCheckListBox::Add(std::string_view Text, void* Data, bool Checked) {
  FItems.push_back({std::string(Text), Data, Checked});
  if (HandleAllocated())
    ::SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FItems.back().Text.c_str()));
  return Count() - 1;
}

void TCheckListBox::Clear() {
  FItems.clear();
  FItemIndex = -1;
  if (HandleAllocated())
    ::SendMessageA(Handle(), LB_RESETCONTENT, 0, 0);
}

void TCheckListBox::SetChecked(int Index, bool Value) {
  FItems.at(static_cast<std::size_t>(Index)).Checked = Value;
  InvalidateItem(Index);
}

int TCheckListBox::ItemIndex() const {
  if (HWND Window = WindowHandle())
    return static_cast<int>(::SendMessageA(Window, LB_GETCURSEL, 0, 0));
  return FItemIndex;
}

void TCheckListBox::SetItemIndex(int Index) {
  FItemIndex = Index >= 0 && Index < Count() ? Index : -1;
  if (HandleAllocated())
    ::SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
}

int TCheckListBox::ItemAtPos(POINT Point) const {
  HWND Window = WindowHandle();
  if (!Window)
    return -1;
  const LRESULT Hit = ::SendMessageA(Window, LB_ITEMFROMPOINT, 0, MAKELPARAM(Point.x, Point.y));
  if (HIWORD(Hit) != 0 || LOWORD(Hit) >= FItems.size())
    return -1;
  return LOWORD(Hit);
}

RECT TCheckListBox::CheckBoxRect(int Index) const {
  RECT Item{};
  HWND Window = WindowHandle();
  if (!Window || Index < 0 || Index >= Count() ||
      ::SendMessageA(Window, LB_GETITEMRECT, static_cast<WPARAM>(Index),
                     reinterpret_cast<LPARAM>(&Item)) == LB_ERR)
    return {};
  return BoxIn(Item);
}

bool TCheckListBox::OnCheckBox(LPARAM Point) const {
  const POINT At = PointOf(Point);
  const int Index = ItemAtPos(At);
  if (Index < 0)
    return false;
  const RECT Box = CheckBoxRect(Index);
  return ::PtInRect(&Box, At) != FALSE;
}

void TCheckListBox::InvalidateItem(int Index) {
  RECT Item{};
  if (HandleAllocated() && ::SendMessageA(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(Index),
                                          reinterpret_cast<LPARAM>(&Item)) != LB_ERR)
    ::InvalidateRect(Handle(), &Item, FALSE);
}

void TCheckListBox::ToggleByUser(int Index) {
  if (Index < 0 || Index >= Count() || !Enabled())
    return;
  TItem& Item = FItems[static_cast<std::size_t>(Index)];
  Item.Checked = !Item.Checked;
  InvalidateItem(Index);
  if (OnClickCheck)
    OnClickCheck(*this);
}

void TCheckListBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case CN_DRAWITEM:
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
    Message.Result = TRUE;
    return;
  case CN_COMMAND:
    if (HIWORD(Message.WParam) == LBN_SELCHANGE) {
      Click();
      return;
    }
    break;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK: {
    // The list box selects the item first; a press on the box then flips it.
    const bool Box = OnCheckBox(Message.LParam);
    const int Index = ItemAtPos(PointOf(Message.LParam));
    TWinControl::WndProc(Message);
    if (Box)
      ToggleByUser(Index);
    return;
  }
  case WM_CHAR:
    if (Message.WParam == ' ') {
      ToggleByUser(ItemIndex());
      return;
    }
    break;
  default:
    break;
  }
  TWinControl::WndProc(Message);
}

// The whole item is composed off-screen: the box on the window colour, the text on the
// selection colour when selected, and the focus rectangle around the text.
void TCheckListBox::DrawItem(const DRAWITEMSTRUCT& Draw) {
  const int Width = Draw.rcItem.right - Draw.rcItem.left;
  const int Height = Draw.rcItem.bottom - Draw.rcItem.top;
  if (Width <= 0 || Height <= 0)
    return;
  TOffscreen Buffer(Draw.hDC, Width, Height);
  const RECT Area{0, 0, Width, Height};
  const bool Selected = (Draw.itemState & ODS_SELECTED) != 0;
  const bool Disabled = !Enabled() || (Draw.itemState & ODS_DISABLED);
  {
    TCanvas Canvas(Buffer.DC());
    Canvas.Font = Font();
    Canvas.BrushColor = Color();
    Canvas.FillRect(Area);
    RECT Text{TextLeft, 0, Width, Height};
    if (Draw.itemID < FItems.size()) {
      const TItem& Item = FItems[Draw.itemID];
      RECT Box = BoxIn(Area);
      ::DrawFrameControl(Buffer.DC(), &Box, DFC_BUTTON,
                         DFCS_BUTTONCHECK | DFCS_FLAT | (Item.Checked ? DFCS_CHECKED : 0) |
                             (Disabled ? DFCS_INACTIVE : 0));
      if (Selected) {
        Canvas.BrushColor = clHighlight;
        Canvas.FillRect(Text);
      }
      Canvas.SetTransparent(true);
      Canvas.Font.SetColor(Disabled ? clGrayText : Selected ? clHighlightText : clWindowText);
      RECT TextArea{Text.left + 2, 0, Width, Height};
      Canvas.DrawText(Item.Text, TextArea,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (Draw.itemState & ODS_FOCUS) {
      ::SetTextColor(Buffer.DC(), ColorToRGB(clWindowText));
      ::SetBkColor(Buffer.DC(), ColorToRGB(clWindow));
      ::DrawFocusRect(Buffer.DC(), &Text);
    }
  }
  Buffer.Flush(Draw.rcItem.left, Draw.rcItem.top);
}

} // namespace wyndo
