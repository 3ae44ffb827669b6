#pragma once
// TWyndoForm: the base of every child window of the program (list windows, information windows,
// find-window dialogs). Child windows are opened only through the program's OpenChildWindow,
// which numbers them, gives them the caption style and registers them with the main window's
// taskbar.

#include "controls/styleform.h"

namespace wyndo {

class TWyndoForm : public TStyleForm {
public:
  // Called on every open child window, in the taskbar's order, after the Properties dialog has
  // applied a new number format: a window rewrites what it shows in the new format (or keeps
  // it, as information windows do).
  virtual void SettingsChanged() = 0;
};

} // namespace wyndo
