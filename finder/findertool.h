#pragma once
// The finder panel's pop-up commands: a small button-like panel under the finder tool that, when
// the mouse enters it, opens a tool window without a title bar just below it with "Select
// Window" and "Properties" for the window named in the main window's handle field.
//
// Closing protocol: leaving the panel, or leaving the tool window after the mouse has been in it,
// starts the panel's close timer (FCloseDelay); when it fires the tool window goes unless the
// cursor is over it at that moment. Entering the panel again or entering the tool window stops
// the timer. The panel owns the tool window and frees it when it goes itself.

#include "ui/forms.h"
#include "ui/layout.h"
#include "ui/stdctrls.h"

#include <windows.h>

#include <cstdint>
#include <functional>

namespace wyndo {

class TToolWindowPanel : public TPanel {
public:
  TToolWindowPanel();
  ~TToolWindowPanel() override;

  // Makes the window to pop up, owned by the panel; unset, the panel opens nothing.
  std::function<TFormPtr<TForm>(TToolWindowPanel& Panel)> FToolWindowClass;
  // The open tool window, or null.
  TForm* ToolWindow() const { return FToolWindow.get(); }
  std::uint32_t FCloseDelay = 250;

  // Restart: starts the close timer afresh; otherwise stops it.
  void RestartCloseTimer(bool Restart);
  void WndProc(TMessage& Message) override;

protected:
  void Paint(TCanvas& Canvas) override;

private:
  void OpenToolWindow();

  TFormPtr<TForm> FToolWindow;
};

// The tool window: a dialog frame without a title bar and two buttons acting on the handle
// field it was given.
class TFinderToolWnd : public TForm {
public:
  TFinderToolWnd(TToolWindowPanel& Panel, TEdit& HandleField);
  const char* WindowClassName() const override { return "TFinderToolWnd"; }

  TButton* Select = nullptr;
  TButton* Properties = nullptr;

  void FormCreate(TObject& Sender);
  void SelectClick(TObject& Sender);
  void PropertiesClick(TObject& Sender);
  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;

private:
  static const TLayoutItem<TFinderToolWnd> Layout[];
  void TrackMouse(DWORD Flags);
  void Activate();

  TToolWindowPanel& FPanel;
  TEdit& FHandleField;
  bool FMouseInside = false;
};

} // namespace wyndo
