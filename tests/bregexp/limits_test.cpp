// Runaway patterns end in an error; large texts neither recurse nor blow up.
#include <gtest/gtest.h>

#include <string>

#include "engine_test_support.h"
#include "literal_search.h"

using namespace bregexp_test;

namespace {
const char *const kTooComplex = "pattern too complex for this text";
}

TEST(Limits, NestedQuantifiersAnswerInsteadOfGivingUp) {
    // A class instead of the literal "b" leaves the search nothing to skip
    // by: only the memo of failed states keeps these linear.
    const std::string as = std::string(40, 'a') + "!b";
    EXPECT_EQ(groups("m/(a*)*[b]/", as), (std::vector<std::string>{"b", ""}));
    EXPECT_EQ(groups("m/(a|aa)*[b]/", as), (std::vector<std::string>{"b", kUnset}));
    EXPECT_EQ(found("m/(?:a+)+[b]/", as), "<none>");
    EXPECT_EQ(subst("s/(a|aa)+$/y/g", as), "<unchanged>");
}

TEST(Limits, BackReferencesCanStillRunOutOfSteps) {
    // What a back-reference compares depends on the captures, so the memo
    // cannot be used: the budget ends the search.
    const std::string as = std::string(40, 'a') + "!b";
    EXPECT_EQ(error_of("m/(a|aa)*\\1[b]/", as), kTooComplex);
}

TEST(Limits, ClassicBlowUpsAreAvoided) {
    // A match can only begin in the run of a's that ends at a "b"; and
    // alternatives of single characters are one class.
    const std::string as = std::string(40, 'a') + "!b";
    EXPECT_EQ(groups("m/(a*)*b/", as), (std::vector<std::string>{"b", ""}));
    EXPECT_EQ(groups("m/(a|aa)*b/", as), (std::vector<std::string>{"b", kUnset}));
    EXPECT_EQ(groups("m/(a|a)*b/", as), (std::vector<std::string>{"b", kUnset}));
    EXPECT_EQ(found("m/(a*)*b/", std::string(40, 'a')), "<none>");
}

TEST(Limits, SubstitutionHittingTheBudgetChangesNothing) {
    bregexp::Regex regex("s/(a|aa)*\\1[b]|c/X/g");
    std::string output;
    std::vector<size_t> captures;
    // The first "c" would be replaced before the runaway part is reached.
    EXPECT_THROW(regex.substitute("c" + std::string(40, 'a'), output, captures), bregexp::Error);
    EXPECT_TRUE(captures.empty());
}

TEST(Limits, BudgetGrowsWithTheText) {
    // Heavy but linear work on a larger text stays within the budget.
    std::string text;
    while (text.size() < (4u << 20)) text += "alpha beta gamma beta delta ";
    EXPECT_EQ(found("m/(\\w+) (\\w+) \\1 \\2 [x]/", text), "<none>");
}

TEST(Limits, MissingRequiredTextIsFoundQuickly) {
    // Quadratic in principle; the absent literal ends the search at once.
    const std::string text(1u << 20, 'a');
    EXPECT_EQ(found("m/a*b/", text), "<none>");
    EXPECT_EQ(found("m/(?:a|b)*?cd/", text), "<none>");
}

TEST(Limits, LongTextsUseNoRecursion) {
    const std::string text = "<" + std::string(2000000, 'x') + ">";
    EXPECT_EQ(found("m/<(?:x|y)*>/", text).size(), text.size());
    EXPECT_EQ(found("m/<(x|yz)*>/", text.substr(0, 200000) + ">").size(), 200001u);
    EXPECT_EQ(found("m/<(?:x)*?>/", text).size(), text.size());
    EXPECT_EQ(groups("m/<((.|\\n)*)>/", text)[2], "x");
}

TEST(Limits, RegionOf64MegabytesMatches) {
    std::string text;
    text.reserve(64u << 20);
    text += "<!-- %NAME% -->\r\n";
    const std::string line = "lorem ipsum <b>dolor</b> sit amet, 100% consectetur\r\n";
    while (text.size() + line.size() < (64u << 20) - 64) text += line;
    const size_t body_end = text.size();
    text += "<!-- %close NAME% -->\r\n";
    for (const std::string &command : {region_command("NAME"), old_region_command("NAME")}) {
        bregexp::Regex regex(command);
        std::vector<size_t> c;
        ASSERT_TRUE(regex.match(text, c)) << command;
        EXPECT_EQ(c[0], 0u);
        EXPECT_EQ(c[1], text.size() - 2);
        EXPECT_EQ(c[7], body_end + 5);  // group 3 ends at the closing marker
    }
}

TEST(Limits, RegionAbsentFromLargeText) {
    std::string text;
    const std::string line = "%other% 50% <!-- comment --> %NAM% %NAMEX% \r\n";
    text = "<!-- %NAME% --> opened but never closed\r\n";
    while (text.size() < (8u << 20)) text += line;
    EXPECT_EQ(found(region_command("NAME"), text), "<none>");
    EXPECT_EQ(found(old_region_command("NAME"), text), "<none>");
}

TEST(Limits, HugeCountsAndProgramsAreRefused) {
    EXPECT_EQ(error_of("m/a{70000}/"), "quantifier count too large");
    EXPECT_EQ(error_of("m/(?:(?:ab){1000}){1000}/"), "pattern too large");
    EXPECT_EQ(found("m/a{3000}/", std::string(3000, 'a')).size(), 3000u);
    // A long chain of empty loop bodies is analysed without deep recursion.
    EXPECT_EQ(found("m/(?:\\b|(?=y)){0,10000}x/", "ax"), "x");
}

TEST(Limits, RequiredTextIsFoundAtEveryPlace) {
    // The scan compares blocks of 64, then 16 start positions: every offset
    // from a block edge and the very end of the text must still be found.
    for (const std::string needle : {"%m%", "%menu%", "ab", "x%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%y"}) {
        const bregexp::LiteralSearch search(needle);
        for (size_t size = needle.size(); size < 200; ++size) {
            for (size_t at = 0; at + needle.size() <= size; ++at) {
                std::string text(size, '%');
                text.replace(at, needle.size(), needle);
                const auto *bytes = reinterpret_cast<const unsigned char *>(text.data());
                ASSERT_EQ(search.find(bytes, text.size(), 0), text.find(needle)) << needle << " " << size << " " << at;
                ASSERT_EQ(search.find(bytes, text.size(), at + 1), text.find(needle, at + 1)) << needle << " " << size;
            }
        }
    }
}
