// Patterns on which plain backtracking blows up (nested quantifiers, lazy
// groups followed by literals) on texts of up to a few hundred bytes built
// to make the final literal fail late.
#pragma once

#include "differential_case.h"

#include <cstdint>
#include <string>
#include <vector>

namespace differential {

std::vector<Case> blowupCases(std::uint64_t seed, std::size_t patterns, std::size_t texts_per_pattern);

// Whether a pattern written by the generators holds a back-reference (\1..\9).
bool hasBackReference(const std::string &pattern, bool shift_jis);

}  // namespace differential
