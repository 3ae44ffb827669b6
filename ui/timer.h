#pragma once
// TTimer: raises OnTimer every Interval milliseconds while Enabled, on the thread that made it.
// A window timer of a hidden window of its own, so the ticks arrive as messages of that thread
// and run inside whatever message loop is running (the main loop or a modal one).

#include "ui/controls.h"

#include <windows.h>

namespace wyndo {

class TTimer : public TObject {
public:
  TTimer();
  ~TTimer() override;
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  // Milliseconds between ticks; 0 stops the ticks.
  UINT Interval() const { return FInterval; }
  void SetInterval(UINT Value);
  // Raised on every tick; a failure goes to the application's error handler.
  TNotifyEvent OnTimer;

private:
  static LRESULT CALLBACK WndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
  void Update();

  HWND FWindow = nullptr;
  bool FEnabled = true;
  UINT FInterval = 1000;
};

} // namespace wyndo
