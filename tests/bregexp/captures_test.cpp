// Captured groups as Perl gives them.
#include <gtest/gtest.h>

#include "engine_test_support.h"

using namespace bregexp_test;
using V = std::vector<std::string>;

TEST(Captures, RepeatedGroupKeepsLastIteration) {
    EXPECT_EQ(groups("m/(a|b)*c/", "ababc"), (V{"ababc", "b"}));
    EXPECT_EQ(groups("m/(\\w\\w)+/", "abcdef"), (V{"abcdef", "ef"}));
    EXPECT_EQ(groups("m/(?:(x)|(y))+/", "xyx"), (V{"xyx", "x", "y"}));
    EXPECT_EQ(groups("m/(?:(X)|(b)|a)*/", "aXbX"), (V{"aXbX", "X", "b"}));
}

TEST(Captures, BacktrackedIterationIsUndone) {
    // The third iteration of (a) is given back for the final "a".
    EXPECT_EQ(groups("m/(a)*a/", "aaa"), (V{"aaa", "a"}));
    EXPECT_EQ(groups("m/(?:(a)|b)*b/", "b"), (V{"b", kUnset}));
    EXPECT_EQ(groups("m/(?:(ab)|a)*c/", "aabc"), (V{"aabc", "ab"}));
    EXPECT_EQ(groups("m/(a(b)?)+/", "aba"), (V{"aba", "a", kUnset}));
}

TEST(Captures, SingleCharacterLoopCapturesLastCharacter) {
    EXPECT_EQ(groups("m/((.|\\n)*?)%/", "ab\n%"), (V{"ab\n%", "ab\n", "\n"}));
    EXPECT_EQ(groups("m/((.|\\n)*)%/", "a%b%c"), (V{"a%b%", "a%b", "b"}));
    EXPECT_EQ(groups("m/x((.|\\n)*?)%/", "x%"), (V{"x%", "", kUnset}));
    EXPECT_EQ(groups("m/([ab])+c/", "abbac"), (V{"abbac", "a"}));
    EXPECT_EQ(groups("m/([ab])*b/", "ab"), (V{"ab", "a"}));
    EXPECT_EQ(groups("m/(a)*?b/", "b"), (V{"b", kUnset}));
}

TEST(Captures, GroupRepeatedZeroTimesInALaterIterationIsUnset) {
    // Perl's rule: a repeated group of fixed width that holds no other group
    // reads as unset when the repeat matched zero times, even though an
    // earlier iteration of the loop around it had set it.
    const struct {
        const char *command, *text;
        V groups;
    } cases[] = {
        {"m/^(?:a(b)?)+$/", "aba", {"aba", kUnset}},
        {"m/^(?:a(b)*)+$/", "aba", {"aba", kUnset}},
        {"m/^(?:a(b){0,1})+$/", "aba", {"aba", kUnset}},
        {"m/^(?:a(b)?\?)+$/", "aba", {"aba", kUnset}},
        {"m/^(?:a(?:(b))?)+$/", "aba", {"aba", kUnset}},
        {"m/^(?:a(b|c)?)+$/", "aba", {"aba", kUnset}},
        {"m/^(?:a(bb|cc)?)+$/", "abba", {"abba", kUnset}},
        {"m/^(?:a(b{2})?)+$/", "abba", {"abba", kUnset}},
        {"m/^(?:a(.)?)+$/", "aba", {"aba", kUnset}},
        {"m/^(?:a(b(?=a))?)+$/", "aba", {"aba", kUnset}},
        {"m/^(?:x(a)*)+$/", "xaxx", {"xaxx", kUnset}},
        {"m/^(?:a(b)?){2}$/", "aba", {"aba", kUnset}},
        // Not of fixed width, or not the whole repeated part, or holding a
        // group: the earlier iteration's value stays, as in Perl.
        {"m/^(?:a(bc?)?)+$/", "aba", {"aba", "b"}},
        {"m/^(?:a(b+)?)+$/", "aba", {"aba", "b"}},
        {"m/^(?:a(b{1,2})?)+$/", "abba", {"abba", "bb"}},
        {"m/^(?:a(?:x(b))?)+$/", "axba", {"axba", "b"}},
        {"m/^(?:a((b)c)?)+$/", "abca", {"abca", "bc", "b"}},
    };
    for (const auto &c : cases) EXPECT_EQ(groups(c.command, c.text), c.groups) << c.command;
    EXPECT_EQ(groups("m/^(?:a(.)?)+$/k", "a" + SO + "a"), (V{"a" + SO + "a", kUnset}));
}

TEST(Captures, EmptyIterationEndsTheLoop) {
    // After an iteration that matched nothing Perl tries the continuation,
    // never another iteration, so the last capture here is the empty one.
    EXPECT_EQ(groups("m/([\\D]*?){0,3}#/m", "m#"), (V{"m#", ""}));
    EXPECT_EQ(groups("m/(a|){2,}b/", "aab"), (V{"aab", ""}));
    EXPECT_EQ(groups("m/(a?){3}b/", "ab"), (V{"ab", ""}));
}

TEST(Captures, OptionalGroupsAndAlternatives) {
    EXPECT_EQ(groups("m/(\\d+)-(\\d+)?/", "12-"), (V{"12-", "12", kUnset}));
    EXPECT_EQ(groups("m/(a)|(b)/", "b"), (V{"b", kUnset, "b"}));
    EXPECT_EQ(groups("m/((a)|b)+/", "ab"), (V{"ab", "b", "a"}));
}

TEST(Captures, RegionTemplate) {
    const std::string cmd = "m/(<!--.*?)?%(NAME)%((.|\\n)*?)%(close|ここまで) \\2%(.*?-->)?/";
    const std::string text = "x <!-- %NAME% -->\r\nbody/1\r\n<!-- %close NAME% -->\r\ny";
    EXPECT_EQ(groups(cmd, text), (V{"<!-- %NAME% -->\r\nbody/1\r\n<!-- %close NAME% -->", "<!-- ", "NAME",
                                    " -->\r\nbody/1\r\n<!-- ", " ", "close", " -->"}));
    // Without comments; the closing name must repeat the opening one.
    EXPECT_EQ(groups(cmd, "%NAME%a%close OTHER%b%close NAME%"),
              (V{"%NAME%a%close OTHER%b%close NAME%", kUnset, "NAME", "a%close OTHER%b", "b", "close", kUnset}));
}
