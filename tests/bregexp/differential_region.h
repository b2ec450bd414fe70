// Cases built from the synchronisation engine's region pattern under k, on
// HTML-like Shift_JIS texts with CR LF line breaks.
#pragma once

#include "differential_case.h"

#include <cstdint>
#include <string>
#include <vector>

namespace differential {

// The region pattern with the variable name inserted as it is.
std::string regionPattern(const std::string &name);

// For every generated text one match case and one substitution case whose
// replacement is another region, escaped for verbatim copying.
std::vector<Case> regionCases(std::uint64_t seed, std::size_t texts);

}  // namespace differential
