#pragma once
// The handle, caption and class fields that name a window, shared by the find-window dialog and
// the main window's finder panel: a pick fills all three; Enter reads the typed handle; every
// change of the caption or class looks the window up by exact caption and class; a new number
// format rewrites the handle.

#include "controls/smallcontrols.h"
#include "ui/stdctrls.h"

#include <windows.h>

#include <string>

namespace wyndo {

class TWndFields {
public:
  explicit TWndFields(TForm& Owner) : FOwner(Owner) {}

  TEdit* WndHandle = nullptr;
  THintEdit* WndCaption = nullptr;
  TEdit* WndClass = nullptr;
  // False while a pick fills the fields, so that filling them starts no search.
  bool FReactToEdits = true;

  // Fills the fields from a picked or typed window; a handle that names no window gives the
  // "Invalid Handle" message box (owned by the form) and leaves the fields alone.
  void FoundWnd(HWND Window);
  // Enter in any field reads the handle field (with its messages) and picks what it names.
  void KeyPress(char Key);
  // Looks the window up by the caption and class fields (empty ones are left out).
  void CaptionChange();
  // Writes the handle field again in the current number format, read in the one it was
  // written in; a field that does not read as a number stays as it is.
  void RewriteHandle();

private:
  TForm& FOwner;
};

// "Select Window": selects the window a handle text names in every open list; silent when the
// text names nothing.
void SelectHandleInLists(const std::string& HandleText);
// "Properties": brings forward the information window already open for the window a handle text
// names, or opens one. A text that is no number gives its message box; a number that is no
// window does nothing.
void ShowHandleProperties(const std::string& HandleText);

} // namespace wyndo
