#include "app/mainform.h"

namespace wyndo {

TWyndoMainForm::TWyndoMainForm() {
  SetCaption("Wyndo");
  const RECT WorkArea = Screen.WorkArea();
  SetBounds(WorkArea.left, WorkArea.top, 695, 120);
}

} // namespace wyndo
