#include "tests/e2e/driver.h"

#include "tests/win/test_support.h"
#include "ui/handles.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace wyndo::e2e {

using test::WaitFor;

// ---------------------------------------------------------------------------------------------
// Real input

bool SaveScreen(const std::string& Path) {
  return RunUnix("/usr/bin/import -window root " + Path);
}

bool MoveTo(POINT Point) {
  if (!Xdotool("mousemove " + std::to_string(Point.x) + " " + std::to_string(Point.y)))
    return false;
  return WaitFor([&] {
    const POINT Now = test::CursorPos();
    return Now.x == Point.x && Now.y == Point.y;
  });
}

bool ClickAt(POINT Point, int Clicks) {
  return MoveTo(Point) && Xdotool("click --repeat " + std::to_string(Clicks) + " 1");
}

bool ClickWindow(HWND Window) {
  return ClickAt(CenterOf(Window));
}

HWND FocusOf(HWND Window) {
  GUITHREADINFO Info{};
  Info.cbSize = sizeof(Info);
  const DWORD Thread = ::GetWindowThreadProcessId(Window, nullptr);
  return ::GetGUIThreadInfo(Thread, &Info) ? Info.hwndFocus : nullptr;
}

bool ClickInto(HWND Control) {
  // Right after a modal message box of the program has gone, the first click into its owner
  // now and then activates the window without focusing the control clicked (seen under Wine);
  // a user clicks again, and so does this (a little aside, so that it is no double click).
  const POINT Middle = CenterOf(Control);
  for (int Try = 0; Try < 3; ++Try)
    if (ClickAt({Middle.x + 6 * Try, Middle.y}) &&
        WaitFor([&] { return FocusOf(Control) == Control; }, 1500))
      return true;
  return false;
}

bool PressKeys(const std::string& Keys) {
  return Xdotool("key --delay 40 " + Keys);
}

bool TypeText(const std::string& Text) {
  return Xdotool("type --delay 40 '" + Text + "'");
}

// ---------------------------------------------------------------------------------------------
// What the program shows

TDisplayShot::TDisplayShot(const RECT& Area)
    : Left(Area.left), Top(Area.top), Width(Area.right - Area.left),
      Height(Area.bottom - Area.top) {
  static int Shots = 0;
  const std::string Name = "wyndo-e2e-shot-" + std::to_string(::GetCurrentProcessId()) + "-" +
                           std::to_string(++Shots) + ".ppm";
  if (!RunUnix("/usr/bin/import -window root -crop " + std::to_string(Width) + "x" +
               std::to_string(Height) + "+" + std::to_string(Left) + "+" + std::to_string(Top) +
               " +repage -depth 8 ppm:/tmp/" + Name))
    return;
  const std::string Path = "Z:\\tmp\\" + Name;
  std::FILE* File = std::fopen(Path.c_str(), "rb");
  if (File) {
    int W = 0;
    int H = 0;
    int Max = 0;
    if (std::fscanf(File, "P6 %d %d %d", &W, &H, &Max) == 3 && W == Width && H == Height &&
        Max == 255 && std::fgetc(File) != EOF) {
      std::vector<unsigned char> Bytes(static_cast<std::size_t>(W) * static_cast<std::size_t>(H) *
                                       3);
      if (std::fread(Bytes.data(), 1, Bytes.size(), File) == Bytes.size())
        for (std::size_t Index = 0; Index < Bytes.size(); Index += 3)
          Pixels.push_back(RGB(Bytes[Index], Bytes[Index + 1], Bytes[Index + 2]));
    }
    std::fclose(File);
  }
  ::DeleteFileA(Path.c_str());
}

std::string TextOf(HWND Window) {
  char Text[1024] = {};
  DWORD_PTR Length = 0;
  if (!::SendMessageTimeoutA(Window, WM_GETTEXT, sizeof(Text), reinterpret_cast<LPARAM>(Text),
                             SMTO_ABORTIFHUNG, 5000, &Length))
    return {};
  return Text;
}

POINT CenterOf(HWND Window) {
  RECT Rect{};
  ::GetWindowRect(Window, &Rect);
  return {(Rect.left + Rect.right) / 2, (Rect.top + Rect.bottom) / 2};
}

POINT ClientPoint(HWND Window, int X, int Y) {
  POINT Point{X, Y};
  ::ClientToScreen(Window, &Point);
  return Point;
}

