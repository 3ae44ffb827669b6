#include "ui/stdctrls.h"

#include "ui/forms.h"

namespace wyndo {

// ---------------------------------------------------------------------------------------------
// TLabel

TLabel::TLabel() {
  SetBounds(0, 0, 65, 13);
}

void TLabel::SetAutoSize(bool Value) {
  FAutoSize = Value;
  AdjustSize();
}

void TLabel::SetWordWrap(bool Value) {
  if (FWordWrap != Value) {
    FWordWrap = Value;
    AdjustSize();
    Invalidate();
  }
}

void TLabel::FontChanged() {
  AdjustSize();
  Invalidate();
}

UINT TLabel::DrawFlags() const {
  return DT_EXPANDTABS | DT_NOPREFIX | (FWordWrap ? DT_WORDBREAK : DT_SINGLELINE);
}

void TLabel::AdjustSize() {
  // A word-wrapped label keeps its width and takes the height of its lines; others fit their
  // text.
  if (!FAutoSize || (FWordWrap && Width() <= 0))
    return;
  HDC DC = ::GetDC(nullptr);
  TCanvas Canvas(DC);
  Canvas.Font = Font();
  const std::string Text = Caption();
  RECT Area{0, 0, FWordWrap ? Width() : 0, 0};
  Canvas.DrawText(Text.empty() ? std::string_view(" ") : std::string_view(Text), Area,
                  DrawFlags() | DT_CALCRECT);
  ::ReleaseDC(nullptr, DC);
  if (FWordWrap)
    UpdateBounds({Left(), Top(), Width(), Area.bottom});
  else
    UpdateBounds({Left(), Top(), Text.empty() ? 0 : Area.right, Area.bottom});
}

void TLabel::Paint(TCanvas& Canvas) {
  RECT Area = ClientRect();
  if (!Transparent)
    Canvas.FillRect(Area);
  Canvas.SetTransparent(true);
  if (!Enabled())
    Canvas.Font.SetColor(clGrayText);
  Canvas.DrawText(Caption(), Area, DrawFlags());
}

// ---------------------------------------------------------------------------------------------
// TEdit

TEdit::TEdit() {
  SetBounds(0, 0, 121, 21);
  SetColor(clWindow);
  TabStop = true;
  Cursor = crDefault;
}

void TEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SystemClass = "EDIT";
  Params.Style |= ES_AUTOHSCROLL | ES_LEFT;
  if (FReadOnly)
    Params.Style |= ES_READONLY;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

std::string TEdit::Caption() const {
  if (HWND Window = WindowHandle()) {
    const int Length = ::GetWindowTextLengthA(Window);
    std::string Text(static_cast<std::size_t>(Length) + 1, '\0');
    Text.resize(static_cast<std::size_t>(::GetWindowTextA(Window, Text.data(), Length + 1)));
    return Text;
  }
  return TControl::Caption();
}

void TEdit::TextChanged() {
  TWinControl::TextChanged();
  // Without a window there is no EN_CHANGE: report the change here.
  if (!HandleAllocated())
    Change();
}

void TEdit::SetReadOnly(bool Value) {
  FReadOnly = Value;
  if (HandleAllocated())
    ::SendMessageA(Handle(), EM_SETREADONLY, Value, 0);
}

void TEdit::Change() {
  if (OnChange)
    OnChange(*this);
}

void TEdit::WndProc(TMessage& Message) {
  if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == EN_CHANGE) {
    Change();
    return;
  }
  if (Message.Msg == WM_GETDLGCODE && WantReturns && Message.WParam == VK_RETURN) {
    TWinControl::WndProc(Message);
    Message.Result |= DLGC_WANTALLKEYS;
    return;
  }
  TWinControl::WndProc(Message);
}

// ---------------------------------------------------------------------------------------------
// TButton

TButton::TButton() {
  SetBounds(0, 0, 75, 25);
  TabStop = true;
}

void TButton::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SystemClass = "BUTTON";
  Params.Style |= Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::Click() {
  if (ModalResult != 0)
    if (TForm* Form = ParentForm())
      Form->SetModalResult(ModalResult);
  TWinControl::Click();
}

void TButton::WndProc(TMessage& Message) {
  if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == BN_CLICKED) {
    Click();
    return;
  }
  TWinControl::WndProc(Message);
}

// ---------------------------------------------------------------------------------------------
// TCheckBox

TCheckBox::TCheckBox() {
  SetBounds(0, 0, 97, 17);
  TabStop = true;
}

void TCheckBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SystemClass = "BUTTON";
  Params.Style |= BS_CHECKBOX;
}

