#include "ui/comctrls.h"

#include "ui/forms.h"

namespace wyndo {

// ---------------------------------------------------------------------------------------------
// TImageList

TImageList::TImageList(const char* BitmapResource, int Width)
    : FHandle(::ImageList_LoadImageA(::GetModuleHandleA(nullptr), BitmapResource, Width, 1,
                                     RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION)) {}

TImageList::~TImageList() {
  if (FHandle)
    ::ImageList_Destroy(FHandle);
}

int TImageList::Count() const {
  return FHandle ? ::ImageList_GetImageCount(FHandle) : 0;
}

// ---------------------------------------------------------------------------------------------
// TToolBar

void TToolButton::SetImageIndex(int Index) {
  FImageIndex = Index;
  SetGlyph(FToolBar ? FToolBar->Images() : nullptr, Index);
}

TToolBar::TToolBar() {
  SetBounds(0, 0, 200, 42);
  ShowHint = true;
}

void TToolBar::SetImages(HIMAGELIST Images) {
  FImages = Images;
  for (TControl* Item : FItems)
    if (auto* Button = dynamic_cast<TToolButton*>(Item))
      Button->SetGlyph(Images, Button->ImageIndex());
}

TToolButton* TToolBar::AddButton(TForm& Form, std::string_view Caption, std::string_view Hint,
                                 int ImageIndex, TNotifyEvent OnClick) {
  auto* Button = Form.Make<TToolButton>();
  Button->Name = Caption;
  Button->SetCaption(Caption);
  Button->SetHint(Hint);
  Button->SetFlat(true);
  Button->FToolBar = this;
  Button->SetImageIndex(ImageIndex);
  Button->OnClick = std::move(OnClick);
  AddControl(*Button);
  return Button;
}

TToolButton* TToolBar::AddSeparator(TForm& Form, int Width) {
  auto* Separator = Form.Make<TToolButton>();
  Separator->Separator = true;
  Separator->SetEnabled(false);
  Separator->SetBounds(0, 0, Width, ButtonHeight);
  Separator->FToolBar = this;
  AddControl(*Separator);
  return Separator;
}

void TToolBar::AddControl(TControl& Control) {
  Control.SetParent(this);
  FItems.push_back(&Control);
  ArrangeButtons();
}

void TToolBar::ArrangeButtons() {
  int Left = 0;
  for (TControl* Item : FItems) {
    if (!Item->Visible())
      continue;
    const auto* Button = dynamic_cast<TToolButton*>(Item);
    const int Width = Button && Button->Separator ? Item->Width() : ButtonWidth;
    Item->SetBounds(Left, 2, Width, ButtonHeight);
    Left += Width;
  }
  Invalidate();
}

void TToolBar::Paint(TCanvas& Canvas) {
  Canvas.FillRect(ClientRect());
}

// ---------------------------------------------------------------------------------------------
// TStatusBar

TStatusBar::TStatusBar() {
  SetBounds(0, 0, 200, 19);
}

void TStatusBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SystemClass = STATUSCLASSNAMEA;
  // Placed by its Align like any control, not by itself.
  Params.Style |= CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
}

void TStatusBar::HandleCreated() {
  ApplyPanels();
  TWinControl::HandleCreated();
}

void TStatusBar::SetPanels(const std::vector<int>& Widths) {
  FWidths = Widths;
  FTexts.assign(Widths.size(), "");
  ApplyPanels();
}

void TStatusBar::SetPanelText(int Panel, std::string_view Text) {
  FTexts.at(static_cast<std::size_t>(Panel)) = Text;
  if (HandleAllocated())
    ::SendMessageA(Handle(), SB_SETTEXTA, static_cast<WPARAM>(Panel),
                   reinterpret_cast<LPARAM>(FTexts[static_cast<std::size_t>(Panel)].c_str()));
}

