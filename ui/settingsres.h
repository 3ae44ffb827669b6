#pragma once
// The system resources that belong with the settings object: prepared by start-up, released at
// exit. List building uses the lock and the build semaphore; the main window the icon and the
// shell's message.

#include "ui/forms.h"
#include "ui/handles.h"

#include <windows.h>

namespace wyndo {

struct TSettingsResources {
  TSettingsResources() { ::InitializeCriticalSection(&Lock); }
  ~TSettingsResources() { ::DeleteCriticalSection(&Lock); }
  TSettingsResources(const TSettingsResources&) = delete;
  TSettingsResources& operator=(const TSettingsResources&) = delete;

  // Guards each list build's stop event and the end of its build record.
  CRITICAL_SECTION Lock;
  // "WYNDO_ThreadCounter": five build slots shared by every running instance.
  TKernelHandle ThreadCounter;
  // The single-instance semaphore, held (never signalled) for the process's lifetime.
  TKernelHandle InstanceSemaphore;
  // The program's small icon, for the notification area.
  TIconHandle SmallIcon;
  // The shell's "TaskbarCreated" message.
  UINT TaskbarCreated = 0;
  // The splash screen while start-up runs.
  TFormPtr<TForm> Splash;
};

extern TSettingsResources SettingsResources;

} // namespace wyndo
