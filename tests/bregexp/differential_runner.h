// Runs cases through our library and compares them with Perl's results.
#pragma once

#include "differential_case.h"

#include <string>
#include <vector>

namespace differential {

// Runs every case with BMatch or BSubst. Adjacent cases with the same command
// share one compiled record, as the wrapper does.
std::vector<Outcome> runOurs(const std::vector<Case> &cases);

// Runs every case through the engine's Pike VM alone, which the library
// chooses only for large texts: it must give the same answers.
std::vector<Outcome> runPikeVm(const std::vector<Case> &cases);

struct Comparison {
    std::size_t compared = 0;
    std::size_t rejected_by_perl = 0;  // generator slips: left out
    std::size_t too_complex = 0;       // our step budget ran out: left out
    std::size_t matches = 0;           // cases where Perl found a match
    std::vector<std::string> mismatches;  // readable reports
    std::vector<Case> failing;            // the cases behind them
};

// Whether our outcome is the one Perl gives.
bool agrees(const Case &c, const Outcome &perl, const Outcome &ours);

std::string report(const Case &c, const Outcome &perl, const Outcome &ours);

// Asks Perl, runs ours, and compares matched-or-not, every group's byte
// range and, for substitutions, the output.
Comparison compareWithPerl(const std::vector<Case> &cases);

}  // namespace differential
