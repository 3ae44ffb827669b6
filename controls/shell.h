#pragma once
// The program-wide services that live with the main window, as the windows below it see them.
// app/ implements them at start-up; this interface is the only door from the windows to there.

#include "controls/wyndoform.h"

#include <cstdint>
#include <vector>

namespace wyndo {

class TBasicInfo;

// The kinds of child window the program opens.
enum class TChildKind : std::uint8_t {
  ckWindowList,
  ckProcessList,
  ckThreadList,
  ckModuleList,
  ckWindowInfo,
  ckWndSearch
};

class TShell {
public:
  virtual ~TShell() = default;
  // Opens one more numbered child window of Kind (an information window shows Info); nullptr
  // when it cannot be made. Nothing is reported.
  virtual TWyndoForm* OpenChildWindow(TChildKind Kind, const TBasicInfo* Info) = 0;
  // Focuses and selects the window's nodes in every idle list window but module lists.
  virtual void SelectWindowInLists(std::uint32_t Window) = 0;
  // The open child windows, in the taskbar's order.
  virtual std::vector<TWyndoForm*> ChildWindows() = 0;
};

// The services in place; app/ installs them before any window opens.
TShell& Shell();
void InstallShell(TShell* Services);

} // namespace wyndo
