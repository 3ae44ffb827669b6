// The session ends while the program runs. The system sends the end-session messages and may end
// the process as soon as they have been handled (Wine's wineboot does exactly that): the
// settings must be written by then, and only once.
//
// This program runs alone in a Wine session of its own, since ending the session ends every
// program that has a window there; it has none itself.

#include "tests/win/process_support.h"
#include "tests/win/settings_fixture.h"
#include "tests/win/test_support.h"
#include "ui/handles.h"

#include <gtest/gtest.h>

namespace wyndo::test {
namespace {

// Runs a command line and waits for it to end; its exit code, or nothing.
std::optional<DWORD> RunAndWait(std::string CommandLine) {
  STARTUPINFOA Startup{};
  Startup.cb = sizeof(Startup);
  PROCESS_INFORMATION Started{};
  if (!::CreateProcessA(nullptr, CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &Startup, &Started))
    return std::nullopt;
  TKernelHandle Thread(Started.hThread);
  TKernelHandle Process(Started.hProcess);
  if (::WaitForSingleObject(Process.Get(), 60000) != WAIT_OBJECT_0)
    return std::nullopt;
  DWORD Code = 0;
  ::GetExitCodeProcess(Process.Get(), &Code);
  return Code;
}

TEST(EndToEndSession, TheSettingsAreWrittenBeforeTheSessionEndsTheProgram) {
  // Stored: "0x" numbers. Started with -reset, the program holds the defaults ("$" numbers),
  // which it writes as it ends.
  SeedSettingsKey();
  StoreValue("", BinaryValue("IntFormat", {2}));
  TProgram Wyndo("-reset");
  HWND Main = Wyndo.WaitForWindow();
  ASSERT_NE(Main, nullptr);
  DWORD_PTR Ignored = 0;
  ASSERT_TRUE(::SendMessageTimeoutA(Main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &Ignored))
      << "the program does not run its message loop";

  ASSERT_TRUE(RunAndWait("wineboot.exe --end-session").has_value());
  EXPECT_EQ(Wyndo.WaitForExit(), 0u);
  const auto Written = StoredValue("", "IntFormat");
  ASSERT_TRUE(Written.has_value());
  EXPECT_EQ(Written->Data, std::vector<std::uint8_t>{1}) << "the settings were not written";
}

} // namespace
} // namespace wyndo::test
