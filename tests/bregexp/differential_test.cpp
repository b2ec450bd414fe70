// Differential test: generated commands and texts run through our library and
// through Perl, which must agree on matched-or-not, every group's byte range
// and the substitution output.
//
// QUORVEL_DIFFERENTIAL_SEED replays another set of cases (the default set is
// fixed); QUORVEL_DIFFERENTIAL_SCALE multiplies the number of cases.
#include "differential_blowup.h"
#include "differential_generator.h"
#include "differential_oracle.h"
#include "differential_region.h"
#include "differential_runner.h"
#include "differential_shrink.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace differential {
namespace {

std::uint64_t seed() {
    const char *value = std::getenv("QUORVEL_DIFFERENTIAL_SEED");
    return value ? std::strtoull(value, nullptr, 0) : 20061105;
}

std::size_t scaled(std::size_t count) {
    const char *value = std::getenv("QUORVEL_DIFFERENTIAL_SCALE");
    double scale = value ? std::strtod(value, nullptr) : 1.0;
    return scale > 0 ? static_cast<std::size_t>(static_cast<double>(count) * scale) + 1 : count;
}

Comparison expectAgreement(const std::vector<Case> &cases) {
    Comparison comparison = compareWithPerl(cases);
    std::string failures;
    for (std::size_t i = 0; i < comparison.mismatches.size() && i < 25; ++i) {
        failures += comparison.mismatches[i] + "\n";
    }
    // Cut the first few down to small reproductions.
    for (std::size_t i = 0; i < comparison.failing.size() && i < 6; ++i) {
        failures += "reduced: " + shrinkReport(comparison.failing[i]) + "\n";
    }
    EXPECT_TRUE(comparison.mismatches.empty())
        << comparison.mismatches.size() << " of " << comparison.compared << " cases differ from Perl (seed "
        << seed() << "):\n"
        << failures;
    // The generator stays within syntax Perl accepts; many rejections would
    // mean most cases test nothing.
    EXPECT_LE(comparison.rejected_by_perl * 50, cases.size()) << comparison.rejected_by_perl << " rejected by Perl";
    // Only the odd exponential pattern may run out of steps on these short
    // texts; more would mean the budget cuts off ordinary work.
    EXPECT_LE(comparison.too_complex * 200, cases.size()) << comparison.too_complex << " ran out of steps";
    // Texts are drawn from the patterns' own characters so that a good share
    // of the cases actually match and compare captures.
    EXPECT_GE(comparison.matches * 5, comparison.compared) << "only " << comparison.matches << " matches";
    return comparison;
}

TEST(DifferentialTest, ByteModeMatchesAndCapturesAgreeWithPerl) {
    CaseGenerator generator(seed(), false);
    expectAgreement(generator.matchCases(scaled(900), 4));
}

TEST(DifferentialTest, ByteModeSubstitutionsAgreeWithPerl) {
    CaseGenerator generator(seed() + 1, false);
    expectAgreement(generator.substCases(scaled(700), 3));
}

TEST(DifferentialTest, ShiftJisMatchesAndCapturesAgreeWithPerl) {
    CaseGenerator generator(seed() + 2, true);
    expectAgreement(generator.matchCases(scaled(700), 4));
}

TEST(DifferentialTest, ShiftJisSubstitutionsAgreeWithPerl) {
    CaseGenerator generator(seed() + 3, true);
    expectAgreement(generator.substCases(scaled(500), 3));
}

TEST(DifferentialTest, RegionPatternAgreesWithPerlOnHtmlTexts) {
    expectAgreement(regionCases(seed() + 4, scaled(300)));
}

TEST(DifferentialTest, NestedQuantifiersAndLazyGroupsAgreeWithPerl) {
    // Each of these would backtrack exponentially without the memo; none
    // may run out of steps (the reference in the family is to fixed text).
    EXPECT_EQ(expectAgreement(blowupCases(seed() + 5, scaled(70), 4)).too_complex, 0u);
}

TEST(DifferentialTest, PerlSyntaxTheLibraryLacksIsAnErrorNeverText) {
    for (const bool shift_jis : {false, true}) {
        CaseGenerator generator(seed() + 6 + shift_jis, shift_jis);
        const std::vector<Case> cases = generator.unsupportedCases(scaled(120));
        const std::vector<OracleResult> perl = askPerl(cases);
        const std::vector<Outcome> ours = runOurs(cases);
        for (std::size_t i = 0; i < cases.size(); ++i) {
            // The pieces are Perl's own syntax: Perl must take every case.
            EXPECT_FALSE(perl[i].rejected) << quoted(cases[i].command()) << ": " << perl[i].reason;
            EXPECT_TRUE(ours[i].error) << quoted(cases[i].command()) << " on " << quoted(cases[i].text) << ": "
                                       << describe(ours[i]);
        }
    }
}

}  // namespace
}  // namespace differential
