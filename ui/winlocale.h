#pragma once
// The user-locale versions of the locale services of core/: upper-casing with CharUpperBuffA,
// comparison with CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE), lead bytes of the ANSI
// code page.

#include "core/locale.h"

namespace wyndo {

const TLocaleFunctions& Win32UserLocale();

} // namespace wyndo
