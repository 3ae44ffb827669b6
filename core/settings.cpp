#include "core/settings.h"

namespace wyndo {

TWYNDO_Settings Settings;

} // namespace wyndo
