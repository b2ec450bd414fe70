// Replacement syntax and s/// with and without g.
#include <gtest/gtest.h>

#include "engine_test_support.h"

using namespace bregexp_test;

TEST(Substitution, ReplacementSyntax) {
    EXPECT_EQ(subst("s/(b)(c)/[$&|$1|$2|${2}|\\1|\\2]/", "abcd"), "a[bc|b|c|c|b|c]d");
    EXPECT_EQ(subst("s/b/\\n\\r\\t/", "abc"), "a\n\r\tc");
    EXPECT_EQ(subst("s/b/\\\\\\$\\/\\q/", "abc"), "a\\$/qc");
    EXPECT_EQ(subst("s/b/$ $x $/", "abc"), "a$ $x $c");
    EXPECT_EQ(subst("s/b/${1}x/", "abc"), "axc");  // a group that does not exist gives nothing
    EXPECT_EQ(subst("s/(a)|b/[$1]/g", "ab"), "[a][]");
    EXPECT_EQ(error_of("s/b/${x}/"), "malformed ${...} in replacement");
}

TEST(Substitution, ManyGroups) {
    EXPECT_EQ(subst("s/(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)/$10${11}\\1/", "abcdefghijk"), "jka");
}

TEST(Substitution, FirstOrAll) {
    EXPECT_EQ(subst("s/o/0/", "foo boo"), "f0o boo");
    EXPECT_EQ(subst("s/o/0/g", "foo boo"), "f00 b00");
    EXPECT_EQ(subst("s/x/y/g", "abc"), "<unchanged>");
    EXPECT_EQ(subst("s/abc//", "abc"), "");
}

TEST(Substitution, EmptyMatchesFollowPerl) {
    EXPECT_EQ(subst("s/x*/-/g", "abc"), "-a-b-c-");
    EXPECT_EQ(subst("s/x*/-/g", "xab"), "--a-b-");
    EXPECT_EQ(subst("s/a*?/-/g", "aaa"), "-------");
    EXPECT_EQ(subst("s/\\w*/<$&>/g", "ab cd"), "<ab><> <cd><>");
    EXPECT_EQ(subst("s/^/> /mg", "a\nb\n"), "> a\n> b\n");
    EXPECT_EQ(subst("s/$/;/mg", "a\nb"), "a;\nb;");
}

TEST(Substitution, LastMatchIsReported) {
    bregexp::Regex regex("s/(\\d)/<$1>/g");
    std::string out;
    std::vector<size_t> captures;
    ASSERT_TRUE(regex.substitute("a1b2c", out, captures));
    EXPECT_EQ(out, "a<1>b<2>c");
    ASSERT_EQ(captures.size(), 4u);
    EXPECT_EQ(captures[0], 3u);
    EXPECT_EQ(captures[3], 4u);
}

TEST(Substitution, EscapedTextIsCopiedVerbatim) {
    // What a caller does to insert a text literally: a backslash before \ $ /.
    const std::string region = "a/b\\c$1${2}$&\\1\\n";
    std::string escaped;
    for (char c : region) {
        if (c == '\\' || c == '$' || c == '/') escaped += '\\';
        escaped += c;
    }
    EXPECT_EQ(subst("s/X/" + escaped + "/", "<X>"), "<" + region + ">");
}
