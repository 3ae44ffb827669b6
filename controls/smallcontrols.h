#pragma once
// Three small controls of the program's own:
//
// TCheckSpeedButton: a tool button with a small check box in its bottom-left corner. A click on
//   the button raises OnClick; a click in the box toggles Checked and raises OnCheckClick
//   instead (never OnClick). Writing Checked by code raises nothing.
// THintEdit: an edit field that shows its Hint (not its text) in a hint window at the pointer
//   only while the Ctrl key is held over it, instead of as an ordinary tooltip.
// TLinkLabel: a label that looks and acts as a hyperlink (link colour, underlined, hand cursor)
//   while an OnLinkClick handler is assigned, and as a plain label otherwise.

#include "ui/buttons.h"
#include "ui/hintwindow.h"
#include "ui/stdctrls.h"

#include <memory>

namespace wyndo {

class TCheckSpeedButton : public TSpeedButton {
public:
  TCheckSpeedButton();
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  int CheckboxSize() const { return FCheckboxSize; }
  void SetCheckboxSize(int Value);
  int CheckboxSpace() const { return FCheckboxSpace; }
  void SetCheckboxSpace(int Value);
  TNotifyEvent OnCheckClick;

  // The box: left CheckboxSpace, top height - CheckboxSpace - CheckboxSize, CheckboxSize square.
  RECT BoxRect() const;
  // Strictly inside the box: its edge pixels count as outside.
  bool InBox(int X, int Y) const;
  bool BoxPressed() const { return FBoxPressed; }
  bool BoxHot() const { return FBoxHot; }
  void WndProc(TMessage& Message) override;

protected:
  void Paint(TCanvas& Canvas) override;

private:
  void Toggle();
  bool FChecked = false;
  int FCheckboxSize = 13;
  int FCheckboxSpace = 8;
  bool FBoxPressed = false;
  bool FBoxHot = false;
};

class THintEdit : public TEdit {
public:
  THintEdit() = default;
  bool HintShown() const { return FHintShown; }
  THintWindow* HintWindow() const { return FHintWindow.get(); }
  void WndProc(TMessage& Message) override;

private:
  void HideHint();
  // Checks the pointer while the hint is up.
  void PointerMoved();
  std::unique_ptr<THintWindow> FHintWindow;
  POINT FHintCursor{}; // where the pointer was at the last check
  bool FHintShown = false;
};

class TLinkLabel : public TLabel {
public:
  TLinkLabel();
  TColor LinkColor() const { return FLinkColor; }
  // Stored and repainted; the font takes it the next time a link handler is assigned.
  void SetLinkColor(TColor Value);
  // With a handler: link colour, underlined, hand cursor; without: the label's own font and the
  // default cursor.
  void SetOnLinkClick(TNotifyEvent Handler);
  bool IsLink() const { return static_cast<bool>(FOnLinkClick); }
  void Click() override;

private:
  TFont FNormalFont;
  TColor FLinkColor = 0x00008000;
  TNotifyEvent FOnLinkClick;
};

} // namespace wyndo
