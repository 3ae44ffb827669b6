#include "controls/shell.h"

#include "core/errors.h"

namespace wyndo {

namespace {
TShell* Installed = nullptr;
} // namespace

TShell& Shell() {
  if (!Installed)
    throw Exception("The program's services are not installed");
  return *Installed;
}

void InstallShell(TShell* Services) {
  Installed = Services;
}

} // namespace wyndo
