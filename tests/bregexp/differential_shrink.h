// Cuts a failing case down to a small one that still differs from Perl, so
// that a report shows the fault rather than the noise around it.
#pragma once

#include "differential_case.h"

#include <string>

namespace differential {

// A readable report of the smallest case found by deleting characters of
// the text and short runs of the pattern and replacement.
std::string shrinkReport(const Case &failing);

}  // namespace differential
