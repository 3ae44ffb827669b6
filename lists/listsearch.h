#pragma once
// The search dialog of a list window: finds the next node of a chosen kind whose cells match a
// text per column, forwards or backwards, from the beginning or from the focused node, over every
// node of the tree (also nodes hidden by the filter or collapsed), and focuses and selects it.
//
// Life: made hidden by its list window's constructor, connected to it at once and owned by it.
// The list's Search button shows and hides it, a refresh hides it, Cancel and the caption's close
// only hide it. Its texts, options and kind survive hiding, showing and refreshes.
//
// While shown it stays above its list: it is topmost while it or its list is active, and gives
// that up when it is deactivated; on activation the list comes to the top of the z-order right
// behind it.

#include "controls/styleform.h"
#include "core/listkinds.h"
#include "ui/layout.h"
#include "ui/stdctrls.h"

#include <string>
#include <vector>

namespace wyndo {

class TListForm;
struct TColumnSettings;

class TListSearchForm : public TStyleForm {
public:
  TListSearchForm();
  const char* WindowClassName() const override { return "TListSearchForm"; }
  void WndProc(TMessage& Message) override;

  // Serves List from now on: its kinds in SearchType, the first one chosen.
  void ConnectList(TListForm& List);
  TListForm* List() const { return FList; }
  TListKind CurrentKind() const { return FCurrentKind; }
  // The drawn text of a SearchList entry: "FieldName: 'text'".
  std::string EntryText(int Index) const;

  TLabel* Label4 = nullptr;
  TComboBox* SearchType = nullptr;
  TGroupBox* GroupBox4 = nullptr;
  TLabel* Label2 = nullptr;
  TEdit* SearchText = nullptr;
  TListBox* SearchList = nullptr;
  TButton* Clear = nullptr;
  TButton* Change = nullptr;
  TGroupBox* GroupBox3 = nullptr;
  TCheckBox* CaseSensitive = nullptr;
  TCheckBox* WildCards = nullptr;
  TGroupBox* GroupBox2 = nullptr;
  TRadioButton* StartBegin = nullptr;
  TRadioButton* StartCurrent = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TRadioButton* Down = nullptr;
  TRadioButton* Up = nullptr;
  TButton* Search = nullptr;
  TButton* Cancel = nullptr;

  void SearchTypeChange(TObject& Sender);
  void SearchListClick(TObject& Sender);
  void SearchListDrawItem(TObject& Sender, TCanvas& Canvas, int Index, const RECT& Rect,
                          TOwnerDrawState State);
  void ChangeClick(TObject& Sender);
  void ClearClick(TObject& Sender);
  void SearchTextKeyPress(TObject& Sender, char& Key);
  // Focuses and selects the next hit, or tells that there is none.
  void SearchClick(TObject& Sender);
  void CancelClick(TObject& Sender);

private:
  void CentreOverList();

  TListForm* FList = nullptr;
  TListKind FCurrentKind = lkWindow;
  // The column settings record of each SearchList entry (for its field name).
  std::vector<const TColumnSettings*> FRecords;
  // Placed over the list when first shown: the list has no place of its own before that.
  bool FPlaced = false;
  static const TLayoutItem<TListSearchForm> Layout[];
};

} // namespace wyndo
