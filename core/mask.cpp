#include "core/mask.h"

#include "core/errors.h"
#include "core/locale.h"

#include <bit>
#include <bitset>
#include <cstdint>
#include <cstring>
#include <limits>

namespace wyndo {

namespace {

// More '*' runs than this make a mask invalid.
constexpr int MaxStarGroups = 30;

unsigned char AsciiUpper(unsigned char C) {
  return C >= 'a' && C <= 'z' ? static_cast<unsigned char>(C - 'a' + 'A') : C;
}

unsigned char ByteAt(std::string_view Text, std::size_t Index) {
  return static_cast<unsigned char>(Text[Index]);
}

// Length in bytes of the character at Index: a lead byte and the byte after it are one character;
// a lead byte that ends the text stands alone.
// LeadBytes is nullptr for a code page without double-byte characters.
std::size_t CharLength(std::string_view Text, std::size_t Index,
                       const std::bitset<256>* LeadBytes) {
  return LeadBytes && LeadBytes->test(ByteAt(Text, Index)) && Index + 1 < Text.size() ? 2 : 1;
}

// Where a literal can match first, from Index on, with no double-byte characters: the first
// byte B with (B | Fold) == Folded, or the text's size. Eight bytes at a time where the bytes'
// order allows: the filter and search try masks such as *word* on every cell.
std::size_t FindLiteral(std::string_view Text, std::size_t Index, unsigned char Fold,
                        unsigned char Folded) {
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t Ones = 0x0101010101010101u;
    constexpr std::uint64_t Highs = 0x8080808080808080u;
    const std::uint64_t FoldBits = Fold * Ones;
    const std::uint64_t Wanted = Folded * Ones;
    for (; Index + 8 <= Text.size(); Index += 8) {
      std::uint64_t Word;
      std::memcpy(&Word, Text.data() + Index, sizeof(Word));
      // Zero bytes where the literal matches; the lowest byte flagged is always a zero byte.
      const std::uint64_t Difference = (Word | FoldBits) ^ Wanted;
      const std::uint64_t Zeros = (Difference - Ones) & ~Difference & Highs;
      if (Zeros != 0) {
        return Index + static_cast<std::size_t>(std::countr_zero(Zeros)) / 8;
      }
    }
  }
  while (Index < Text.size() && (ByteAt(Text, Index) | Fold) != Folded) {
    ++Index;
  }
  return Index;
}

[[noreturn]] void ThrowInvalid(std::string_view Mask, std::size_t Position) {
  throw EMaskException(std::string(Mask), static_cast<int>(Position));
}

struct TCharSet {
  std::bitset<256> Members; // upper-cased single-byte characters
  bool Negate = false;      // matches the characters not in Members
};

// Reads the set whose '[' is at Mask[Index]; leaves Index just past its ']'.
TCharSet ReadSet(std::string_view Mask, std::size_t& Index) {
  const auto& Locale = UserLocale();
  TCharSet Set;
  std::size_t I = Index + 1;
  if (I < Mask.size() && Mask[I] == '!') {
    Set.Negate = true;
    ++I;
  }
  bool HasLast = false;
  unsigned char Last = 0; // where a range starts
  for (;;) {
    if (I >= Mask.size()) {
      ThrowInvalid(Mask, Mask.size() + 1);
    }
    const unsigned char C = ByteAt(Mask, I);
    if (C == ']') {
      break;
    }
    if (Locale.IsLeadByte(C) && I + 1 < Mask.size()) {
      // Sets hold single-byte characters only; a double-byte one adds nothing.
      I += 2;
    } else if (C == '-') {
      if (!HasLast) {
        ThrowInvalid(Mask, I + 1);
      }
      if (I + 1 >= Mask.size()) {
        ThrowInvalid(Mask, Mask.size() + 1);
      }
      const unsigned char End = ByteAt(Mask, I + 1);
      if (End == ']') {
        Set.Members.set('-');
        ++I;
      } else {
        // The range ends at its end character's first byte. A double-byte end is still one
        // character: its trail byte (which may be ']') is never read as a character of the set.
        for (unsigned V = Last; V <= AsciiUpper(End); ++V) {
          Set.Members.set(V);
        }
        Last = AsciiUpper(End);
        I += Locale.IsLeadByte(End) && I + 2 < Mask.size() ? 3 : 2;
      }
    } else {
      Last = AsciiUpper(C);
      HasLast = true;
      // The first character of a range is a member only through its range, so that a range
      // whose end lies below its start adds nothing.
      const bool StartsRange = I + 2 < Mask.size() && Mask[I + 1] == '-' && Mask[I + 2] != ']';
      if (!StartsRange) {
        Set.Members.set(Last);
      }
      ++I;
    }
  }
  if (Set.Members.none()) {
    ThrowInvalid(Mask, I + 1);
  }
  Index = I + 1;
  return Set;
}

} // namespace

// One step of a compiled mask. Every state but End consumes exactly one character of the text.
struct TMask::TState {
  enum class TKind : std::uint8_t { Literal, DoubleByte, AnyChar, Set, End };
  TKind Kind = TKind::End;
  bool SkipBefore = false; // a '*' precedes: any run of characters may come first
  bool Negate = false;     // Set: matches the characters not in Members
  unsigned char Lead = 0;  // Literal: the upper-cased byte; DoubleByte: its first byte
  unsigned char Trail = 0; // DoubleByte: its second byte
  // Literal: 0x20 when Lead is a letter, else 0; a byte B matches when (B | Fold) == Folded.
  unsigned char Fold = 0;
  unsigned char Folded = 0;
  std::bitset<256> Members; // Set: upper-cased single-byte characters
};

