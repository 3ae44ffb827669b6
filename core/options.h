#pragma once
// The six option values of the settings key: reading them with every check, and the defaults.

#include "core/columns.h"
#include "core/settings.h"

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace wyndo {

// Looks a value of the settings key up by name; nothing when it is missing.
using TValueLookup = std::function<std::optional<TStoredValue>(std::string_view Name)>;

// Reads "IntFormat", "Style", "Minimization" (binary, at most 1 byte; a missing or empty value
// leaves the field) and "AppBarDocking", "StayOnTop", "MainFinder" (DWORD of 4 bytes, non-zero
// is true) into Settings. False when any value is of another type or size, a DWORD is missing,
// or IntFormat > 2, Style > 1 or Minimization > 2.
bool ReadStoredOptions(const TValueLookup& Lookup, TWYNDO_Settings& Settings);
// IntFormat 1 ("$"), Style 0, Minimization 0, docking, stay on top and the finder panel on.
void SetDefaultOptions(TWYNDO_Settings& Settings);
// The six values to write, in the order above.
std::vector<TStoredValue> StoredOptions(const TWYNDO_Settings& Settings);

} // namespace wyndo