namespace {

struct TChildSearch {
  const char* ClassName;
  std::vector<HWND> Found;
};

BOOL CALLBACK CollectChild(HWND Window, LPARAM Data) {
  auto& Search = *reinterpret_cast<TChildSearch*>(Data);
  char Class[256] = {};
  ::GetClassNameA(Window, Class, sizeof(Class));
  if (::lstrcmpiA(Class, Search.ClassName) == 0)
    Search.Found.push_back(Window);
  return TRUE;
}

// Memory in another process, for the control messages that Wine does not marshal: the
// message is sent with the remote address and the answer read back.
class TRemoteMemory {
public:
  TRemoteMemory(HWND Window, std::size_t Size) : FSize(Size) {
    DWORD Id = 0;
    ::GetWindowThreadProcessId(Window, &Id);
    FProcess.Reset(
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, Id));
    if (!FProcess)
      throw std::runtime_error("cannot open the program's process");
    FAddress = ::VirtualAllocEx(FProcess.Get(), nullptr, Size, MEM_COMMIT, PAGE_READWRITE);
    if (!FAddress)
      throw std::runtime_error("cannot allocate memory in the program's process");
  }
  ~TRemoteMemory() { ::VirtualFreeEx(FProcess.Get(), FAddress, 0, MEM_RELEASE); }
  TRemoteMemory(const TRemoteMemory&) = delete;
  TRemoteMemory& operator=(const TRemoteMemory&) = delete;

  LPARAM Address(std::size_t Offset = 0) const {
    return reinterpret_cast<LPARAM>(static_cast<char*>(FAddress) + Offset);
  }
  void Write(const void* Data, std::size_t Size, std::size_t Offset = 0) const {
    ::WriteProcessMemory(FProcess.Get(), static_cast<char*>(FAddress) + Offset, Data, Size,
                         nullptr);
  }
  void Read(void* Data, std::size_t Size, std::size_t Offset = 0) const {
    ::ReadProcessMemory(FProcess.Get(), static_cast<char*>(FAddress) + Offset, Data, Size, nullptr);
  }
  std::string ReadText(std::size_t Offset = 0) const {
    std::vector<char> Text(FSize - Offset + 1, '\0');
    Read(Text.data(), FSize - Offset, Offset);
    return Text.data();
  }

private:
  TKernelHandle FProcess;
  void* FAddress = nullptr;
  std::size_t FSize;
};

HWND HeaderOf(HWND Form) {
  const std::vector<HWND> Headers = ChildWindows(Form, WC_HEADERA);
  return Headers.empty() ? nullptr : Headers.front();
}

} // namespace

std::vector<HWND> ChildWindows(HWND Parent, const char* ClassName) {
  TChildSearch Search{ClassName, {}};
  ::EnumChildWindows(Parent, &CollectChild, reinterpret_cast<LPARAM>(&Search));
  return Search.Found;
}

std::vector<HWND> EditsTopDown(HWND Parent) {
  std::vector<HWND> Edits = ChildWindows(Parent, "Edit");
  std::sort(Edits.begin(), Edits.end(), [](HWND A, HWND B) {
    RECT RA{};
    RECT RB{};
    ::GetWindowRect(A, &RA);
    ::GetWindowRect(B, &RB);
    return RA.top != RB.top ? RA.top < RB.top : RA.left < RB.left;
  });
  return Edits;
}

std::vector<std::string> StatusTexts(HWND Form) {
  std::vector<std::string> Texts;
  const std::vector<HWND> Bars = ChildWindows(Form, STATUSCLASSNAMEA);
  if (Bars.empty())
    return Texts;
  HWND Bar = Bars.front();
  const int Parts = static_cast<int>(::SendMessageA(Bar, SB_GETPARTS, 0, 0));
  TRemoteMemory Buffer(Bar, 512);
  for (int Part = 0; Part < Parts; ++Part) {
    const char Empty = '\0';
    Buffer.Write(&Empty, 1);
    ::SendMessageA(Bar, SB_GETTEXTA, static_cast<WPARAM>(Part), Buffer.Address());
    Texts.push_back(Buffer.ReadText());
  }
  return Texts;
}

std::vector<std::string> HeaderCaptions(HWND Form) {
  std::vector<std::string> Captions;
  HWND Header = HeaderOf(Form);
  if (!Header)
    return Captions;
  const int Count = static_cast<int>(::SendMessageA(Header, HDM_GETITEMCOUNT, 0, 0));
  constexpr std::size_t TextOffset = 256;
  TRemoteMemory Buffer(Header, TextOffset + 256);
  for (int Column = 0; Column < Count; ++Column) {
    HDITEMA Item{};
    Item.mask = HDI_TEXT;
    Item.pszText = reinterpret_cast<char*>(Buffer.Address(TextOffset));
    Item.cchTextMax = 255;
    Buffer.Write(&Item, sizeof(Item));
    const char Empty = '\0';
    Buffer.Write(&Empty, 1, TextOffset);
    ::SendMessageA(Header, HDM_GETITEMA, static_cast<WPARAM>(Column), Buffer.Address());
    Captions.push_back(Buffer.ReadText(TextOffset));
  }
  return Captions;
}

