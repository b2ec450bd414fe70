// Runs a batch of cases through one Perl process and reads back its results.
#pragma once

#include "differential_case.h"

#include <optional>
#include <vector>

namespace differential {

struct OracleResult {
    bool rejected = false;  // Perl refused the pattern: the case is left out
    std::string reason;
    Outcome outcome;
};

// Throws std::runtime_error when Perl cannot be run or its output is garbled.
std::vector<OracleResult> askPerl(const std::vector<Case> &cases);

}  // namespace differential
