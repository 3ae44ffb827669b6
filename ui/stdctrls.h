#pragma once
// The standard controls the forms are built from. Windowed ones subclass the system's classes;
// the label is window-less.

#include "ui/controls.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace wyndo {

// Text painted on the parent. Sizes itself to its text unless AutoSize is off.
class TLabel : public TGraphicControl {
public:
  TLabel();
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // Draws on the parent's background instead of filling with Color.
  bool Transparent = false;

protected:
  void Paint(TCanvas& Canvas) override;
  void TextChanged() override { AdjustSize(); }
  void FontChanged() override;
  // The flags DrawText gets for the label's text.
  UINT DrawFlags() const;

private:
  void AdjustSize();
  bool FAutoSize = true;
  bool FWordWrap = false;
};

// A one-line edit field. Changing its text, by typing or by code, raises OnChange.
class TEdit : public TWinControl {
public:
  TEdit();
  std::string Caption() const override;
  const std::string Text() const { return Caption(); }
  void SetText(std::string_view Value) { SetCaption(Value); }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  // Enter reaches the field (OnKeyPress gets '\r') instead of clicking the form's default button.
  bool WantReturns = false;
  TNotifyEvent OnChange;
  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void TextChanged() override;
  virtual void Change();

private:
  bool FReadOnly = false;
};

// A push button. Clicking it sets its form's ModalResult (when not mrNone) and raises OnClick.
// Enter clicks the Default button, Escape the Cancel button (see TForm::DialogKey).
class TButton : public TWinControl {
public:
  TButton();
  bool Default = false;
  bool Cancel = false;
  int ModalResult = 0;
  void Click() override;
  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
};

// A check box. Changing Checked, by a click or by code, raises OnClick.
class TCheckBox : public TWinControl {
public:
  TCheckBox();
  bool Checked() const;
  void SetChecked(bool Value);
  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void HandleCreated() override;

private:
  bool FChecked = false;
};

// A radio button. The radio buttons of one parent form a group: checking one, by a click or by
// code, unchecks the others. Becoming checked raises OnClick; only the checked button of a group
// is a tab stop.
class TRadioButton : public TWinControl {
public:
  TRadioButton();
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void HandleCreated() override;

private:
  bool FChecked = false;
};

// A framed group with a caption; its children sit inside it.
class TGroupBox : public TWinControl {
public:
  TGroupBox();
  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  TBounds AlignArea() const override;
};

enum class TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };

// A container with an optional bevelled edge.
class TPanel : public TCustomControl {
public:
  TPanel();
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value);

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint(TCanvas& Canvas) override;
  TBounds AlignArea() const override;
  int BevelWidth() const;

private:
  TBevelCut FBevelOuter = TBevelCut::bvRaised;
  TBevelCut FBevelInner = TBevelCut::bvNone;
};

// The item list shared by list boxes and combo boxes: kept here, mirrored into the window.
class TItemsControl : public TWinControl {
public:
  int Count() const { return static_cast<int>(FItems.size()); }
  const std::string& Item(int Index) const { return FItems.at(static_cast<std::size_t>(Index)); }
  const std::vector<std::string>& Items() const { return FItems; }
  int Add(std::string_view Text);
  // Replaces an item's text; the selection stays.
  void SetItem(int Index, std::string_view Text);
  void Clear();
  // The selected index, or -1.
  int ItemIndex() const;
  void SetItemIndex(int Index);

protected:
  struct TItemMessages {
    UINT Add, Insert, Delete, Reset, GetSelection, SetSelection;
  };
  explicit TItemsControl(TItemMessages Messages) : FMessages(Messages) {}
  void HandleCreated() override;

private:
  TItemMessages FMessages;
  std::vector<std::string> FItems;
  int FItemIndex = -1;
};

enum TOwnerDrawFlag : std::uint8_t { odSelected = 1, odFocused = 2, odDisabled = 4 };
using TOwnerDrawState = std::uint8_t;
// Draws one item on Canvas within Rect. Canvas comes prepared: the list's font, and the
// highlight colours (brush and font) for a selected item, the list's colours otherwise.
using TDrawItemEvent = std::function<void(TObject& Sender, TCanvas& Canvas, int Index,
                                          const RECT& Rect, TOwnerDrawState State)>;

enum class TListBoxStyle : std::uint8_t { lbStandard, lbOwnerDrawFixed };

// A list box; OnClick when the selection changes, OnDblClick on a double click.
//
// Owner drawing (Style lbOwnerDrawFixed, set before the window is made): every item is
// ItemHeight pixels high and drawn by OnDrawItem (without a handler: its text at the top left);
// the focus rectangle is drawn afterwards.
class TListBox : public TItemsControl {
public:
  TListBox();
  TListBoxStyle Style = TListBoxStyle::lbStandard;
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value);
  TDrawItemEvent OnDrawItem;
  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void HandleCreated() override;

private:
  void DrawItem(const DRAWITEMSTRUCT& Item);
  int FItemHeight = 13;
};

// A drop-down list to choose from; OnChange when the user picks another item.
class TComboBox : public TItemsControl {
public:
  TComboBox();
  TNotifyEvent OnChange;
  // Number of items the drop-down shows without scrolling.
  int DropDownCount = 8;
  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  int WindowHeight(int Height) const override;
};

} // namespace wyndo
