#include "info/functions.h"

#include "core/errors.h"
#include "core/format.h"
#include "ui/application.h"
#include "ui/handles.h"
#include "ui/winutil.h"

#include <string>

namespace wyndo {

std::uint32_t ParseHandle(std::string_view Text, bool ShowErrors) {
  if (ShowErrors && Text == LoadResString(SNoWindowFound)) {
    Application.MessageBox("No such window found", "No window", MB_ICONHAND);
    return 0;
  }
  try {
    return ParseValue(Text, "Invalid Value");
  } catch (const EConvertError&) {
    if (ShowErrors)
      Application.MessageBox("\"" + std::string(Text) + "\" is not a valid Handle-Value",
                             "Invalid Handle", MB_ICONHAND);
    return 0;
  }
}

void Delay(DWORD Milliseconds) {
  const DWORD Start = ::GetTickCount();
  do {
    Application.ProcessMessages();
    ::Sleep(0);
  } while (::GetTickCount() - Start < Milliseconds);
}

void RepaintWindowFully(HWND Window) {
  ::InvalidateRect(Window, nullptr, TRUE);
  ::UpdateWindow(Window);
  ::RedrawWindow(Window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
}

void HighlightWindow(HWND Window) {
  RECT Area{};
  ::GetWindowRect(Window, &Area);
  TWindowDC DC(Window, TWindowDC::dcWindow);
  if (!DC)
    return;
  ::PatBlt(DC.Get(), 0, 0, Area.right - Area.left, Area.bottom - Area.top, DSTINVERT);
  Delay(350);
  RepaintWindowFully(Window);
}

} // namespace wyndo
