#pragma once
// Stored layouts: a form declares its controls as a static table, one row per control, and its
// constructor builds them with BuildLayout. A row gives the control's kind, name, parent (an
// earlier row, or the form), position and size in pixels, text, anchors, alignment, a few
// options, and Connect, which stores the control in the form's field and binds its handlers:
//
//   const TLayoutItem<TSearchForm> TSearchForm::Layout[] = {
//     {.Kind = Kind<TLabel>, .Name = "Label2", .Bounds = {12, 112, 0, 0}, .Text = "Handle:"},
//     {.Kind = Kind<TEdit>, .Name = "WndHandle", .Bounds = {76, 108, 157, 21}, .TabOrder = 0,
//      .Connect = Connect<&TSearchForm::WndHandle,
//                         On<&TEdit::OnKeyPress, &TSearchForm::WndHandleKeyPress>>},
//   };
//
// A width or height of 0 keeps the control's own (a label sizes itself to its text). Define the
// form's constructor after its table, where the table's size is known.

#include "ui/forms.h"

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <stdexcept>
#include <string_view>
#include <type_traits>
#include <utility>

namespace wyndo {

using TMakeControl = std::unique_ptr<TControl> (*)();

template <class T>
std::unique_ptr<TControl> MakeControl() {
  return std::make_unique<T>();
}
// The kind column of a layout row.
template <class T>
inline constexpr TMakeControl Kind = &MakeControl<T>;

enum TLayoutOption : std::uint32_t {
  loReadOnly = 1, // edits
  loWordWrap = 2, // labels
  loDefault = 4,  // buttons: Enter clicks it
  loCancel = 8,   // buttons: Escape clicks it
  loHidden = 16,
  loDisabled = 32,
  loBtnFace = 64,     // the button-face colour instead of the control's own
  loTransparent = 128 // labels
};

template <class F>
struct TLayoutItem {
  TMakeControl Kind = nullptr;
  const char* Name = "";
  const char* Parent = nullptr;
  TBounds Bounds{};
  const char* Text = "";
  TAnchors Anchors = akTopLeft;
  TAlign Align = TAlign::alNone;
  std::uint32_t Options = 0;
  int TabOrder = -1;
  int ModalResult = 0;
  void (*Connect)(F& Form, TControl& Control) = nullptr;
};

// Binds the event member Event of a control to the form's method Method.
template <auto Event, auto Method>
struct On {
  template <class F, class C>
  static void Bind(F& Form, C& Control) {
    (Control.*Event) = [&Form](auto&&... Args) {
      return (Form.*Method)(std::forward<decltype(Args)>(Args)...);
    };
  }
};

namespace layout_detail {
template <class T>
struct TFieldOf;
template <class TClass, class TMember>
struct TFieldOf<TMember TClass::*> {
  using TForm = TClass;
  using TControlType = std::remove_pointer_t<TMember>;
};

void Apply(TControl& Control, TWinControl& Parent, const TBounds& Bounds, const char* Text,
           TAnchors Anchors, TAlign Align, std::uint32_t Options, int TabOrder, int ModalResult);
} // namespace layout_detail

// The connect column: stores the control in the form's field Field (a pointer member of the
// control's type) and binds each On<...> handler.
template <auto Field, class... Handlers>
void Connect(typename layout_detail::TFieldOf<decltype(Field)>::TForm& Form, TControl& Control) {
  using C = typename layout_detail::TFieldOf<decltype(Field)>::TControlType;
  auto* Typed = dynamic_cast<C*>(&Control);
  if (!Typed)
    throw std::logic_error("A layout row's kind does not match its field: " + Control.Name);
  Form.*Field = Typed;
  (Handlers::Bind(Form, *Typed), ...);
}

// Builds the controls of a layout table on Form, in table order.
template <class F>
void BuildLayout(F& Form, std::span<const TLayoutItem<F>> Items) {
  std::map<std::string_view, TWinControl*> Containers;
  for (const TLayoutItem<F>& Item : Items) {
    TControl& Control = *Form.Own(Item.Kind());
    Control.Name = Item.Name;
    TWinControl* Parent = &Form;
    if (Item.Parent) {
      const auto Found = Containers.find(Item.Parent);
      if (Found == Containers.end())
        throw std::logic_error(std::string("A layout row names an unknown parent: ") + Item.Name);
      Parent = Found->second;
    }
    layout_detail::Apply(Control, *Parent, Item.Bounds, Item.Text, Item.Anchors, Item.Align,
                         Item.Options, Item.TabOrder, Item.ModalResult);
    if (auto* Windowed = dynamic_cast<TWinControl*>(&Control))
      Containers[Item.Name] = Windowed;
    if (Item.Connect)
      Item.Connect(Form, Control);
  }
}

template <class F, std::size_t N>
void BuildLayout(F& Form, const TLayoutItem<F> (&Items)[N]) {
  BuildLayout(Form, std::span<const TLayoutItem<F>>(Items, N));
}

} // namespace wyndo
