// The program entry.

#include "app/mainform.h"
#include "info/functions.h"
#include "ui/application.h"
#include "ui/guard.h"
#include "ui/winutil.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace wyndo;
  InstallFailureReport();
  try {
    Application.Initialize();
    Application.SetTitle(LoadResString(SProductName));
    Application.SetMainForm(MakeForm<TWyndoMainForm>());
    Application.Run();
  } catch (...) {
    Application.HandleException(std::current_exception());
    return 1;
  }
  return 0;
}
