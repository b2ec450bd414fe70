// Patterns without back-references answer in time linear in the text,
// whatever their shape: each of these used to end in "too complex" or
// "needs too much memory", or not at all. The expected answers are Perl
// 5.36's; both the engine the library chooses and the Pike VM alone must
// give them. Texts are small here; bench_bregexp runs them at 1-64 MB.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine_test_support.h"

using namespace bregexp_test;

namespace {

// Whole match and group 1 as "start..end", "-" for unset; "none" for no match.
std::string answer(const std::string &command, const std::string &text, bregexp::Engine engine) {
    const bregexp::Regex regex(command);
    std::vector<size_t> c;
    if (!regex.match(text, c, engine)) return "none";
    std::string out = std::to_string(c[0]) + ".." + std::to_string(c[1]);
    if (c.size() > 2) out += c[2] == bregexp::kNoPosition ? " -" : " " + std::to_string(c[2]) + ".." + std::to_string(c[3]);
    return out;
}

}  // namespace

TEST(LinearTime, OrdinaryPatternsThatUsedToBlowUp) {
    const struct {
        std::string command, text, expected;
    } cases[] = {
        // An optional repeat inside a counted repeat.
        {"m/^(a?){25}a{25}$/", std::string(25, 'a'), "0..25 0..0"},
        {"m/^(?:a{0,3}){12}$/", std::string(30, 'a') + "!", "none"},
        // Loops whose iterations each leave a choice behind.
        {"m/(?:a|ab)*[cd]/", std::string(65536, 'a'), "none"},
        {"m/(\\w+\\s?)*$/", repeated("abcd ", 13107), "0..65535 65530..65535"},
        {"m/^(?:ab|ac)*$/", repeated("ab", 32768) + "!", "none"},
        // Twenty empty alternatives in a loop whose body can match nothing.
        {"m/(?:" + repeated("(?:|)", 20) + "a?)*/", std::string(65536, 'a'), "0..65536"},
        // A thousand loops one after another.
        {"m/" + repeated("(?:a*)", 1000) + "[bc]/", std::string(2048, 'a'), "none"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(answer(c.command, c.text, bregexp::Engine::automatic), c.expected) << c.command.substr(0, 40);
        EXPECT_EQ(answer(c.command, c.text, bregexp::Engine::pike_vm), c.expected) << c.command.substr(0, 40);
    }
}

TEST(LinearTime, LongPatternsAreRefusedBeforeTheyAreParsed) {
    const std::string limit(1u << 20, 'x');
    EXPECT_EQ(error_of("m/" + limit + "y/"), "pattern longer than the limit of 1 MB");
    // A literal of the limit's length compiles (into one string instruction).
    EXPECT_EQ(found("m/" + limit + "/", "ab" + limit).size(), limit.size());
    // Compiling is charged against 20 bytes per pattern byte: a short
    // pattern expanded into huge copies is refused.
    EXPECT_EQ(error_of("m/(?:(?:ab){1000}){1000}/"), "pattern too large");
}

TEST(LinearTime, BackReferenceBudgetDoesNotGrowWithLoops) {
    // A thousand loops before the reference: the budget stays about a
    // second per megabyte, and the search ends with the error, not later.
    EXPECT_EQ(error_of("m/(a*)" + repeated("(?:a*)", 1000) + "\\1[bc]/", std::string(65536, 'a')),
              "pattern too complex for this text");
    EXPECT_EQ(error_of("m/((a+)+)\\2b/", std::string(65536, 'a')), "pattern too complex for this text");
}

TEST(LinearTime, LookaheadsInLoopsAreAnsweredPerPosition) {
    // Each lookahead scans to the end of the text; remembered per position,
    // the Pike VM answers in one pass (and the backtracker hands over to it).
    const std::string text = std::string(20000, 'a') + ";";
    for (auto engine : {bregexp::Engine::automatic, bregexp::Engine::pike_vm}) {
        EXPECT_EQ(answer("m/(?:(?=a*;)a)*;/", text, engine), "0..20001") << int(engine);
        EXPECT_EQ(answer("m/(?:(?!a*b)a)+$/", text + "a", engine), "20001..20002") << int(engine);
        EXPECT_EQ(answer("m/^(?:(?=(a+))a)*;/", text, engine), "0..20001 19999..20000") << int(engine);
    }
    // Ten thousand lookaheads, each holding a group: each keeps only its own
    // group's slots (all the pattern's slots apiece would be 1.6 GB).
    for (auto engine : {bregexp::Engine::automatic, bregexp::Engine::pike_vm})
        EXPECT_EQ(answer("m/" + repeated("(?=(a))", 10000) + "/", "a", engine), "0..0 0..1") << int(engine);
}
