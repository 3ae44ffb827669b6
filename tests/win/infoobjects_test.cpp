// Information objects against real windows, threads and processes, and through a tool-help
// source of the test's own.

#include "core/format.h"
#include "core/settings.h"
#include "info/infoobjects.h"
#include "info/toolhelp.h"
#include "tests/win/test_support.h"
#include "ui/forms.h"
#include "ui/stdctrls.h"
#include "ui/winutil.h"

#include <cstring>
#include <gtest/gtest.h>
#include <thread>

namespace wyndo::test {
namespace {

std::string OwnPath() {
  char Path[MAX_PATH + 1] = {};
  ::GetModuleFileNameA(nullptr, Path, MAX_PATH);
  return LongPathName(Path);
}

class InfoObjectTest : public ::testing::Test {
protected:
  void SetUp() override {
    Saved = Settings;
    Settings.OSKind = osNT;
  }
  void TearDown() override { Settings = Saved; }
  TWYNDO_Settings Saved;
};

TEST_F(InfoObjectTest, AWindowObjectAsksTheSystemAtEveryRead) {
  auto Form = MakeForm<TForm>();
  Form->SetCaption("Probe window");
  Form->SetBounds(20, 30, 300, 200);
  auto* Edit = Form->Make<TEdit>();
  Edit->SetParent(Form.get());
  Edit->SetText("child text");
  const TWindowInfoObject Window(FromWindow(Form->Handle()));
  const TWindowInfoObject Child(FromWindow(Edit->Handle()));

  EXPECT_EQ(Window.Handle(), FromWindow(Form->Handle()));
  EXPECT_EQ(Window.WindowText(), "Probe window");
  Form->SetCaption("Renamed");
  EXPECT_EQ(Window.WindowText(), "Renamed");
  EXPECT_EQ(Window.ClassName(), "TForm");
  EXPECT_EQ(Child.ClassName(), "Edit");
  EXPECT_EQ(Child.WindowText(), "child text");
  EXPECT_EQ(Child.ControlID(), ::GetDlgCtrlID(Edit->Handle()));
  EXPECT_NE(Child.ControlID(), 0);
  // A top-level window keeps its menu where a child keeps its identifier: it has none.
  HMENU Menu = ::CreateMenu();
  ::AppendMenuA(Menu, MF_STRING, 1, "&File");
  ::SetMenu(Form->Handle(), Menu);
  EXPECT_NE(::GetDlgCtrlID(Form->Handle()), 0);
  EXPECT_EQ(Window.ControlID(), 0);
  ::SetMenu(Form->Handle(), nullptr);
  ::DestroyMenu(Menu);
  EXPECT_EQ(Window.WindowStyle(),
            static_cast<std::uint32_t>(::GetWindowLongA(Form->Handle(), GWL_STYLE)));
  EXPECT_EQ(Window.ExtWindowStyle(),
            static_cast<std::uint32_t>(::GetWindowLongA(Form->Handle(), GWL_EXSTYLE)));
  EXPECT_NE(Window.WndProc(), 0u) << "readable within the own process";
  EXPECT_NE(Window.ClassAtom(), 0u);
  EXPECT_EQ(Window.ClassBytes(), 0u);
  EXPECT_EQ(Window.ProcessID(), ::GetCurrentProcessId());
  EXPECT_EQ(Window.ThreadID(), ::GetCurrentThreadId());
  EXPECT_FALSE(Window.Unicode());

  const RECT Rect = Window.WindowRect();
  EXPECT_EQ(Rect.left, 20);
  EXPECT_EQ(Rect.right - Rect.left, 300);
  const RECT Restored = Window.RestoredRect();
  EXPECT_EQ(Restored.top, 30);
  const RECT Client = Window.ClientRect();
  EXPECT_EQ(Client.left, 0);
  EXPECT_GT(Client.right, 0);
}

TEST_F(InfoObjectTest, TheDesktopSaysSoAndADestroyedWindowReadsAsNothing) {
  EXPECT_EQ(TWindowInfoObject(FromWindow(::GetDesktopWindow())).ClassName(), "#32769 (Desktop)");

  auto Form = MakeForm<TForm>();
  Form->SetCaption("Short-lived");
  const TWindowInfoObject Gone(FromWindow(Form->Handle()));
  Form.reset();
  EXPECT_EQ(Gone.ClassName(), "");
  EXPECT_EQ(Gone.WindowText(), "");
  EXPECT_EQ(Gone.WindowStyle(), 0u);
  EXPECT_EQ(Gone.ProcessID(), 0u);
  EXPECT_EQ(Gone.ThreadID(), 0u);
  const RECT Rect = Gone.WindowRect();
  EXPECT_EQ(Rect.right - Rect.left, 0);
  // Handle 0 is nothing either, and is not the desktop.
  EXPECT_EQ(TWindowInfoObject(0).ClassName(), "");
}

TEST_F(InfoObjectTest, AWindowThatDoesNotAnswerGivesAnEmptyTextInsteadOfBlocking) {
  HWND Hung = nullptr;
  HANDLE Release = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread Owner([&] {
    Hung = ::CreateWindowExA(0, "STATIC", "never read", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             nullptr, nullptr);
    // The thread stops answering messages until released.
    ::WaitForSingleObject(Release, INFINITE);
    ::DestroyWindow(Hung);
  });
  ASSERT_TRUE(WaitFor([&] { return Hung != nullptr; }));
  EXPECT_EQ(TWindowInfoObject(FromWindow(Hung)).WindowText(), "");
  ::SetEvent(Release);
  Owner.join();
  ::CloseHandle(Release);
}

PROCESSENTRY32 OwnProcessEntry() {
  PROCESSENTRY32 Entry{};
  Entry.dwSize = sizeof(Entry);
  TKernelHandle Snapshot(ToolHelp().CreateSnapshot(TH32CS_SNAPPROCESS, 0));
  for (bool More = ToolHelp().ProcessFirst(Snapshot.Get(), Entry); More;
       More = ToolHelp().ProcessNext(Snapshot.Get(), Entry))
    if (Entry.th32ProcessID == ::GetCurrentProcessId())
      return Entry;
  ADD_FAILURE() << "the own process is not in the snapshot";
  return Entry;
}

TEST_F(InfoObjectTest, AProcessObjectFindsItsProgramFileOnBothSystemLines) {
  const std::string Own = OwnPath();
  const TProcessInfoObject ById(::GetCurrentProcessId());
  EXPECT_NE(ById.ProcessHandle(), nullptr);
  EXPECT_EQ(ById.ModuleName(), ExtractFileNameOr(Own, ""));
  EXPECT_EQ(ById.ModulePath(), ExtractFilePathOr(Own, ""));

  // Windows 98 has no process-status service: the module walk of the snapshot finds it.
  Settings.OSKind = osWin9x;
  const PROCESSENTRY32 Entry = OwnProcessEntry();
  const TProcessInfoObject FromEntry(Entry, true);
  EXPECT_EQ(FromEntry.ProcessID(), ::GetCurrentProcessId());
  EXPECT_EQ(FromEntry.ModulePath() + FromEntry.ModuleName(), Own);
}

TEST_F(InfoObjectTest, ProcessZeroHasNoHandleAndTakesItsRecordsNameOrNothing) {
  const TProcessInfoObject Bare(0);
  EXPECT_EQ(Bare.ProcessHandle(), nullptr);
  EXPECT_EQ(Bare.ModuleName(), "(Unavailable)");
  EXPECT_EQ(Bare.ModulePath(), "(Unavailable)");

  PROCESSENTRY32 Entry{};
  Entry.dwSize = sizeof(Entry);
  std::strcpy(Entry.szExeFile, "[System Process]");
  const TProcessInfoObject FromEntry(Entry, false);
  EXPECT_EQ(FromEntry.ProcessHandle(), nullptr);
  EXPECT_EQ(FromEntry.ModuleName(), "[System Process]");
  EXPECT_EQ(FromEntry.ModulePath(), "(Unavailable)");
}

TEST_F(InfoObjectTest, AThreadObjectFindsItsOwningProcessesProgram) {
  THREADENTRY32 Entry{};
  Entry.dwSize = sizeof(Entry);
  TKernelHandle Snapshot(ToolHelp().CreateSnapshot(TH32CS_SNAPTHREAD | TH32CS_SNAPPROCESS, 0));
  bool Found = false;
  for (bool More = ToolHelp().ThreadFirst(Snapshot.Get(), Entry); More && !Found;) {
    Found = Entry.th32ThreadID == ::GetCurrentThreadId();
    if (!Found)
      More = ToolHelp().ThreadNext(Snapshot.Get(), Entry);
  }
  ASSERT_TRUE(Found);

  TThreadInfoObject Thread(Entry, true);
  Thread.SetSnapshot(Snapshot.Get());
  EXPECT_EQ(Thread.ThreadID(), ::GetCurrentThreadId());
  EXPECT_EQ(Thread.ModuleName(), ExtractFileNameOr(OwnPath(), ""));

  // Without a record there is nothing to look up.
  EXPECT_EQ(TThreadInfoObject(::GetCurrentThreadId()).ModuleName(), "(Unavailable)");
  // An owner no snapshot holds.
  THREADENTRY32 Orphan = Entry;
  Orphan.th32OwnerProcessID = 0xFFFFFFF0;
  const TThreadInfoObject Lost(Orphan, false);
  EXPECT_EQ(Lost.ModuleName(), "(Unavailable)");
  EXPECT_EQ(Lost.ModulePath(), "(Unavailable)");
}

TEST_F(InfoObjectTest, AModuleObjectSplitsItsPath) {
  const TModuleInfoObject Module("C:\\WINNT\\system32\\kernel32.dll");
  EXPECT_EQ(Module.ModuleName(), "kernel32.dll");
  EXPECT_EQ(Module.ModulePath(), "C:\\WINNT\\system32\\");
  EXPECT_EQ(TModuleInfoObject("nopath").ModulePath(), "");

  MODULEENTRY32 Entry{};
  Entry.dwSize = sizeof(Entry);
  TKernelHandle Snapshot(ToolHelp().CreateSnapshot(TH32CS_SNAPMODULE, ::GetCurrentProcessId()));
  ASSERT_TRUE(ToolHelp().ModuleFirst(Snapshot.Get(), Entry));
  const TModuleInfoObject First(Entry, false);
  EXPECT_EQ(First.Path(), LongPathName(Entry.szExePath));
}

TEST_F(InfoObjectTest, AssignTakesTheIdentityOfTheSameClassOnly) {
  TWindowInfoObject Window(0);
  Window.Assign(TWindowInfoObject(FromWindow(::GetDesktopWindow())));
  EXPECT_EQ(Window.Window(), ::GetDesktopWindow());
  Window.Assign(TThreadInfoObject(123));
  Window.Assign(TModuleInfoObject("C:\\x.dll"));
  EXPECT_EQ(Window.Window(), ::GetDesktopWindow());

  TProcessInfoObject Process(0);
  Process.Assign(TProcessInfoObject(::GetCurrentProcessId()));
  EXPECT_EQ(Process.ProcessID(), ::GetCurrentProcessId());
  EXPECT_NE(Process.ProcessHandle(), nullptr) << "reopened for the new identifier";
  EXPECT_EQ(Process.ModuleName(), ExtractFileNameOr(OwnPath(), ""));
  Process.Assign(TWindowInfoObject(1));
  EXPECT_EQ(Process.ProcessID(), ::GetCurrentProcessId());

  TThreadInfoObject Thread(1);
  Thread.Assign(TThreadInfoObject(77));
  EXPECT_EQ(Thread.ThreadID(), 77u);
  TModuleInfoObject Module("a.dll");
  Module.Assign(TModuleInfoObject("C:\\b.dll"));
  EXPECT_EQ(Module.ModuleName(), "b.dll");
  Module.Assign(TProcessInfoObject(0));
  EXPECT_EQ(Module.ModuleName(), "b.dll");
}

TEST_F(InfoObjectTest, PropertyReadersFollowTheDeclarationOrderAndReadTheObject) {
  for (TListKind Kind : AllListKinds) {
    ASSERT_EQ(PropertyReaders(Kind).size(), PropertiesOf(Kind).size());
    for (const TPropertyDesc& Property : PropertiesOf(Kind))
      EXPECT_EQ(ReaderOf(Property).Name, Property.Name);
  }
  auto Form = MakeForm<TForm>();
  Form->SetCaption("Read me");
  const TWindowInfoObject Window(FromWindow(Form->Handle()));
  const auto Readers = PropertyReaders(lkWindow);
  EXPECT_EQ(Readers[0].Ordinal(Window), Window.Handle());
  EXPECT_EQ(Readers[2].Text(Window), "Read me");
  EXPECT_EQ(Readers[6].Text(Window), "TForm");
  EXPECT_EQ(Readers[9].Ordinal(Window), ::GetCurrentProcessId());
  EXPECT_EQ(Readers[11].Ordinal(Window), 0u);
}

// A tool-help source with one made-up process and no modules.
class TFakeToolHelp : public TToolHelp {
public:
  HANDLE CreateSnapshot(DWORD Flags, DWORD) override {
    return Flags & TH32CS_SNAPMODULE ? INVALID_HANDLE_VALUE
                                     : ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
  }
  bool ProcessFirst(HANDLE, PROCESSENTRY32& Entry) override {
    Entry.th32ProcessID = 4242;
    std::strcpy(Entry.szExeFile, "C:\\Made\\Up.exe");
    return true;
  }
  bool ProcessNext(HANDLE, PROCESSENTRY32&) override { return false; }
  DWORD ProcessImageName(DWORD, char*, DWORD) override { return 0; }
};

TEST_F(InfoObjectTest, EveryProcessWhosePathTheSystemNamesShowsIt) {
  // Also a 64-bit process seen by the 32-bit program, which cannot read its modules.
  TKernelHandle Snapshot(ToolHelp().CreateSnapshot(TH32CS_SNAPPROCESS, 0));
  ASSERT_TRUE(Snapshot);
  PROCESSENTRY32 Entry{};
  Entry.dwSize = sizeof(Entry);
  int Named = 0;
  for (bool More = ToolHelp().ProcessFirst(Snapshot.Get(), Entry); More;
       More = ToolHelp().ProcessNext(Snapshot.Get(), Entry)) {
    char Image[MAX_PATH + 1] = {};
    if (ToolHelp().ProcessImageName(Entry.th32ProcessID, Image, sizeof(Image)) == 0)
      continue;
    ++Named;
    const TProcessInfoObject Process(Entry, false);
    EXPECT_NE(Process.ModulePath(), UnavailableText) << Entry.szExeFile;
    EXPECT_EQ(Process.ModuleName(), ExtractFileNameOr(Image, "")) << Entry.szExeFile;
  }
  EXPECT_GT(Named, 1);
}

TEST_F(InfoObjectTest, ObjectsUseTheToolHelpSourceInPlace) {
  TFakeToolHelp Fake;
  TToolHelpOverride Override(Fake);
  THREADENTRY32 Entry{};
  Entry.dwSize = sizeof(Entry);
  Entry.th32ThreadID = 7;
  Entry.th32OwnerProcessID = 4242;
  const TThreadInfoObject Thread(Entry, false);
  EXPECT_EQ(Thread.ModuleName(), "Up.exe");
  EXPECT_EQ(Thread.ModulePath(), "C:\\Made\\");
}

} // namespace
} // namespace wyndo::test
