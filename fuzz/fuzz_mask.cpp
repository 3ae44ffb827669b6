// Filter and search masks as the user types them, and the cell texts they are matched against:
// TMask must agree with a reading of the mask rules written independently (its own set parser and
// a table-driven match instead of backtracking), in both case modes of TTextCriteria (the case-
// insensitive one matching the upper-cased mask against the upper-cased text), and plain criteria
// must compare texts as the case mode says.
//
// Input: byte 0: the locale (see UseLocale: '0' ASCII, '1' Shift-JIS, '2' Latin-1); then the
// mask up to the first zero byte; the rest is the cell text.

#include "core/errors.h"
#include "core/mask.h"
#include "core/textmatch.h"
#include "fuzz/fuzz_support.h"

#include <bitset>
#include <optional>
#include <variant>
#include <vector>

namespace wyndo::fuzz {
namespace {

unsigned char Upper(unsigned char C) {
  return C >= 'a' && C <= 'z' ? static_cast<unsigned char>(C - 'a' + 'A') : C;
}

// One character of a text: one byte, or a lead byte and its trail byte.
struct TChar {
  unsigned char First = 0;
  unsigned char Second = 0;
  bool Double = false;
};

std::vector<TChar> Characters(std::string_view Text) {
  std::vector<TChar> Result;
  for (std::size_t I = 0; I < Text.size();) {
    const auto C = static_cast<unsigned char>(Text[I]);
    if (UserLocale().IsLeadByte(C) && I + 1 < Text.size()) {
      Result.push_back({C, static_cast<unsigned char>(Text[I + 1]), true});
      I += 2;
    } else {
      Result.push_back({C, 0, false});
      ++I;
    }
  }
  return Result;
}

// A step of the mask that takes one character of the text.
struct TStep {
  enum TKind { Single, Double, Any, Set } Kind = Any;
  bool AfterStar = false;
  TChar Char;               // Single (upper-cased) and Double
  std::bitset<256> Members; // Set, upper-cased
  bool Negate = false;
};

TStep MakeStep(TStep::TKind Kind) {
  TStep Step;
  Step.Kind = Kind;
  return Step;
}

struct TCompiled {
  std::vector<TStep> Steps;
  bool EndsWithStar = false;
};

// The mask's steps, or the 1-based position where it is invalid.
std::variant<TCompiled, int> Compile(std::string_view Mask) {
  const std::vector<TChar> Chars = Characters(Mask);
  // Byte position (1-based) of each character, and one past the end.
  std::vector<int> Positions;
  int Position = 1;
  for (const TChar& C : Chars) {
    Positions.push_back(Position);
    Position += C.Double ? 2 : 1;
  }
  Positions.push_back(Position);

  TCompiled Result;
  bool Star = false;
  int Groups = 0;
  std::optional<int> Invalid;
  const auto Add = [&](TStep Step, int At) {
    if (Star && ++Groups > 30 && !Invalid) {
      Invalid = At;
    }
    Step.AfterStar = Star;
    Star = false;
    Result.Steps.push_back(Step);
  };
  std::size_t I = 0;
  while (I < Chars.size() && !Invalid) {
    const TChar C = Chars[I];
    if (!C.Double && C.First == '*') {
      Star = true;
      ++I;
    } else if (!C.Double && C.First == '?') {
      if (!Star) {
        Add(MakeStep(TStep::Any), Positions[I]);
      }
      ++I;
    } else if (!C.Double && C.First == '[') {
      const int Open = Positions[I];
      TStep Step = MakeStep(TStep::Set);
      ++I;
      if (I < Chars.size() && !Chars[I].Double && Chars[I].First == '!') {
        Step.Negate = true;
        ++I;
      }
      std::optional<unsigned char> Last;
      for (;;) {
        if (I >= Chars.size()) {
          return Positions.back();
        }
        const TChar Item = Chars[I];
        if (Item.Double) {
          // Sets hold single-byte characters: a double-byte one adds nothing.
          ++I;
        } else if (Item.First == ']') {
          break;
        } else if (Item.First == '-') {
          if (!Last) {
            return Positions[I];
          }
          if (I + 1 >= Chars.size()) {
            return Positions.back();
          }
          const TChar End = Chars[I + 1];
          if (!End.Double && End.First == ']') {
            Step.Members.set('-');
            ++I;
          } else {
            // A range ends at its last character's (first) byte, upper-cased; a double-byte end
            // is still one character of the mask.
            const unsigned char To = Upper(End.First);
            for (unsigned V = *Last; V <= To; ++V) {
              Step.Members.set(V);
            }
            Last = To;
            I += 2;
          }
        } else {
          Last = Upper(Item.First);
          // The start of a range is a member only through its range.
          const bool StartsRange = I + 2 < Chars.size() && !Chars[I + 1].Double &&
                                   Chars[I + 1].First == '-' &&
                                   (Chars[I + 2].Double || Chars[I + 2].First != ']');
          if (!StartsRange) {
            Step.Members.set(*Last);
          }
          ++I;
        }
      }
      if (Step.Members.none()) {
        return Positions[I];
      }
      ++I;
      Add(Step, Open);
    } else if (C.Double) {
      TStep Step = MakeStep(TStep::Double);
      Step.Char = C;
      Add(Step, Positions[I]);
      ++I;
    } else {
      TStep Step = MakeStep(TStep::Single);
      Step.Char = {Upper(C.First), 0, false};
      Add(Step, Positions[I]);
      ++I;
    }
  }
  if (!Invalid && Star && ++Groups > 30) {
    Invalid = Positions.back();
  }
  if (Invalid) {
    return *Invalid;
  }
  Result.EndsWithStar = Star;
  return Result;
}

bool StepMatches(const TStep& Step, const TChar& C) {
  switch (Step.Kind) {
  case TStep::Single:
    return !C.Double && Upper(C.First) == Step.Char.First;
  case TStep::Double:
    return C.Double && C.First == Step.Char.First && C.Second == Step.Char.Second;
  case TStep::Any:
    return true;
  case TStep::Set:
    return (!C.Double && Step.Members.test(Upper(C.First))) != Step.Negate;
  }
  return false;
}

// Matches[s][c]: steps s.. match characters c.., filled from the ends.
bool Matches(const TCompiled& Mask, std::string_view Text) {
  const std::vector<TChar> Chars = Characters(Text);
  const std::size_t N = Chars.size();
  std::vector<char> Next(N + 1);
  for (std::size_t C = 0; C <= N; ++C) {
    Next[C] = C == N || Mask.EndsWithStar;
  }
  for (std::size_t S = Mask.Steps.size(); S-- > 0;) {
    const TStep& Step = Mask.Steps[S];
    std::vector<char> Here(N + 1);
    bool Later = false; // some split at or after C matches (for a step after '*')
    for (std::size_t C = N + 1; C-- > 0;) {
      const bool Now = C < N && StepMatches(Step, Chars[C]) && Next[C + 1];
      Later = Later || Now;
      Here[C] = Step.AfterStar ? Later : Now;
    }
    Next = std::move(Here);
  }
  return Next[0];
}

// The cells of a node: the fuzzed text in column 1, after a column without a criterion.
class TCells : public ICellTexts {
public:
  TCells(std::string_view Text) : FText(Text) {}
  std::string CellText(std::size_t Column) const override {
    Check(Column == 1, "only the column with a criterion is read");
    return std::string(FText);
  }

private:
  std::string_view FText;
};

// TMask's outcome, checked against the mask rules: a result or the error position.
std::variant<bool, int> MatchMask(std::string_view Mask, std::string_view Text) {
  std::variant<bool, int> Actual;
  try {
    Actual = TMask(Mask).Matches(Text);
  } catch (const EMaskException& Error) {
    Check(Error.Mask() == Mask, "the error names the mask");
    Check(Error.Position() >= 1 && static_cast<std::size_t>(Error.Position()) <= Mask.size() + 1,
          "the error position lies in the mask or just past it");
    Actual = Error.Position();
  }
  const std::variant<TCompiled, int> Reference = Compile(Mask);
  if (const int* Position = std::get_if<int>(&Reference)) {
    Check(Actual == std::variant<bool, int>(*Position), "invalid at the same position");
  } else if (Mask.size() * Text.size() <= 1 << 22) {
    Check(Actual == std::variant<bool, int>(Matches(std::get<TCompiled>(Reference), Text)),
          "matches as the mask rules say");
  }
  return Actual;
}

// The outcome of matching through the list filter's criteria: a result or the error position.
std::variant<bool, int> MatchCriteria(std::string_view Mask, std::string_view Text,
                                      bool CaseSensitive, bool UseMask) {
  const std::string Criteria[] = {"", std::string(Mask)};
  try {
    return MatchNodeTexts(TCells(Text), Criteria, CaseSensitive, UseMask);
  } catch (const EMaskException& Error) {
    Check(UseMask, "plain criteria raise no mask error");
    Check(Error.Mask() == Mask, "the error names the mask as typed");
    return Error.Position();
  }
}

} // namespace
} // namespace wyndo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  using namespace wyndo;
  using namespace wyndo::fuzz;
  TFuzzInput Input(Data, Size);
  UseLocale(Input.Byte());
  const std::string_view Mask = Input.UpTo('\0');
  const std::string_view Text = Input.Rest();

  using TOutcome = std::variant<bool, int>;
  const TOutcome Actual = MatchMask(Mask, Text);
  const TOutcome Upper = MatchMask(UserLocale().UpperCase(Mask), UserLocale().UpperCase(Text));
  if (UserLocale().UpperCase != test::Latin1UpperCase) {
    // Masks fold a to z themselves, and nothing else changes in upper case.
    Check(Upper == Actual, "upper-casing changes no mask outcome");
  }

  // An empty criterion imposes nothing.
  Check(MatchCriteria(Mask, Text, true, true) == (Mask.empty() ? TOutcome(true) : Actual),
        "case-sensitive mask criteria");
  Check(MatchCriteria(Mask, Text, false, true) == (Mask.empty() ? TOutcome(true) : Upper),
        "case-insensitive mask criteria");
  Check(MatchCriteria(Mask, Text, true, false) == TOutcome(Mask.empty() || Text == Mask),
        "case-sensitive plain criteria");
  const bool SameUpper = UserLocale().UpperCase(Text) == UserLocale().UpperCase(Mask);
  Check(MatchCriteria(Mask, Text, false, false) == TOutcome(Mask.empty() || SameUpper),
        "case-insensitive plain criteria");
  return 0;
}
