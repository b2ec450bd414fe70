#include "NameMatch.h"

#include "AsciiCharacters.h"

bool HasWildcard(const std::string& text) {
  // "*" and "?" are below every Shift_JIS trail byte, so no walk is needed.
  return text.find_first_of("*?") != std::string::npos;
}

bool SegmentMatchesName(const std::string& segment, const std::string& name, const NameRules& rules) {
  if (!name.empty() && name[0] == '.' && (segment.empty() || segment[0] != '.')) return false;
  const auto width = [&](const std::string& text, std::size_t i) { return CharacterWidth(text, i, rules.characters); };
  const auto sameCharacter = [&](std::size_t s, std::size_t sWidth, std::size_t n, std::size_t nWidth) {
    if (sWidth != nWidth) return false;
    if (sWidth == 1 && rules.ignoreAsciiCase) return FoldAsciiCase(segment[s]) == FoldAsciiCase(name[n]);
    return segment.compare(s, sWidth, name, n, nWidth) == 0;
  };
  // Greedy matching that, on a mismatch, lets the last "*" take one more
  // character: linear in practice, never exponential.
  std::size_t s = 0, n = 0;
  std::size_t starSegment = std::string::npos, starName = 0;
  while (n < name.size()) {
    const std::size_t nWidth = width(name, n);
    if (s < segment.size() && segment[s] == '*') {
      starSegment = ++s;
      starName = n;
      continue;
    }
    if (s < segment.size()) {
      const std::size_t sWidth = width(segment, s);
      if ((sWidth == 1 && segment[s] == '?') || sameCharacter(s, sWidth, n, nWidth)) {
        s += sWidth;
        n += nWidth;
        continue;
      }
    }
    if (starSegment == std::string::npos) return false;
    s = starSegment;
    starName += width(name, starName);
    n = starName;
  }
  while (s < segment.size() && segment[s] == '*') ++s;
  return s == segment.size();
}
