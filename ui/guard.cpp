#include "ui/guard.h"

#include "ui/application.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

namespace wyndo {

namespace {

void Report(const std::string& Text) {
  const std::string Title = Application.Title().empty() ? "Error" : Application.Title();
  ::MessageBoxA(nullptr, Text.c_str(), Title.c_str(), MB_OK | MB_ICONHAND | MB_TASKMODAL);
}

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* Pointers) {
  char Text[160];
  std::snprintf(Text, sizeof(Text),
                "The program ended after an unexpected error (exception %08lX at %p).",
                static_cast<unsigned long>(Pointers->ExceptionRecord->ExceptionCode),
                Pointers->ExceptionRecord->ExceptionAddress);
  Report(Text);
  return EXCEPTION_EXECUTE_HANDLER;
}

[[noreturn]] void ReportTermination() {
  std::string Text = "The program ended after an unexpected error";
  if (std::exception_ptr Failure = std::current_exception())
    Text += ": " + TApplication::ExceptionMessage(Failure);
  Report(Text + ".");
  std::_Exit(3);
}

} // namespace

void InstallFailureReport() {
  ::SetUnhandledExceptionFilter(&ReportCrash);
  std::set_terminate(&ReportTermination);
}

} // namespace wyndo
