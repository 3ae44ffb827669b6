// The program's command line: split into parameters as a reading of the rules written here says
// (blanks, double quotes, double-byte characters), the switches found in any letter case, and the
// tail after the program name holding every parameter.
//
// Input: byte 0: the locale (see UseLocale: '0' ASCII, '1' Shift-JIS, '2' Latin-1); the rest is
// the command line.

#include "core/cmdline.h"
#include "fuzz/fuzz_support.h"

#include <vector>

namespace wyndo::fuzz {
namespace {

// Parameters end at a byte up to ' ' outside double quotes; the quotes are dropped; a lead byte
// and the byte after it are one character, never a blank or a quote.
std::vector<std::string> ReferenceParams(std::string_view Line) {
  std::vector<std::string> Params;
  std::string Param;
  bool InParam = false;
  bool Quoted = false;
  for (std::size_t I = 0; I < Line.size(); ++I) {
    const auto C = static_cast<unsigned char>(Line[I]);
    if (UserLocale().IsLeadByte(C)) {
      Param += Line.substr(I, 2);
      ++I;
      InParam = true;
    } else if (C == '"') {
      Quoted = !Quoted;
      InParam = true;
    } else if (C <= ' ' && !Quoted) {
      if (InParam) {
        Params.push_back(Param);
      }
      Param.clear();
      InParam = false;
    } else {
      Param += static_cast<char>(C);
      InParam = true;
    }
  }
  if (InParam) {
    Params.push_back(Param);
  }
  if (!Params.empty()) {
    Params.erase(Params.begin());
  }
  return Params;
}

bool IsSwitch(std::string_view Param, std::string_view Switch) {
  if (Param.size() != Switch.size()) {
    return false;
  }
  for (std::size_t I = 0; I < Param.size(); ++I) {
    char C = Param[I];
    if (C >= 'A' && C <= 'Z') {
      C = static_cast<char>(C + ('a' - 'A'));
    }
    if (C != Switch[I]) {
      return false;
    }
  }
  return true;
}

} // namespace
} // namespace wyndo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  using namespace wyndo;
  using namespace wyndo::fuzz;
  TFuzzInput Input(Data, Size);
  UseLocale(Input.Byte());
  const std::string_view Line = Input.Rest();

  const std::vector<std::string> Params = CommandLineParams(Line);
  Check(Params == ReferenceParams(Line), "parameters split as the rules say");
  const TCommandSwitches Switches = ParseCommandSwitches(Line);
  bool Reset = false;
  bool Config = false;
  bool Stay32 = false;
  for (const std::string& Param : Params) {
    Reset = Reset || IsSwitch(Param, "-reset");
    Config = Config || IsSwitch(Param, "-config");
    Stay32 = Stay32 || Param == "-32";
  }
  Check(Switches.Reset == Reset && Switches.Config == Config && Switches.Stay32 == Stay32,
        "switches in any letter case");
  // What is handed on is every parameter but the program name, unchanged.
  const std::string_view Tail = CommandLineTail(Line);
  Check(Tail.empty() || static_cast<unsigned char>(Tail[0]) > ' ',
        "the tail starts at a parameter");
  Check(CommandLineParams("x " + std::string(Tail)) == Params, "the tail holds the parameters");
  return 0;
}
