// The 32-bit program on a 64-bit system: with the 64-bit program beside it as wyndo64.exe it hands
// over and ends; a second start through it brings the running 64-bit program forward; "-32" keeps
// the 32-bit program. Both builds are copied into a folder of their own, as the release has them.

#include "app/startup.h"
#include "core/format.h"
#include "info/toolhelp.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/win/test_support.h"
#include "ui/handles.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace wyndo::e2e {
namespace {

using test::WaitFor;

class EndToEndHandOver : public EndToEndTest {
protected:
  void SetUp() override {
    EndToEndTest::SetUp();
    // build/<preset>/tests/e2e/e2e_tests.exe: the builds are build/win32 and build/win64.
    char Path[MAX_PATH + 1] = {};
    ::GetModuleFileNameA(nullptr, Path, MAX_PATH);
    const std::string Build = ExtractFilePathOr(Path, "") + "..\\..\\..\\";
    char Temp[MAX_PATH + 1] = {};
    ::GetTempPathA(MAX_PATH, Temp);
    Folder = std::string(Temp) + "wyndo-handover\\";
    ::CreateDirectoryA(Folder.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileA((Build + "win32\\app\\wyndo.exe").c_str(), Program32().c_str(), FALSE))
        << "build the win32 preset";
    ASSERT_TRUE(::CopyFileA((Build + "win64\\app\\wyndo.exe").c_str(),
                            (Folder + Program64Name).c_str(), FALSE))
        << "build the win64 preset";
  }
  // Whatever the hand-overs started goes with the scenario, also when it failed half-way.
  void TearDown() override {
    for (DWORD Id : Running(Program64Name)) {
      TKernelHandle Process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, Id));
      if (Process && ::TerminateProcess(Process.Get(), 99))
        ::WaitForSingleObject(Process.Get(), 5000);
    }
    EndToEndTest::TearDown();
  }
  std::string Program32() const { return Folder + "wyndo.exe"; }

  // The processes whose program file has this name.
  static std::vector<DWORD> Running(const std::string& Name) {
    std::vector<DWORD> Ids;
    TKernelHandle Snapshot(ToolHelp().CreateSnapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 Entry{};
    Entry.dwSize = sizeof(Entry);
    for (bool More = Snapshot && ToolHelp().ProcessFirst(Snapshot.Get(), Entry); More;
         More = ToolHelp().ProcessNext(Snapshot.Get(), Entry))
      if (::lstrcmpiA(ExtractFileNameOr(Entry.szExeFile, "").c_str(), Name.c_str()) == 0)
        Ids.push_back(Entry.th32ProcessID);
    return Ids;
  }

  // The program's main window, of whichever process, and the file name of its process.
  static HWND MainWindow(std::string& ProgramName) {
    HWND Main = nullptr;
    WaitFor([&] { return (Main = ::FindWindowA("TWyndoMainForm", nullptr)) != nullptr; }, 15000);
    DWORD Process = 0;
    ::GetWindowThreadProcessId(Main, &Process);
    char Image[MAX_PATH + 1] = {};
    ProgramName = Main && ToolHelp().ProcessImageName(Process, Image, sizeof(Image)) > 0
                      ? ExtractFileNameOr(Image, "")
                      : "";
    return Main;
  }
  // Closes a main window as a user does and waits for its process to end.
  static bool CloseAndWait(HWND Main) {
    DWORD Id = 0;
    ::GetWindowThreadProcessId(Main, &Id);
    TKernelHandle Process(::OpenProcess(SYNCHRONIZE, FALSE, Id));
    ::PostMessageA(Main, WM_CLOSE, 0, 0);
    return Process &&
           WaitFor([&] { return ::WaitForSingleObject(Process.Get(), 0) == WAIT_OBJECT_0; }, 15000);
  }

  std::string Folder;
};

TEST_F(EndToEndHandOver, The32BitProgramHandsOverUnlessToldToStay) {
  Seed();
  std::optional<TProgram> Launcher;
  try {
    Launcher.emplace("", Program32());
  } catch (const std::runtime_error&) {
    GTEST_SKIP() << "32-bit programs cannot run here (no wine32): the hand-over cannot be shown";
  }
  EXPECT_EQ(Launcher->WaitForExit(), 0u) << "the 32-bit program ends once it has handed over";
  std::string Name;
  HWND Main = MainWindow(Name);
  ASSERT_NE(Main, nullptr);
  EXPECT_EQ(Name, Program64Name);

  // A second start through the 32-bit program reaches the running 64-bit one.
  auto Other = Target("E2E Hand-over Other", 300, 520);
  ::SetForegroundWindow(Other->Handle());
  ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == Other->Handle(); }));
  DWORD MainProcess = 0;
  ::GetWindowThreadProcessId(Main, &MainProcess);
  TProgram Second("", Program32());
  EXPECT_EQ(Second.WaitForExit(), 0u);
  // The 64-bit program it handed over to only brings the running one forward and ends.
  EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == Main; }));
  ASSERT_TRUE(
      WaitFor([&] { return Running(Program64Name) == std::vector<DWORD>{MainProcess}; }, 15000));
  EXPECT_EQ(::FindWindowExA(nullptr, Main, "TWyndoMainForm", nullptr), nullptr) << "one instance";
  ASSERT_TRUE(CloseAndWait(Main));

  // "-32": the 32-bit program runs itself.
  TProgram Stays("-32", Program32());
  HWND Own = Stays.WaitForWindow();
  ASSERT_NE(Own, nullptr);
  EXPECT_EQ(MainWindow(Name), Own);
  EXPECT_EQ(Name, "wyndo.exe");
  ASSERT_TRUE(CloseAndWait(Own));
  EXPECT_EQ(Stays.WaitForExit(), 0u);
}

} // namespace
} // namespace wyndo::e2e
