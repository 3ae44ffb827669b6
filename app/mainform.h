#pragma once
// The program's main window: a low strip at the top of the screen.

#include "ui/forms.h"

namespace wyndo {

class TWyndoMainForm : public TForm {
public:
  TWyndoMainForm();
  const char* WindowClassName() const override { return "TWyndoMainForm"; }
};

} // namespace wyndo
