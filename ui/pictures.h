#pragma once
// Pictures stored as raw-data resources of the program: JPEG pictures and Windows bitmap files
// ("BM"), decoded into device-independent bitmaps.

#include "ui/handles.h"

#include <windows.h>

namespace wyndo {

struct TPicture {
  TGdiObject Bitmap; // an HBITMAP
  int Width = 0;
  int Height = 0;
  explicit operator bool() const { return static_cast<bool>(Bitmap); }
  HBITMAP Handle() const { return static_cast<HBITMAP>(Bitmap.Get()); }
};

// Decodes the JPEG picture in raw-data resource Id into a 24-bit bitmap; empty when the
// resource is missing or not a JPEG picture.
TPicture LoadJpegResource(int Id);
// Loads the Windows bitmap file ("BM" and its headers) in raw-data resource Id as a bitmap of
// the screen's format; empty when the resource is missing or malformed.
TPicture LoadBitmapFileResource(int Id);
// Decodes JPEG data in memory (the part that needs no resources).
TPicture DecodeJpeg(const void* Data, std::size_t Size);

} // namespace wyndo
