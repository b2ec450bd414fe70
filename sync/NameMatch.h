// Matching one file or folder name against one segment of a pattern entry.
#pragma once

#include <string>

#include "NameCharacters.h"

struct NameRules {
  CharacterSet characters;
  bool ignoreAsciiCase;  // as Windows compares names
};

#ifdef _WIN32
inline constexpr NameRules kBuildNameRules{kBuildCharacterSet, true};
#else
inline constexpr NameRules kBuildNameRules{kBuildCharacterSet, false};
#endif

// "*" matches any run of characters, "?" exactly one character; a name
// starting with "." matches only a segment that starts with "." too, so
// that wildcards never pick hidden files and folders.
bool SegmentMatchesName(const std::string& segment, const std::string& name,
                        const NameRules& rules = kBuildNameRules);

// True when the text holds "*" or "?".
bool HasWildcard(const std::string& text);
