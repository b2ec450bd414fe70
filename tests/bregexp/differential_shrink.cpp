#include "differential_shrink.h"

#include "differential_generator.h"
#include "differential_oracle.h"
#include "differential_runner.h"

#include <algorithm>

namespace differential {

namespace {

constexpr int kMaxRounds = 40;

std::size_t weight(const Case &c) { return c.pattern.size() + c.replacement.size() + c.text.size(); }

// Every case with one character of the text, or a run of 1-4 bytes of the
// pattern or replacement, removed. Pieces that break the syntax are dropped
// later: Perl rejects them.
std::vector<Case> smallerCases(const Case &c) {
    std::vector<Case> out;
    for (std::size_t i = 0; i < c.text.size();) {
        std::size_t length = c.shiftJis() ? shiftJisCharLength(c.text, i) : 1;
        if (c.text.size() > length) {
            Case smaller = c;
            smaller.text.erase(i, length);
            out.push_back(smaller);
        }
        i += length;
    }
    for (std::size_t length = 1; length <= 4; ++length) {
        for (std::size_t i = 0; i + length <= c.pattern.size(); ++i) {
            Case smaller = c;
            smaller.pattern.erase(i, length);
            if (!smaller.pattern.empty()) out.push_back(smaller);
        }
        for (std::size_t i = 0; i + length <= c.replacement.size(); ++i) {
            Case smaller = c;
            smaller.replacement.erase(i, length);
            out.push_back(smaller);
        }
    }
    if (c.flags.size() > 1) {
        for (std::size_t i = 0; i < c.flags.size(); ++i) {
            if (c.flags[i] == 'k') continue;  // the texts are Shift_JIS
            Case smaller = c;
            smaller.flags.erase(i, 1);
            out.push_back(smaller);
        }
    }
    return out;
}

}  // namespace

std::string shrinkReport(const Case &failing) {
    Case best = failing;
    // Deletions can leave the generator's language (a lone "(?", a "{" with
    // nothing to repeat, an unescaped "/"), which Perl may read differently
    // while we rightly refuse it: unless we failed with an error to begin
    // with, a smaller case that we refuse is no reproduction.
    bool error_fault = runOurs({failing})[0].error;
    for (int round = 0; round < kMaxRounds; ++round) {
        std::vector<Case> candidates = smallerCases(best);
        if (candidates.empty()) break;
        auto perl = askPerl(candidates);
        auto ours = runOurs(candidates);
        const Case *chosen = nullptr;
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            if (perl[i].rejected || agrees(candidates[i], perl[i].outcome, ours[i])) continue;
            if (ours[i].error != error_fault) continue;
            if (!chosen || weight(candidates[i]) < weight(*chosen)) chosen = &candidates[i];
        }
        if (!chosen) break;
        best = *chosen;
    }
    auto perl = askPerl({best});
    auto ours = runOurs({best});
    return report(best, perl[0].outcome, ours[0]);
}

}  // namespace differential