void TCheckBox::HandleCreated() {
  ::SendMessageA(Handle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
  TWinControl::HandleCreated();
}

bool TCheckBox::Checked() const {
  return FChecked;
}

void TCheckBox::SetChecked(bool Value) {
  if (FChecked == Value)
    return;
  FChecked = Value;
  if (HandleAllocated())
    ::SendMessageA(Handle(), BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
  Click();
}

void TCheckBox::WndProc(TMessage& Message) {
  if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == BN_CLICKED) {
    SetChecked(!FChecked);
    return;
  }
  TWinControl::WndProc(Message);
}

// ---------------------------------------------------------------------------------------------
// TRadioButton

TRadioButton::TRadioButton() {
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SystemClass = "BUTTON";
  // Not BS_AUTORADIOBUTTON: the group is kept here, so it works before the windows exist.
  Params.Style |= BS_RADIOBUTTON;
}

void TRadioButton::HandleCreated() {
  ::SendMessageA(Handle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
  TWinControl::HandleCreated();
}

void TRadioButton::SetChecked(bool Value) {
  if (FChecked == Value)
    return;
  FChecked = Value;
  TabStop = Value;
  if (HandleAllocated()) {
    ::SendMessageA(Handle(), BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
    const auto Style = static_cast<DWORD>(::GetWindowLongA(Handle(), GWL_STYLE));
    ::SetWindowLongA(Handle(), GWL_STYLE,
                     static_cast<LONG>(Value ? Style | WS_TABSTOP : Style & ~WS_TABSTOP));
  }
  if (!Value)
    return;
  if (Parent())
    for (TControl* Sibling : Parent()->Controls())
      if (auto* Other = dynamic_cast<TRadioButton*>(Sibling); Other && Other != this)
        Other->SetChecked(false);
  Click();
}

void TRadioButton::WndProc(TMessage& Message) {
  if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == BN_CLICKED) {
    SetChecked(true);
    return;
  }
  TWinControl::WndProc(Message);
}

// ---------------------------------------------------------------------------------------------
// TGroupBox

TGroupBox::TGroupBox() {
  SetBounds(0, 0, 185, 105);
}

void TGroupBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SystemClass = "BUTTON";
  Params.Style |= BS_GROUPBOX | WS_CLIPCHILDREN;
  Params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TGroupBox::WndProc(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND) {
    // The system draws only the frame and the caption; the form, which clips its children, does
    // not paint what lies inside.
    RECT Client;
    ::GetClientRect(Handle(), &Client);
    ::FillRect(reinterpret_cast<HDC>(Message.WParam), &Client,
               reinterpret_cast<HBRUSH>(ControlColor(nullptr)));
    Message.Result = 1;
    return;
  }
  TWinControl::WndProc(Message);
}

TBounds TGroupBox::AlignArea() const {
  const TSize2 Size = ClientSize();
  const int Caption = -Font().Height() + 4;
  return {2, Caption, std::max(0, Size.Width - 4), std::max(0, Size.Height - Caption - 2)};
}

// ---------------------------------------------------------------------------------------------
// TPanel

TPanel::TPanel() {
  SetBounds(0, 0, 185, 41);
}

void TPanel::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.WinClassName = "TPanel";
  Params.Style |= WS_CLIPCHILDREN;
  Params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TPanel::SetBevelOuter(TBevelCut Value) {
  if (FBevelOuter != Value) {
    FBevelOuter = Value;
    Realign();
    Invalidate();
  }
}

void TPanel::SetBevelInner(TBevelCut Value) {
  if (FBevelInner != Value) {
    FBevelInner = Value;
    Realign();
    Invalidate();
  }
}

int TPanel::BevelWidth() const {
  return (FBevelOuter != TBevelCut::bvNone ? 1 : 0) + (FBevelInner != TBevelCut::bvNone ? 1 : 0);
}

TBounds TPanel::AlignArea() const {
  const TSize2 Size = ClientSize();
  const int Edge = BevelWidth();
  return {Edge, Edge, std::max(0, Size.Width - 2 * Edge), std::max(0, Size.Height - 2 * Edge)};
}

void TPanel::Paint(TCanvas& Canvas) {
  RECT Area = ClientRect();
  auto Edge = [&](TBevelCut Cut) {
    if (Cut == TBevelCut::bvLowered)
      ::DrawEdge(Canvas.Handle(), &Area, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    else if (Cut == TBevelCut::bvRaised)
      ::DrawEdge(Canvas.Handle(), &Area, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
    else if (Cut == TBevelCut::bvSpace)
      ::InflateRect(&Area, -1, -1);
  };
  Edge(FBevelOuter);
  Edge(FBevelInner);
  Canvas.FillRect(Area);
  if (const std::string Text = Caption(); !Text.empty()) {
    Canvas.SetTransparent(true);
    Canvas.DrawText(Text, Area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

// ---------------------------------------------------------------------------------------------
// TItemsControl, TListBox, TComboBox

int TItemsControl::Add(std::string_view Text) {
  FItems.emplace_back(Text);
  if (HandleAllocated())
    ::SendMessageA(Handle(), FMessages.Add, 0, reinterpret_cast<LPARAM>(FItems.back().c_str()));
  return Count() - 1;
}

void TItemsControl::SetItem(int Index, std::string_view Text) {
  FItems.at(static_cast<std::size_t>(Index)) = Text;
  if (!HandleAllocated())
    return;
  const int Selected = ItemIndex();
  ::SendMessageA(Handle(), FMessages.Delete, static_cast<WPARAM>(Index), 0);
  ::SendMessageA(Handle(), FMessages.Insert, static_cast<WPARAM>(Index),
                 reinterpret_cast<LPARAM>(FItems[static_cast<std::size_t>(Index)].c_str()));
  if (Selected >= 0)
    ::SendMessageA(Handle(), FMessages.SetSelection, static_cast<WPARAM>(Selected), 0);
}

void TItemsControl::Clear() {
  FItems.clear();
  FItemIndex = -1;
  if (HandleAllocated())
    ::SendMessageA(Handle(), FMessages.Reset, 0, 0);
}

int TItemsControl::ItemIndex() const {
  if (HWND Window = WindowHandle())
    return static_cast<int>(::SendMessageA(Window, FMessages.GetSelection, 0, 0));
  return FItemIndex;
}

void TItemsControl::SetItemIndex(int Index) {
  FItemIndex = Index >= 0 && Index < Count() ? Index : -1;
  if (HandleAllocated())
    ::SendMessageA(Handle(), FMessages.SetSelection, static_cast<WPARAM>(FItemIndex), 0);
}

void TItemsControl::HandleCreated() {
  for (const std::string& Text : FItems)
    ::SendMessageA(Handle(), FMessages.Add, 0, reinterpret_cast<LPARAM>(Text.c_str()));
  if (FItemIndex >= 0)
    ::SendMessageA(Handle(), FMessages.SetSelection, static_cast<WPARAM>(FItemIndex), 0);
  TWinControl::HandleCreated();
}

TListBox::TListBox()
    : TItemsControl({LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT, LB_GETCURSEL,
                     LB_SETCURSEL}) {
  SetBounds(0, 0, 121, 97);
  SetColor(clWindow);
  TabStop = true;
}

void TListBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SystemClass = "LISTBOX";
  Params.Style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
  if (Style == TListBoxStyle::lbOwnerDrawFixed)
    Params.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::HandleCreated() {
  // WM_MEASUREITEM comes while the window is being made, before it is ours: set the height now.
  if (Style == TListBoxStyle::lbOwnerDrawFixed)
    ::SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, FItemHeight);
  TItemsControl::HandleCreated();
}

void TListBox::SetItemHeight(int Value) {
  FItemHeight = Value;
  if (HandleAllocated() && Style == TListBoxStyle::lbOwnerDrawFixed) {
    ::SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, Value);
    Invalidate();
  }
}

void TListBox::DrawItem(const DRAWITEMSTRUCT& Item) {
  const bool Selected = (Item.itemState & ODS_SELECTED) != 0;
  TOwnerDrawState State = 0;
  if (Selected)
    State |= odSelected;
  if (Item.itemState & ODS_FOCUS)
    State |= odFocused;
  if (Item.itemState & ODS_DISABLED)
    State |= odDisabled;
  const RECT Area = Item.rcItem;
  const auto Index = static_cast<int>(Item.itemID);
  if (Index >= 0 && Index < Count()) {
    TCanvas Canvas(Item.hDC);
    Canvas.Font = Font();
    Canvas.BrushColor = Selected ? clHighlight : Color();
    if (Selected)
      Canvas.Font.SetColor(clHighlightText);
    if (OnDrawItem) {
      OnDrawItem(*this, Canvas, Index, Area, State);
    } else {
      Canvas.FillRect(Area);
      Canvas.TextOut(Area.left, Area.top, this->Item(Index));
    }
  }
  if (State & odFocused)
    ::DrawFocusRect(Item.hDC, &Area);
}

void TListBox::WndProc(TMessage& Message) {
  if (Message.Msg == CN_DRAWITEM) {
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
    Message.Result = TRUE;
    return;
  }
  if (Message.Msg == CN_COMMAND) {
    if (HIWORD(Message.WParam) == LBN_SELCHANGE) {
      Click();
      return;
    }
    if (HIWORD(Message.WParam) == LBN_DBLCLK) {
      if (OnDblClick)
        OnDblClick(*this);
      return;
    }
  }
  TItemsControl::WndProc(Message);
}

TComboBox::TComboBox()
    : TItemsControl({CB_ADDSTRING, CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT, CB_GETCURSEL,
                     CB_SETCURSEL}) {
  SetBounds(0, 0, 145, 21);
  SetColor(clWindow);
  TabStop = true;
}

void TComboBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SystemClass = "COMBOBOX";
  Params.Style |= CBS_DROPDOWNLIST | WS_VSCROLL;
}

int TComboBox::WindowHeight(int Height) const {
  // The window's height includes the dropped-down list.
  return Height + DropDownCount * (-Font().Height() + 5);
}

void TComboBox::WndProc(TMessage& Message) {
  if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == CBN_SELCHANGE) {
    if (OnChange)
      OnChange(*this);
    return;
  }
  TItemsControl::WndProc(Message);
}

} // namespace wyndo
