// Pattern syntax and Perl's matching semantics.
#include <gtest/gtest.h>

#include "engine_test_support.h"

using namespace bregexp_test;
using V = std::vector<std::string>;

TEST(Pattern, SyntaxErrors) {
    EXPECT_EQ(error_of("m/(a/"), "unmatched ( in pattern");
    EXPECT_EQ(error_of("m/a)/"), "unmatched ) in pattern");
    EXPECT_EQ(error_of("m/[ab/"), "unmatched [ in pattern");
    EXPECT_EQ(error_of("m/*a/"), "nothing to repeat in pattern");
    EXPECT_EQ(error_of("m/a|?/"), "nothing to repeat in pattern");
    EXPECT_EQ(error_of("m/(+)/"), "nothing to repeat in pattern");
    EXPECT_EQ(error_of("m/a**/"), "nested quantifiers in pattern");
    EXPECT_EQ(error_of("m/[z-a]/"), "invalid range in character class");
    EXPECT_EQ(error_of("m/(a)\\2/"), "reference to nonexistent group in pattern");
    EXPECT_EQ(error_of("m/\\q/"), "unknown escape \\q in pattern");
    EXPECT_EQ(error_of("m/a\\/"), "missing delimiter");
    EXPECT_EQ(error_of("m/" + std::string(300, '(') + std::string(300, ')') + "/"), "pattern nested too deeply");
}

TEST(Pattern, UnsupportedPerlSyntaxIsAnErrorNotText) {
    EXPECT_EQ(error_of("m/x\\b{wb}/"), "\\b{...} and \\B{...} are not supported in pattern");
    EXPECT_EQ(error_of("m/\\B{gcb}/"), "\\b{...} and \\B{...} are not supported in pattern");
    EXPECT_EQ(error_of("m/[[:alpha1:]]/"), "unknown POSIX class [:alpha1:] in pattern");
    EXPECT_EQ(error_of("m/[[:^foo:]]/"), "unknown POSIX class [:foo:] in pattern");
    EXPECT_EQ(error_of("m/[[.a.]]/"), "POSIX [. .] and [= =] are not supported in pattern");
    EXPECT_EQ(error_of("m/[[=a=]]/"), "POSIX [. .] and [= =] are not supported in pattern");
    EXPECT_EQ(error_of("m/a+ +/x"), "possessive quantifiers are not supported");
    EXPECT_EQ(error_of("m/a{3,1}?/"), "nothing to repeat in pattern");
    EXPECT_EQ(error_of("m/a{3,1}*/"), "nothing to repeat in pattern");
}

// Where Perl 5.34+ reads these forms differently from the plain reading.
TEST(Pattern, PerlQuantifierForms) {
    const struct {
        const char *command, *text, *match;
    } cases[] = {
        {"m/a+ ?/x", "aaa", "a"},  // blanks before the lazy mark under x
        {"m/a{1,2} #c\n ?/x", "aaa", "a"},
        {"m/a+ ?/", "aa a", "aa "},  // without x the blank is text
        {"m/a{ 1, 2 }/", "aaa", "aa"},  // blanks (spaces, tabs) inside braces
        {"m/a{, 2 }/", "aaa", "aa"},
        {"m/a{\t1\t}/", "aaa", "a"},
        {"m/a{ 1 , }/", "aaa", "aaa"},
        {"m/a{1 2}/", "a{1 2}", "a{1 2}"},  // not a count: text
        {"m/a{ , }/", "a{ , }", "a{ , }"},
        {"m/a{\n1}/", "a{\n1}", "a{\n1}"},  // a line break is no blank here
        {"m/a{3,1}/", "aaa", "<none>"},  // n > m: cannot match
        {"m/b(?:a){3,1}|c/", "bc", "c"},
        {"m/a{3,1}{0,2}b/", "b", "<none>"},
    };
    for (const auto &c : cases) EXPECT_EQ(found(c.command, c.text), c.match) << c.command;
}

