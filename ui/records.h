#pragma once
// The Win32 records the program fills in, with their 32-bit sizes checked in the i686 build.
// Code always writes sizeof(T) into a record's size field: a 64-bit build has larger records, and
// Wine rejects a 64-bit APPBARDATA or TRACKMOUSEEVENT whose size field holds the 32-bit size.

#include <windows.h>

#include <shellapi.h>
#include <tlhelp32.h>

namespace wyndo {

// The notification-area record as Windows 98 and 2000 know it (the first version of
// NOTIFYICONDATAA: later versions only append fields).
struct TNotifyIconDataV1 {
  DWORD cbSize;
  HWND hWnd;
  UINT uID;
  UINT uFlags;
  UINT uCallbackMessage;
  HICON hIcon;
  CHAR szTip[64];
};

#if defined(_M_IX86) || defined(__i386__)
static_assert(sizeof(PROCESSENTRY32) == 296);
static_assert(sizeof(THREADENTRY32) == 28);
static_assert(sizeof(MODULEENTRY32) == 548);
static_assert(sizeof(APPBARDATA) == 36);
static_assert(sizeof(TNotifyIconDataV1) == 88);
static_assert(sizeof(SHFILEINFOA) == 352);
static_assert(sizeof(TRACKMOUSEEVENT) == 16);
static_assert(sizeof(NONCLIENTMETRICSA) == 340);
static_assert(sizeof(WINDOWPLACEMENT) == 44);
static_assert(sizeof(ANIMATIONINFO) == 8);
static_assert(sizeof(OSVERSIONINFOA) == 148);
#endif

} // namespace wyndo
