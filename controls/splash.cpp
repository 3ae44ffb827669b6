#include "controls/splash.h"

namespace wyndo {

TSplashScreenForm::TSplashScreenForm() {
  SetBorderStyle(TBorderStyle::bsNone);
  SetFormStyle(TFormStyle::fsStayOnTop);
  Position = TPosition::poScreenCenter;
  SetClientSize(641, 165);
  SetColor(clBtnFace);
  FPicture = LoadJpegResource(SplashPictureId);
  // The window takes the picture's size, whatever the stored size says.
  if (FPicture)
    SetClientSize(FPicture.Width, FPicture.Height);
}

void TSplashScreenForm::WndProc(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND && FPicture) {
    HDC DC = reinterpret_cast<HDC>(Message.WParam);
    TMemoryDC Source(::CreateCompatibleDC(DC));
    const HGDIOBJ Old = ::SelectObject(Source.Get(), FPicture.Handle());
    ::BitBlt(DC, 0, 0, FPicture.Width, FPicture.Height, Source.Get(), 0, 0, SRCCOPY);
    ::SelectObject(Source.Get(), Old);
    Message.Result = 1;
    return;
  }
  TForm::WndProc(Message);
}

} // namespace wyndo