TEST(Pattern, PosixClassesInBrackets) {
    const struct {
        const char *command, *text, *match;
    } cases[] = {
        {"m/[[:digit:]]/", "a5", "5"},
        {"m/[[:^digit:]]+/", "5ab5", "ab"},
        {"m/[[:alpha:][:digit:]]+/", "-a5-", "a5"},
        {"m/[[:upper:]]+/i", "aB", "aB"},
        {"m/[[:lower:]]+/i", "aB", "aB"},
        {"m/[[:^upper:]]+/i", "aB1-", "1-"},
        {"m/[[:word:]]+/", "a_1-", "a_1"},
        {"m/[[:punct:]]+/", "a!\"#$%&'()*+,-.\\/:;<=>?@[]^_`{|}~b", "!\"#$%&'()*+,-.\\/:;<=>?@[]^_`{|}~"},
        {"m/[[:space:]]+/", "a \t\n\r\f\x0b" "b", " \t\n\r\f\x0b"},
        {"m/[[:blank:]]+/", "a \t\nb", " \t"},
        {"m/[[:cntrl:]]+/", "a\x01\x1f\x7f" "b", "\x01\x1f\x7f"},
        {"m/[[:print:]]+/", "\x01" "a b~\x7f", "a b~"},
        {"m/[[:graph:]]+/", "\x01 a!~\x7f", "a!~"},
        {"m/[[:xdigit:]]+/", "gaF09g", "aF09"},
        {"m/[[:ascii:]]+/", "\x80" "a\x7f\x80", "a\x7f"},
        {"m/[[:alpha:]]+/", "\xe9" "ab\xe9", "ab"},  // bytes above 7F are none of them
        {"m/[[:^alpha:]]+/", "a\xe9\x80" "b", "\xe9\x80"},
        {"m/[^[:alpha:]]+/", "ab12", "12"},
        {"m/[[:digit:]-z]+/", "5-z", "5-z"},  // a dash after a class is text
        {"m/[a-[:digit:]]+/", "a-5", "a-5"},
        {"m/[[:alpha]]+/", "a]", "a]"},  // no POSIX class: characters
        {"m/[[:ab:]]/", "b", "<none>"},
        {"m/[:alpha:]+/", "ahp", "ahp"},  // outside brackets: a plain class
    };
    for (const auto &c : cases) EXPECT_EQ(found(c.command, c.text), c.match) << c.command;
    // Under k a negated class takes double-byte characters too.
    EXPECT_EQ(found("m/[[:^alpha:]]+/k", "a" + SO + "b"), SO);
}

TEST(Pattern, LiteralsAndEscapes) {
    EXPECT_EQ(found("m/\\x41\\x{42}\\t\\n\\0\\e/", std::string("AB\t\n\0\x1b", 6)), std::string("AB\t\n\0\x1b", 6));
    EXPECT_EQ(found("m/\\.\\*\\/\\$/", "a.*/$"), ".*/$");
    EXPECT_EQ(found("m/a{x/", "a{x"), "a{x");  // not a quantifier: literal, as in Perl
    EXPECT_EQ(found("m/\\012/", "a\nb"), "\n");
}

TEST(Pattern, ClassesAndShorthands) {
    EXPECT_EQ(found("m/[^a-c]+/", "abcxyzabc"), "xyz");
    EXPECT_EQ(found("m/[]a]+/", "x]a]y"), "]a]");
    EXPECT_EQ(found("m/[a-]+/", "x-a-y"), "-a-");
    EXPECT_EQ(found("m/[\\d_]+/", "ab1_2c"), "1_2");
    EXPECT_EQ(found("m/\\w+\\s\\W\\S\\D/", "ab\t!xy"), "ab\t!xy");
    EXPECT_EQ(found("m/[\\s\\]]+/", "a ] b"), " ] ");
    EXPECT_EQ(found("m/[^\\n]+/", "\nab\n"), "ab");
    // A negated escape inside a class negates only itself.
    EXPECT_EQ(found("m/[!\\S]+/", " a! "), "a!");
    EXPECT_EQ(found("m/[a\\W]+/", "b-a-b"), "-a-");
    EXPECT_EQ(found("m/[^\\d\\s]+/", "1 ab 2"), "ab");
    // \w is ASCII only: bytes above 0x7F are not word characters.
    EXPECT_EQ(found("m/\\w+/", "\xe9t\xe9"), "t");
}

