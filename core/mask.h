#pragma once
// Wild-card masks of the list filter and search.
//
// Syntax (the whole text must match the whole mask):
//   *      any run of characters, also none; a '?' directly after '*' adds nothing
//   ?      exactly one character
//   [set]  one character of the set: characters and ranges a-z (a range whose end is below its
//          start adds nothing); '!' right after '[' complements the set
//   other  itself; the letters a to z match either case, in mask and text, always
// A double-byte character (a lead byte of the code page and the byte after it) is one character
// and must match exactly. Invalid masks raise EMaskException with the 1-based position where the
// mask was found invalid: a set that is not closed, a set with no characters, a '-' at the start
// of a set, more than 30 runs of '*'.

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wyndo {

class TMask {
public:
  // Compiles Mask; raises EMaskException when it is invalid. Lead bytes come from UserLocale().
  explicit TMask(std::string_view Mask);
  // Declared here, defined where TState is complete.
  TMask(const TMask&);
  TMask(TMask&&) noexcept;
  TMask& operator=(const TMask&);
  TMask& operator=(TMask&&) noexcept;
  ~TMask();

  bool Matches(std::string_view Text) const;

private:
  struct TState;
  std::vector<TState> FStates;
  // The lead bytes of the code page, asked once: a mask is compiled once and matched against
  // many texts.
  std::bitset<256> FLeadBytes;
  bool FHasLeadBytes = false;
};

bool MatchesMask(std::string_view Text, std::string_view Mask);

} // namespace wyndo
