#include "app/mainform.h"

#include "core/settings.h"

namespace wyndo {

TWyndoMainForm::TWyndoMainForm() {
  SetCaption("Wyndo");
  SetUseStandardCaption(Settings.Style == 1);
  const RECT WorkArea = Screen.WorkArea();
  SetBounds(WorkArea.left, WorkArea.top, 695, 120);
}

} // namespace wyndo
