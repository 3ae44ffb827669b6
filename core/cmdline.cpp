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

void SkipBlanks(std::string_view CommandLine, std::size_t& I) {
  while (I < CommandLine.size() && IsBlank(CommandLine[I])) {
    ++I;
  }
}

// Reads the parameter that starts at CommandLine[I] (not a blank); leaves I just past it.
std::string ReadParam(std::string_view CommandLine, std::size_t& I) {
  const TLocaleFunctions& Locale = UserLocale();
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
  return Param;
}

} // namespace

std::vector<std::string> CommandLineParams(std::string_view CommandLine) {
  std::vector<std::string> Params;
  std::size_t I = 0;
  for (SkipBlanks(CommandLine, I); I < CommandLine.size(); SkipBlanks(CommandLine, I)) {
    Params.push_back(ReadParam(CommandLine, I));
  }
  if (!Params.empty()) {
    Params.erase(Params.begin()); // the program name
  }
  return Params;
}

std::string_view CommandLineTail(std::string_view CommandLine) {
  std::size_t I = 0;
  SkipBlanks(CommandLine, I);
  ReadParam(CommandLine, I);
  SkipBlanks(CommandLine, I);
  return CommandLine.substr(I);
}

TCommandSwitches ParseCommandSwitches(std::string_view CommandLine) {
  TCommandSwitches Switches;
  for (const std::string& Param : CommandLineParams(CommandLine)) {
    const std::string Switch = LowerCaseAToZ(Param);
    if (Switch == "-reset") {
      Switches.Reset = true;
    } else if (Switch == "-config") {
      Switches.Config = true;
    } else if (Switch == "-32") {
      Switches.Stay32 = true;
    }
  }
  return Switches;
}

} // namespace wyndo
