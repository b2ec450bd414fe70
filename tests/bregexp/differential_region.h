// Cases built from the synchronisation engine's region patterns under k, on
// HTML-like Shift_JIS texts with CR LF or LF line breaks.
#pragma once

#include "differential_case.h"

#include <cstdint>
#include <string>
#include <vector>

namespace differential {

// The earlier region pattern, with the variable name inserted as it is.
std::string regionPattern(const std::string &name);

// The region pattern whose comment lead-in and lead-out stay inside their
// own comments, for a name escaped by escapeName.
std::string commentBoundRegionPattern(const std::string &escaped_name);

// The name as pattern text: a backslash before every ASCII punctuation
// byte, walking by Shift_JIS characters; after a lone lead byte the escape
// is put in a group, "(?:\X)", so that the backslash is not taken as a trail byte.
std::string escapeName(const std::string &name);

// For every generated text one match case and one substitution case whose
// replacement is another region, escaped for verbatim copying.
std::vector<Case> regionCases(std::uint64_t seed, std::size_t texts);

}  // namespace differential
