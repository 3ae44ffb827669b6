#pragma once
// TBanner: a label whose lines scroll upwards in a loop, fading into the background colour at its
// top and bottom edges.
//
// While Run is on, a timer moves the text up by Gap pixels every Speed x 10 ms. The text starts
// Space pixels below the bottom edge; once its last line has left the top edge by more than Space,
// the next frame starts it there again. Each frame is composed in a 24-bit off-screen bitmap whose
// top and bottom FadeHeight rows are blended into Color, then copied in one BitBlt.
//
// Starting a stopped banner (Run := true) starts the text again from below; stopping it leaves the
// text where it is. A stopped banner that changes size starts again from below; a running one
// keeps its place.

#include "ui/stdctrls.h"
#include "ui/timer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wyndo {

enum class TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

class TBanner : public TLabel {
public:
  TBanner();

  // The text, one line per entry; writing copies the lines.
  const std::vector<std::string>& Lines() const { return FLines; }
  void SetLines(const std::vector<std::string>& Value);
  bool Run() const { return FRun; }
  void SetRun(bool Value);
  // Timer interval in units of 10 ms.
  int Speed() const { return FSpeed; }
  void SetSpeed(int Value);
  // Pixels the text moves up per tick.
  int Gap() const { return FGap; }
  void SetGap(int Value) { FGap = Value; }
  // Distance below the bottom edge where the text starts, and above the top edge where it wraps.
  int Space() const { return FSpace; }
  void SetSpace(int Value) { FSpace = Value; }
  // Height of the fading bands; a value larger than the banner is cut to its height.
  int FadeHeight() const { return FFadeHeight; }
  void SetFadeHeight(int Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

  // The y coordinate of the top of the text in the control.
  int Position() const { return FPosition; }
  const TTimer& Timer() const { return FTimer; }

protected:
  void Paint(TCanvas& Canvas) override;
  void BoundsChanged() override;

private:
  void TimerTick(TObject& Sender);
  UINT TextFlags() const;

  std::vector<std::string> FLines;
  TTimer FTimer;
  bool FRun = false;
  int FSpeed = 10;
  int FFadeHeight = 10;
  int FGap = 1;
  int FSpace = 5;
  int FPosition = 0;
  TAlignment FAlignment = TAlignment::taLeftJustify;
  TSize2 FSize{}; // the size the position was last measured against
};

} // namespace wyndo
