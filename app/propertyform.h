#pragma once
// The Properties dialog: its "General" page edits the program-wide options (docking, staying on
// top, where the minimised program goes, the number format, the caption style, the finder
// panel); its "Lists" page chooses, per list type, which fields are columns, in which order and
// how wide, with a header that previews the columns. The column settings are edited in working
// copies; "OK" and "Apply" write everything back into the settings object and make each changed
// option take effect at once (except while the program starts, when they are only stored).

#include "controls/styleform.h"
#include "core/columns.h"
#include "core/listkinds.h"
#include "tree/treeview.h"
#include "ui/checklistbox.h"
#include "ui/comctrls.h"
#include "ui/layout.h"
#include "ui/stdctrls.h"

#include <array>
#include <cstdint>

namespace wyndo {

class TPropertyForm final : public TStyleForm {
public:
  TPropertyForm();
  const char* WindowClassName() const override { return "TPropertyForm"; }

  // Loads the General page from the settings, copies the column settings into the working
  // lists and shows the windows list's fields.
  void FormCreate(TObject& Sender);
  void FormDestroy(TObject& Sender);
  // Both "OK" and "Apply": stores every option whose control differs from the settings and
  // applies it (unless the program is starting), then copies the working column settings over
  // the settings' records.
  void ApplyClick(TObject& Sender);
  // "Always stay on top" can be changed only while the window is not docked.
  void AppBarClick(TObject& Sender);
  // Shows the fields and the header preview of the chosen list type.
  void ListTypesChange(TObject& Sender);
  // A field shown or hidden: the required field of the list type cannot be hidden; the header
  // preview is built again, a newly shown field as its last column.
  void PropertyListClickCheck(TObject& Sender);
  void TreeColumnResize(TObject& Sender, int Column);
  // The order the columns were dragged into becomes the column order of the list windows.
  void TreeHeaderDragged(TObject& Sender, int Column, int OldPosition);

  TButton* OK = nullptr;
  TButton* Cancel = nullptr;
  TButton* Apply = nullptr;
  TPageControl* PageControl1 = nullptr;
  TTabSheet* GeneralProperties = nullptr;
  TCheckBox* AppBar = nullptr;
  TCheckBox* StayOnTop = nullptr;
  TLabel* Label4 = nullptr;
  TComboBox* Minimization = nullptr;
  TLabel* Label1 = nullptr;
  TComboBox* IntFormat = nullptr;
  TLabel* Label2 = nullptr;
  TComboBox* StyleList = nullptr;
  TCheckBox* MainFinder = nullptr;
  TTabSheet* ListProperties = nullptr;
  TLabel* Label3 = nullptr;
  TComboBox* ListTypes = nullptr;
  TVirtualTree* Tree = nullptr;
  TCheckListBox* PropertyList = nullptr;

  // The working copies of the settings' column settings, per list type, same count and order.
  const TColumnList& Columns(TListKind Kind) const { return FColumns[Kind]; }
  TListKind ListType() const { return static_cast<TListKind>(FListType); }

private:
  // Adds a preview column per checked field and normalises the fields' column indexes.
  void BuildHeader();
  void DeleteHeaderColumns();
  static TColumnSettings* RecordOf(std::intptr_t Tag) {
    return reinterpret_cast<TColumnSettings*>(Tag);
  }

  std::array<TColumnList, ListKindCount> FColumns;
  std::uint8_t FListType = lkWindow;
  static const TLayoutItem<TPropertyForm> Layout[];
};

} // namespace wyndo
