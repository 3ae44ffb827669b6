#include "controls/styleform.h"

namespace wyndo {

TStyleForm::TStyleForm() {
  for (std::uint8_t Kind = cbHelp; Kind <= cbClose; ++Kind)
    FButtons[Kind].Kind = Kind;
  ReadMetrics();
  FCaptionFont.Reset(::CreateFontIndirectA(&FMetrics.lfCaptionFont));
}

TStyleForm::~TStyleForm() = default;

void TStyleForm::ReadMetrics() {
  FFrameWidth = ::GetSystemMetrics(SM_CXFRAME);
  FFrameHeight = ::GetSystemMetrics(SM_CYFRAME);
  FSmallIconWidth = ::GetSystemMetrics(SM_CXSMICON);
  FSmallIconHeight = ::GetSystemMetrics(SM_CYSMICON);
  FCaptionHeight = ::GetSystemMetrics(SM_CYCAPTION) - 1;
  FMetrics = {};
  FMetrics.cbSize = sizeof(FMetrics);
  ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(FMetrics), &FMetrics, 0);
}

void TStyleForm::HandleCreated() {
  TForm::HandleCreated();
  // What the border allows decides which of the buttons remain.
  if (!(BorderIcons() & biMaximize))
    FCaptionButtons &= static_cast<TCaptionButtons>(~CaptionButton(cbMaximize));
  if (!(BorderIcons() & biMinimize))
    FCaptionButtons &= static_cast<TCaptionButtons>(~CaptionButton(cbMinimize));
  if (BorderStyle() == TBorderStyle::bsDialog)
    FCaptionButtons &=
        static_cast<TCaptionButtons>(~(CaptionButton(cbMaximize) | CaptionButton(cbMinimize)));
  for (TTitlebarButton& Button : FButtons)
    Button.Enabled =
        (FCaptionButtons & CaptionButton(static_cast<TCaptionButton>(Button.Kind))) != 0;
  ApplyButtonStyles();
  RefreshButtonWindows();
  FCaptionIcon = reinterpret_cast<HICON>(::SendMessageA(Handle(), WM_GETICON, ICON_SMALL, 0));
  if (!FCaptionIcon)
    FCaptionIcon = reinterpret_cast<HICON>(::SendMessageA(Handle(), WM_GETICON, ICON_BIG, 0));
  FUnderConstruction = false;
}

// Sets the window's minimise, maximise and system menu bits from the properties, and greys the
// system menu's Close without its button.
void TStyleForm::ApplyButtonStyles() {
  if (!HandleAllocated())
    return;
  auto Style = static_cast<DWORD>(::GetWindowLongA(Handle(), GWL_STYLE));
  auto Set = [&Style](DWORD Bit, bool On) { Style = On ? (Style | Bit) : (Style & ~Bit); };
  Set(WS_MAXIMIZEBOX, FCaptionButtons & CaptionButton(cbMaximize));
  Set(WS_MINIMIZEBOX, FCaptionButtons & CaptionButton(cbMinimize));
  Set(WS_SYSMENU, FSystemMenu);
  ::SetWindowLongA(Handle(), GWL_STYLE, static_cast<LONG>(Style));
  if (!(FCaptionButtons & CaptionButton(cbClose)))
    ::EnableMenuItem(::GetSystemMenu(Handle(), FALSE), SC_CLOSE, MF_GRAYED);
}

void TStyleForm::RefreshButtonWindows() {
  HWND Window = HandleAllocated() ? Handle() : nullptr;
  for (TTitlebarButton& Button : FButtons)
    Button.Window = Window;
}

void TStyleForm::RepaintFrame() {
  if (HandleAllocated())
    ::SendMessageA(Handle(), WM_NCPAINT, 1, 0);
}

void TStyleForm::SetCaptionButtons(TCaptionButtons Value) {
  if (Value == FCaptionButtons)
    return;
  FCaptionButtons = Value;
  ApplyButtonStyles();
  if (!FUnderConstruction)
    RefreshButtonWindows();
  RepaintFrame();
}

void TStyleForm::SetSystemMenu(bool Value) {
  FSystemMenu = Value;
  ApplyButtonStyles();
  if (!FUnderConstruction)
    RefreshButtonWindows();
}

void TStyleForm::SetUseStandardCaption(bool Value) {
  FUseStandardCaption = Value;
  RepaintFrame();
}

void TStyleForm::SetCaptionColor(TStyleColor Index, TColor Value) {
  FColors[Index] = Value;
  RepaintFrame();
}

void TStyleForm::ButtonAction(TCaptionButton Kind) {
  if (!HandleAllocated())
    return;
  WPARAM Command = SC_CLOSE;
  switch (Kind) {
  case cbHelp:
    Command = SC_CONTEXTHELP;
    break;
  case cbMinimize:
    Command = SC_MINIMIZE;
    break;
  case cbMaximize:
    Command = ::IsZoomed(Handle()) || ::IsIconic(Handle()) ? SC_RESTORE : SC_MAXIMIZE;
    break;
  case cbClose:
    break;
  }
  POINT Cursor{};
  ::GetCursorPos(&Cursor);
  ::PostMessageA(Handle(), WM_SYSCOMMAND, Command,
                 MAKELPARAM(static_cast<WORD>(Cursor.x), static_cast<WORD>(Cursor.y)));
}

} // namespace wyndo
