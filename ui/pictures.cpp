#include "ui/pictures.h"

#include <cstring>
#include <memory>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_NO_HDR
#include <stb_image.h>
#pragma GCC diagnostic pop

namespace wyndo {

namespace {

// The bytes of a raw-data resource of the program, or nothing.
bool RawResource(int Id, const BYTE*& Data, DWORD& Size) {
  HMODULE Module = ::GetModuleHandleA(nullptr);
  HRSRC Found = ::FindResourceA(Module, MAKEINTRESOURCEA(Id), MAKEINTRESOURCEA(10)); // RT_RCDATA
  if (!Found)
    return false;
  HGLOBAL Loaded = ::LoadResource(Module, Found);
  Data = Loaded ? static_cast<const BYTE*>(::LockResource(Loaded)) : nullptr;
  Size = ::SizeofResource(Module, Found);
  return Data != nullptr;
}

} // namespace

TPicture DecodeJpeg(const void* Data, std::size_t Size) {
  TPicture Picture;
  int Width = 0, Height = 0, Channels = 0;
  std::unique_ptr<stbi_uc, void (*)(void*)> Pixels(
      stbi_load_from_memory(static_cast<const stbi_uc*>(Data), static_cast<int>(Size), &Width,
                            &Height, &Channels, 3),
      &stbi_image_free);
  if (!Pixels || Width <= 0 || Height <= 0)
    return Picture;
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof(Info.bmiHeader);
  Info.bmiHeader.biWidth = Width;
  Info.bmiHeader.biHeight = -Height; // top-down, like the decoded rows
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 24;
  Info.bmiHeader.biCompression = BI_RGB;
  void* Bits = nullptr;
  Picture.Bitmap.Reset(::CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0));
  if (!Picture)
    return Picture;
  // Rows of a 24-bit bitmap are padded to four bytes and stored blue, green, red.
  const int Stride = (Width * 3 + 3) & ~3;
  for (int Y = 0; Y < Height; ++Y) {
    const stbi_uc* From = Pixels.get() + static_cast<std::size_t>(Y) * Width * 3;
    auto* To = static_cast<BYTE*>(Bits) + static_cast<std::size_t>(Y) * Stride;
    for (int X = 0; X < Width; ++X) {
      To[X * 3] = From[X * 3 + 2];
      To[X * 3 + 1] = From[X * 3 + 1];
      To[X * 3 + 2] = From[X * 3];
    }
  }
  Picture.Width = Width;
  Picture.Height = Height;
  return Picture;
}

TPicture LoadJpegResource(int Id) {
  const BYTE* Data = nullptr;
  DWORD Size = 0;
  return RawResource(Id, Data, Size) ? DecodeJpeg(Data, Size) : TPicture{};
}

TPicture LoadBitmapFileResource(int Id) {
  TPicture Picture;
  const BYTE* Data = nullptr;
  DWORD Size = 0;
  if (!RawResource(Id, Data, Size) || Size < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))
    return Picture;
  BITMAPFILEHEADER File;
  std::memcpy(&File, Data, sizeof(File));
  if (File.bfType != 0x4D42 || File.bfOffBits >= Size)
    return Picture;
  const auto* Info = reinterpret_cast<const BITMAPINFO*>(Data + sizeof(BITMAPFILEHEADER));
  HDC Screen = ::GetDC(nullptr);
  Picture.Bitmap.Reset(::CreateDIBitmap(Screen, &Info->bmiHeader, CBM_INIT, Data + File.bfOffBits,
                                        Info, DIB_RGB_COLORS));
  ::ReleaseDC(nullptr, Screen);
  if (Picture) {
    Picture.Width = Info->bmiHeader.biWidth;
    Picture.Height =
        Info->bmiHeader.biHeight < 0 ? -Info->bmiHeader.biHeight : Info->bmiHeader.biHeight;
  }
  return Picture;
}

} // namespace wyndo
