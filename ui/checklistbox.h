#pragma once
// TCheckListBox: a list box whose items each carry a check box. An item has a text, a checked
// state and a data pointer of the owner's. With Columns above 1 the items run down one column and
// on into the next, each column a share of the control's width, scrolling sideways when they do
// not fit.
//
// Events:
//   OnClickCheck  after the user toggled an item: a left click (or double click) on its box, or
//                 Space on the selected item. Checked already reports the new state. SetChecked
//                 raises nothing. May change the items' checked states.
//   OnClick       after the user selected another item.

#include "ui/controls.h"

#include <string>
#include <string_view>
#include <vector>

namespace wyndo {

class TCheckListBox : public TWinControl {
public:
  TCheckListBox();

  int Count() const { return static_cast<int>(FItems.size()); }
  // Appends an item; returns its index.
  int Add(std::string_view Text, void* Data = nullptr, bool Checked = false);
  void Clear();
  const std::string& Item(int Index) const { return At(Index).Text; }
  void* Data(int Index) const { return At(Index).Data; }
  bool Checked(int Index) const { return At(Index).Checked; }
  void SetChecked(int Index, bool Value);
  // The selected item, or -1.
  int ItemIndex() const;
  void SetItemIndex(int Index);
  int Columns() const { return FColumns; }
  // 0 or 1: a single column that scrolls vertically. Takes effect when the window is made.
  void SetColumns(int Value);

  // The item at a client point, or -1.
  int ItemAtPos(POINT Point) const;
  // The check box of an item in client coordinates (empty when the item is not in view).
  RECT CheckBoxRect(int Index) const;

  TNotifyEvent OnClickCheck;
  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void HandleCreated() override;
  void BoundsChanged() override;
  void FontChanged() override;

private:
  struct TItem {
    std::string Text;
    void* Data = nullptr;
    bool Checked = false;
  };
  const TItem& At(int Index) const { return FItems.at(static_cast<std::size_t>(Index)); }
  // Flips an item as the user does and tells the owner.
  void ToggleByUser(int Index);
  void InvalidateItem(int Index);
  void ApplyMetrics();
  void DrawItem(const DRAWITEMSTRUCT& Item);
  bool OnCheckBox(LPARAM Point) const;

  std::vector<TItem> FItems;
  int FColumns = 0;
  int FItemIndex = -1;
};

} // namespace wyndo
