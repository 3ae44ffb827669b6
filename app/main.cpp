// The program entry.

#include "app/mainform.h"
#include "app/propertyform.h"
#include "app/shell.h"
#include "app/startup.h"
#include "controls/splash.h"
#include "info/functions.h"
#include "ui/application.h"
#include "ui/guard.h"
#include "ui/winutil.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE Instance, HINSTANCE, LPSTR, int) {
  using namespace wyndo;
  InstallFailureReport();
  try {
    Application.Initialize();
    TProgramShell Services;
    InstallShell(&Services);
    TStartup Startup;
    Startup.MakeSplash = [] { return TFormPtr<TForm>(MakeForm<TSplashScreenForm>()); };
    Startup.RunConfiguration = [] { return MakeForm<TPropertyForm>()->ShowModal() != mrCancel; };
    if (const std::optional<int> ExitCode = Startup.Initialize(::GetCommandLineA()))
      return *ExitCode;
    Application.SetTitle(LoadResString(SProductName));
    Screen.SetCursorImage(crFinder, ::LoadCursorA(Instance, MAKEINTRESOURCEA(301)));
    auto MainForm = MakeForm<TWyndoMainForm>();
    MainForm->Show();
    MainForm->Update();
    Startup.FreeSplash();
    Application.SetMainForm(std::move(MainForm));
    Application.OnEndSession = [&Startup](TObject&) {
      if (TWyndoMainForm* Main = MainWindow())
        Main->LeaveShell();
      Startup.SaveSettingsNow();
    };
    Application.Run();
    Application.OnEndSession = nullptr;
    Screen.SetCursorImage(crFinder, nullptr);
  } catch (...) {
    Application.HandleException(std::current_exception());
    return 1;
  }
  return 0;
}
