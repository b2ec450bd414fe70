// The Pike VM must give the backtracker's (and Perl's) answers: priorities,
// loops whose iteration matched nothing, groups set inside lookaheads,
// Shift_JIS characters. It is tried alone here; the library chooses it for
// large texts or when the backtracker gives up. Expectations are Perl 5.36's.
#include <gtest/gtest.h>

#include <string>

#include "engine_test_support.h"

using namespace bregexp_test;

namespace {

// Every group as "start..end", "-" for unset; "none" for no match.
std::string spans(const std::string &command, const std::string &text, bregexp::Engine engine) {
    const bregexp::Regex regex(command);
    std::vector<size_t> c;
    if (!regex.match(text, c, engine)) return "none";
    std::string out;
    for (size_t i = 0; i < c.size(); i += 2) {
        if (!out.empty()) out += ' ';
        out += c[i] == bregexp::kNoPosition ? "-" : std::to_string(c[i]) + ".." + std::to_string(c[i + 1]);
    }
    return out;
}

}  // namespace

TEST(Engines, PikeVmGivesPerlsAnswers) {
    const struct {
        std::string command, text, expected;
    } cases[] = {
        // An iteration that matched nothing ends its loop, with its groups.
        {"m/(a?)*/", "a", "0..1 1..1"},
        {"m/(?:b?(?:(c?))*)*/", "bb", "0..2 2..2"},
        {"m/(?:(a|)b?)*c/", "abac", "0..4 3..3"},
        {"m/(?:(?:a*)*(b)?)*c/", "aabbc", "0..5 -"},
        // Lazy and greedy priorities, alternatives in order.
        {"m/((a)|b)*?c/", "abc", "0..3 1..2 0..1"},
        {"m/(a+?|b)*?x/", "abax", "0..4 2..3"},
        {"m/(a|ab)(c|bcd)(d*)/", "abcd", "0..4 0..1 1..4 4..4"},
        {"m/^(?:a{2,3}?)+$/", "aaaaaaa", "0..7"},
        {"m/\\bfoo\\b.*?\\bbar\\b/", "xfoo foo. bar", "5..13"},
        // Groups set in a positive lookahead stay; in a negative one they do not.
        {"m/(?:x(?=(y)|z))+/", "xyxz", "0..1 1..2"},
        {"m/(?=(a+?))(\\w+)/", "aab", "0..3 0..1 0..3"},
        {"m/(?!(a)b)\\w+/", "abc", "1..3 -"},
        {"m/(?:(?=(?:(?!b)a)*;)a)*;/", std::string(200, 'a') + ";", "0..201"},
        // Shift_JIS: a character is one step, a trail byte never starts one.
        {"m/(.)\\x5C/k", SO + "\\", "0..3 0..2"},
        {"m/[^a]+?A/k", A_KANA + "xA", "0..4"},
        {"m/\\bA/k", A_KANA + " A", "3..4"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(spans(c.command, c.text, bregexp::Engine::pike_vm), c.expected) << c.command;
        EXPECT_EQ(spans(c.command, c.text, bregexp::Engine::automatic), c.expected) << c.command;
    }
}

TEST(Engines, LookaheadAnswersKeptPerPositionRespectCharacters) {
    // Long enough that each lookahead's answers are worked out in one
    // backward pass; under k that pass must not take a trail byte 5C for
    // a backslash or start a character inside another.
    const std::string text = repeated(SO, 5000) + ";";
    for (auto engine : {bregexp::Engine::pike_vm, bregexp::Engine::automatic}) {
        EXPECT_EQ(spans("m/(?:(?=[^;]*;)[^;])*;/k", text, engine), "0..10001") << int(engine);
        EXPECT_EQ(spans("m/(?:(?!\\\\)(?=(?:[^;])*;).)+/k", text, engine), "0..10001") << int(engine);
        EXPECT_EQ(spans("m/(?:(?=(?:(?!A)[^;])*;).)+;/k", repeated(A_KANA, 5000) + ";", engine), "0..10001")
            << int(engine);
    }
}

TEST(Engines, LiteralStartsAskedAheadAreFoundAgain) {
    // The Pike VM looks for the next start before it returns a match; the
    // next search, beginning at that match's end, must still see the
    // occurrences in between.
    const bregexp::Regex regex("s/B/x/g");
    std::string output;
    std::vector<size_t> c;
    ASSERT_TRUE(regex.substitute("BB..B", output, c, bregexp::Engine::pike_vm));
    EXPECT_EQ(output, "xx..x");
}

TEST(Engines, ManyGroupsAreKeptInSeveralPasses) {
    // 2000 groups: the thread lists cannot hold every slot of every thread
    // at once, so the Pike VM finds them in passes; each must be right.
    std::string pattern, text;
    for (int i = 0; i < 2000; ++i) {
        pattern += "([a-z])";
        text += static_cast<char>('a' + i % 26);
    }
    const bregexp::Regex regex("m/" + pattern + "/");
    std::vector<size_t> c;
    ASSERT_TRUE(regex.match("-" + text, c, bregexp::Engine::pike_vm));
    ASSERT_EQ(c.size(), 2u * 2001);
    for (size_t g = 0; g <= 2000; ++g) {
        ASSERT_EQ(c[2 * g], g == 0 ? 1 : g) << g;
        ASSERT_EQ(c[2 * g + 1], g == 0 ? 2001 : g + 1) << g;
    }
}

TEST(Engines, PikeVmTakesOverInTheMiddleOfASubstitution) {
    // The first match is the backtracker's; on the run of a's its lookahead
    // costs too much and the Pike VM goes on from there.
    const std::string run(20000, 'a');
    EXPECT_EQ(subst("s/^(?:(?=(a+))a)*;|q/<$1>/g", "q " + run + ";q"), "<> " + run + ";<>");
    EXPECT_EQ(subst("s/(?:(?=(a+))a)+;|q/<$1>/g", "q " + run + ";q"), "<> <a><>");
}
