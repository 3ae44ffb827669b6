#include "core/cmdline.h"
#include "core_fixture.h"

namespace wyndo::test {
namespace {

using CommandLineTest = CoreTest;
using TParams = std::vector<std::string>;

struct TSplitCase {
  std::string_view CommandLine;
  TParams Params;
};

void ExpectSplits(std::initializer_list<TSplitCase> Cases) {
  for (const TSplitCase& Case : Cases) {
    SCOPED_TRACE(::testing::Message() << "command line \"" << Case.CommandLine << '"');
    EXPECT_EQ(CommandLineParams(Case.CommandLine), Case.Params);
  }
}

TEST_F(CommandLineTest, SplitsAtBlanksAndDropsTheProgramName) {
  ExpectSplits({
      {"", {}},
      {"wyndo.exe", {}},
      {"  wyndo.exe  ", {}},
      {"wyndo.exe -reset", {"-reset"}},
      {"wyndo.exe\t-reset\t \t-config ", {"-reset", "-config"}},
      {"wyndo.exe a\001b\177", {"a", "b\177"}}, // blanks are the bytes up to ' '
  });
}

TEST_F(CommandLineTest, QuotesGroupBlanksAndAreRemoved) {
  ExpectSplits({
      {"\"C:\\Program Files\\wyndo.exe\" -config", {"-config"}},
      {"wyndo.exe \"two words\" x\"y z\"w", {"two words", "xy zw"}},
      {"wyndo.exe a\"\"b", {"ab"}},
      {"wyndo.exe \"\" end", {"", "end"}},
      {"wyndo.exe \"open to the end", {"open to the end"}},
  });
}

TEST_F(CommandLineTest, ADoubleByteCharacterIsNeverSplit) {
  // \203 (0x83) is a lead byte; the trail bytes here equal '"' and ' '.
  const std::string_view Line = "wyndo.exe a\203\"b c\203 d";
  ExpectSplits({{Line, {"a\203b c\203 d"}}}); // single-byte: the quote opens
  UseShiftJisLocale();
  ExpectSplits({
      {Line, {"a\203\"b", "c\203 d"}},
      {"wyndo.exe x\203", {"x\203"}}, // a lead byte at the very end
  });
}

TEST_F(CommandLineTest, RecognisesTheSwitchesInAnyLetterCase) {
  struct {
    std::string_view CommandLine;
    bool Reset;
    bool Config;
  } const Cases[] = {
      {"wyndo.exe", false, false},
      {"wyndo.exe -reset", true, false},
      {"wyndo.exe -config", false, true},
      {"wyndo.exe -config -reset", true, true},
      {"wyndo.exe -RESET -cOnFiG", true, true},
      {"wyndo.exe \"-Reset\"", true, false},
      {"wyndo.exe /reset reset -reset2 --config -conf", false, false},
      {"-reset", false, false}, // the program name is no switch
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(::testing::Message() << "command line \"" << Case.CommandLine << '"');
    const TCommandSwitches Switches = ParseCommandSwitches(Case.CommandLine);
    EXPECT_EQ(Switches.Reset, Case.Reset);
    EXPECT_EQ(Switches.Config, Case.Config);
  }
  EXPECT_TRUE(ParseCommandSwitches("wyndo.exe -config -32").Stay32);
  EXPECT_FALSE(ParseCommandSwitches("wyndo.exe -3 32 /32").Stay32);
}

TEST_F(CommandLineTest, TheTailIsEverythingAfterTheProgramNameAsWritten) {
  EXPECT_EQ(CommandLineTail("wyndo.exe"), "");
  EXPECT_EQ(CommandLineTail("  wyndo.exe   -reset  \"a b\" "), "-reset  \"a b\" ");
  EXPECT_EQ(CommandLineTail("\"C:\\Program Files\\wyndo.exe\" -config"), "-config");
  EXPECT_EQ(CommandLineTail(""), "");
}

} // namespace
} // namespace wyndo::test
