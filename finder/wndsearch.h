#pragma once
// The find-window dialog: names a window by a drag of the finder tool, by its handle, or by
// its exact caption and class, then selects it in the open lists or opens its information
// window. "Hide Wyndo" hides the program's other windows (and the main window unless it is
// docked) until it is unchecked or the dialog closes.

#include "controls/wyndoform.h"
#include "finder/findwndpanel.h"
#include "finder/wndfields.h"
#include "ui/layout.h"

#include <vector>

namespace wyndo {

class TWndSearchForm : public TWyndoForm {
public:
  TWndSearchForm();
  const char* WindowClassName() const override { return "TWndSearchForm"; }
  // Rewrites the handle field in the new number format.
  void SettingsChanged() override;

  TLabel* Label5 = nullptr;
  TLabel* Label1 = nullptr;
  TFindWndPanel* FindWndPanel = nullptr;
  TCheckBox* HideWyndo = nullptr;
  TLabel* Label2 = nullptr;
  TEdit* WndHandle = nullptr;
  TLabel* Label3 = nullptr;
  THintEdit* WndCaption = nullptr;
  TLabel* Label4 = nullptr;
  TEdit* WndClass = nullptr;
  TButton* Select = nullptr;
  TButton* Properties = nullptr;

  void FoundWnd(HWND Window);
  void WndHandleKeyPress(TObject& Sender, char& Key);
  void WndCaptionChange(TObject& Sender);
  void SelectClick(TObject& Sender);
  void PropertiesClick(TObject& Sender);
  void HideWyndoClick(TObject& Sender);
  void FormCreate(TObject& Sender);
  void FormClose(TObject& Sender, TCloseAction& Action);

private:
  // A child window hidden by "Hide Wyndo" and whether it was visible before. The form is
  // known by its object and its window, so a window closed meanwhile is never touched and one
  // opened meanwhile is never mistaken for it.
  struct THiddenState {
    TForm* Form;
    HWND Window;
    bool Visible;
  };

  TWndFields FFields{*this};
  std::vector<THiddenState> FHiddenStates;
  static const TLayoutItem<TWndSearchForm> Layout[];
};

} // namespace wyndo
