#include "ui/settingsres.h"

namespace wyndo {

TSettingsResources SettingsResources;

} // namespace wyndo
