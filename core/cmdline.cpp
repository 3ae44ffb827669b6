#include "core/cmdline.h"

#include "core/locale.h"

namespace wyndo {

namespace {

bool IsBlank(char C) {
  return static_cast<unsigned char>(C) <= ' ';
}

std::string LowerCaseAToZ(std::string_view Text) {
  std::string Result(Text);
  for (char& C : Result) {
    if (C >= 'A' && C <= 'Z') {
      C = static_cast<char>(C - 'A' + 'a');
    }
  }
  return Result;
}

} // namespace

std::vector<std::string> CommandLineParams(std::string_view CommandLine) {
  const TLocaleFunctions& Locale = UserLocale();
  std::vector<std::string> Params;
  std::size_t I = 0;
  while (true) {
    while (I < CommandLine.size() && IsBlank(CommandLine[I])) {
      ++I;
    }
    if (I == CommandLine.size()) {
      break;
    }
    std::string Param;
    bool Quoted = false;
    while (I < CommandLine.size() && (Quoted || !IsBlank(CommandLine[I]))) {
      const char C = CommandLine[I++];
      if (Locale.IsLeadByte(static_cast<unsigned char>(C))) {
        // The trail byte may equal '"' or a blank; it belongs to the character.
        Param += C;
        if (I < CommandLine.size()) {
          Param += CommandLine[I++];
        }
      } else if (C == '"') {
        Quoted = !Quoted;
      } else {
        Param += C;
      }
    }
    Params.push_back(std::move(Param));
  }
  if (!Params.empty()) {
    Params.erase(Params.begin()); // the program name
  }
  return Params;
}

TCommandSwitches ParseCommandSwitches(std::string_view CommandLine) {
  TCommandSwitches Switches;
  for (const std::string& Param : CommandLineParams(CommandLine)) {
    const std::string Switch = LowerCaseAToZ(Param);
    if (Switch == "-reset") {
      Switches.Reset = true;
    } else if (Switch == "-config") {
      Switches.Config = true;
    }
  }
  return Switches;
}

} // namespace wyndo
