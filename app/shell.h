#pragma once
// The program-wide services of the main window: opening numbered child windows, telling them
// that the number format changed, selecting a window in every list, docking the main window as a
// desktop toolbar and the notification-area icon.

#include "controls/shell.h"

#include <cstdint>

namespace wyndo {

// The services behind TShell, for the program's main window.
class TProgramShell : public TShell {
public:
  // 1. Brings the main window back; 2. makes the window (an information window for Info),
  // hidden and without owner; 3. numbers it with the smallest number no open window of its class
  // carries, its caption the design caption, a blank and the number; 4. gives it the caption
  // style; 5. registers it with the taskbar (which closes and frees it); 6. moves it below a main
  // window that stays on top undocked; 7. starts a list window's build; 8. shows it.
  TWyndoForm* OpenChildWindow(TChildKind Kind, const TBasicInfo* Info) override;
  void SelectWindowInLists(std::uint32_t Window) override;
  std::vector<TWyndoForm*> ChildWindows() override;
};

// Rewrites the main window's handle field, then calls SettingsChanged on every child window.
void NotifySettingsChanged();
void DockAppBar();
// The shell moved the docked bar's place (another bar came or went): asks again for the strip
// at the window's height, takes it and moves there.
void AppBarPositionChanged();
void UndockAppBar();
void ShowTrayIcon();
void HideTrayIcon();

// The callback messages the shell sends to the main window.
inline constexpr UINT WM_APPBARNOTIFY = WM_USER + 101;
inline constexpr UINT WM_TRAYNOTIFY = WM_USER + 102;

} // namespace wyndo
