#include "ui/layout.h"

#include "ui/comctrls.h"
#include "ui/stdctrls.h"

namespace wyndo::layout_detail {

void Apply(TControl& Control, TWinControl& Parent, const TBounds& Bounds, const char* Text,
           TAnchors Anchors, TAlign Align, std::uint32_t Options, int TabOrder, int ModalResult) {
  // A sheet placed on a page control is one of its pages, its text the tab.
  auto* Sheet = dynamic_cast<TTabSheet*>(&Control);
  auto* Pages = dynamic_cast<TPageControl*>(&Parent);
  if (Sheet && Pages) {
    Sheet->SetCaption(Text ? Text : "");
    Pages->AttachPage(*Sheet);
    return;
  }
  Control.SetParent(&Parent);
  if (Options & loBtnFace)
    Control.SetColor(clBtnFace);
  if (auto* Label = dynamic_cast<TLabel*>(&Control)) {
    Label->SetWordWrap(Options & loWordWrap);
    Label->Transparent = Options & loTransparent;
  }
  Control.SetBounds(Bounds.Left, Bounds.Top, Bounds.Width ? Bounds.Width : Control.Width(),
                    Bounds.Height ? Bounds.Height : Control.Height());
  if (Text && *Text)
    Control.SetCaption(Text);
  Control.SetAnchors(Anchors);
  Control.SetAlign(Align);
  if (Options & loHidden)
    Control.SetVisible(false);
  if (Options & loDisabled)
    Control.SetEnabled(false);
  if (auto* Windowed = dynamic_cast<TWinControl*>(&Control))
    Windowed->TabOrder = TabOrder;
  if (auto* Edit = dynamic_cast<TEdit*>(&Control))
    Edit->SetReadOnly(Options & loReadOnly);
  if (auto* Button = dynamic_cast<TButton*>(&Control)) {
    Button->Default = Options & loDefault;
    Button->Cancel = Options & loCancel;
    Button->ModalResult = ModalResult;
  }
}

} // namespace wyndo::layout_detail