void TStatusBar::ApplyPanels() {
  if (!HandleAllocated())
    return;
  std::vector<int> Edges;
  int Right = 0;
  for (int Width : FWidths)
    Edges.push_back(Right += Width);
  ::SendMessageA(Handle(), SB_SETPARTS, Edges.size(), reinterpret_cast<LPARAM>(Edges.data()));
  for (std::size_t I = 0; I < FTexts.size(); ++I)
    ::SendMessageA(Handle(), SB_SETTEXTA, I, reinterpret_cast<LPARAM>(FTexts[I].c_str()));
}

// ---------------------------------------------------------------------------------------------
// TPageControl

TTabSheet::TTabSheet() {
  SetColor(clBtnFace);
}

void TTabSheet::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.WinClassName = "TTabSheet";
  Params.Style |= WS_CLIPCHILDREN;
  Params.ExStyle |= WS_EX_CONTROLPARENT;
}

TPageControl::TPageControl() {
  SetBounds(0, 0, 289, 193);
}

void TPageControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SystemClass = WC_TABCONTROLA;
  Params.Style |= WS_CLIPCHILDREN | (HotTrack ? TCS_HOTTRACK : 0) | (MultiLine ? TCS_MULTILINE : 0);
  Params.ExStyle |= WS_EX_CONTROLPARENT;
}

TTabSheet* TPageControl::AddPage(TForm& Form, std::string_view Caption) {
  auto* Page = Form.Make<TTabSheet>();
  Page->SetCaption(Caption);
  AttachPage(*Page);
  return Page;
}

void TPageControl::AttachPage(TTabSheet& Page) {
  Page.FPageControl = this;
  Page.SetAlign(TAlign::alClient);
  Page.SetVisible(FPages.empty());
  FPages.push_back(&Page);
  Page.SetParent(this);
  if (HandleAllocated()) {
    TCITEMA Item{};
    Item.mask = TCIF_TEXT;
    std::string Text = Page.Caption();
    Item.pszText = Text.data();
    ::SendMessageA(Handle(), TCM_INSERTITEMA, FPages.size() - 1, reinterpret_cast<LPARAM>(&Item));
    Realign();
  }
}

void TPageControl::HandleCreated() {
  for (std::size_t I = 0; I < FPages.size(); ++I) {
    TCITEMA Item{};
    Item.mask = TCIF_TEXT;
    std::string Text = FPages[I]->Caption();
    Item.pszText = Text.data();
    ::SendMessageA(Handle(), TCM_INSERTITEMA, I, reinterpret_cast<LPARAM>(&Item));
  }
  ::SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(FActive), 0);
  TWinControl::HandleCreated();
  Realign();
}

TBounds TPageControl::AlignArea() const {
  const TSize2 Size = ClientSize();
  RECT Area{0, 0, Size.Width, Size.Height};
  if (HWND Window = WindowHandle())
    ::SendMessageA(Window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&Area));
  return {Area.left, Area.top, Area.right - Area.left, Area.bottom - Area.top};
}

void TPageControl::SetActivePageIndex(int Index) {
  if (Index < 0 || Index >= PageCount())
    return;
  FActive = Index;
  if (HandleAllocated())
    ::SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(Index), 0);
  ShowActivePage();
}

void TPageControl::ShowActivePage() {
  for (std::size_t I = 0; I < FPages.size(); ++I)
    FPages[I]->SetVisible(static_cast<int>(I) == FActive);
  if (OnChange)
    OnChange(*this);
}

void TPageControl::WndProc(TMessage& Message) {
  if (Message.Msg == CN_NOTIFY &&
      reinterpret_cast<NMHDR*>(Message.LParam)->code == static_cast<UINT>(TCN_SELCHANGE)) {
    FActive = static_cast<int>(::SendMessageA(Handle(), TCM_GETCURSEL, 0, 0));
    ShowActivePage();
    return;
  }
  TWinControl::WndProc(Message);
}

} // namespace wyndo
