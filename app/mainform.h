#pragma once
// The program's main window: a low strip at the top of the screen.

#include "controls/styleform.h"

namespace wyndo {

class TWyndoMainForm : public TStyleForm {
public:
  TWyndoMainForm();
  const char* WindowClassName() const override { return "TWyndoMainForm"; }
};

} // namespace wyndo