TEST(Pattern, Anchors) {
    EXPECT_EQ(found("m/b$/", "ab\n"), "b");
    EXPECT_EQ(found("m/b\\Z/", "ab\n"), "b");
    EXPECT_EQ(found("m/b\\z/", "ab\n"), "<none>");
    EXPECT_EQ(found("m/b$/", "ab\n\n"), "<none>");
    EXPECT_EQ(found("m/^b/", "a\nb"), "<none>");
    EXPECT_EQ(found("m/^b/m", "a\nb"), "b");
    EXPECT_EQ(found("m/a$/m", "a\nb"), "a");
    EXPECT_EQ(found("m/\\Ab/m", "a\nb"), "<none>");
    EXPECT_EQ(found("m/\\bfoo\\b/", "afoo foo"), "foo");
    EXPECT_EQ(groups("m/\\Bo(\\w)/", "foo")[1], "o");
}

TEST(Pattern, DotAndFlags) {
    EXPECT_EQ(found("m/a.c/", "a\nc abc"), "abc");
    EXPECT_EQ(found("m/a.c/s", "a\nc abc"), "a\nc");
    EXPECT_EQ(found("m/AbC/i", "xaBcx"), "aBc");
    EXPECT_EQ(found("m/[a-c]+/i", "xABCx"), "ABC");
    EXPECT_EQ(found("m/[^a]/i", "Ab"), "b");
    EXPECT_EQ(found("m/ a b # comment\n c /x", "abc"), "abc");
    EXPECT_EQ(found("m/a\\ b/x", "a b"), "a b");
    EXPECT_EQ(found("m/[ ]/x", "a b"), " ");
}

TEST(Pattern, QuantifiersGreedyAndLazy) {
    EXPECT_EQ(found("m/a{2,3}/", "aaaa"), "aaa");
    EXPECT_EQ(found("m/a{2,3}?/", "aaaa"), "aa");
    EXPECT_EQ(found("m/a{2}/", "aaaa"), "aa");
    EXPECT_EQ(found("m/a{2,}/", "aaaa"), "aaaa");
    EXPECT_EQ(found("m/<.*>/", "<a><b>"), "<a><b>");
    EXPECT_EQ(found("m/<.*?>/", "<a><b>"), "<a>");
    EXPECT_EQ(found("m/(?:ab)+?c/", "ababc"), "ababc");
    EXPECT_EQ(found("m/(?:ab){2}/", "abababab"), "abab");
    EXPECT_EQ(found("m/x(?:ab){1,2}?/", "xabab"), "xab");
    EXPECT_EQ(found("m/a.*b/", "a1b2b3"), "a1b2b");
    EXPECT_EQ(found("m/a[^b]*?c/", "aXXcYc"), "aXXc");
}

TEST(Pattern, LeftmostThenPriority) {
    EXPECT_EQ(found("m/b|ab/", "ab"), "ab");
    EXPECT_EQ(found("m/a|ab/", "ab"), "a");
    EXPECT_EQ(found("m/(?:a|ab)c/", "abc"), "abc");
}

TEST(Pattern, Lookahead) {
    EXPECT_EQ(found("m/\\w+(?=;)/", "ab cd;"), "cd");
    EXPECT_EQ(found("m/a(?!b)./", "abac"), "ac");
    EXPECT_EQ(groups("m/(?=(\\w+))a/", "aaa"), (V{"a", "aaa"}));
    EXPECT_EQ(groups("m/(?!(b))a/", "ab"), (V{"a", kUnset}));
}

TEST(Pattern, BackReferences) {
    EXPECT_EQ(found("m/(\\w)\\1/", "abccd"), "cc");
    EXPECT_EQ(found("m/(a)|b\\1/", "b"), "<none>");  // group did not take part: fails
    EXPECT_EQ(found("m/^(\\w+) \\1$/i", "Hey HEY"), "Hey HEY");
    EXPECT_EQ(found("m/(a*)b\\1/", "aabaa"), "aabaa");
}