namespace {

// The middle of an item whose client rectangle a control gives for a message.
POINT ItemRectCenter(HWND Control, UINT Message, int Index) {
  TRemoteMemory Buffer(Control, sizeof(RECT));
  ::SendMessageA(Control, Message, static_cast<WPARAM>(Index), Buffer.Address());
  RECT Rect{};
  Buffer.Read(&Rect, sizeof(Rect));
  return ClientPoint(Control, (Rect.left + Rect.right) / 2, (Rect.top + Rect.bottom) / 2);
}

} // namespace

POINT HeaderColumnPoint(HWND Form, int Column) {
  HWND Header = HeaderOf(Form);
  return Header ? ItemRectCenter(Header, HDM_GETITEMRECT, Column) : POINT{-1, -1};
}

POINT TabPoint(HWND Tabs, int Index) {
  return ItemRectCenter(Tabs, TCM_GETITEMRECT, Index);
}

POINT ToolButtonPoint(HWND Form, int Left) {
  return ClientPoint(Form, Left + 39 / 2, 2 + 38 / 2);
}

// ---------------------------------------------------------------------------------------------
// The program

TWyndo::TWyndo(const std::string& Arguments) : FProgram(Arguments) {
  FMain = FProgram.WaitForWindow();
  if (!FMain)
    throw std::runtime_error("wyndo.exe showed no main window");
  // Start-up ends with the splash screen freed.
  if (!WaitForNoWindow("TSplashScreenForm"))
    throw std::runtime_error("wyndo.exe kept its splash screen");
}

void TWyndo::Command(TMainCommand Command) const {
  ::PostMessageA(FMain, WM_COMMAND, CommandId(Command), 0);
}

HWND TWyndo::WaitForWindow(const char* ClassName, const char* Title, DWORD TimeoutMs) const {
  HWND Found = nullptr;
  WaitFor([&] { return (Found = test::FindProcessWindow(Id(), ClassName, Title)) != nullptr; },
          TimeoutMs);
  return Found;
}

bool TWyndo::WaitForNoWindow(const char* ClassName, const char* Title, DWORD TimeoutMs) const {
  return WaitFor([&] { return test::FindProcessWindow(Id(), ClassName, Title) == nullptr; },
                 TimeoutMs);
}

std::vector<HWND> TWyndo::Windows(const char* ClassName) const {
  return test::FindProcessWindows(Id(), ClassName);
}

HWND TWyndo::WaitForMessageBox(const std::string& Title, DWORD TimeoutMs) const {
  return WaitForWindow("#32770", Title.c_str(), TimeoutMs);
}

HWND TWyndo::OpenList(TMainCommand Command, const char* ClassName, const char* Title) const {
  this->Command(Command);
  HWND List = WaitForWindow(ClassName, Title);
  return List && WaitForList(List) ? List : nullptr;
}

bool TWyndo::WaitForList(HWND List, DWORD TimeoutMs) const {
  const std::vector<HWND> Trees = ChildWindows(List, "TVirtualTree");
  if (Trees.empty())
    return false;
  return WaitFor(
      [&] {
        if (!::IsWindowEnabled(Trees.front()))
          return false;
        const std::vector<std::string> Texts = StatusTexts(List);
        return !Texts.empty() && !Texts.front().empty();
      },
      TimeoutMs);
}

std::optional<DWORD> TWyndo::Close() {
  ::PostMessageA(FMain, WM_CLOSE, 0, 0);
  return FProgram.WaitForExit();
}

bool CloseMessageBox(HWND Box) {
  HWND Owner = ::GetWindow(Box, GW_OWNER);
  DWORD Process = 0;
  ::GetWindowThreadProcessId(Box, &Process);
  ::PostMessageA(Box, WM_COMMAND, IDOK, 0);
  // Gone, its owner usable again and the program's window in front: input goes on from there.
  return WaitFor([&] {
    DWORD Front = 0;
    ::GetWindowThreadProcessId(::GetForegroundWindow(), &Front);

    HWND Window = ::GetForegroundWindow();
    return (!::IsWindow(Box) || !::IsWindowVisible(Box)) && (!Owner || ::IsWindowEnabled(Owner)) &&
           Window != Box && ::IsWindowVisible(Window) && Front == Process;
  });
}

} // namespace wyndo::e2e