TMask::TMask(std::string_view Mask) {
  const auto& Locale = UserLocale();
  for (unsigned Byte = 0; Byte < FLeadBytes.size(); ++Byte)
    FLeadBytes[Byte] = Locale.IsLeadByte(static_cast<unsigned char>(Byte));
  FHasLeadBytes = FLeadBytes.any();
  bool Skip = false;
  int StarGroups = 0;
  // A group is a stretch of '*' (with any '?' it absorbs) up to the next state; it is counted
  // when that state is made, and an excess group is reported at the character making it.
  const auto Add = [&](TState::TKind Kind, std::size_t Position) -> TState& {
    if (Skip && ++StarGroups > MaxStarGroups)
      ThrowInvalid(Mask, Position);
    TState& State = FStates.emplace_back();
    State.Kind = Kind;
    State.SkipBefore = Skip;
    Skip = false;
    return State;
  };

  std::size_t I = 0;
  while (I < Mask.size()) {
    const unsigned char C = ByteAt(Mask, I);
    if (C == '*') {
      ++I;
      Skip = true;
    } else if (C == '?') {
      // Directly after '*' a '?' is absorbed by the run the '*' already allows.
      if (!Skip) {
        Add(TState::TKind::AnyChar, I + 1);
      }
      ++I;
    } else if (C == '[') {
      const std::size_t Start = I;
      const TCharSet Set = ReadSet(Mask, I);
      TState& State = Add(TState::TKind::Set, Start + 1);
      State.Members = Set.Members;
      State.Negate = Set.Negate;
    } else if (Locale.IsLeadByte(C) && I + 1 < Mask.size()) {
      TState& Pair = Add(TState::TKind::DoubleByte, I + 1);
      Pair.Lead = C;
      Pair.Trail = ByteAt(Mask, I + 1);
      I += 2;
    } else {
      TState& Literal = Add(TState::TKind::Literal, I + 1);
      Literal.Lead = AsciiUpper(C);
      Literal.Fold = Literal.Lead >= 'A' && Literal.Lead <= 'Z' ? 0x20 : 0;
      Literal.Folded = Literal.Lead | Literal.Fold;
      ++I;
    }
  }
  Add(TState::TKind::End, Mask.size() + 1);
}

TMask::TMask(const TMask&) = default;
TMask::TMask(TMask&&) noexcept = default;
TMask& TMask::operator=(const TMask&) = default;
TMask& TMask::operator=(TMask&&) noexcept = default;
TMask::~TMask() = default;

bool TMask::Matches(std::string_view Text) const {
  // Every state consumes exactly one character, so on a mismatch it is enough to return to the
  // most recent state preceded by '*' and let that run take one more character.
  constexpr std::size_t NoState = std::numeric_limits<std::size_t>::max();
  const std::bitset<256>* LeadBytes = FHasLeadBytes ? &FLeadBytes : nullptr;
  std::size_t BackState = NoState;
  std::size_t BackText = 0;
  std::size_t S = 0;
  std::size_t T = 0;
  for (;;) {
    if (!LeadBytes && FStates[S].Kind == TState::TKind::Literal) {
      // Without double-byte characters: literals one after another, the bulk of most masks, byte
      // by byte while they match, each after '*' first skipping to where it can match (as
      // below). A literal after '*' other than the first goes round again, to mark its run.
      const std::size_t First = S;
      while (FStates[S].Kind == TState::TKind::Literal && (S == First || !FStates[S].SkipBefore)) {
        const TState& Literal = FStates[S];
        if (Literal.SkipBefore) {
          T = FindLiteral(Text, T, Literal.Fold, Literal.Folded);
          BackState = S;
          BackText = T;
        }
        if (T == Text.size() || (ByteAt(Text, T) | Literal.Fold) != Literal.Folded) {
          break;
        }
        ++T;
        ++S;
      }
      if (FStates[S].Kind != TState::TKind::Literal || S != First) {
        continue; // the next state, or a literal that did not match: from the top
      }
      // The first literal did not match: below, as a mismatch.
    }
    const TState& State = FStates[S];
    if (State.SkipBefore) {
      // A literal after '*': the run takes every character before the next one that can match
      // the literal, at once rather than one failed try at a time.
      if (State.Kind == TState::TKind::Literal) {
        while (T < Text.size() &&
               (AsciiUpper(ByteAt(Text, T)) != State.Lead || CharLength(Text, T, LeadBytes) != 1)) {
          T += CharLength(Text, T, LeadBytes);
        }
      }
      BackState = S;
      BackText = T;
    }
    bool Matched = false;
    std::size_t Length = 0;
    if (State.Kind == TState::TKind::End) {
      if (T == Text.size() || State.SkipBefore) {
        return true;
      }
    } else if (T < Text.size()) {
      Length = CharLength(Text, T, LeadBytes);
      const unsigned char C = ByteAt(Text, T);
      switch (State.Kind) {
      case TState::TKind::Literal:
        Matched = Length == 1 && AsciiUpper(C) == State.Lead;
        break;
      case TState::TKind::DoubleByte:
        Matched = Length == 2 && C == State.Lead && ByteAt(Text, T + 1) == State.Trail;
        break;
      case TState::TKind::AnyChar:
        Matched = true;
        break;
      case TState::TKind::Set:
        // A double-byte character is never a member.
        Matched = (Length == 1 && State.Members.test(AsciiUpper(C))) != State.Negate;
        break;
      case TState::TKind::End:
        break;
      }
    }
    if (Matched) {
      T += Length;
      ++S;
    } else {
      if (BackState == NoState || BackText >= Text.size()) {
        return false;
      }
      BackText += CharLength(Text, BackText, LeadBytes);
      S = BackState;
      T = BackText;
    }
  }
}

bool MatchesMask(std::string_view Text, std::string_view Mask) {
  return TMask(Mask).Matches(Text);
}

} // namespace wyndo