TEST(Pattern, AdjacentRepeatsJoinOnlyWhereTheyTryTheSameEnds) {
    // Repeats of one literal or dot next to each other are compiled as one
    // when both are greedy (or both lazy) and capture nothing.
    const struct {
        const char *command, *text, *match;
    } cases[] = {
        {"m/(?:a*)(?:a*)b/", "aab", "aab"},
        {"m/x(?:a*?)(?:a+?)/", "xaaa", "xa"},
        {"m/a*a*?b/", "aab", "aab"},
        {"m/a{2}a{0,2}/", "aaaaa", "aaaa"},
        {"m/a{0,2}?a{2}/", "aaaaa", "aa"},
        {"m/(?:|)+x/", "x", "x"},
        {"m/(?:|a)+x/", "aax", "aax"},
    };
    for (const auto &c : cases) EXPECT_EQ(found(c.command, c.text), c.match) << c.command;
    EXPECT_EQ(groups("m/x(?:a*?)(?:a*?)(a*)/", "xaa"), (V{"xaa", "aa"}));
    EXPECT_EQ(groups("m/(?:.*)(?:.*)(.)/", "abc"), (V{"abc", "c"}));
    EXPECT_EQ(groups("m/(?:a*)(a*)/", "aa"), (V{"aa", ""}));
    EXPECT_EQ(groups("m/(|)x/", "x"), (V{"x", ""}));
}

TEST(Pattern, EmptyLoopBodiesTerminate) {
    EXPECT_EQ(found("m/(?:a*)*b/", "aab"), "aab");
    EXPECT_EQ(found("m/(?:\\b)*a/", "a"), "a");
    EXPECT_EQ(groups("m/(a?)*/", ""), (V{"", ""}));
    EXPECT_EQ(found("m//", "abc"), "");
}

// The search skips start positions by first bytes, byte pairs and a literal
// the match must contain; none of that may lose a match.
TEST(Pattern, SearchShortcutsMissNothing) {
    EXPECT_EQ(found("m/x*ab/", "xxab"), "xxab");
    EXPECT_EQ(found("m/.*?\\n/", "b\n"), "b\n");
    EXPECT_EQ(found("m/a.*?\\n/k", "a" + SO + "\n"), "a" + SO + "\n");
    EXPECT_EQ(found("m/(?:x|yy)*zz/", "zz yyxzz"), "zz");
    EXPECT_EQ(found("m/(?:x|yy)*zz/", "z yyxzz"), "yyxzz");
    EXPECT_EQ(found("m/[^\\n]*%N%/", "a%N\n b%N%"), " b%N%");
    EXPECT_EQ(found("m/(?:<!--.*?)?%N%/k", "<!-- %N -->\n %N% <!-- x %N% -->"), "%N%");
    EXPECT_EQ(found("m/(<!--.*?)?%N%/", "<!-- %N% -->"), "<!-- %N%");
    EXPECT_EQ(found("m/a$/", "xa"), "a");
    EXPECT_EQ(found("m/ab|ac/", "aac"), "ac");
    EXPECT_EQ(found("m/\\bcat/", "concat cat"), "cat");
    EXPECT_EQ(found("m/^\\s*key/m", "x key\n  key"), "  key");
    EXPECT_EQ(found("m/(?=b)\\w+c/", "abc"), "bc");
    // Under k the literal may sit inside a double-byte character: no false start.
    EXPECT_EQ(found("m/[a-z]*A/k", A_KANA + "xA"), "xA");
    EXPECT_EQ(found("m/.A/k", A_KANA + "A"), A_KANA + "A");
    EXPECT_EQ(found("m/" + SO + "%/k", "a" + SO + "%"), SO + "%");
}

TEST(Pattern, LiteralSearchFindsEveryPlacement) {
    // The literal is looked for by its rarest byte ("%"), which also occurs
    // elsewhere, and may sit at either end of the text.
    EXPECT_EQ(found("m/%ab%/", "%ab%"), "%ab%");
    EXPECT_EQ(found("m/x%ab%/", "%a x%ab x%ab%"), "x%ab%");
    EXPECT_EQ(found("m/ab%/", "%ab%"), "ab%");
    EXPECT_EQ(found("m/ab%/", "ab"), "<none>");
    EXPECT_EQ(found("m/a%b/", "a%a%b"), "a%b");
    EXPECT_EQ(found(std::string("m/\\0%/"), std::string("a\0%", 3)), std::string("\0%", 2));
}
