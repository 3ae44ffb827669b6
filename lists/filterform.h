#pragma once
// The filter dialog of a list window: edits a working copy of the list's filter (a text per
// column and a Must-have-child-nodes flag for every kind of node, and the three options), and on
// OK copies it back, sets the list's filter box and applies the filter when asked to.
//
// Life: made by the list window's filter button and shown for that list, which stays disabled
// while the dialog exists. Closing it (OK, Cancel, the caption) frees it; as it goes it enables
// the list again, brings it to the front and clears the list's FFilterForm. A list window that
// goes first frees its open dialog, which then leaves the list alone.

#include "controls/styleform.h"
#include "core/listkinds.h"
#include "ui/layout.h"
#include "ui/stdctrls.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace wyndo {

class TListForm;
struct TColumnSettings;

class TFilterForm : public TStyleForm {
public:
  TFilterForm();
  const char* WindowClassName() const override { return "TFilterForm"; }
  void BeforeDestruction() override;
  void WndProc(TMessage& Message) override;

  // Disables List, centres the dialog over it, loads the list's filter and shows the dialog
  // with the list's first kind.
  void ShowForList(TListForm& List);
  TListForm* List() const { return FList; }

  // The kind FilterList shows, once one has been loaded.
  std::optional<TListKind> CurrentKind() const { return FCurrentKind; }
  // The drawn text of a FilterList entry: "FieldName: 'text'".
  std::string EntryText(int Index) const;

  TLabel* Label4 = nullptr;
  TComboBox* ListType = nullptr;
  TGroupBox* GroupBox4 = nullptr;
  TLabel* Label2 = nullptr;
  TEdit* FilterText = nullptr;
  TListBox* FilterList = nullptr;
  TButton* Clear = nullptr;
  TButton* Change = nullptr;
  TCheckBox* ChildNodes = nullptr;
  TButton* OK = nullptr;
  TButton* Cancel = nullptr;
  TGroupBox* Groupbox2 = nullptr;
  TCheckBox* CaseSensitive = nullptr;
  TCheckBox* WildCards = nullptr;
  TCheckBox* RootNode = nullptr;
  TCheckBox* ActivateFilter = nullptr;

  void ListTypeChange(TObject& Sender);
  void FilterListClick(TObject& Sender);
  void FilterListDrawItem(TObject& Sender, TCanvas& Canvas, int Index, const RECT& Rect,
                          TOwnerDrawState State);
  void ChangeClick(TObject& Sender);
  void ClearClick(TObject& Sender);
  void FilterTextKeyPress(TObject& Sender, char& Key);
  void OKClick(TObject& Sender);
  void CancelClick(TObject& Sender);

private:
  // Puts the dialog's edits of the current kind into the working copy.
  void SaveCurrentKind();

  TListForm* FList = nullptr;
  std::array<std::vector<std::string>, ListKindCount> FTexts;
  std::array<bool, ListKindCount> FMustHaveChildNodes{};
  std::optional<TListKind> FCurrentKind;
  // The column settings record of each FilterList entry (for its field name).
  std::vector<const TColumnSettings*> FRecords;
  static const TLayoutItem<TFilterForm> Layout[];
};

} // namespace wyndo
