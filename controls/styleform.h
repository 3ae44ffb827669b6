#pragma once
// TStyleForm: the top-level window class of the program's main, dialog and child windows. It
// keeps the caption buttons it draws (help, minimise, maximise or restore, close), its caption
// colours and the choice between its own caption and the platform's (UseStandardCaption), and
// keeps the window style and system menu in step with its buttons.
//
// It paints the whole non-client area itself: the frame with a 3-D edge, and a caption band
// composed off-screen (a colour gradient, or the platform's caption with UseStandardCaption),
// with the icon, the title and the caption buttons drawn as the platform's frame controls. It hit
// tests, presses, tracks and clicks those buttons and drags the caption itself, so the platform
// never draws its own caption over it. Only what lies inside the frame below the caption (the
// menu bar, scroll bars) is left to the platform.
//
// Life of a styled form: the object is made with every button, its metrics and caption font;
// once the window exists, CaptionButtons drops what the border does not allow (maximise and
// minimise without their border icons, both with a dialog border), each button is enabled when
// it is in the set, and the caption icon is read from the window. Until then the form counts as
// under construction.

#include "core/caption.h"
#include "ui/forms.h"
#include "ui/handles.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>

namespace wyndo {

enum TCaptionButton : std::uint8_t { cbHelp = 0, cbMinimize = 1, cbMaximize = 2, cbClose = 3 };
// One bit per button: bit n for TCaptionButton n.
using TCaptionButtons = std::uint8_t;
inline constexpr TCaptionButtons CaptionButton(TCaptionButton Button) {
  return static_cast<TCaptionButtons>(1u << Button);
}
inline constexpr TCaptionButtons AllCaptionButtons = 0x0F;
// "No button", for the hot and pressed button.
inline constexpr std::uint8_t NoCaptionButton = 255;

// One caption button of a styled form.
struct TTitlebarButton {
  std::uint8_t Kind = cbHelp;
  bool Enabled = true;
  bool Down = false;
  HWND Window = nullptr; // the owning form's window, once it exists
  bool Hot = false;      // while pressed: the pointer is inside
};

enum TStyleColor : std::uint8_t { scStart = 0, scEnd = 1, scText = 2 };

class TStyleForm : public TForm {
public:
  TStyleForm();
  ~TStyleForm() override;

  bool HideDisabledButtons() const { return FHideDisabledButtons; }
  // Stored; used from the next non-client paint.
  void SetHideDisabledButtons(bool Value) { FHideDisabledButtons = Value; }
  TCaptionButtons CaptionButtons() const { return FCaptionButtons; }
  // Keeps WS_MAXIMIZEBOX and WS_MINIMIZEBOX in step with the set, greys the system menu's Close
  // without cbClose (adding it back does not enable the entry again), repaints the frame.
  void SetCaptionButtons(TCaptionButtons Value);
  bool SystemMenu() const { return FSystemMenu; }
  // Keeps WS_SYSMENU in step; no repaint.
  void SetSystemMenu(bool Value);
  bool UseStandardCaption() const { return FUseStandardCaption; }
  // Stored, then the frame is repainted.
  void SetUseStandardCaption(bool Value);
  // The caption gradient's start and end colours and the title's colour.
  TColor CaptionColor(TStyleColor Index) const { return FColors[Index]; }
  void SetCaptionColor(TStyleColor Index, TColor Value);

  const TTitlebarButton& Button(TCaptionButton Kind) const { return FButtons[Kind]; }
  bool UnderConstruction() const { return FUnderConstruction; }
  // The system command of a caption button's action, posted to the window with the cursor
  // position: help, minimise, maximise (restore while zoomed or minimised), close.
  void ButtonAction(TCaptionButton Kind);
  // The rectangle of a caption button in window coordinates; empty when it is not visible.
  RECT ButtonRect(TCaptionButton Kind) const;
  // The caption button under a point in screen coordinates, or NoCaptionButton.
  std::uint8_t ButtonAt(POINT Screen) const;
  std::uint8_t HotButton() const { return FHotButton; }
  bool Tracking() const { return FTracking; }
  bool Active() const { return FActive; }
  int FrameWidth() const { return FFrameWidth; }
  int CaptionHeight() const { return FCaptionHeight; }
  HFONT CaptionFont() const { return static_cast<HFONT>(FCaptionFont.Get()); }

  void WndProc(TMessage& Message) override;

protected:
  void HandleCreated() override;
  // Sends WM_NCPAINT with wParam 1: the whole frame is painted again.
  void RepaintFrame();
  // Reads the frame, icon and caption metrics of the system (at construction and on a change of
  // the system's settings; the caption font is read once).
  void ReadMetrics();

  std::array<TTitlebarButton, 4> FButtons;
  std::uint8_t FHotButton = NoCaptionButton;
  std::uint8_t FPressedButton = NoCaptionButton;
  bool FTracking = false;
  bool FActive = false;
  HICON FCaptionIcon = nullptr;
  TGdiObject FCaptionFont;
  int FFrameWidth = 0;
  int FFrameHeight = 0;
  int FSmallIconWidth = 0;
  int FSmallIconHeight = 0;
  int FCaptionHeight = 0;
  NONCLIENTMETRICSA FMetrics{};

private:
  TVisibleButtons VisibleButtons() const;
  TCaptionMetrics Metrics() const;
  int WindowWidth() const;
  // Sends WM_NCPAINT with a region of the given window-coordinate rectangle.
  void RepaintWindowRect(const RECT& Area);
  void RepaintButton(std::uint8_t Kind);
  void RepaintButtonStrip();
  void PaintNonClient(TMessage& Message);
  void PaintCaptionBand(HDC WindowDC, int Width);
  void ReadCaptionIcon();
  void ApplyButtonStyles();
  void RefreshButtonWindows();

  bool FUnderConstruction = true;
  bool FHideDisabledButtons = false;
  TCaptionButtons FCaptionButtons = AllCaptionButtons;
  bool FSystemMenu = true;
  bool FUseStandardCaption = false;
  std::array<TColor, 3> FColors{0x00000000, 0x0000FAFA, 0x00FAFAFA};
};

} // namespace wyndo
