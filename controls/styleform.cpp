#include "controls/styleform.h"

#include "ui/graphics.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <windowsx.h>

namespace wyndo {
namespace {

// The size of the non-client metrics record every supported system accepts (without the padded
// border width that only newer systems know).
constexpr UINT NonClientMetricsSize = 340;
#if WINVER >= 0x0600
static_assert(offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth) == NonClientMetricsSize);
#endif

// Fills a rectangle (x, y, width, height) with a system colour.
void FillStrip(HDC DC, int SystemColor, int X, int Y, int Width, int Height) {
  const HGDIOBJ Old = ::SelectObject(DC, ::GetSysColorBrush(SystemColor));
  ::PatBlt(DC, X, Y, Width, Height, PATCOPY);
  ::SelectObject(DC, Old);
}

RECT ToRect(const TCaptionRect& Rect) {
  return {Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
}

} // namespace

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
  FMetrics.cbSize = NonClientMetricsSize;
  ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, NonClientMetricsSize, &FMetrics, 0);
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
  ReadCaptionIcon();
  FUnderConstruction = false;
}

void TStyleForm::ReadCaptionIcon() {
  FCaptionIcon = reinterpret_cast<HICON>(Perform(WM_GETICON, ICON_SMALL, 0));
  if (!FCaptionIcon)
    FCaptionIcon = reinterpret_cast<HICON>(Perform(WM_GETICON, ICON_BIG, 0));
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

// ---------------------------------------------------------------------------------------------
// The caption buttons' places

TVisibleButtons TStyleForm::VisibleButtons() const {
  TVisibleButtons Visible{};
  for (const TTitlebarButton& Button : FButtons)
    Visible[Button.Kind] =
        (FCaptionButtons & CaptionButton(static_cast<TCaptionButton>(Button.Kind))) != 0 &&
        !(FHideDisabledButtons && !Button.Enabled);
  return Visible;
}

TCaptionMetrics TStyleForm::Metrics() const {
  return {FFrameWidth, FFrameHeight, FCaptionHeight, FMetrics.iCaptionWidth,
          FMetrics.iCaptionHeight};
}

int TStyleForm::WindowWidth() const {
  RECT Area{};
  if (HandleAllocated())
    ::GetWindowRect(WindowHandle(), &Area);
  return Area.right - Area.left;
}

RECT TStyleForm::ButtonRect(TCaptionButton Kind) const {
  return ToRect(CaptionButtonRect(VisibleButtons(), Kind, WindowWidth(), Metrics()));
}

std::uint8_t TStyleForm::ButtonAt(POINT Screen) const {
  RECT Area{};
  if (!HandleAllocated() || !::GetWindowRect(WindowHandle(), &Area))
    return NoCaptionButton;
  return CaptionButtonAt(VisibleButtons(), Screen.x - Area.left, Screen.y - Area.top,
                         Area.right - Area.left, Metrics());
}

void TStyleForm::RepaintWindowRect(const RECT& Area) {
  RECT Window{};
  if (!HandleAllocated() || !::GetWindowRect(Handle(), &Window))
    return;
  // The region belongs to the sender: it goes once the paint is done.
  TGdiObject Region(::CreateRectRgn(Window.left + Area.left, Window.top + Area.top,
                                    Window.left + Area.right, Window.top + Area.bottom));
  ::SendMessageA(Handle(), WM_NCPAINT, reinterpret_cast<WPARAM>(Region.Get()), 0);
}

void TStyleForm::RepaintButton(std::uint8_t Kind) {
  if (Kind < FButtons.size())
    RepaintWindowRect(ButtonRect(static_cast<TCaptionButton>(Kind)));
}

void TStyleForm::RepaintButtonStrip() {
  const int Width = WindowWidth();
  const int Left = CaptionStripLeft(VisibleButtons(), FCaptionButtons, Width, Metrics());
  RepaintWindowRect({Left, FFrameHeight, Width - FFrameWidth, FFrameHeight + FCaptionHeight});
}

// ---------------------------------------------------------------------------------------------
// Painting

void TStyleForm::PaintNonClient(TMessage& Message) {
  Message.Result = 0;
  const HWND Window = Handle();
  HDC DC = ::GetWindowDC(Window);
  if (!DC)
    return;
  RECT Area{};
  ::GetWindowRect(Window, &Area);
  const int W = Area.right - Area.left, H = Area.bottom - Area.top;
  const bool Whole = Message.WParam == 1;
  HRGN Update = Whole ? nullptr : reinterpret_cast<HRGN>(Message.WParam);
  if (Update) {
    ::OffsetRgn(Update, -Area.left, -Area.top);
    ::SelectClipRgn(DC, Update);
  }

  FillStrip(DC, COLOR_BTNFACE, 0, 0, FFrameWidth, H);
  FillStrip(DC, COLOR_BTNFACE, 0, 0, W, FFrameHeight);
  FillStrip(DC, COLOR_BTNFACE, 0, H - FFrameHeight, W, FFrameHeight);
  FillStrip(DC, COLOR_BTNFACE, W - FFrameWidth, 0, FFrameWidth, H);
  FillStrip(DC, COLOR_3DLIGHT, 0, 0, 1, H - 1);
  FillStrip(DC, COLOR_3DLIGHT, 0, 0, W - 1, 1);
  FillStrip(DC, COLOR_3DHILIGHT, 1, 1, 1, H - 2);
  FillStrip(DC, COLOR_3DHILIGHT, 1, 1, W - 2, 1);
  FillStrip(DC, COLOR_3DDKSHADOW, W - 1, 0, 1, H);
  FillStrip(DC, COLOR_3DDKSHADOW, 0, H - 1, W, 1);
  FillStrip(DC, COLOR_BTNSHADOW, W - 2, 1, 1, H - 2);
  FillStrip(DC, COLOR_BTNSHADOW, 1, H - 2, W - 2, 1);
  PaintCaptionBand(DC, W);
  ::ReleaseDC(Window, DC);

  // The platform paints what lies inside the frame below the caption: menu bar, scroll bars.
  HRGN Inner = ::CreateRectRgn(Area.left + FFrameWidth, Area.top + FFrameHeight + FCaptionHeight,
                               Area.right - FFrameWidth, Area.bottom - FFrameHeight);
  HRGN Platform = Inner;
  if (Update) {
    ::OffsetRgn(Update, Area.left, Area.top);
    ::CombineRgn(Update, Update, Inner, RGN_AND);
    ::DeleteObject(Inner);
    Platform = Update;
  }
  Message.Result =
      ::DefWindowProcA(Window, WM_NCPAINT, reinterpret_cast<WPARAM>(Platform), Message.LParam);
  if (Whole)
    ::DeleteObject(Inner);
}

void TStyleForm::PaintCaptionBand(HDC WindowDC, int Width) {
  const int BandWidth = Width - 2 * FFrameWidth, BandHeight = FCaptionHeight;
  if (BandWidth <= 0 || BandHeight <= 0)
    return;
  TMemoryDC Band(::CreateCompatibleDC(WindowDC));
  TGdiObject Bitmap(::CreateCompatibleBitmap(WindowDC, BandWidth, BandHeight));
  if (!Band.Get() || !Bitmap.Get())
    return;
  TSelectObject BandBitmap(Band.Get(), Bitmap.Get());
  RECT Whole{0, 0, BandWidth, BandHeight};

  if (!FActive) {
    ::DrawCaption(Handle(), Band.Get(), &Whole, DC_ICON | DC_TEXT | DC_GRADIENT);
  } else if (FUseStandardCaption) {
    ::DrawCaption(Handle(), Band.Get(), &Whole, DC_ICON | DC_TEXT | DC_GRADIENT | DC_ACTIVE);
  } else {
    const COLORREF Start = ColorToRGB(FColors[scStart]), End = ColorToRGB(FColors[scEnd]);
    for (int X = 0; X <= BandWidth; ++X) {
      TGdiObject Brush(::CreateSolidBrush(CaptionGradientColor(Start, End, X, BandWidth)));
      TSelectObject ColumnBrush(Band.Get(), Brush.Get());
      ::PatBlt(Band.Get(), X, 0, 1, BandHeight, PATCOPY);
    }
  }

  const TVisibleButtons Visible = VisibleButtons();
  const TCaptionMetrics Measures = Metrics();
  int TitleRight = BandWidth - 2;
  for (const TTitlebarButton& Button : FButtons) {
    if (!Visible[Button.Kind])
      continue;
    RECT Rect = ToRect(CaptionButtonRect(Visible, Button.Kind, Width, Measures));
    ::OffsetRect(&Rect, -FFrameWidth, -FFrameHeight);
    TitleRight = std::min(TitleRight, static_cast<int>(Rect.left) - 2);
    UINT State = DFCS_CAPTIONCLOSE;
    switch (Button.Kind) {
    case cbHelp:
      State = DFCS_CAPTIONHELP;
      break;
    case cbMinimize:
      State = DFCS_CAPTIONMIN;
      break;
    case cbMaximize:
      State = ::IsZoomed(Handle()) || ::IsIconic(Handle()) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX;
      break;
    default:
      break;
    }
    if (!Button.Enabled)
      State |= DFCS_INACTIVE;
    else if (Button.Down && Button.Hot)
      State |= DFCS_PUSHED;
    ::DrawFrameControl(Band.Get(), &Rect, DFC_CAPTION, State);
  }

  if (!FUseStandardCaption) {
    int TitleLeft = 2;
    if (FCaptionIcon) {
      ::DrawIconEx(Band.Get(), 2, (FCaptionHeight - FSmallIconHeight) / 2, FCaptionIcon,
                   FSmallIconWidth, FSmallIconHeight, 0, nullptr, DI_NORMAL);
      TitleLeft = 2 + FSmallIconWidth + 2;
    }
    if (FCaptionFont.Get()) {
      TSelectObject TitleFont(Band.Get(), FCaptionFont.Get());
      ::SetBkMode(Band.Get(), TRANSPARENT);
      ::SetTextColor(Band.Get(), ColorToRGB(FColors[scText]));
      RECT Title{TitleLeft, FFrameHeight - 2, TitleRight, FCaptionHeight - 2};
      const std::string Text = Caption();
      ::DrawTextA(Band.Get(), Text.c_str(), static_cast<int>(Text.size()), &Title,
                  DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    }
  }
  ::BitBlt(WindowDC, FFrameWidth, FFrameHeight, BandWidth, BandHeight, Band.Get(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------------------------
// Messages

void TStyleForm::WndProc(TMessage& Message) {
  switch (Message.Msg) {
  case WM_NCPAINT:
    if (FUnderConstruction)
      break;
    PaintNonClient(Message);
    return;
  case WM_NCACTIVATE:
    TForm::WndProc(Message);
    FActive = Message.WParam != 0;
    RepaintFrame();
    return;
  case WM_NCHITTEST:
    TForm::WndProc(Message);
    switch (Message.Result) {
    case HTMINBUTTON:
    case HTMAXBUTTON:
    case HTCLOSE:
    case HTHELP:
      Message.Result = HTCAPTION;
      break;
    default:
      break;
    }
    FHotButton = Message.Result == HTCAPTION
                     ? ButtonAt({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)})
                     : NoCaptionButton;
    if (Message.Result == HTGROWBOX ||
        (Message.Result >= HTLEFT && Message.Result <= HTBOTTOMRIGHT))
      RepaintButtonStrip();
    return;
  case WM_NCLBUTTONDBLCLK:
    // The second press of a quick double click on a caption button is a press on that button
    // (the system reports it as a double click on the caption); elsewhere on the caption a
    // double click maximises or restores, when the form has that button.
    if (FHotButton == NoCaptionButton) {
      if (Message.WParam == HTCAPTION && (FCaptionButtons & CaptionButton(cbMaximize)))
        ButtonAction(cbMaximize);
      return;
    }
    [[fallthrough]];
  case WM_NCLBUTTONDOWN:
    if (FHotButton != NoCaptionButton) {
      TTitlebarButton& Button = FButtons[FHotButton];
      if (!Button.Enabled)
        return;
      FPressedButton = FHotButton;
      Button.Down = true;
      Button.Hot = true;
      FTracking = true;
      ::SetCapture(Handle());
      RepaintButton(FPressedButton);
      return;
    }
    if (Message.WParam != HTCAPTION)
      break;
    // A press on the bare caption: the platform's move loop, except for a maximised window.
    ::BringWindowToTop(Handle());
    ::ReleaseCapture();
    if (!::IsZoomed(Handle()))
      ::SendMessageA(Handle(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    return;
  case WM_MOUSEMOVE:
    if (!FTracking)
      break;
    if (FPressedButton < FButtons.size()) {
      POINT Cursor{};
      ::GetCursorPos(&Cursor);
      TTitlebarButton& Button = FButtons[FPressedButton];
      const bool Inside = ButtonAt(Cursor) == FPressedButton;
      if (Button.Hot != Inside) {
        Button.Hot = Inside;
        RepaintButton(FPressedButton);
      }
    }
    return;
  case WM_LBUTTONUP: {
    if (!FTracking)
      break;
    FTracking = false;
    ::ReleaseCapture();
    POINT Cursor{};
    ::GetCursorPos(&Cursor);
    if (FPressedButton < FButtons.size() && ButtonAt(Cursor) == FPressedButton)
      ButtonAction(static_cast<TCaptionButton>(FPressedButton));
    for (TTitlebarButton& Button : FButtons)
      Button.Down = Button.Hot = false;
    FPressedButton = NoCaptionButton;
    RepaintButtonStrip();
    return;
  }
  case WM_CAPTURECHANGED:
    // The capture taken away in the middle of a press (another window took it): the press ends
    // without its action, so the window's own mouse handling is not left switched off.
    if (FTracking && reinterpret_cast<HWND>(Message.LParam) != Handle()) {
      FTracking = false;
      for (TTitlebarButton& Button : FButtons)
        Button.Down = Button.Hot = false;
      FPressedButton = NoCaptionButton;
      RepaintButtonStrip();
    }
    break;
  case WM_NCMOUSEMOVE:
    TForm::WndProc(Message);
    if (Message.WParam == HTBOTTOMRIGHT)
      RepaintButtonStrip();
    return;
  case WM_SETTEXT:
    TForm::WndProc(Message);
    RepaintFrame();
    return;
  case WM_SETICON:
    TForm::WndProc(Message);
    ReadCaptionIcon();
    RepaintFrame();
    return;
  case WM_SETTINGCHANGE: {
    TForm::WndProc(Message);
    // New frame, icon and button sizes; the caption font stays the one made at creation.
    ReadMetrics();
    RepaintFrame();
    return;
  }
  case WM_GETMINMAXINFO:
  case WM_ENTERSIZEMOVE:
    TForm::WndProc(Message);
    if (!FUnderConstruction)
      RepaintButtonStrip();
    return;
  case WM_INITMENU:
  case WM_INITMENUPOPUP:
    TForm::WndProc(Message);
    RepaintButtonStrip();
    return;
  case WM_SYSCOMMAND: {
    const WPARAM Command = Message.WParam & 0xFFF0;
    TForm::WndProc(Message);
    if (Command == SC_CONTEXTHELP)
      RepaintButtonStrip();
    return;
  }
  default:
    break;
  }
  TForm::WndProc(Message);
}

} // namespace wyndo
